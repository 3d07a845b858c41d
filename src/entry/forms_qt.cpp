// The entry window, comment editor and Warning box on Qt, wired to their logic.
#include "entry/forms_qt.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QFont>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>

#include "platform/qt/latin1.h"
#include "platform/qt/qtrichbox.h"

namespace qv {

namespace {

constexpr int kTwipsPerPixel = 15;
// Window frame and title bar, in twips, that the layout rules count in the
// window's outer size.
constexpr int kFrameWidthTw = 120;
constexpr int kFrameHeightTw = 600;


QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setAutoDefault(false);
  b->setFocusPolicy(Qt::TabFocus);
  return b;
}

QAction* MakeAction(QMenu* menu, const char* name, const QString& caption) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

void PlaceTw(QWidget* w, int left, int top, int width, int height, int yOffsetPx) {
  w->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel + yOffsetPx, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

int MenuHeight(QDialog* d) {
  auto* bar = d->findChild<QMenuBar*>();
  return bar ? bar->sizeHint().height() : 0;
}

// The Edit menu of an editor window. The comment editor lists Copy before
// Cut and names its separator bar1.
QMenu* BuildEditMenu(QMenuBar* bar, bool commentOrder, const QString& deleteCaption, QAction** undo,
                     QAction** redo) {
  QMenu* m = bar->addMenu(QStringLiteral("Edit"));
  m->setObjectName(QStringLiteral("mnuEdit"));
  *undo = MakeAction(m, "optUndo", QStringLiteral("Undo\tCtrl+Z"));
  *redo = MakeAction(m, "optRedo", QStringLiteral("Redo"));
  m->addSeparator()->setObjectName(commentOrder ? QStringLiteral("bar1") : QStringLiteral("bar3"));
  if (commentOrder) {
    MakeAction(m, "optCopy", QStringLiteral("Copy\tCtrl+C"));
    MakeAction(m, "optCut", QStringLiteral("Cut\tCtrl+X"));
  } else {
    MakeAction(m, "optCut", QStringLiteral("Cut\tCtrl+X"));
    MakeAction(m, "optCopy", QStringLiteral("Copy\tCtrl+C"));
  }
  MakeAction(m, "optPaste", QStringLiteral("Paste\tCtrl+V"));
  MakeAction(m, "optDelete", deleteCaption);
  MakeAction(m, "optClear", QStringLiteral("Clear"));
  return m;
}

}  // namespace

// ---------------------------------------------------------------------------

EditorWiring::EditorWiring(QWidget* window, QtRichBox* box, ExprEditor& editor, QMenu* editMenu,
                           std::function<bool(char)> formKey)
    : QObject(window), box_(box), editor_(editor), editMenu_(editMenu), formKey_(std::move(formKey)) {
  box_->setUndoRedoEnabled(false);  // the editor keeps its own one-level undo
  box_->setTabChangesFocus(true);   // Tab moves between the window's controls

  connect(box_, &QtRichBox::keyPressed, this, [this](int key, int modifiers, const QString& text) {
    int mods = 0;
    if (modifiers & Qt::ShiftModifier) mods |= kModShift;
    if (modifiers & Qt::ControlModifier) mods |= kModCtrl;
    if (modifiers & Qt::AltModifier) mods |= kModAlt;
    if (key == Qt::Key_Escape) {
      box_->SuppressKey();
      if (formKey_) formKey_(kKeyEsc);
      return;
    }
    // The desktop's other paste and copy keys (Shift+Insert, the Paste and
    // Copy keys) do what the Edit items do, instead of the box's own
    // clipboard handling, which knows neither the glyph nor the snapshot.
    if (mods != kModCtrl) {
      const QKeyEvent probe(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
      if (probe.matches(QKeySequence::Paste) || probe.matches(QKeySequence::Copy)) {
        box_->SuppressKey();
        if (probe.matches(QKeySequence::Paste)) editor_.Paste();
        else editor_.Copy();
        Sync();
        return;
      }
    }
    int code = -1;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) code = key;
    else if (key == Qt::Key_Delete) code = kKeyDelete;
    if (editor_.KeyDown(code, mods)) {
      box_->SuppressKey();
      Sync();
      return;
    }
    if (key == Qt::Key_Delete) {
      // Delete is an editing key, not a typed character (its DEL text must
      // not turn Undo off again). Qt binds Shift+Delete to Cut; here it
      // deletes like Delete and leaves the clipboard alone.
      if (mods == kModShift) {
        box_->SuppressKey();
        if (box_->SelLength() == 0) box_->SetSelLength(1);
        box_->SetSelText("");
      }
      Sync();
      return;
    }
    if (!text.isEmpty()) {
      const QChar ch = text.at(0);
      if (ch.unicode() > 255) {
        box_->SuppressKey();  // the document holds 8-bit text only
      } else if (!editor_.KeyPress(static_cast<char>(ch.unicode()))) {
        box_->SuppressKey();
      }
    }
    Sync();
  });
  connect(box_, &QtRichBox::mousePressed, this, [this](int button, int, int x, int y) {
    if (button == Qt::RightButton) editor_.MouseDown(x, y);
  });
  connect(box_, &QtRichBox::mouseReleased, this, [this](int button, int, int, int) {
    if (button == Qt::RightButton && editMenu_) editMenu_->popup(QCursor::pos());
  });

  // The middle button pastes where it is pressed; the box must not paste the
  // desktop's selection by itself.
  box_->viewport()->installEventFilter(this);

  // Ctrl+Z, X, C and V are the window's shortcuts, so they work wherever the
  // focus is. In the box the box takes them first (as its own editing keys)
  // and the key handling above runs the item, so each press runs it once.
  auto hook = [this, window](const char* name, QKeySequence key, std::function<void()> fn) {
    for (QAction* a : window->findChildren<QAction*>(QString::fromLatin1(name))) {
      if (!key.isEmpty()) a->setShortcut(key);
      connect(a, &QAction::triggered, this, [this, fn] { fn(); Sync(); });
    }
  };
  hook("optUndo", QKeySequence(Qt::CTRL | Qt::Key_Z), [this] { editor_.Undo(); });
  hook("optRedo", QKeySequence(), [this] { editor_.Redo(); });
  hook("optCut", QKeySequence(Qt::CTRL | Qt::Key_X), [this] { editor_.Cut(); });
  hook("optCopy", QKeySequence(Qt::CTRL | Qt::Key_C), [this] { editor_.Copy(); });
  hook("optPaste", QKeySequence(Qt::CTRL | Qt::Key_V), [this] { editor_.Paste(); });
  hook("optDelete", QKeySequence(), [this] { editor_.Delete(); });
  hook("optClear", QKeySequence(), [this] { editor_.Clear(); });
}

bool EditorWiring::eventFilter(QObject* watched, QEvent* e) {
  const QEvent::Type t = e->type();
  if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick) {
    auto* m = static_cast<QMouseEvent*>(e);
    if (m->button() == Qt::MiddleButton) {
      if (t == QEvent::MouseButtonPress) {
        const QPoint p = m->position().toPoint();
        editor_.MouseDown(p.x(), p.y());
        editor_.Paste();
        Sync();
      }
      return true;
    }
  }
  return QObject::eventFilter(watched, e);
}

