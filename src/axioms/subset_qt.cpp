// The subset-axiom and induction windows on Qt: menus, buttons and boxes wired to their logic.
#include "axioms/subset_qt.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/qt/latin1.h"
#include "platform/qt/qtrichbox.h"
#include "rules/rules.h"

namespace qv {
namespace {

QAction* MakeItem(QMenu* menu, const char* name, const QString& caption) { return DialogItem(menu, name, caption); }

// Ctrl+S and Ctrl+P insert the dialog's own templates before the shared
// editor sees the key.
class TemplateKeys : public QObject {
 public:
  TemplateKeys(QObject* parent, ExprEditor& ed, std::string sum, std::function<void()> sync)
      : QObject(parent), ed_(ed), sum_(std::move(sum)), sync_(std::move(sync)) {}
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(e);
      const auto mods = k->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
      if (mods == Qt::ControlModifier && (k->key() == Qt::Key_S || k->key() == Qt::Key_P)) {
        if (k->key() == Qt::Key_S) ed_.Notation(sum_, 4);
        else ed_.Notation("PROD( , , ):", 5);
        if (sync_) sync_();
        return true;
      }
    }
    return QObject::eventFilter(o, e);
  }

 private:
  ExprEditor& ed_;
  std::string sum_;
  std::function<void()> sync_;
};

}  // namespace

QAction* DialogItem(QMenu* menu, const char* name, const QString& caption) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

void BuildDialogNotation(QMenuBar* bar, QtRichBox* box, ExprEditor& editor, bool subset,
                         std::function<void()> sync) {
  QMenu* m = bar->addMenu(QStringLiteral("&Notation"));
  m->setObjectName(QStringLiteral("mnuNotation"));
  struct Item {
    const char* name;
    const char* caption;
    const char* text;  // nullptr: a separator; "e": the element-of glyph
    int advance;
    bool setItem;      // hidden in the subset dialog
  };
  const std::string sum = subset ? "SUM( , , )" : "SUM( , , ):";
  const Item items[] = {
      {"optAnd", "And\t&&", "&", 1, false},
      {"optOr", "Or\t|", "|", 1, false},
      {"optNot", subset ? "Not\t~" : "Not\t_", subset ? "~" : "_", 1, false},
      {"optImplies", "Implies\t=>", "=>", 2, false},
      {"optIff", "If and Only If\t<=>", "<=>", 3, false},
      {nullptr, nullptr, nullptr, 0, false},
      {subset ? "optElementOf" : "optelement", "Element of\t(<epsilon>, key @)", "e", 0, false},
      {"optUnion", "Union\t||", "||", 2, true},
      {"optIntersection", "Intersection\t&&&&", "&&", 2, true},
      {"optComplement", "Set Complement\t`", "`", 1, true},
      {nullptr, nullptr, nullptr, 0, false},
      {"optEqual", "Equal\t=", "=", 1, false},
      {"optLessThan", "Less Than\t<", "<", 1, false},
      {subset ? "optGreatThan" : "optGreaterThan", "Greater Than\t>", ">", 1, false},
      {subset ? "optLessThanOrEqual" : "optLessThanOrEqaul", "Less Than or Equal\t<=", "<=", 2, false},
      {"optGreaterThanOrEqual", "Greater Than or Equal\t>=", ">=", 2, false},
      {nullptr, nullptr, nullptr, 0, false},
      {"optAdd", "Add\t+", "+", 1, false},
      {"optSubtract", "Subtract\t-", "-", 1, false},
      {"optMultiply", "Multiply\t*", "*", 1, false},
      {"optDivide", "Divide\t/", "/", 1, false},
      {"optExponent", "Exponent\t^", "^", 1, false},
      {"optNegative", "Negative\t_", "_", 1, false},
      {nullptr, nullptr, nullptr, 0, false},
      {"optUniversal", "Universal Quantifier\tALL([var]):", "ALL():", 4, false},
      {"optExistential", "Existential Quantifier\tEXIST([var]):", "EXIST():", 6, false},
      {nullptr, nullptr, nullptr, 0, false},
      {"optSum", "Summation\tSUM([var],[start],[end])", nullptr, 4, true},
      {subset ? "optProduct" : "optProd", "Product\tPROD([var],[start],[end]):", "PROD( , , ):", 5, true},
  };
  for (const Item& it : items) {
    if (!it.name) {
      m->addSeparator();
      continue;
    }
    QAction* a = MakeItem(m, it.name, QString::fromLatin1(it.caption));
    if (subset && it.setItem) a->setVisible(false);
    const std::string text = it.text ? it.text : sum;
    const int advance = it.advance;
    const bool glyph = text == "e" && advance == 0;
    QObject::connect(a, &QAction::triggered, box, [&editor, text, advance, glyph, sync] {
      if (glyph) editor.ElementOf();
      else editor.Notation(text, advance);
      if (sync) sync();
    });
  }
  box->installEventFilter(new TemplateKeys(box, editor, sum, sync));
}

