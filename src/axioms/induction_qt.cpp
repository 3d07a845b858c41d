// The induction window on Qt: its controls wired to InductionForm.
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "axioms/subset_qt.h"
#include "platform/qt/latin1.h"
#include "platform/qt/qtrichbox.h"

namespace qv {
namespace {
QAction* MakeItem(QMenu* menu, const char* name, const QString& caption) { return DialogItem(menu, name, caption); }
}  // namespace

InductionDialog::InductionDialog(AppState& S, QWidget* parent) : EditorDialog(parent, "InductionForm", "RTB"), S_(S) {
  setWindowTitle(QStringLiteral(" Induction Shortcut"));
  logic_ = std::make_unique<InductionForm>(S, *box_);
  logic_->OnHide = [this] { done(0); };
  ExprEditor& ed = logic_->Editor();

  auto* bar = new QMenuBar(this);
  QMenu* edit = bar->addMenu(QStringLiteral(" &Edit"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  QAction* undo = MakeItem(edit, "optUndo", QStringLiteral("Undo\tCtrl+Z"));
  edit->addSeparator();
  MakeItem(edit, "optCopy", QStringLiteral("&Copy\tCtrl+C"));
  MakeItem(edit, "optCut", QStringLiteral("C&ut\tCtrl+X"));
  MakeItem(edit, "optPaste", QStringLiteral("&Paste\tCtrl+V"));
  MakeItem(edit, "optDelete", QStringLiteral("&Delete             Del"));
  BuildDialogNotation(bar, box_, ed, false, [this] { wiring_->Sync(); });

  auto* label1 = new QLabel(QStringLiteral("For ALL natural numbers (enter name of  variable)..."), this);
  label1->setObjectName(QStringLiteral("Label1"));
  var_ = new QLineEdit(this);
  var_->setObjectName(QStringLiteral("BoundVarTextBox"));
  auto* label2 = new QLabel(QStringLiteral("We want to prove (enter logical expression)..."), this);
  label2->setObjectName(QStringLiteral("Label2"));
  status_ = new QLabel(QStringLiteral("Status Line"), this);
  status_->setObjectName(QStringLiteral("StatusLine"));
  status_->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));
  continue_ = new QPushButton(QStringLiteral("Continue..."), this);
  continue_->setObjectName(QStringLiteral("cmdContinue"));
  continue_->setAutoDefault(false);
  auto* reset = new QPushButton(QStringLiteral("Reset"), this);
  reset->setObjectName(QStringLiteral("cmdReset"));
  reset->setAutoDefault(false);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("cmdCancel"));
  cancel_->setAutoDefault(false);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(continue_);
  bottom->addWidget(reset);
  bottom->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(bar);
  layout->addWidget(label1);
  layout->addWidget(var_);
  layout->addWidget(label2);
  layout->addWidget(box_, 1);
  layout->addLayout(bottom);

  QFont f(QStringLiteral("Courier New"));
  f.setPointSize(S.Ui.FontSize);
  var_->setFont(f);

  Wire(ed, edit, undo, nullptr, nullptr, nullptr, [this](char c) { return logic_->FormKeyPress(c); });
  connect(box_, &QTextEdit::textChanged, this, [this] {
    logic_->BoxChanged();
    status_->setText(Latin1(logic_->StatusLine));
  });
  connect(reset, &QPushButton::clicked, this, [this] {
    logic_->Reset();
    Refresh();
  });
  connect(continue_, &QPushButton::clicked, this, [this] {
    logic_->BoundVarTextBox = FromLatin1(var_->text());
    logic_->Continue();
    if (isVisible()) Refresh();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { logic_->Cancel(); });
  resize(600, 320);
}

// The box outlives the logic its slots call (it is destroyed with the
// window's children, after the members): it must not reach them any more.
InductionDialog::~InductionDialog() { QObject::disconnect(box_, nullptr, this, nullptr); }

void InductionDialog::Refresh() {
  var_->setText(Latin1(logic_->BoundVarTextBox));
  status_->setText(Latin1(logic_->StatusLine));
  wiring_->Sync();
  if (logic_->Focus == FormFocus::NameBox) var_->setFocus();
  else if (logic_->Focus == FormFocus::Expression) box_->setFocus();
}

void InductionDialog::RunModal() {
  logic_->Activate();
  Refresh();
  box_->Flush();
  exec();
}

}  // namespace qv