void EditorWiring::Sync() {
  if (undoAction) undoAction->setEnabled(editor_.UndoOn);
  if (undoButton) undoButton->setEnabled(editor_.UndoOn);
  if (redoAction) redoAction->setEnabled(editor_.RedoOn);
  if (redoButton) redoButton->setEnabled(editor_.RedoOn);
}

// ---------------------------------------------------------------------------
// What the two editor windows share.

EditorDialog::EditorDialog(QWidget* parent, const char* name, const char* boxName) : QDialog(parent) {
  setObjectName(QString::fromLatin1(name));
  setModal(true);
  setSizeGripEnabled(true);
  box_ = new QtRichBox(this);
  box_->setObjectName(QString::fromLatin1(boxName));
}

EditorDialog::~EditorDialog() = default;

void EditorDialog::Wire(ExprEditor& editor, QMenu* edit, QAction* undo, QAction* redo, QPushButton* undoButton,
                        QPushButton* redoButton, std::function<bool(char)> formKey) {
  wiring_ = std::make_unique<EditorWiring>(this, box_, editor, edit, std::move(formKey));
  wiring_->setParent(nullptr);
  wiring_->undoAction = undo;
  wiring_->redoAction = redo;
  wiring_->undoButton = undoButton;
  wiring_->redoButton = redoButton;
}

