// The main window on screen (offscreen): its title at start, its menus and
// toolbar, the undo and redo controls, Esc and the close box.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>

#include "axioms/subset_qt.h"
#include "entry/forms_qt.h"
#include "files/files.h"
#include "mainwindow/mainwindow.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"
#include "rules/egen_qt.h"
#include "rules/substitute_qt.h"
#include "support/accessibility.h"
#include "support/app_ui_test.h"
#include "support/queued_input.h"
#include "view/view.h"

namespace qv {
namespace {

class WindowTest : public AppUiTest {
 protected:
  WindowTest() : AppUiTest("window") {
    // A modal window left open would stall the test: close it and fail.
    watchdog.setInterval(50);
    QObject::connect(&watchdog, &QTimer::timeout, [this] {
      QWidget* w = QApplication::activeModalWidget();
      if (w != unanswered) unansweredTicks = 0;
      unanswered = w;
      if (!w || answering) return;
      if (!answers.empty()) {
        // The user's answer: the button of that name in the open window, or
        // the window's own Cancel. It runs after this timer's event, so that
        // a window it opens meets the timer again.
        const std::string a = answers.front();
        QObject* target = w;
        const char* method = "reject";
        if (a != "reject") {
          target = w->findChild<QPushButton*>(QString::fromStdString(a));
          method = "click";
        }
        if (target) {
          answers.pop_front();
          answered.push_back(w->windowTitle().toStdString());
          // Until the answer has been given the window is still up: a tick
          // in between must not answer it a second time.
          answering = true;
          QPointer<QObject> t(target);
          QMetaObject::invokeMethod(
              qApp,
              [this, t, method] {
                answering = false;
                if (t) QMetaObject::invokeMethod(t, method);
              },
              Qt::QueuedConnection);
          return;
        }
      }
      // A window that its own code is about to close may still be up for a
      // tick under load; one that stays up unanswered is a failure.
      if (++unansweredTicks < 20) return;
      ADD_FAILURE() << "unexpected modal window " << w->windowTitle().toStdString();
      w->close();
    });
    watchdog.start();
    app->WindowState().Quit = [this] { ++quits; };
  }

  QAction* Action(const char* name) {
    return app->Window().findChild<QAction*>(QString::fromLatin1(name));
  }
  QPushButton* Button(const char* name) {
    return app->Window().findChild<QPushButton*>(QString::fromLatin1(name));
  }
  void Esc() {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    QApplication::sendEvent(app->Window().View(), &press);
  }

