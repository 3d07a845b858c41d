// Clicks that wait in the event queue while an earlier one changes the proof:
// each is handled after the change, in order, at the place it was made (a
// screen reader's caret move waits behind them too), and a double click
// whose release was queued with it leaves the mouse ready.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QDialog>
#include <algorithm>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "view/view.h"
#include "support/app_ui_test.h"
#include "support/queued_input.h"

namespace qv {
namespace {

class QueuedInput : public AppUiTest {
 protected:
  // The proof view's own class.
  using ViewBox = std::remove_pointer_t<decltype(std::declval<MainWindow&>().View())>;

  QueuedInput() : AppUiTest("queued") {
    QObject::connect(View(), &ViewBox::clicked, View(), [this] { ++clicks; });
  }

  // A statement put straight into the proof with the given rule.
  void Put(int rule, const std::string& text, int arg1 = 0) {
    S->Doc.RuleMode = rule;
    S->Doc.RuleArg1 = arg1;
    S->Doc.RuleArg2 = 0;
    S->Parser.ExprText = text;
    BackUpUndo(*S);
    ASSERT_TRUE(PutStmt(*S));
    S->Doc.RuleMode = 0;
  }

  QWidget* Top() { return &app->Window(); }
  ViewBox* View() { return app->Window().View(); }
  // Points over line k's number and over the second character of its formula.
  QPoint Number(int k) {
    const StmtRec& s = S->Doc.Stmts[k];
    return PointAtCaret(Top(), View(), s.ViewerStartLine - 1);
  }
  QPoint InFormula(int k) {
    const StmtRec& s = S->Doc.Stmts[k];
    return PointAtCaret(Top(), View(), s.StartStmt - s.StartLine + s.ViewerStartLine);
  }

  void ExpectWellFormed() {
    EXPECT_EQ(CheckDocInvariants(S->Doc), "");
    for (int k = 1; k <= S->Doc.StmtCount; ++k) {
      const StmtRec& s = S->Doc.Stmts[k];
      EXPECT_TRUE(s.Rule >= 1 && s.Rule <= 54) << "line " << k << " rule " << s.Rule;
      EXPECT_EQ(RuleText(k), RuleTextOf(s)) << "line " << k;
    }
  }

  // Lines 3 and 4 are the halves of line `from`, split at its "&", and the
  // proof is well formed.
  void ExpectSplitOf(int from, const std::string& left, const std::string& right) {
    ASSERT_EQ(S->Doc.StmtCount, 4);
    EXPECT_EQ(Formula(3), left);
    EXPECT_EQ(Formula(4), right);
    for (int k : {3, 4}) EXPECT_EQ(RuleText(k), "Split, " + std::to_string(from)) << "line " << k;
    ExpectWellFormed();
  }

