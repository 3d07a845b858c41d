// The Substitution dialog on Qt, wired to its logic.
#include "rules/substitute_qt.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/latin1.h"
#include "platform/qt/qtrichbox.h"
#include "rules/substitute.h"

namespace qv {
namespace {

QPushButton* Button(const char* text, const char* name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  return b;
}
}  // namespace

SubstitutionDialog::SubstitutionDialog(AppState& state, QWidget* parent)
    : QDialog(parent), S(state) {
  setObjectName("Substitution");
  setWindowTitle(" Substitution");
  setModal(true);
  label1_ = new QLabel("Statement Text:", this);
  label1_->setObjectName("Label1");
  rtb_ = new QtRichBox(this);
  rtb_->setObjectName("RTB");
  rtb_->SetViewOnly(true);
  status_ = new QLabel("Status Line", this);
  status_->setObjectName("StatusLine");
  continue_ = Button("Continue...", "cmdContinue", this);
  reset_ = Button("Reset", "cmdReset", this);
  selectAll_ = Button("Select All", "cmdSelectAll", this);
  cancel_ = Button("Cancel", "cmdCancel", this);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(continue_);
  buttons->addWidget(reset_);
  buttons->addWidget(selectAll_);
  buttons->addStretch();
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label1_);
  layout->addWidget(rtb_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  resize(640, 260);

  connect(rtb_, &QtRichBox::clicked, this, [this]() {
    Substitution_Click(S, *rtb_);
    Sync();
  });
  connect(selectAll_, &QPushButton::clicked, this, [this]() {
    Substitution_SelectAll(S, *rtb_);
    Sync();
  });
  connect(reset_, &QPushButton::clicked, this, [this]() {
    Substitution_Reset(S, *rtb_);
    Sync();
  });
  connect(continue_, &QPushButton::clicked, this, [this]() {
    const bool hide = Substitution_Continue(S, *rtb_);
    Sync();
    if (hide) accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this]() {
    Substitution_Cancel(S);
    reject();
  });
}

void SubstitutionDialog::Run() {
  Substitution_Activate(S, *rtb_);
  Sync();
  rtb_->setFocus();
  exec();
}

void SubstitutionDialog::Sync() {
  const SubstitutionState& st = SubstOf(S);
  setWindowTitle(Latin1(st.Caption));
  status_->setText(Latin1(st.StatusLine));
  continue_->setEnabled(st.ContinueEnabled);
  reset_->setEnabled(st.ResetEnabled);
  selectAll_->setEnabled(st.SelectAllEnabled);
}

void SubstitutionDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    Substitution_Cancel(S);
    reject();
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(e);
}

void SubstitutionDialog::closeEvent(QCloseEvent* e) {
  // Closing from the frame adds nothing, as Cancel.
  if (isVisible()) Substitution_Cancel(S);
  e->accept();
  QDialog::closeEvent(e);
}

}  // namespace qv
