// The main window: menus, toolbar, proof view and status line, wired to the commands.
#include "mainwindow/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPushButton>

#include "view/view.h"
#include "entry/caption.h"
#include "entry/install.h"
#include "files/files.h"
#include "axioms/install.h"
#include "files/install.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/find.h"
#include "mainwindow/htmlexport.h"
#include "mainwindow/inputgate.h"
#include "mainwindow/helpcopyprint.h"
#include "mainwindow/rulecommands.h"
#include "mainwindow/viewcommands.h"
#include "platform/host.h"
#include "platform/qt/qthost.h"
#include "platform/qt/qtproofview.h"
#include "platform/qt/qtrichbox.h"
#include "rules/install.h"

namespace qv {

namespace {

// Sizes are laid out in twips as the window was designed; 15 twips make a
// pixel on a 96 dpi screen.
constexpr int kTwipsPerPixel = 15;
constexpr int Px(int twips) { return twips / kTwipsPerPixel; }
// What the window system adds around the client area: the side borders, and
// the title bar with the top and bottom borders.
constexpr int kFrameWidthTw = 120;
constexpr int kFrameHeightTw = 450;

enum class Kind { Menu, End, Item, Separator };
enum Flags {
  kHidden = 1,     // never shown
  kDisabled = 2,   // starts disabled
  kCheckable = 4,  // carries a check mark
  kChecked = 8,    // checked at start
  kHint = 16,      // an explanation in the menu, no command
};

struct MenuEntry {
  Kind kind;
  const char* name;
  const char* caption;
  const char* shortcut;
  int flags;
};

// A caption as it reads: "&&" is an ampersand, a single "&" marks the access key.
QString WithoutAccessKey(const char* caption) {
  QString out;
  for (const char* c = caption; *c; ++c) {
    if (*c == '&' && *++c == '\0') break;
    out += QChar::fromLatin1(*c);
  }
  return out.trimmed();
}

// The menu bar, top to bottom: a Menu entry opens a (sub)menu, End closes it.
const MenuEntry kMenuTree[] = {
    {Kind::Menu, "mnuFile", "&File", "", 0},
    {Kind::Item, "optNew", "&New", "", 0},
    {Kind::Item, "optOpen", "&Open", "", 0},
    {Kind::Item, "optSave", "&Save", "", 0},
    {Kind::Item, "optSaveAs", "Save &As", "", 0},
    {Kind::Item, "optHTML", "Make HTML File   (*.html)", "", 0},
    {Kind::Item, "optPrint", "Print", "", 0},
    {Kind::Item, "optSelectDir", "Select Default Directory", "", 0},
    {Kind::Item, "optExit", "E&xit", "", 0},
    {Kind::Item, "optDebug", "&Debug", "", kHidden},
    {Kind::Separator, "bar6", "", "", kHidden},
    {Kind::Item, "optFile1", "File 1", "", kHidden},
    {Kind::Item, "optFile2", "File 2", "", kHidden},
    {Kind::Item, "optFile3", "File 3", "", kHidden},
    {Kind::Item, "optFile4", "File 4", "", kHidden},
    {Kind::Item, "optFile5", "File 5", "", kHidden},
    {Kind::End, "", "", "", 0},
    {Kind::Menu, "mnuEdit", "&Edit", "", 0},
    {Kind::Item, "optUndo", "&Undo", "Ctrl+Z", kDisabled},
    {Kind::Item, "optRedo", "&Redo", "Ctrl+Y", kDisabled},
    {Kind::Item, "optInsert", "&Insert Mode ", "F2", kCheckable},
    {Kind::Item, "optCopy", "&Copy", "Ctrl+C", 0},
    {Kind::Item, "DeleteAllRef", "Delete &ALL References", "F3", 0},
    {Kind::Item, "DelAllSubsequent", "Delete &Subsequent Lines", "F4", 0},
    {Kind::Item, "optFind", "&Find", "Ctrl+F", 0},
    {Kind::Item, "optRepeatFind", "R&epeat Find", "F9", 0},
    {Kind::Item, "optCaption", "C&aption", "", 0},
    {Kind::Item, "optIntro", "I&ntroduction", "", 0},
    {Kind::Item, "optComment", "Comment            (Click Stmt Text)", "", kHint},
    {Kind::Item, "optToggleHighlight", "Toggle Highlight  (Click Stmt No.)", "", 0},
    {Kind::Item, "optRichTextMode", "Rich Text Mode", "", kCheckable | kChecked},
    {Kind::End, "", "", "", 0},
    {Kind::Menu, "mnuView", "&View", "", 0},
    {Kind::Item, "optHideDetails", "Hide All Details", "F5", 0},
    {Kind::Item, "optShowDetails", "Show All Active Stmts", "F6", 0},
    {Kind::Item, "optShowLastDetails", "Show Last Active Stmts", "F7", 0},
    {Kind::Item, "optDetails", "Show / Hide Detail Block     (Dbl Click Highlighted Stmt No.)", "", kHint},
    {Kind::Item, "optPremiseBlock", "Show / Hide Premise Block  (Click \"Conclusion\")", "", kHint},
    {Kind::Item, "optShowAllStmts", "Show All Stmts", "F11", 0},
    {Kind::Item, "optShowHighlights", "Show Only Highlights and Conclusions", "F12", 0},
    {Kind::Menu, "optTextSize", "Text Size", "", 0},
    {Kind::Item, "optSmallText", "Small", "", kCheckable},
    {Kind::Item, "optMediumText", "Medium", "", kCheckable | kChecked},
    {Kind::Item, "optLargeText", "Large", "", kCheckable},
    {Kind::End, "", "", "", 0},
    {Kind::End, "", "", "", 0},
    {Kind::Menu, "mnuLogic", "&Logic", "", 0},
    {Kind::Item, "optPremise", "Premise", "", 0},
    {Kind::Item, "optAxiom", "Create Axiom", "", 0},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optJoin", "Join", "", 0},
    {Kind::Item, "optSplit", "Split", "", 0},
    {Kind::Item, "optDNegRemove", "&Remove '~~'                      (Rem DNeg)", "", 0},
    {Kind::Item, "optConclusion", "Conclusion / Generalization", "", 0},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optImplies", "'=>'      <-->   '&&'                (Implies-And)", "", 0},
    {Kind::Item, "optImliesOr", "'=>'      <-->   '|'                 (Implies-Or)", "", 0},
    {Kind::Item, "optIff", "'<=>'   <-->   '&&'                (Iff-And)", "", 0},
    {Kind::Item, "optDeMorgan", "'&&'         <-->   '|'                 (De Morgan)", "", 0},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optDetachment", "&Detachment                        (Detach)", "", 0},
    {Kind::Item, "optContrapositive", "&Contrapositive                    (Contra)", "", 0},
    {Kind::Item, "optCases", "C&ases ", "", 0},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optArbAntecedent", "P ---> Q => P                    (Arb Ante)", "", 0},
    {Kind::Item, "optArbConsequent", "P ---> ~P => Q                 (Arb Cons)", "", 0},
    {Kind::Menu, "optArbOr", "P ---> P | Q  or Q | P          (Arb Or)", "", 0},
    {Kind::Item, "optArbOrRight", "Insert Right  --->   P | Q", "", 0},
    {Kind::Item, "optArbOrLeft", "Insert Left    --->   Q | P", "", 0},
    {Kind::End, "", "", "", 0},
    {Kind::Item, "optOrNot", "P | ~P                                 (Or Not)    ", "", 0},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optQuantifierSwitch", "&Quantifier Switch                (Quant)", "", 0},
    {Kind::Item, "optSpec", "Specify                                (E Spec / U Spec)", "", 0},
    {Kind::Item, "optEGen", "&Existential Generalization    (E Gen)", "", 0},
    {Kind::Item, "optUGen", "&Universal  Gen                (U Gen)", "", kHidden | kDisabled},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optRename", "Re&name", "", 0},
    {Kind::Item, "optReorder", "Re&order", "", 0},
    {Kind::Item, "optCopyStatement", "Copy statement", "", 0},
    {Kind::End, "", "", "", 0},
    {Kind::Menu, "mnuSets", "&Sets", "", 0},
    {Kind::Item, "optSubset", "&Subset", "", 0},
    {Kind::Item, "optCartesianProd", "&Cartesian Product", "", 0},
    {Kind::Item, "optPowerSet", "&Power Set", "", 0},
    {Kind::Item, "optSetEquality", "Set &Equality", "", 0},
    {Kind::Item, "optNtupleEQ", "&N-tuple Equality", "", kHidden},
    {Kind::Separator, "", "", "", 0},
    {Kind::Item, "optReflexivity", "&Reflexivity (x=x)                  (Reflex)", "", 0},
    {Kind::Item, "optSymmetry", "S&ymmetry  (x=y, y=x)         (Sym)", "", 0},
    {Kind::Item, "optSubstitution", "S&ubstitute", "", 0},
    {Kind::Separator, "bar5", "", "", 0},
    {Kind::Item, "optFunctionAxioms", "Function Axioms", "", kHidden},
    {Kind::Item, "optFunction", "Function Axiom", "", 0},
    {Kind::Item, "optFunctionEquality", "Function Equality", "", kHidden | kDisabled},
    {Kind::Item, "optFunctionSpace", "Function Space", "", 0},
    {Kind::Item, "optSetOps", "Set &Operations   ||, &&&&, `    (Set Ops)", "", kHidden},
    {Kind::Separator, "", "", "", 0},
    {Kind::Menu, "optUnionOfSets", "Union", "", 0},
    {Kind::Item, "optPairwiseUnion", "Pairwise", "", 0},
    {Kind::Item, "optArbitraryUnion", "Arbitrary", "", 0},
    {Kind::End, "", "", "", 0},
    {Kind::Item, "optChoice", "Choice", "", 0},
    {Kind::End, "", "", "", 0},
    {Kind::Menu, "mnuNumbers", "&Numbers", "", 0},
    {Kind::Item, "optNumberAxioms", "&Number Axioms    (n, 1, +)", "", 0},
    {Kind::Item, "optAdd", "&Induction Shortcut", "", 0},
    {Kind::Item, "optSumShortcut", "&SUM Shortcut", "", kHidden},
    {Kind::Item, "optProdShortcut", "PR&OD Shortcut", "", kHidden},
    {Kind::Menu, "mnuAlgProperties", "&Definitions", "", 0},
    {Kind::Item, "optAddProperties", "Addition                         +", "", kHidden},
    {Kind::Item, "optSubtraction", "Subtraction                    -", "", 0},
    {Kind::Item, "optMultiplicationProperties", "Multiplication (asterisk)  *", "", 0},
    {Kind::Item, "optDivision", "Division                          /", "", 0},
    {Kind::Item, "optExponentPropeterties", "Exponentiation              ^", "", 0},
    {Kind::Item, "OptLessThan", "Less Than                      <", "", 0},
    {Kind::Item, "optGreateThan", "Greater Than                 >", "", 0},
    {Kind::Item, "optLessThanOrEqual", "Less Than or Equal        <=", "", 0},
    {Kind::Item, "optGreaterThanOrEqual", "Greater Than or Equal   >=", "", 0},
    {Kind::Item, "optSummationProperties", "Summation                     SUM", "", kHidden},
    {Kind::Item, "optProductProperties", "Product                          PROD", "", kHidden},
    {Kind::End, "", "", "", 0},
    {Kind::Item, "optGroupAxioms", "&Group Axioms      (g, 0, +,_ )", "", kHidden},
    {Kind::Item, "optRingAxioms", "&Ring Axioms         (r, 0, 1, +, _ , *)", "", kHidden},
    {Kind::End, "", "", "", 0},
    {Kind::Menu, "optHelp", "&Help", "", 0},
    {Kind::Item, "optShowTip", "Show Tip on Start-Up", "", kCheckable | kChecked},
    {Kind::Item, "optUserManual", "User Manual / Tutorial", "", 0},
    {Kind::Item, "optQuorvaneOnlline", "Quorvane Online", "", 0},
    {Kind::Item, "optAbout", "About Quorvane", "", 0},
    {Kind::End, "", "", "", 0},
};

struct ToolButton {
  const char* name;
  const char* caption;
  int left, width;  // twips
  const char* tooltip;
  const char* runs;  // the menu command the button forwards to
};

const ToolButton kToolbar[] = {
    {"cmdNew", "New", 0, 615, "Start a New Proof", "optNew"},
    {"cmdOpen", "Open", 615, 615, "Open a  *.proof file", "optOpen"},
    {"cmdSave", "Save", 1230, 615, "Save the Current Proof", "optSave"},
    {"cmdUndo", "Undo", 1800, 615, "Undo Previous Change", "optUndo"},
    {"cmdRedo", "Redo", 2460, 615, "Redo Previous Change", "optRedo"},
    {"cmdPremise", "Prem", 3175, 615, "Enter a Premise", "optPremise"},
    {"cmdSplit", "Split", 3790, 615,
     "Split an AND statement into 2 more statements, eliminating '&'", "optSplit"},
    {"cmdJoin", "Join", 4405, 615,
     "Join two statements to form an AND statement, introducing '&' ", "optJoin"},
    {"cmdDetach", "Det", 5020, 615, "Apply Detachment Rule", "optDetachment"},
    {"cmdIff", "Iff ", 5635, 615, "Apply IFF-AND Rule, introducing or eliminating '<=>'", "optIff"},
    {"cmdConclusion", "Conc", 6250, 615, "Apply Conclusion Rule, generalizing if possible",
     "optConclusion"},
    {"cmdSpecify", "Spec", 6960, 615,
     "Apply Universal or Existential Specification Rule, eliminating leading quantifier",
     "optSpec"},
    {"cmdSubAllOccurrences", "Subst", 7560, 615,
     "Substitute source expression for target expression", "optSubstitution"},
    {"cmdEGen", "E Gen", 8160, 615,
     "Apply Existential Generalization Rule, introducing EXIST quantifier", "optEGen"},
    {"cmdHelp", "Help** ", 8880, 735, "User Manual, Tutorial", "optUserManual"},
};

}  // namespace

MainWindow::MainWindow(AppState& state, ProofWindowState& win, CommandRegistry& commands,
                       QWidget* parent)
    : QMainWindow(parent), S(state), W(win), commands_(commands) {
  setObjectName(QStringLiteral("Proof"));
  setWindowTitle(QString::fromLatin1(kBuiltTitle));
  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("ProofClient"));
  setCentralWidget(central_);