  int clicks = 0;
};

TEST_F(QueuedInput, ASecondClickQueuedBehindASplitIsHandledAfterItAtItsOwnPlace) {
  Put(kRulePremise, "B");
  Put(kRuleAxiom, "C & D");
  ShowActive(Top());
  Command("optSplit");
  const QPoint at = InFormula(2);

  // Split is done by the first click; the second, with no rule pending,
  // opens the comment editor of the line it was made on.
  auto title = std::make_shared<std::string>();
  WhenShown([title](QWidget* w) {
    *title = w->windowTitle().toStdString();
    if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
  });
  PostClick(Top(), at);
  PostClick(Top(), at);
  RunQueued();

  ExpectSplitOf(2, "C", "D");
  EXPECT_EQ(*title, "Edit User Comment, Line 2");
  EXPECT_EQ(S->Doc.RuleMode, 0);
}

// A screen reader's move of the caret waits, as a key does, behind a click
// whose handler has not run yet: with Split chosen, a click on line 1 and
// then a client's caret on line 2 split line 1, and the caret goes to
// line 2 afterwards.
TEST_F(QueuedInput, AClientsCaretMoveWaitsBehindAClickNotYetHandled) {
  Put(kRuleAxiom, "A & B");
  Put(kRuleAxiom, "C & D");
  ShowActive(Top());
  Command("optSplit");
  PostClick(Top(), InFormula(1));
  QApplication::sendPostedEvents(Top()->windowHandle());  // the click is in, its handler waits
  ASSERT_EQ(S->Doc.StmtCount, 2);
  const StmtRec second = S->Doc.Stmts[2];
  const std::string upTo = S->View->Text().substr(0, second.StartStmt - second.StartLine + second.ViewerStartLine);
  const int offset = static_cast<int>(upTo.size() - std::count(upTo.begin(), upTo.end(), '\n'));  // CR LF read as "\n"
  QAccessibleTextInterface* t = QAccessible::queryAccessibleInterface(View())->textInterface();
  t->setCursorPosition(offset);
  RunQueued();

  ExpectSplitOf(1, "A", "B");
  EXPECT_EQ(t->cursorPosition(), offset);
}

TEST_F(QueuedInput, ADoubleClickWithItsReleaseQueuedLeavesTheMouseReady) {
  Put(kRuleAxiom, "P");
  Put(52, "P", 1);  // copies: their numbers are not highlighted
  Put(52, "P", 1);
  ShowActive(Top());

  // The click of the pair highlights line 3, the double click takes the
  // highlight off again and beeps: nothing to hide.
  PostDoubleClick(Top(), Number(3));
  RunQueued();
  EXPECT_FALSE(S->Doc.Stmts[3].Highlight);
  EXPECT_TRUE(S->Doc.Stmts[2].Visible);
  EXPECT_FALSE(MainWindowOf(*S).DblClickPending);
  ExpectWellFormed();

  // The next click is a click of its own.
  clicks = 0;
  PostClick(Top(), Number(3));
  RunQueued();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(S->Doc.Stmts[3].Highlight);

  // A double click on the highlighted line 3 hides the block after line 1,
  // the next one shows it again; no other line's highlight changes.
  for (bool hidden : {true, false}) {
    PostDoubleClick(Top(), Number(3));
    RunQueued();
    EXPECT_EQ(S->Doc.Stmts[2].Visible, !hidden);
    EXPECT_TRUE(S->Doc.Stmts[1].Highlight);
    EXPECT_FALSE(S->Doc.Stmts[2].Highlight);
    EXPECT_TRUE(S->Doc.Stmts[3].Highlight);
    EXPECT_FALSE(MainWindowOf(*S).DblClickPending);
    ExpectWellFormed();
  }
  EXPECT_EQ(clicks, 3);
}

// The Find window is not modal, but its input waits like the main window's:
// Enter pressed in its search box after a click on the view, before that
// click is handled, searches after it and does not move the caret the click
// is read at.
TEST_F(QueuedInput, AFindQueuedBehindAClickOnTheViewWaitsForIt) {
  Put(kRulePremise, "B");
  Put(kRuleAxiom, "C & D");
  ShowActive(Top());
  Command("optSplit");
  const QPoint at = InFormula(2);
  Command("optFind");
  auto* find = Top()->findChild<QDialog*>(QStringLiteral("Find"));
  ASSERT_NE(find, nullptr);
  RunQueued();
  find->findChild<QtRichBox*>(QStringLiteral("SearchStringTextBox"))->SetText("B");

  PostClick(Top(), at);
  PostKey(find, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  RunQueued();

  ExpectSplitOf(2, "C", "D");
  EXPECT_EQ(S->Doc.RuleMode, 0);
  // The search ran after it: line 1's "B" is selected and the window hidden.
  EXPECT_EQ(S->View->SelText(), "B");
  EXPECT_FALSE(find->isVisible());
}

// The Find window's activation takes the view's selection as the search
// string; like any input it waits while a handler runs (here the caption
// editor, a modal window, is open) and takes the selection as that handler
// leaves it.
TEST_F(QueuedInput, TheFindWindowsActivationWaitsForTheHandlerThatRuns) {
  Put(kRulePremise, "B");
  Put(kRuleAxiom, "C & D");
  ShowActive(Top());
  Command("optFind");
  auto* find = Top()->findChild<QDialog*>(QStringLiteral("Find"));
  ASSERT_NE(find, nullptr);
  RunQueued();
  auto* box = find->findChild<QtRichBox*>(QStringLiteral("SearchStringTextBox"));
  box->SetText("typed");
  QApplication::setActiveWindow(Top());
  RunQueued();
  const StmtRec& line1 = S->Doc.Stmts[1];
  S->View->SetSelStart(line1.StartStmt - line1.StartLine + line1.ViewerStartLine - 1);
  S->View->SetSelLength(1);

  std::string whileOpen;
  WhenShown([this, find, box, &whileOpen](QWidget* w) {
    QApplication::setActiveWindow(find);
    RunQueued(5);
    whileOpen = box->Text();
    // The handler leaves line 2's formula selected.
    const StmtRec& line2 = S->Doc.Stmts[2];
    S->View->SetSelStart(line2.StartStmt - line2.StartLine + line2.ViewerStartLine - 1);
    S->View->SetSelLength(5);
    if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
  });
  Command("optCaption");
  RunQueued();
  EXPECT_EQ(whileOpen, "typed");
  EXPECT_EQ(box->Text(), "C & D");
}

}  // namespace
}  // namespace qv
