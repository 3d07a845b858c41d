// The print window on Qt: its controls mirror PrintProofForm.
#include "files/print_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/latin1.h"

namespace qv {

PrintProofDialog::PrintProofDialog(AppState& state, QWidget* parent)
    : QDialog(parent), S(state), form_(state) {
  setObjectName("PrintProof");
  setWindowTitle(Latin1(form_.Caption));
  setModal(true);
  label1_ = new QLabel(QStringLiteral("From Line Number:"), this);
  label1_->setObjectName("Label1");
  text1_ = new QLineEdit(this);
  text1_->setObjectName("Text1");
  label2_ = new QLabel(QStringLiteral("To Line Number:"), this);
  label2_->setObjectName("Label2");
  text2_ = new QLineEdit(this);
  text2_->setObjectName("Text2");
  all_ = new QCheckBox(QStringLiteral("All Statements"), this);
  all_->setObjectName("ChkAllStmts");
  status_ = new QLabel(Latin1(form_.StatusLine), this);
  status_->setObjectName("StatusLine");
  continue_ = new QPushButton(QStringLiteral("Continue..."), this);
  continue_->setObjectName("cmdContinue");
  continue_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName("cmdCancel");
  cancel_->setAutoDefault(false);

  auto* grid = new QGridLayout;
  grid->addWidget(label1_, 0, 0);
  grid->addWidget(text1_, 0, 1);
  grid->addWidget(label2_, 1, 0);
  grid->addWidget(text2_, 1, 1);
  grid->addWidget(all_, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(continue_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  setMinimumWidth(340);

  connect(text1_, &QLineEdit::textEdited, this,
          [this](const QString& t) { PrintProofOf(S).Text1 = FromLatin1(t); });
  connect(text2_, &QLineEdit::textEdited, this, [this](const QString& t) {
    PrintProofOf(S).Text2 = FromLatin1(t);
    form_.Text2Changed();
    Sync();
  });
  connect(all_, &QCheckBox::clicked, this, [this](bool checked) {
    form_.AllStmtsClicked(checked);
    Sync();
  });
  connect(continue_, &QPushButton::clicked, this, [this] {
    const bool done = form_.Continue();
    Sync();
    if (done) accept();
  });
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintProofDialog::Sync() {
  setWindowTitle(Latin1(form_.Caption));
  const QSignalBlocker b1(text1_), b2(text2_), b3(all_);
  const QString t1 = Latin1(PrintProofOf(S).Text1);
  const QString t2 = Latin1(PrintProofOf(S).Text2);
  if (text1_->text() != t1) text1_->setText(t1);
  if (text2_->text() != t2) text2_->setText(t2);
  all_->setChecked(form_.AllStmts);
  for (QWidget* w : {static_cast<QWidget*>(label1_), static_cast<QWidget*>(text1_),
                     static_cast<QWidget*>(label2_), static_cast<QWidget*>(text2_)})
    w->setEnabled(form_.RangeEnabled);
  status_->setText(Latin1(form_.StatusLine));
}

void PrintProofDialog::Ask() {
  form_.Activate();
  Sync();
  if (form_.RangeEnabled) {
    text1_->setFocus();
    text1_->selectAll();
  } else {
    continue_->setFocus();
  }
  exec();
}

}  // namespace qv