  view_ = new QtProofView(central_);
  view_->setObjectName(QStringLiteral("RTB"));
  view_->setAccessibleName(QStringLiteral("Proof"));
  view_->SetViewOnly(true);
  view_->SetDefaultFont(kFixedFont, S.Ui.FontSize);
  // The Edit menu is the view's context menu; the box's own must not open.
  view_->setContextMenuPolicy(Qt::PreventContextMenu);
  gate_ = std::make_unique<InputGate>(this);
  // A click runs once the release is finished, so a dialog that it opens
  // does not run inside the view's mouse handling; input that comes after
  // it waits until it has run.
  connect(view_, &QtProofView::clicked, this, [this] { Later([this] { RTB_Click(S); }); });
  // A screen reader's move of the caret or the selection waits as a key does.
  view_->SetClientMoves([this](std::function<void()> move) { Dispatch(std::move(move)); });
  // The double click is handled at its second press, before the release
  // that restores the caret.
  connect(view_, &QtProofView::doubleClicked, this, [this] { Dispatch([this] { RTB_DblClick(S); }); });
  connect(view_, &QtProofView::mouseReleased, this, [this](int button, int, int x, int y) {
    Dispatch([this, button, x, y] {
      if (RTB_MouseUp(S, button == Qt::RightButton) && editMenu_)
        editMenu_->popup(view_->viewport()->mapToGlobal(QPoint(x, y)));
    });
  });