void EditorDialog::Exec() {
  wiring_->Sync();
  box_->Flush();
  box_->setFocus();
  exec();
}

void EditorDialog::closeEvent(QCloseEvent* e) {
  CloseBox();
  e->accept();
  QDialog::done(0);
}

void EditorDialog::reject() { Escape(); }

// ---------------------------------------------------------------------------
// The entry window.

TestParserDialog::TestParserDialog(AppState& S, QWidget* parent) : EditorDialog(parent, "TestParser", "RTB") {
  setWindowTitle(QStringLiteral("Test Parser"));
  box_->setAccessibleName(QStringLiteral("Expression"));
  logic_ = std::make_unique<TestParser>(S, *box_);
  logic_->OnHide = [this] { done(0); };

  auto* bar = new QMenuBar(this);
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QMenu* edit = BuildEditMenu(bar, false, QStringLiteral("Delete                   Del"), &undo, &redo);

  // The notation menu: label, then the hint; each inserts its text.
  QMenu* notation = bar->addMenu(QStringLiteral("Notation"));
  notation->setObjectName(QStringLiteral("mnuNotation"));
  struct Item {
    const char* name;
    const char* label;
    const char* hint;
    const char* text;
    int advance;
  };
  static const Item items[] = {
      {"optAnd", "And", "&&", "&", 1},
      {"optOr", "Or", "|", "|", 1},
      {"optNot", "Not", "~", "~", 1},
      {"optImplies", "Implies", "=>", "=>", 2},
      {"optIff", "If and Only If", "<=>", "<=>", 3},
      {"bar6", nullptr, nullptr, nullptr, 0},
      {"optelement", "Element of", nullptr, nullptr, 1},
      {"bar4", nullptr, nullptr, nullptr, 0},
      {"optEqual", "Equal", "=", "=", 1},
      {"optLessThan", "Less Than", "<", "<", 1},
      {"optGreaterThan", "Greater Than", ">", ">", 1},
      {"optLessThanOrEqual", "Less Than or Equal", "<=", "<=", 2},
      {"optGreaterThanOrEqual", "Greater Than Or Equal", ">=", ">=", 2},
      {"bar5", nullptr, nullptr, nullptr, 0},
      {"optAdd", "Add", "+", "+", 1},
      {"optSubtract", "Subtract", "-   (hyphen)", "-", 1},
      {"optMultiply", "Multiply", "*   (asterisk)", "*", 1},
      {"optDivide", "Divide", "/", "/", 1},
      {"optExponent", "Exponent", "^", "^", 1},
      {"optNegative", "Negative", "_  (underscore)", "_", 1},
      {"bar1", nullptr, nullptr, nullptr, 0},
      {"optALL", "Universal Quantifier", "ALL( [var] ):      Ctrl+A", "ALL():", 4},
      {"optExist", "Existential Quantifier", "EXIST ( [var] ):      Ctrl+E", "EXIST():", 6},
      {"optSum", "Summation", "SUM( [var], [start], [end] ):      Ctrl+S", "SUM(,,):", 4},
      {"optProd", "Product", "PROD( [var], [start], [end] ):      Ctrl+P", "PROD(,,):", 5},
  };
  ExprEditor& ed = logic_->Editor();
  for (const Item& it : items) {
    if (!it.label) {
      notation->addSeparator()->setObjectName(QString::fromLatin1(it.name));
      continue;
    }
    QAction* a;
    if (std::string(it.name) == "optelement") {
      a = MakeAction(notation, it.name, QStringLiteral("Element of\t(") + QChar(0x03B5) + QStringLiteral(", key @)"));
      connect(a, &QAction::triggered, this, [this, &ed] { ed.ElementOf(); wiring_->Sync(); });
    } else {
      a = MakeAction(notation, it.name, QString::fromLatin1(it.label) + "\t" + QString::fromLatin1(it.hint));
      const std::string text = it.text;
      const int advance = it.advance;
      connect(a, &QAction::triggered, this, [this, &ed, text, advance] {
        ed.Notation(text, advance);
        wiring_->Sync();
      });
    }
    // Summation and product are reached by Ctrl+S and Ctrl+P only.
    if (std::string(it.name) == "optSum" || std::string(it.name) == "optProd") a->setVisible(false);
  }

  status_ = new QLabel(QStringLiteral("Status Line"), this);
  status_->setObjectName(QStringLiteral("StatusLine"));
  auto* parse = MakeButton(this, "cmdParse", QStringLiteral("Parse"));
  parse->setVisible(false);
  continue_ = MakeButton(this, "cmdContinue", QStringLiteral("Continue..."));
  cancel_ = MakeButton(this, "cmdCancel", QStringLiteral("Cancel"));

  struct Btn {
    const char* name;
    const char* caption;
    const char* item;
  };
  static const Btn btns[] = {{"cmdClear", "Clear", "optClear"}, {"cmdCopy", "Copy", "optCopy"},
                             {"cmdCut", "Cut", "optCut"},       {"cmdDelete", "Delete", "optDelete"},
                             {"cmdPaste", "Paste", "optPaste"}, {"CmdUndo", "Undo", "optUndo"},
                             {"cmdRedo", "Redo", "optRedo"}};
  const int top = MenuHeight(this);
  int x = 8;
  QPushButton* undoBtn = nullptr;
  QPushButton* redoBtn = nullptr;
  for (const Btn& b : btns) {
    QPushButton* w = MakeButton(this, b.name, QString::fromLatin1(b.caption));
    w->setGeometry(x, top + 2, 56, 24);
    x += 58;
    QAction* target = findChild<QAction*>(QString::fromLatin1(b.item));
    connect(w, &QPushButton::clicked, target, &QAction::trigger);
    if (std::string(b.name) == "CmdUndo") undoBtn = w;
    if (std::string(b.name) == "cmdRedo") redoBtn = w;
  }

  Wire(ed, edit, undo, redo, undoBtn, redoBtn, [this](char c) {
    bool swallowed = logic_->FormKeyPress(c);
    Refresh();
    return swallowed;
  });

  connect(parse, &QPushButton::clicked, this, [this] { logic_->Parse(); Refresh(); });
  connect(continue_, &QPushButton::clicked, this, [this] { logic_->Continue(); Refresh(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { logic_->Cancel(); });

  resize(640, 340);
}

TestParserDialog::~TestParserDialog() = default;

void TestParserDialog::Refresh() {
  status_->setText(Latin1(logic_->StatusLine));
  setWindowTitle(Latin1(logic_->Caption));
  wiring_->Sync();
}

void TestParserDialog::RunModal() {
  logic_->Activate();
  Refresh();
  Exec();
}

void TestParserDialog::Escape() {
  logic_->FormKeyPress(kKeyEsc);
  Refresh();
}

void TestParserDialog::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  const int menu = MenuHeight(this);
  const int W = width() * kTwipsPerPixel + kFrameWidthTw;
  const int H = (height() - menu) * kTwipsPerPixel + kFrameHeightTw;
  if (W > 600 && H > 2475) PlaceTw(box_, 120, 480, W - 360, H - 2205, menu);
  PlaceTw(status_, 0, H - 1620, W, 255, menu);
  if (H > 1290) PlaceTw(continue_, 120, H - 1260, 1095, 375, menu);
  if (H > 1290 && W > 1455) PlaceTw(cancel_, W - 1290, H - 1260, 1095, 375, menu);
}

// ---------------------------------------------------------------------------
// The comment editor.

CommentDialog::CommentDialog(AppState& S, QWidget* parent) : EditorDialog(parent, "Comment", "CommentBox") {
  logic_ = std::make_unique<CommentEditor>(S, *box_);
  logic_->OnHide = [this] { done(0); };
  ExprEditor& ed = logic_->Editor();

  auto* bar = new QMenuBar(this);
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QMenu* edit = BuildEditMenu(bar, true, QStringLiteral("Delete           Del"), &undo, &redo);

  QMenu* notation = bar->addMenu(QStringLiteral("Notation"));
  notation->setObjectName(QStringLiteral("mnuNotation"));
  QAction* all = MakeAction(notation, "optUQuantifier", QStringLiteral("Universal Quantifier       ALL([var]):"));
  QAction* exist =
      MakeAction(notation, "optEQuantifier", QStringLiteral("Existential Quantifier     EXIST([var]):"));
  notation->addSeparator()->setObjectName(QStringLiteral("bar2"));
  QAction* sum = MakeAction(notation, "optSum",
                            QStringLiteral("Summation  SUM([var],[start],[end]):                 "));
  QAction* prod = MakeAction(notation, "optProd", QStringLiteral("Product       PROD([var],[start],[end]):"));
  sum->setVisible(false);
  sum->setEnabled(false);
  prod->setVisible(false);
  prod->setEnabled(false);
  connect(all, &QAction::triggered, this, [this, &ed] { ed.InsertALL(); wiring_->Sync(); });
  connect(exist, &QAction::triggered, this, [this, &ed] { ed.InsertEXIST(); wiring_->Sync(); });

  const int top = MenuHeight(this);
  struct Btn {
    const char* name;
    const char* caption;
    int left;
    const char* item;     // Edit item it runs, or nullptr
    const char* heading;  // heading it inserts, or nullptr
  };
  static const Btn btns[] = {
      {"cmdCut", "Cut", 120, "optCut", nullptr},
      {"cmdCopy", "Copy", 736, "optCopy", nullptr},
      {"cmdPaste", "Paste", 1352, "optPaste", nullptr},
      {"cmdDelete", "Delete", 1968, "optDelete", nullptr},
      {"cmdClear", "Clear", 2584, "optClear", nullptr},
      {"cmdUndo", "Undo", 3360, "optUndo", nullptr},
      {"cmdRedo", "Redo", 3976, "optRedo", nullptr},
      {"cmdDefine", "&Def", 4800, nullptr, kHeadingDefine},
      {"cmdProve", "&Prove", 5416, nullptr, kHeadingProve},
      {"cmdSufficient", "&Suff", 6032, nullptr, kHeadingSufficient},
      {"cmdAsRequired", "&As R", 6648, nullptr, kHeadingAsRequired},
  };
  QPushButton* undoBtn = nullptr;
  QPushButton* redoBtn = nullptr;
  for (const Btn& b : btns) {
    QPushButton* w = MakeButton(this, b.name, QString::fromLatin1(b.caption));
    PlaceTw(w, b.left, 0, 615, 375, top);
    if (b.item) {
      QAction* target = findChild<QAction*>(QString::fromLatin1(b.item));
      connect(w, &QPushButton::clicked, target, &QAction::trigger);
    } else {
      const std::string heading = b.heading;
      std::string shown = heading.substr(0, heading.size() - 1);
      w->setToolTip(QStringLiteral("Insert \"") + Latin1(shown) + QStringLiteral("\""));
      connect(w, &QPushButton::clicked, this, [this, heading] {
        logic_->InsertHeading(heading);
        wiring_->Sync();
      });
    }
    if (std::string(b.name) == "cmdUndo") undoBtn = w;
    if (std::string(b.name) == "cmdRedo") redoBtn = w;
  }
  continue_ = MakeButton(this, "Continue", QStringLiteral("Continue..."));
  cancel_ = MakeButton(this, "Cancel", QStringLiteral("Cancel"));
  connect(continue_, &QPushButton::clicked, this, [this] { logic_->Continue(); });
  connect(cancel_, &QPushButton::clicked, this, [this] { logic_->Cancel(); });

  Wire(ed, edit, undo, redo, undoBtn, redoBtn, [this](char c) { return logic_->FormKeyPress(c); });

  // Tab order: Continue, Clear, Cancel, the box, then the edit and heading
  // buttons in the order the band's groups are used.
  static const char* const tabOrder[] = {"Continue", "cmdClear",   "Cancel",        "CommentBox",
                                         "cmdUndo",  "cmdDefine",  "cmdProve",      "cmdSufficient",
                                         "cmdAsRequired", "cmdRedo", "cmdCut",      "cmdCopy",
                                         "cmdPaste", "cmdDelete"};
  QWidget* previous = nullptr;
  for (const char* name : tabOrder) {
    QWidget* w = findChild<QWidget*>(QString::fromLatin1(name));
    if (previous && w) setTabOrder(previous, w);
    if (w) previous = w;
  }

  resize(9465 / kTwipsPerPixel, 4290 / kTwipsPerPixel + top);
}

CommentDialog::~CommentDialog() = default;

void CommentDialog::RunModal() {
  logic_->Activate();
  setWindowTitle(Latin1(logic_->Caption));
  Exec();
}

void CommentDialog::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  const int menu = MenuHeight(this);
  const int W = width() * kTwipsPerPixel + kFrameWidthTw;
  const int H = (height() - menu) * kTwipsPerPixel + kFrameHeightTw;
  if (W > 420 && H > 1845) PlaceTw(box_, 120, 480, W - 420, H - 1845, menu);
  if (H > 1260) PlaceTw(continue_, 120, H - 1260, 1095, 375, menu);
  if (H > 1260 && W > 1395) PlaceTw(cancel_, W - 1395, H - 1260, 1095, 375, menu);
}