SubsetDialog::SubsetDialog(AppState& S, QWidget* parent) : EditorDialog(parent, "SubsetFrm", "SelectExpression"), S_(S) {
  setWindowTitle(QStringLiteral(" Subset Axiom - Enter Selection Criteria"));
  logic_ = std::make_unique<SubsetForm>(S, *box_);
  logic_->OnHide = [this] { done(0); };
  ExprEditor& ed = logic_->Editor();

  auto* bar = new QMenuBar(this);
  QMenu* edit = bar->addMenu(QStringLiteral(" &Edit"));
  edit->setObjectName(QStringLiteral("mnuEdit"));
  QAction* undo = MakeItem(edit, "optUndo", QStringLiteral("Undo\tCtrl+Z"));
  QAction* redo = MakeItem(edit, "optRedo", QStringLiteral("Redo"));
  edit->addSeparator();
  MakeItem(edit, "optCopy", QStringLiteral("&Copy\tCtrl+C"));
  MakeItem(edit, "optCut", QStringLiteral("C&ut\tCtrl+X"));
  MakeItem(edit, "optPaste", QStringLiteral("&Paste\tCtrl+V"));
  MakeItem(edit, "optDelete", QStringLiteral("&Delete          Del"));
  QAction* clear = MakeItem(edit, "optClear", QStringLiteral("Clear"));
  BuildDialogNotation(bar, box_, ed, true, [this] { wiring_->Sync(); });

  auto* label3 = new QLabel(QStringLiteral("Enter bound variable for name of subset:"), this);
  label3->setObjectName(QStringLiteral("Label3"));
  name_ = new QLineEdit(this);
  name_->setObjectName(QStringLiteral("SubsetName"));
  label1_ = new QLabel(this);
  label1_->setObjectName(QStringLiteral("Label1"));
  vars_ = new QLineEdit(this);
  vars_->setObjectName(QStringLiteral("BoundVars"));
  auto* label2 = new QLabel(QStringLiteral("Enter selection criteria (may not refer to name of subset, above):"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  status_ = new QLabel(QStringLiteral("Status Line"), this);
  status_->setObjectName(QStringLiteral("StatusLine"));
  status_->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0);"));
  for (QLineEdit* e : {name_, vars_}) e->setFont(QFont(QStringLiteral("Courier New")));

  auto* buttons = new QHBoxLayout;
  QPushButton* undoBtn = nullptr;
  QPushButton* redoBtn = nullptr;
  static const char* const btns[][3] = {{"cmdUndo", "Undo", "optUndo"}, {"cmdRedo", "Redo", "optRedo"},
                                        {"cmdCopy", "Copy", "optCopy"}, {"cmdCut", "Cut", "optCut"},
                                        {"cmdPaste", "Paste", "optPaste"}, {"cmdDelete", "Delete", "optDelete"},
                                        {"cmdClear", "Clear", "optClear"}};
  for (const auto& b : btns) {
    auto* w = new QPushButton(QString::fromLatin1(b[1]), this);
    w->setObjectName(QString::fromLatin1(b[0]));
    w->setAutoDefault(false);
    w->setFocusPolicy(Qt::TabFocus);
    connect(w, &QPushButton::clicked, findChild<QAction*>(QString::fromLatin1(b[2])), &QAction::trigger);
    if (std::string(b[0]) == "cmdUndo") undoBtn = w;
    if (std::string(b[0]) == "cmdRedo") redoBtn = w;
    buttons->addWidget(w);
  }
  buttons->addStretch();
  continue_ = new QPushButton(QStringLiteral("Continue..."), this);
  continue_->setObjectName(QStringLiteral("cmdContinue"));
  continue_->setAutoDefault(false);
  cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  cancel_->setObjectName(QStringLiteral("cmdCancel"));
  cancel_->setAutoDefault(false);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(status_, 1);
  bottom->addWidget(continue_);
  bottom->addWidget(cancel_);

  auto* layout = new QVBoxLayout(this);
  layout->setMenuBar(bar);
  layout->addLayout(buttons);
  layout->addWidget(label3);
  layout->addWidget(name_);
  layout->addWidget(label1_);
  layout->addWidget(vars_);
  layout->addWidget(label2);
  layout->addWidget(box_, 1);
  layout->addLayout(bottom);

  Wire(ed, edit, undo, redo, undoBtn, redoBtn, [this](char c) {
    const bool swallowed = logic_->FormKeyPress(c);
    return swallowed;
  });
  // The Clear item also empties the two text boxes and the message line.
  connect(clear, &QAction::triggered, this, [this] {
    logic_->SubsetName.clear();
    logic_->BoundVars.clear();
    logic_->StatusLine.clear();
    logic_->Focus = FormFocus::NameBox;
    Refresh();
  });
  connect(name_, &QLineEdit::textEdited, this, [this] { logic_->TextBoxChanged(); status_->clear(); });
  connect(vars_, &QLineEdit::textEdited, this, [this] { logic_->TextBoxChanged(); status_->clear(); });
  connect(box_, &QTextEdit::textChanged, this, [this] {
    logic_->BoxChanged();
    status_->setText(Latin1(logic_->StatusLine));
  });
  connect(continue_, &QPushButton::clicked, this, [this] {
    logic_->SubsetName = FromLatin1(name_->text());
    logic_->BoundVars = FromLatin1(vars_->text());
    logic_->Continue();
    if (isVisible()) Refresh();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] { logic_->Cancel(); });
  resize(640, 420);
}

// The box outlives the logic its slots call (it is destroyed with the
// window's children, after the members): it must not reach them any more.
SubsetDialog::~SubsetDialog() { QObject::disconnect(box_, nullptr, this, nullptr); }

void SubsetDialog::Refresh() {
  name_->setText(Latin1(logic_->SubsetName));
  vars_->setText(Latin1(logic_->BoundVars));
  status_->setText(Latin1(logic_->StatusLine));
  wiring_->Sync();
  switch (logic_->Focus) {
    case FormFocus::NameBox: name_->setFocus(); break;
    case FormFocus::VarBox: vars_->setFocus(); break;
    case FormFocus::Expression: box_->setFocus(); break;
    case FormFocus::None: break;
  }
}

void SubsetDialog::RunModal() {
  logic_->Caption = SubsetWindowOf(S_).SubsetCaption;
  setWindowTitle(Latin1(logic_->Caption));
  label1_->setText(Latin1(SubsetWindowOf(S_).SubsetLabel1));
  logic_->Activate();
  QFont f(QStringLiteral("Courier New"));
  f.setPointSize(S_.Ui.FontSize);
  name_->setFont(f);
  vars_->setFont(f);
  Refresh();
  wiring_->Sync();
  box_->Flush();
  exec();
}

}  // namespace qv