  status_ = new QtRichBox(central_);
  status_->setObjectName(QStringLiteral("StatusLine"));
  status_->setAccessibleName(QStringLiteral("Status line"));
  status_->SetViewOnly(true);
  status_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  status_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  status_->setFocusPolicy(Qt::NoFocus);
  status_->SetDefaultFont("MS Sans Serif", 8);
  status_->SetDefaultBold(true);
  status_->SetText("Status Line");

  insertLineLabel_ = new QLabel(QStringLiteral("^1"), central_);
  insertLineLabel_->setObjectName(QStringLiteral("InsertLineLabel"));

  // Scratch box for building and measuring text; never shown.
  workArea_ = new QtRichBox(this);
  workArea_->setObjectName(QStringLiteral("WorkArea"));
  workArea_->SetDefaultFont(kFixedFont, S.Ui.FontSize);
  workArea_->hide();

  BuildMenus();
  BuildToolbar(central_);
  for (QWidget* w : central_->findChildren<QWidget*>()) WatchKeys(w);
  WatchKeys(this);
  resize(800, 600);
}

MainWindow::~MainWindow() = default;

void MainWindow::WatchKeys(QWidget* w) { w->installEventFilter(this); }

void MainWindow::BuildMenus() {
  std::vector<QMenu*> open;
  for (const MenuEntry& e : kMenuTree) {
    switch (e.kind) {
      case Kind::Menu: {
        QMenu* m = open.empty() ? menuBar()->addMenu(QString::fromLatin1(e.caption))
                                : open.back()->addMenu(QString::fromLatin1(e.caption));
        m->setObjectName(QString::fromLatin1(e.name));
        m->menuAction()->setObjectName(QString::fromLatin1(e.name));
        // A screen reader names an opened menu by its caption, without the
        // access key's mark (its entry in the bar or the parent menu is
        // named so already).
        m->setAccessibleName(WithoutAccessKey(e.caption));
        if (std::string(e.name) == "mnuEdit") editMenu_ = m;
        open.push_back(m);
        break;
      }
      case Kind::End:
        open.pop_back();
        break;
      case Kind::Separator: {
        QAction* a = open.back()->addSeparator();
        if (*e.name) a->setObjectName(QString::fromLatin1(e.name));
        if (e.flags & kHidden) a->setVisible(false);
        break;
      }
      case Kind::Item: {
        QAction* a = open.back()->addAction(QString::fromLatin1(e.caption));
        const std::string name = e.name;
        a->setObjectName(QString::fromStdString(name));
        if (*e.shortcut) {
          a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
          a->setShortcutContext(Qt::WindowShortcut);
        }
        if (e.flags & kCheckable) a->setCheckable(true);
        if (e.flags & kChecked) a->setChecked(true);
        if (e.flags & kDisabled) a->setEnabled(false);
        if (e.flags & kHidden) a->setVisible(false);
        if (e.flags & kHint) break;
        connect(a, &QAction::triggered, this, [this, a, name] {
          // A check mark changes only when the command sets it.
          if (a->isCheckable()) a->setChecked(!a->isChecked());
          RunCommand(name);
        });
        break;
      }
    }
  }
}

