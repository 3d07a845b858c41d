// The Generalize window on Qt, wired to its logic.
#include "rules/egen_qt.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/latin1.h"
#include "platform/qt/qtrichbox.h"

namespace qv {
namespace {

QPushButton* Button(QWidget* parent, const char* caption, const char* name) {
  auto* b = new QPushButton(QString::fromLatin1(caption), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  return b;
}
}  // namespace

GeneralizeDialog::GeneralizeDialog(AppState& state, QWidget* parent) : QDialog(parent), S(state) {
  setObjectName(QString::fromLatin1(kGeneralizeForm));
  setWindowTitle(QStringLiteral("Generalization"));
  setModal(true);
  setSizeGripEnabled(true);

  rtb_ = new QtRichBox(this);
  rtb_->setObjectName("RTB");
  // The statement is changed only by clicks on its occurrences.
  rtb_->SetViewOnly(true);
  logic_ = std::make_unique<Generalize>(S, *rtb_);
  logic_->OnHide = [this] { done(0); };

  boundVarLabel_ = new QLabel(QStringLiteral("Bound Variable:"), this);
  boundVarLabel_->setObjectName("BoundVarLabel");
  boundVar_ = new QLineEdit(this);
  boundVar_->setObjectName("BoundVarTextBox");
  statementLabel_ = new QLabel(QStringLiteral("Statement  Text:"), this);
  statementLabel_->setObjectName("StatementTextLabel");
  status_ = new QLabel(this);
  status_->setObjectName("StatusLine");
  status_->setWordWrap(true);
  selectAll_ = Button(this, "Select All", "cmdSelectAll");
  reset_ = Button(this, "Reset", "cmdReset");
  continue_ = Button(this, "Continue...", "cmdContinue");
  cancel_ = Button(this, "Cancel", "cmdCancel");

  auto* top = new QHBoxLayout;
  top->addWidget(boundVarLabel_);
  top->addWidget(boundVar_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(selectAll_);
  buttons->addWidget(reset_);
  buttons->addStretch();
  buttons->addWidget(continue_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(statementLabel_);
  layout->addWidget(rtb_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  resize(640, 300);

  connect(boundVar_, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (SkipBoundVarChange) return;
    logic_->BoundVarText = FromLatin1(text);
    logic_->BoundVarTextBox_Change();
    Refresh();
  });
  connect(rtb_, &QtRichBox::clicked, this, [this] {
    logic_->BoundVarText = FromLatin1(boundVar_->text());
    logic_->RTB_Click();
    Refresh();
  });
  connect(selectAll_, &QPushButton::clicked, this, [this] {
    logic_->BoundVarText = FromLatin1(boundVar_->text());
    logic_->cmdSelectAll_Click();
    Refresh();
  });
  connect(reset_, &QPushButton::clicked, this, [this] {
    logic_->cmdReset_Click();
    Refresh();
  });
  connect(continue_, &QPushButton::clicked, this, [this] {
    logic_->cmdContinue_Click();
    if (isVisible()) Refresh();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { logic_->cmdCancel_Click(); });
}

GeneralizeDialog::~GeneralizeDialog() = default;

void GeneralizeDialog::Refresh() {
  const Generalize& g = *logic_;
  if (FromLatin1(boundVar_->text()) != g.BoundVarText) {
    SkipBoundVarChange = true;
    boundVar_->setText(Latin1(g.BoundVarText));
    SkipBoundVarChange = false;
  }
  boundVar_->setEnabled(g.BoundVarTextBoxEnabled);
  boundVarLabel_->setEnabled(g.BoundVarLabelEnabled);
  statementLabel_->setEnabled(g.StatementTextLabelEnabled);
  selectAll_->setEnabled(g.SelectAllEnabled);
  reset_->setEnabled(g.ResetEnabled);
  continue_->setEnabled(g.ContinueEnabled);
  status_->setText(Latin1(g.StatusLine));
  rtb_->Flush();
  switch (g.FocusOn) {
    case Generalize::Focus::BoundVarBox: boundVar_->setFocus(); break;
    case Generalize::Focus::Statement: rtb_->setFocus(); break;
    case Generalize::Focus::None: break;
  }
  logic_->FocusOn = Generalize::Focus::None;
}

void GeneralizeDialog::Run() {
  setWindowTitle(Latin1(EGenOf(S).GeneralizeCaption));
  QFont f = boundVar_->font();
  f.setPointSize(S.Ui.FontSize);
  boundVar_->setFont(f);
  logic_->Form_Activate();
  Refresh();
  exec();
}

void GeneralizeDialog::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    logic_->Form_KeyPress(27);
    return;
  }
  // Enter must not press a button by itself.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return;
  QDialog::keyPressEvent(e);
}

void GeneralizeDialog::reject() {
  // Esc reaches here from child widgets too.
  logic_->Form_KeyPress(27);
}

void GeneralizeDialog::closeEvent(QCloseEvent* e) {
  if (isVisible()) logic_->Form_QueryUnload();
  e->accept();
  QDialog::done(0);
}

}  // namespace qv