// ---------------------------------------------------------------------------
// The warning box.

WarningDialog::WarningDialog(AppState& S, QWidget* parent) : QDialog(parent), logic_(S) {
  setObjectName(QStringLiteral("Warning"));
  setWindowTitle(Latin1(kWarningCaption));
  setModal(true);
  logic_.OnHide = [this] { done(0); };
  label_ = new QLabel(QStringLiteral("Warning Text"), this);
  label_->setObjectName(QStringLiteral("Label"));
  label_->setWordWrap(true);
  QFont f = label_->font();
  f.setPointSizeF(9.75);
  f.setBold(true);
  label_->setFont(f);
  label_->setGeometry(16, 12, 420, 60);
  continue_ = MakeButton(this, "cmdContinue", QStringLiteral("Continue..."));
  continue_->setFocusPolicy(Qt::StrongFocus);
  auto* cancel = MakeButton(this, "cmdCancel", QStringLiteral("Cancel"));
  cancel->setFocusPolicy(Qt::StrongFocus);
  // Enter presses the button that has the focus, Continue at opening.
  continue_->setAutoDefault(true);
  cancel->setAutoDefault(true);
  continue_->setGeometry(16, 84, 90, 26);
  cancel->setGeometry(346, 84, 90, 26);
  connect(continue_, &QPushButton::clicked, this, [this] { logic_.Continue(); });
  connect(cancel, &QPushButton::clicked, this, [this] { logic_.Cancel(); });
  setFixedSize(452, 124);
}

void WarningDialog::RunModal() {
  logic_.Activate();
  label_->setText(Latin1(logic_.Label));
  continue_->setFocus();
  exec();
}

void WarningDialog::closeEvent(QCloseEvent* e) {
  logic_.QueryUnload();
  e->accept();
  QDialog::done(0);
}

void WarningDialog::reject() { logic_.FormKeyPress(kKeyEsc); }

}  // namespace qv