void MainWindow::BuildToolbar(QWidget* central) {
  QFont font(QStringLiteral("Arial"));
  for (const ToolButton& t : kToolbar) {
    auto* b = new QPushButton(QString::fromLatin1(t.caption), central);
    b->setObjectName(QString::fromLatin1(t.name));
    b->setToolTip(QString::fromLatin1(t.tooltip));
    b->setFont(font);
    b->setFocusPolicy(Qt::NoFocus);
    b->setGeometry(Px(t.left), 0, Px(t.width), Px(375));
    const std::string name = t.name, runs = t.runs;
    connect(b, &QPushButton::clicked, this, [this, name, runs] {
      RunCommand(commands_.Has(name) ? name : runs);
    });
    if (name == "cmdUndo" || name == "cmdRedo") b->setEnabled(false);
  }
}

void MainWindow::RunCommand(const std::string& name) {
  Dispatch([this, name] {
    if (!commands_.Run(name) && S.host) S.host->Beep();
  });
}

void MainWindow::Dispatch(std::function<void()> handler) {
  if (gate_->MustWait()) {
    Later(std::move(handler));
    return;
  }
  InputGate::Running running(*gate_);
  Guarded(handler);
}

void MainWindow::Later(std::function<void()> handler) {
  gate_->Queue([this, handler = std::move(handler)] {
    InputGate::Running running(*gate_);
    Guarded(handler);
  });
}