  QTimer watchdog;
  std::deque<std::string> answers;    // buttons to click in the next modal windows
  std::vector<std::string> answered;  // titles of the windows answered
  int quits = 0;
  bool answering = false;  // an answer is queued and not yet given
  QPointer<QWidget> unanswered;  // the modal window seen at the last tick
  int unansweredTicks = 0;       // ticks it has been up with no answer left
};

TEST_F(WindowTest, StartsUntitledWithTheKeyPrompt) {
  EXPECT_EQ(app->Window().windowTitle().toStdString(), " Quorvane 2.0  -  (Untitled)");
  EXPECT_EQ(S->StatusLine->Text(), "Press any key to continue");
  auto* label = app->Window().findChild<QLabel*>(QStringLiteral("InsertLineLabel"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text().toStdString(), "");
  EXPECT_EQ(app->Window().View()->objectName().toStdString(), "RTB");
  EXPECT_FALSE(app->Window().WorkArea()->isVisibleTo(&app->Window()));

  Form_Activate(*S, app->WindowState());
  EXPECT_EQ(S->StatusLine->Text(), "Click Help** Button to start Tutorial");
  EXPECT_EQ(S->StatusLine->SelAlignment(), Align::Centre);
}

// The status line shows every message in bold, on screen as in its text.
TEST_F(WindowTest, TheStatusLineIsBold) {
  auto* status = app->Window().findChild<QtRichBox*>(QStringLiteral("StatusLine"));
  ASSERT_NE(status, nullptr);
  auto shownBold = [status] {
    QApplication::processEvents();
    QTextCursor c(status->document());
    c.setPosition(1);
    return c.charFormat().fontWeight() == QFont::Bold;
  };
  auto textBold = [this] {
    S->StatusLine->SetSelStart(0);
    S->StatusLine->SetSelLength(S->StatusLine->TextLength());
    return S->StatusLine->SelBold();
  };
  EXPECT_TRUE(textBold());  // "Press any key to continue"
  EXPECT_TRUE(shownBold());
  ShowStatus(*S, "Split:  Click any active AND (&) statement");
  EXPECT_TRUE(textBold());
  EXPECT_TRUE(shownBold());
  ClearStatus(*S);
  ShowStatus(*S, "Unable to process request");
  EXPECT_TRUE(textBold());
  EXPECT_TRUE(shownBold());
}

TEST_F(WindowTest, EveryMenuItemExistsAndTheHiddenOnesAreHidden) {
  const char* shown[] = {
      "optNew", "optOpen", "optSave", "optSaveAs", "optHTML", "optPrint", "optSelectDir",
      "optExit", "optUndo", "optRedo", "optInsert", "optCopy", "DeleteAllRef",
      "DelAllSubsequent", "optFind", "optRepeatFind", "optCaption", "optIntro", "optComment",
      "optToggleHighlight", "optRichTextMode", "optHideDetails", "optShowDetails",
      "optShowLastDetails", "optDetails", "optPremiseBlock", "optShowAllStmts",
      "optShowHighlights", "optSmallText", "optMediumText", "optLargeText", "optPremise",
      "optAxiom", "optJoin", "optSplit", "optDNegRemove", "optConclusion", "optImplies",
      "optImliesOr", "optIff", "optDeMorgan", "optDetachment", "optContrapositive", "optCases",
      "optArbAntecedent", "optArbConsequent", "optArbOrRight", "optArbOrLeft", "optOrNot",
      "optQuantifierSwitch", "optSpec", "optEGen", "optRename", "optReorder",
      "optCopyStatement", "optSubset", "optCartesianProd", "optPowerSet", "optSetEquality",
      "optReflexivity", "optSymmetry", "optSubstitution", "optFunction", "optFunctionSpace",
      "optPairwiseUnion", "optArbitraryUnion", "optChoice", "optNumberAxioms", "optAdd",
      "optSubtraction", "optMultiplicationProperties", "optDivision", "optExponentPropeterties",
      "OptLessThan", "optGreateThan", "optLessThanOrEqual", "optGreaterThanOrEqual",
      "optShowTip", "optUserManual", "optQuorvaneOnlline", "optAbout"};
  const char* hidden[] = {"optDebug", "bar6", "optFile1", "optFile2", "optFile3", "optFile4",
                          "optFile5", "optUGen", "optNtupleEQ", "optFunctionAxioms",
                          "optFunctionEquality", "optSetOps", "optSumShortcut",
                          "optProdShortcut", "optAddProperties", "optSummationProperties",
                          "optProductProperties", "optGroupAxioms", "optRingAxioms"};
  for (const char* name : shown) {
    QAction* a = Action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_TRUE(a->isVisible()) << name;
  }
  for (const char* name : hidden) {
    QAction* a = Action(name);
    ASSERT_NE(a, nullptr) << name;
    EXPECT_FALSE(a->isVisible()) << name;
  }
  for (const char* menu : {"mnuFile", "mnuEdit", "mnuView", "mnuLogic", "mnuSets", "mnuNumbers",
                           "optHelp", "optTextSize", "optArbOr", "optUnionOfSets",
                           "mnuAlgProperties"})
    EXPECT_NE(app->Window().findChild<QMenu*>(QString::fromLatin1(menu)), nullptr) << menu;
}

TEST_F(WindowTest, CaptionsKeysChecksAndEnabledStatesAreAsDesigned) {
  struct Item {
    const char* name;
    const char* caption;
  } items[] = {
      {"optHTML", "Make HTML File   (*.html)"},
      {"optExit", "E&xit"},
      {"optInsert", "&Insert Mode "},
      {"optComment", "Comment            (Click Stmt Text)"},
      {"optPremiseBlock", "Show / Hide Premise Block  (Click \"Conclusion\")"},
      {"optImplies", "'=>'      <-->   '&&'                (Implies-And)"},
      {"optOrNot", "P | ~P                                 (Or Not)    "},
      {"optCases", "C&ases "},
      {"optUGen", "&Universal  Gen                (U Gen)"},
      {"optSymmetry", "S&ymmetry  (x=y, y=x)         (Sym)"},
      {"optRingAxioms", "&Ring Axioms         (r, 0, 1, +, _ , *)"},
      {"optFile3", "File 3"},
      {"optQuorvaneOnlline", "Quorvane Online"},
  };
  for (const Item& i : items) {
    ASSERT_NE(Action(i.name), nullptr) << i.name;
    EXPECT_EQ(Action(i.name)->text().toStdString(), i.caption) << i.name;
  }
  EXPECT_EQ(Action("optUndo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
  EXPECT_EQ(Action("optRedo")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
  EXPECT_EQ(Action("optRepeatFind")->shortcut(), QKeySequence(Qt::Key_F9));
  EXPECT_EQ(Action("optShowHighlights")->shortcut(), QKeySequence(Qt::Key_F12));
  EXPECT_TRUE(Action("optRichTextMode")->isChecked());
  EXPECT_TRUE(Action("optMediumText")->isChecked());
  EXPECT_FALSE(Action("optSmallText")->isChecked());
  EXPECT_TRUE(Action("optShowTip")->isChecked());
  EXPECT_FALSE(Action("optInsert")->isChecked());
  EXPECT_FALSE(Action("optUGen")->isEnabled());
  EXPECT_FALSE(Action("optFunctionEquality")->isEnabled());

  // Choosing a checked item changes its mark only through its command.
  bool ran = false;
  app->Commands().Add("optRichTextMode", [&] { ran = true; });
  Action("optRichTextMode")->trigger();
  EXPECT_TRUE(ran);
  EXPECT_TRUE(Action("optRichTextMode")->isChecked());
}

TEST_F(WindowTest, ToolbarButtonsRunTheirMenuCommands) {
  const char* buttons[] = {"cmdNew",   "cmdOpen",   "cmdSave", "cmdUndo",       "cmdRedo",
                           "cmdPremise", "cmdSplit", "cmdJoin", "cmdDetach",     "cmdIff",
                           "cmdConclusion", "cmdSpecify", "cmdSubAllOccurrences", "cmdEGen",
                           "cmdHelp"};
  for (const char* b : buttons) ASSERT_NE(Button(b), nullptr) << b;
  EXPECT_EQ(Button("cmdHelp")->text().toStdString(), "Help** ");
  EXPECT_EQ(Button("cmdJoin")->toolTip().toStdString(),
            "Join two statements to form an AND statement, introducing '&' ");
  std::string ran;
  app->Commands().Add("optSave", [&] { ran = "optSave"; });
  Button("cmdSave")->click();
  EXPECT_EQ(ran, "optSave");
}

// A screen reader finds a name on every button of the window, on every menu
// (in the bar and opened) and on every item of the menus.
TEST_F(WindowTest, EveryButtonAndMenuHasAnAccessibleName) {
  auto name = [](QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    return a ? a->text(QAccessible::Name).trimmed().toStdString() : std::string();
  };
  auto itemsNamed = [](QObject* o) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
    std::vector<int> unnamed;
    for (int k = 0; a && k < a->childCount(); ++k)
      if (a->child(k)->role() != QAccessible::Separator && a->child(k)->text(QAccessible::Name).trimmed().isEmpty())
        unnamed.push_back(k);
    return unnamed;
  };
  const QList<QPushButton*> buttons = app->Window().findChildren<QPushButton*>();
  EXPECT_EQ(buttons.size(), 15);
  for (QPushButton* b : buttons) EXPECT_NE(name(b), "") << b->objectName().toStdString();
  EXPECT_EQ(itemsNamed(app->Window().menuBar()), std::vector<int>{});
  const QList<QMenu*> menus = app->Window().findChildren<QMenu*>();
  EXPECT_EQ(menus.size(), 11);
  for (QMenu* m : menus) {
    EXPECT_NE(name(m), "") << m->objectName().toStdString();
    EXPECT_EQ(itemsNamed(m), std::vector<int>{}) << m->objectName().toStdString();
  }
  EXPECT_EQ(name(Action("mnuFile")->menu()), "File");
}

// A screen reader names each text control by its place, as a sighted user
// reads it: the proof, the status line, the entry window's expression box.
TEST_F(WindowTest, TheTextControlsAreNamedByTheirPlace) {
  auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).toStdString(); };
  EXPECT_EQ(name(app->Window().View()), "Proof");
  EXPECT_EQ(name(app->Window().Status()), "Status line");
  answers = {"cmdCancel"};
  Command("optPremise");
  EXPECT_EQ(answered, std::vector<std::string>{"Premise Rule: Enter a premise"});
  auto* entry = app->Window().findChild<TestParserDialog*>();
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(name(entry->Box()), "Expression");
}

// A screen reader reads a three-line proof in the view, with the caret and
// the selection where they are, and hears the line that a rule adds: what
// it heard, applied to what it read, is what the view shows now.
TEST_F(WindowTest, AScreenReaderReadsTheProofAndHearsTheLineARuleAdds) {
  AccessibilityListener listener;
  Premise("P(f(m,n)) & Q");
  Command("optSplit");
  ClickAt(1);
  ASSERT_EQ(S->Doc.StmtCount, 3);
  QWidget* view = app->Window().View();
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(view);
  ASSERT_NE(a, nullptr);
  QAccessibleTextInterface* t = a->textInterface();
  ASSERT_NE(t, nullptr);
  // The view shows the whole proof text: as read, each CR LF is one "\n".
  auto shown = [this](size_t upTo = std::string::npos) {
    return QString::fromLatin1(S->Doc.ProofText.substr(0, upTo).c_str())
        .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  };
  const QString before = shown();
  EXPECT_EQ(a->text(QAccessible::Value), before);
  EXPECT_EQ(t->characterCount(), before.size());

  const StmtRec& third = S->Doc.Stmts[3];
  const int32_t at = third.StartStmt - 1;
  S->View->SetSelStart(at);
  S->View->SetSelLength(1);
  QApplication::processEvents();
  const int offset = static_cast<int>(shown(static_cast<size_t>(at)).size());
  int s = -1, e = -1;
  t->selection(0, &s, &e);
  EXPECT_EQ(s, offset);
  EXPECT_EQ(e, offset + 1);
  EXPECT_EQ(t->cursorPosition(), offset + 1);
  EXPECT_EQ(t->text(s, e), QStringLiteral("Q"));
  EXPECT_EQ(t->textAtOffset(offset, QAccessible::LineBoundary, &s, &e), QStringLiteral("3\tQ\n"));
  S->View->SetSelLength(0);
  QApplication::processEvents();

  listener.heard().clear();
  Command("optJoin");
  ClickAt(2);
  ClickAt(3);
  ASSERT_EQ(S->Doc.StmtCount, 4);
  const QString after = shown();
  EXPECT_EQ(a->text(QAccessible::Value), after);
  QString told = before;
  const auto heard =
      listener.Of(view, {QAccessible::TextInserted, QAccessible::TextRemoved, QAccessible::TextUpdated});
  EXPECT_FALSE(heard.empty());
  for (const auto& h : heard) told.replace(h.position, h.removed.size(), h.inserted);
  EXPECT_EQ(told, after);
  EXPECT_TRUE(told.contains(QStringLiteral("\n\n4\tP(f(m,n)) & Q\n\tJoin, 2, 3"))) << told.toStdString();
}

TEST_F(WindowTest, UndoAndRedoControlsFollowTheChanges) {
  for (const char* n : {"cmdUndo", "cmdRedo"}) EXPECT_FALSE(Button(n)->isEnabled()) << n;
  EXPECT_FALSE(Action("optUndo")->isEnabled());
  EXPECT_FALSE(Action("optRedo")->isEnabled());

  S->Parser.ExprText = "A";
  S->Doc.RuleMode = kRuleAxiom;
  BackUpUndo(*S);
  ASSERT_TRUE(PutStmt(*S));
  S->Parser.ExprText = "B";
  BackUpUndo(*S);
  ASSERT_TRUE(PutStmt(*S));
  S->Doc.RuleMode = 0;
  EXPECT_TRUE(Action("optUndo")->isEnabled());
  EXPECT_TRUE(Button("cmdUndo")->isEnabled());
  EXPECT_FALSE(Action("optRedo")->isEnabled());
  EXPECT_FALSE(Button("cmdRedo")->isEnabled());

  Action("optUndo")->trigger();
  EXPECT_EQ(S->Doc.StmtCount, 1);
  EXPECT_FALSE(Action("optUndo")->isEnabled());
  EXPECT_FALSE(Button("cmdUndo")->isEnabled());
  EXPECT_TRUE(Action("optRedo")->isEnabled());
  EXPECT_TRUE(Button("cmdRedo")->isEnabled());

  Button("cmdRedo")->click();
  EXPECT_EQ(S->Doc.StmtCount, 2);
  EXPECT_TRUE(Action("optUndo")->isEnabled());
  EXPECT_FALSE(Action("optRedo")->isEnabled());
  EXPECT_EQ(S->View->Text(), S->Doc.ProofText);
}

TEST_F(WindowTest, EscInTheViewCancelsTheRuleOnceAndThenExits) {
  S->Doc.RuleMode = kRuleSplit;
  Esc();
  EXPECT_EQ(S->Doc.RuleMode, 0);
  EXPECT_EQ(quits, 0);
  Esc();
  EXPECT_EQ(quits, 1);
}

TEST_F(WindowTest, TheSaveChangesWindowAnswersExitAndNew) {
  S->Ui.ProofChanged = true;
  answers = {"cmdCancel"};
  app->Window().RunCommand("optExit");
  EXPECT_EQ(answered, std::vector<std::string>{"Save changes to current proof?"});
  EXPECT_EQ(quits, 0);
  EXPECT_TRUE(S->Ui.ProofChanged);

  S->Parser.ExprText = "A";
  S->Doc.RuleMode = kRuleAxiom;
  ASSERT_TRUE(PutStmt(*S));
  S->Doc.RuleMode = 0;
  answers = {"cmdNo"};
  app->Window().RunCommand("optNew");
  EXPECT_EQ(answered.size(), 2u);
  EXPECT_EQ(S->Doc.StmtCount, 0);
  EXPECT_EQ(app->Window().windowTitle().toStdString(), " Quorvane 2.0 - (Untitled)");

  // Yes on an untitled proof asks for a name; cancelling that counts as No.
  S->Ui.ProofChanged = true;
  answers = {"cmdYes", "reject"};
  app->Window().RunCommand("optExit");
  EXPECT_EQ(answered.size(), 4u);
  EXPECT_EQ(quits, 1);
}

TEST_F(WindowTest, CloseBoxAsksAndCancelKeepsTheWindow) {
  app->Window().show();
  S->Ui.ProofChanged = true;
  app->HostRef().RegisterForm("SaveChanges", [this] { SaveChangesCancel(*S); });
  EXPECT_FALSE(app->Window().close());
  EXPECT_TRUE(app->Window().isVisible());
  EXPECT_EQ(quits, 0);

  app->HostRef().RegisterForm("SaveChanges", [this] { SaveChangesNo(*S); });
  EXPECT_TRUE(app->Window().close());
  EXPECT_EQ(quits, 1);
}

TEST_F(WindowTest, TheViewAndTheStatusRowFollowAResize) {
  MainWindow& w = app->Window();
  w.show();
  w.resize(900, 600);
  QApplication::processEvents();
  ASSERT_EQ(w.size(), QSize(900, 600));
  const QRect view = w.View()->geometry();
  const QRect status = w.Status()->geometry();
  // Outer size in twips: 900 * 15 + 120 wide, 600 * 15 + 450 high.
  EXPECT_EQ(view, QRect(100 / 15, 360 / 15, (13620 - 350) / 15, (9450 - 1530) / 15));
  EXPECT_EQ(status.top(), (9450 - 1530 + 360) / 15);
  EXPECT_EQ(status.width(), (13620 - 735 - 630) / 15);
  EXPECT_LE(status.bottom(), w.centralWidget()->height());

  w.resize(1100, 700);
  QApplication::processEvents();
  EXPECT_EQ(w.View()->width(), (1100 * 15 + 120 - 350) / 15);
  EXPECT_EQ(w.Status()->y(), (700 * 15 + 450 - 1530 + 360) / 15);
}

TEST_F(WindowTest, TheCaptionItemOpensTheCaptionEditor) {
  answers = {"Continue"};
  Action("optCaption")->trigger();
  EXPECT_EQ(answered, std::vector<std::string>{"Edit Caption Line"});
  EXPECT_EQ(S->StatusLine->Text(), "Press any key to continue");  // nothing failed
}

// A caption is one line of the title bar: a title longer than the largest
// request of an X server ends the program (a caption of 16 MB did). Neither
// a file nor the caption editor gives the window a title with more than
// kMaxCaption characters of caption.
TEST_F(WindowTest, NoRoadGivesTheWindowTitleMoreThanACaptionLine) {
  const std::string untitled = " Quorvane 2.0  -  (Untitled)";
  // The caption editor: one character too many is refused and the window
  // stays open; the longest caption is taken whole.
  auto edit = [this](size_t length, bool staysOpen) {
    WhenShown([length, staysOpen](QWidget* w) {
      auto* box = w->findChild<QtRichBox*>(QStringLiteral("RTB"));
      ASSERT_NE(box, nullptr);
      box->SetText(std::string(length, 'c'));
      Press(w, "Continue");
      EXPECT_EQ(w->isVisible(), staysOpen) << length;
      if (w->isVisible()) Press(w, "Cancel");
    });
    Command("optCaption");
  };
  edit(kMaxCaption + 1, true);
  EXPECT_TRUE(app->Window().windowTitle().toStdString() == untitled);
  edit(kMaxCaption, false);
  const std::string longest = " " + std::string(kMaxCaption, 'c') + " - (Untitled)";
  EXPECT_TRUE(app->Window().windowTitle().toStdString() == longest);

  // A file whose caption holds 16 MB of zeros (a sparse file), and an empty
  // proof text, opened from the recent-files menu (the new caption is not
  // saved).
  const std::string path = (dir / "caption.proof").string();
  const std::string head = "Quorvane 1" + std::string("\0\0\xFF\xFF\0\0\0\x01", 8);  // count 0, 16 MB
  std::ofstream(path, std::ios::binary) << head;
  std::filesystem::resize_file(path, head.size() + (size_t(16) << 20) + 2);
  app->HostRef().SetFileItemCaption("optFile1", path);
  answers = {"cmdNo"};
  Command("optFile1");
  EXPECT_EQ(S->StatusLine->Text(), "Open: Unable to open proof file");
  EXPECT_TRUE(app->Window().windowTitle().toStdString() == longest)
      << "a title of " << app->Window().windowTitle().size() << " characters";
}

// Every window that holds a rich-text box is built (the modal ones as the
// program builds them, children of the main window and kept after use), an
// edit is left open in each box, and the program ends before the event loop
// closes them: ending a box's edit must call into nothing already destroyed
// (the sanitizer build reports it; a plain build may crash).
TEST_F(WindowTest, EndsWithAnEditOpenInEveryBoxOfEveryWindow) {
  QWidget* owner = &app->Window();
  new TestParserDialog(*S, owner);
  new CommentDialog(*S, owner);
  new SubsetDialog(*S, owner);
  new InductionDialog(*S, owner);
  new GeneralizeDialog(*S, owner);
  new SubstitutionDialog(*S, owner);
  answers = {"reject"};
  Action("optCaption")->trigger();
  Action("optFind")->trigger();
  QApplication::processEvents();
  EXPECT_EQ(answered, std::vector<std::string>{"Edit Caption Line"});

  const QList<QtRichBox*> boxes = owner->findChildren<QtRichBox*>();
  EXPECT_EQ(boxes.size(), 2 + 8);  // the status line and the scratch box, and one in each window
  for (QtRichBox* box : boxes) box->SetText("A & B");
  app.reset();
}

// The program itself ends on every road out, whatever windows are up: File >
// Exit, Esc with nothing pending and the close box of the main window end
// the event loop while the Find window (which only hides on its own close
// box) is open. Each road is tried on a few fresh programs, as the order in
// which the desktop's windows are met may differ from one to the next.
class ExitTest : public AppUiTest {
 protected:
  ExitTest() : AppUiTest("exit") {}
  void Fresh() {
    app.reset();
    app = std::make_unique<Application>(dir.string(), std::vector<std::string>{"quorvane"});
    S = &app->State();
    app->HostRef().RegisterForm("StartUp", [] {});
  }
};

TEST_F(ExitTest, EveryRoadOutEndsTheProgramWithTheFindWindowOpen) {
  const std::pair<const char*, void (*)(MainWindow&)> roads[] = {
      {"File > Exit", [](MainWindow& w) { w.findChild<QAction*>(QStringLiteral("optExit"))->trigger(); }},
      {"Esc", [](MainWindow& w) { PostKey(&w, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")); }},
      {"close box", [](MainWindow& w) { QCoreApplication::postEvent(w.windowHandle(), new QCloseEvent); }},
  };
  for (const auto& [road, take] : roads) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      Fresh();
      MainWindow& w = app->Window();
      ShowActive(&w);
      Command("optFind");
      auto* find = w.findChild<QDialog*>(QStringLiteral("Find"));
      ASSERT_NE(find, nullptr);
      RunQueued(5);
      ASSERT_TRUE(find->isVisible()) << road;

      bool timedOut = false;
      QTimer watchdog;
      watchdog.setSingleShot(true);
      QObject::connect(&watchdog, &QTimer::timeout, [&timedOut] {
        timedOut = true;
        QCoreApplication::exit(1);
      });
      QTimer::singleShot(0, &w, [&w, take = take] { take(w); });
      watchdog.start(1000);
      const int code = QApplication::exec();
      EXPECT_FALSE(timedOut) << road << ", attempt " << attempt;
      EXPECT_EQ(code, 0) << road;
      EXPECT_TRUE(app->WindowState().ExitRequested) << road;
      if (timedOut) return;
    }
  }

  // The Find window's own close box still only hides it.
  Fresh();
  ShowActive(&app->Window());
  Command("optFind");
  auto* find = app->Window().findChild<QDialog*>(QStringLiteral("Find"));
  ASSERT_NE(find, nullptr);
  RunQueued(5);
  QCoreApplication::postEvent(find->windowHandle(), new QCloseEvent);
  RunQueued(5);
  EXPECT_FALSE(find->isVisible());
  EXPECT_TRUE(app->Window().isVisible());
  EXPECT_FALSE(app->WindowState().ExitRequested);
}

}  // namespace
}  // namespace qv
