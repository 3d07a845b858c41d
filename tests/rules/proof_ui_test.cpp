// Whole proofs built through the real main window offscreen: menu commands,
// clicks in the proof view, the entry window and the input box, and one Undo
// for each rule.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

#include "document/document.h"
#include "entry/forms_qt.h"
#include "mainwindow/mainwindow.h"
#include "support/app_ui_test.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"
#include "rules/inputbox_qt.h"

namespace qv {
namespace {

class ProofUi : public AppUiTest {
 protected:
  ProofUi() : AppUiTest("rules-ui") {}

  void Click(int k) { ClickAt(k); }

  // One Undo takes the proof back to `count` statements and the text it had;
  // Redo brings the rule's work back.
  void UndoRedo(int count, const std::string& before) {
    const std::string after = S->Doc.ProofText;
    const int afterCount = S->Doc.StmtCount;
    Command("optUndo");
    EXPECT_EQ(S->Doc.StmtCount, count);
    EXPECT_EQ(S->Doc.ProofText, before);
    Command("optRedo");
    EXPECT_EQ(S->Doc.StmtCount, afterCount);
    EXPECT_EQ(S->Doc.ProofText, after);
    EXPECT_EQ(CheckDocInvariants(S->Doc), "");
  }
};

TEST_F(ProofUi, ACompleteProofThroughTheCommands) {
  Premise("P & Q");
  ASSERT_EQ(S->Doc.StmtCount, 1);

  std::string before = S->Doc.ProofText;
  Command("optSplit");
  EXPECT_EQ(S->StatusLine->Text(), "Split:  Click any active AND (&) statement");
  Click(1);
  ASSERT_EQ(S->Doc.StmtCount, 3);
  EXPECT_EQ(Formula(2), "P");
  EXPECT_EQ(Formula(3), "Q");
  EXPECT_EQ(S->Doc.RuleMode, 0);
  UndoRedo(1, before);

  before = S->Doc.ProofText;
  Command("optJoin");
  Click(3);
  EXPECT_EQ(S->StatusLine->Text(), "Join: Click any active statement (2nd of 2)");
  Click(2);
  ASSERT_EQ(S->Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "Q & P");
  EXPECT_EQ(RuleText(4), "Join, 3, 2");
  UndoRedo(3, before);

  before = S->Doc.ProofText;
  Command("optConclusion");
  ASSERT_EQ(S->Doc.StmtCount, 5);
  EXPECT_EQ(Formula(5), "P & Q => Q & P");
  EXPECT_EQ(RuleText(5), "4 Conclusion, 1");
  EXPECT_EQ(S->Doc.Stmts[1].Arg1, 5);
  EXPECT_EQ(S->Doc.RuleMode, 0);
  UndoRedo(4, before);
  EXPECT_EQ(S->Doc.Stmts[1].Arg1, 5);

  // Nested premises; the inner subproof ends in a contradiction.
  Premise("R");
  Premise("~R");
  Command("optJoin");
  Click(7);
  Click(6);
  ASSERT_EQ(S->Doc.StmtCount, 8);
  EXPECT_EQ(Formula(8), "~R & R");
  before = S->Doc.ProofText;
  Command("cmdConclusion");
  ASSERT_EQ(S->Doc.StmtCount, 9);
  EXPECT_EQ(Formula(9), "~~R");
  EXPECT_EQ(RuleText(9), "4 Conclusion, 7");
  UndoRedo(8, before);
  Command("optConclusion");
  ASSERT_EQ(S->Doc.StmtCount, 10);
  EXPECT_EQ(Formula(10), "R => ~~R");
  EXPECT_EQ(RuleText(10), "4 Conclusion, 6");
  Command("optConclusion");
  EXPECT_EQ(S->StatusLine->Text(), "Conclusion Rule: No active premise found");
  EXPECT_EQ(S->Doc.StmtCount, 10);
  EXPECT_EQ(CheckDocInvariants(S->Doc), "");
}

TEST_F(ProofUi, SpecifyingQuantifiedStatements) {
  Premise("EXIST(x):F(x,k)");
  Premise("ALL(y):H(y)");

  // E Spec through the input box: a name in use is refused, a new one taken.
  std::string before = S->Doc.ProofText;
  std::vector<std::string> messages;
  std::string caption;
  AnswerBox({"k", "m"}, &messages, &caption);
  Command("optSpec");
  EXPECT_EQ(S->StatusLine->Text(), "Specify:  Click any active quantified statement");
  Click(1);
  EXPECT_EQ(caption, " E Spec Rule: Line 1");
  EXPECT_EQ(messages, std::vector<std::string>{"Free variable already used in statement 1"});
  ASSERT_EQ(S->Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "F(m,k)");
  EXPECT_EQ(RuleText(3), "E Spec, 1");
  EXPECT_EQ(S->Doc.Stmts[3].NewVar, "m");
  EXPECT_EQ(S->Doc.RuleMode, 0);
  UndoRedo(2, before);

  // U Spec through the entry window: a variable not in use is refused.
  before = S->Doc.ProofText;
  WhenShown([](QWidget* w) {
    auto* d = qobject_cast<TestParserDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle().toStdString(),
              "U Spec Rule, Line 2: Enter a free variable expression in active statement");
    Type(d->Box(), "z");
    Press(d, "cmdContinue");
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("StatusLine"))->text().toStdString(),
              "'z' must occur in active statement");
    d->Box()->SetText("");
    Type(d->Box(), "m");
    Press(d, "cmdContinue");
  });
  Command("optSpec");
  Click(2);
  ASSERT_EQ(S->Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "H(m)");
  EXPECT_EQ(RuleText(4), "U Spec, 2");
  EXPECT_EQ(S->Doc.RuleMode, 0);
  UndoRedo(3, before);

  // Neither ALL nor EXIST: the click is refused and Spec stays armed.
  Command("optSpec");
  Click(3);
  EXPECT_EQ(S->Doc.RuleMode, kRuleSpec);
  EXPECT_EQ(S->Doc.StmtCount, 4);
}

TEST_F(ProofUi, TheInputBoxCancelsByEscAndByItsCloseBox) {
  Premise("EXIST(x):F(x)");
  WhenShown([](QWidget* w) {
    auto* d = qobject_cast<InputBoxDialog*>(w);
    ASSERT_NE(d, nullptr);
    Type(d->TextBox(), "a#");
    Press(d, "Continue");
    EXPECT_EQ(d->MessageLabel()->text().toStdString(), "Invalid character '#'");
    Key(d, Qt::Key_Escape);
  });
  Command("optSpec");
  Click(1);
  EXPECT_EQ(S->Parser.ParseErr, "Cancelled");
  EXPECT_EQ(S->Doc.RuleMode, 0);
  EXPECT_EQ(S->Doc.StmtCount, 1);

  S->Parser.ParseErr = "";
  WhenShown([](QWidget* w) {
    auto* d = qobject_cast<InputBoxDialog*>(w);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->TextBox()->text().toStdString(), "");  // emptied on every opening
    Type(d->TextBox(), "b");
    d->close();
  });
  Command("optSpec");
  Click(1);
  EXPECT_EQ(S->Parser.ParseErr.rfind("Cancelled", 0), std::string::npos);
  EXPECT_EQ(S->Doc.RuleMode, 0);
  EXPECT_EQ(S->Doc.StmtCount, 1);

  // After the close box the next use gets a fresh window that works.
  AnswerBox({"c"});
  Command("optSpec");
  Click(1);
  ASSERT_EQ(S->Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "F(c)");
}

}  // namespace
}  // namespace qv