void MainWindow::Guarded(const std::function<void()>& handler) {
  // A failure nobody handled must not leave the event loop: it ends the
  // pending rule and is reported like any failed command.
  try {
    handler();
  } catch (...) {
    S.Doc.RuleMode = 0;
    if (S.host) S.host->Beep();
    if (S.StatusLine) ShowStatus(S, kUnableMessage);
  }
}

void MainWindow::LayOut() {
  // The layout is worked out in twips for the window's outer size, as the
  // window was designed: the client width plus the side borders, the whole
  // height (menu bar included) plus the title bar and the borders.
  const int W = width() * kTwipsPerPixel + kFrameWidthTw;
  const int H = height() * kTwipsPerPixel + kFrameHeightTw;
  auto tw = [](const QRect& r) {
    return TwRect{r.x() * kTwipsPerPixel, r.y() * kTwipsPerPixel, r.width() * kTwipsPerPixel,
                  r.height() * kTwipsPerPixel};
  };
  ProofLayout L{tw(view_->geometry()), tw(insertLineLabel_->geometry()), tw(status_->geometry())};
  LayOutProofWindow(W, H, L);
  auto place = [](QWidget* w, const TwRect& r) {
    w->setGeometry(Px(r.left), Px(r.top), Px(r.width), Px(r.height));
  };
  place(view_, L.view);
  place(insertLineLabel_, L.label);
  place(status_, L.status);
}

void MainWindow::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  LayOut();
}

void MainWindow::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
    // Runs after the activation has been handled, so the splash (a modal
    // window) does not open inside the window system's event.
    Later([this] { Form_Activate(S, W); });
  }
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (W.ExitRequested) {
    e->accept();
    return;
  }
  // The close box asks to save; while another handler runs it asks after it.
  e->ignore();
  if (gate_->MustWait()) {
    Later([this] {
      if (Form_QueryUnload(S, W)) QMainWindow::close();
    });
    return;
  }
  bool mayClose = false;
  InputGate::Running running(*gate_);
  Guarded([&] { mayClose = Form_QueryUnload(S, W); });
  if (mayClose) e->accept();
}

bool MainWindow::eventFilter(QObject* obj, QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride && obj == view_) {
    // The menu's shortcuts (Ctrl+C copies the way the Edit menu says) win
    // over the box's own key bindings.
    auto* ke = static_cast<QKeyEvent*>(e);
    if (ke->modifiers() & Qt::ControlModifier) return true;
    return false;
  }
  if (e->type() == QEvent::KeyPress) {
    auto* ke = static_cast<QKeyEvent*>(e);
    const int key = ke->key() == Qt::Key_Escape ? 27 : 0;
    const bool inView = obj == view_;
    Dispatch([this, key, inView] {
      Form_KeyPress(S, W, key);
      if (key == 27 && inView) RTB_KeyPress(S, W, key);
    });
    if (key == 27) return true;
  }
  return false;
}

Application::Application(const std::string& appPath, const std::vector<std::string>& args) {
  state_.Ui.AppPath = appPath;
  state_.Ui.SettingsPath = ChooseSettingsPath(appPath);
  window_ = std::make_unique<MainWindow>(state_, win_, commands_);
  host_ = std::make_unique<QtHost>();
  host_->SetMainWindow(window_.get());
  state_.Attach(host_.get(), window_->View(), window_->Status(), window_->WorkArea());
  // Exit has had its answer by now: the event loop ends at once, whatever
  // windows are up. (quit() would first ask every window to close, and the
  // Find window, which only hides on its own close box, would keep the
  // program running.) The windows go with the application object.
  win_.Quit = [] { QCoreApplication::exit(0); };

  RegisterMainCommands(state_, win_, commands_);
  InstallFilesForms(state_, commands_, window_.get());
  InstallEntryForms(state_, commands_, window_.get());
  InstallCaptionForm(state_, commands_, window_.get());
  InstallRulesForms(state_, commands_, window_.get());
  InstallAxiomsForms(state_, commands_, window_.get());
  RegisterRuleCommands(state_, commands_);
  RegisterViewCommands(state_, commands_);
  RegisterHtmlCommands(state_, commands_);
  RegisterFindCommands(state_, commands_, window_.get());
  RegisterHelpCommands(state_, commands_);
  Form_Load(state_, win_, args);
}

Application::~Application() = default;

Host& Application::HostRef() { return *host_; }

}  // namespace qv
