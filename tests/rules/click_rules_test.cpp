// Join, Split and Detach driven through clicks on an in-memory proof view.
#include "rules/frame.h"
#include "rules_fixture.h"
#include "mainwindow/maincommands.h"

namespace qv {
namespace {

using ClickRules = RulesTest;

TEST_F(ClickRules, JoinBracketsBothStatementsAndCitesThem) {
  Put("P");
  Put("Q => R");
  Join(2, 1);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "[Q => R] & P");
  EXPECT_EQ(RuleText(3), "Join, 2, 1");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
  // One snapshot, taken just before the put.
  EXPECT_EQ(S.Undo.StmtCount, 2);
}

TEST_F(ClickRules, JoinBreaksTheLineOnlyPastFiftyCharacters) {
  // With their brackets 25 + 25 = 50 characters stay on one line; 51 break.
  Put(std::string(23, 'A'));
  Put(std::string(23, 'B'));
  Put(std::string(24, 'C'));
  Join(1, 2);
  EXPECT_EQ(Formula(4), std::string(23, 'A') + " & " + std::string(23, 'B'));
  Join(1, 3);
  EXPECT_EQ(Formula(5), std::string(23, 'A') + "\r\n& " + std::string(24, 'C'));
  Check();
}

TEST_F(ClickRules, JoinUnderCommonUniversalQuantifiersAsksFirst) {
  Put("ALL(x):P(x)");
  Put("ALL(x):Q(x)");
  host.AnswerMessages({MsgResult::Yes});
  Join(1, 2);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].title, "Join Rule Option");
  EXPECT_EQ(host.messages[0].text, "Join lines 1 and 2 under a single universal quantifer?");
  EXPECT_EQ(host.messages[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(host.messages[0].defaultButton, 2);
  EXPECT_EQ(Formula(3), "ALL(x):[P(x) & Q(x)]");

  host.AnswerMessages({MsgResult::No});
  Join(1, 2);
  EXPECT_EQ(Formula(4), "ALL(x):P(x) & ALL(x):Q(x)");

  host.AnswerMessages({MsgResult::Cancel});
  Join(1, 2);
  EXPECT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
}

TEST_F(ClickRules, JoinAsksInThePluralForSeveralQuantifiers) {
  Put("ALL(x):ALL(y):P(x,y)");
  Put("ALL(x):ALL(y):Q(y,x)");
  Put("ALL(y):R(y)");
  host.AnswerMessages({MsgResult::Yes});
  Join(1, 2);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text,
            "Join lines 1 and 2 under a single set of universal quantifers?");
  EXPECT_EQ(Formula(4), "ALL(x):ALL(y):[P(x,y) & Q(y,x)]");
  // Different variables: no question.
  Join(1, 3);
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(S.Doc.StmtCount, 5);
}

TEST_F(ClickRules, JoinSecondClickOnNothingStartsOver) {
  Put("P");
  Put("Q");
  Arm(kRuleJoin);
  Click(1);
  qv::Join(S, MainWindowOf(S).FirstClickPending);
  EXPECT_FALSE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(Status(), "Join: Click any active statement (2nd of 2)");
  ClickNowhere();
  qv::Join(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(S.Doc.RuleMode, kRuleJoin);
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(ClickRules, AStaleCancelledFlagDoesNotEndJoin) {
  Put("P");
  S.Ui.DialogCancelled = true;  // left by an earlier cancelled prompt
  Arm(kRuleJoin);
  Click(1);
  qv::Join(S, MainWindowOf(S).FirstClickPending);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Doc.RuleMode, kRuleJoin);
}

TEST_F(ClickRules, JoinOfInconsistentVariablesIsRefused) {
  Put("ALL(x):P(x)");
  Put("Q(x)");
  Join(1, 2);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Status(),
            "JOIN: Inconsistent usage of same variable in lines 1 and 2. Try letters a-j for "
            "bound variables, k-z for free variables.");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_FALSE(S.Undo.Valid);
}

TEST_F(ClickRules, SplitFollowsTheLeftChainOnly) {
  Put("A & B & C");
  Put("A & [B & C]");
  Arm(kRuleSplit);
  Click(1);
  Split(S);
  ASSERT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(Formula(3), "A");
  EXPECT_EQ(Formula(4), "B");
  EXPECT_EQ(Formula(5), "C");
  EXPECT_EQ(RuleText(5), "Split, 1");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(S.Undo.StmtCount, 2);  // one snapshot for all three

  Arm(kRuleSplit);
  Click(2);
  Split(S);
  ASSERT_EQ(S.Doc.StmtCount, 7);
  EXPECT_EQ(Formula(6), "A");
  EXPECT_EQ(Formula(7), "B & C");
  Check();
}

TEST_F(ClickRules, SplitOfABracketedLeftConjunctionSplitsItToo) {
  Put("[A | D] & [B & C] & E");
  Arm(kRuleSplit);
  Click(1);
  Split(S);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(2), "A | D");
  EXPECT_EQ(Formula(3), "B & C");
  EXPECT_EQ(Formula(4), "E");
}

TEST_F(ClickRules, WrongShapesBeepAndKeepTheRuleArmed) {
  Put("P => Q");
  Put("P | Q");
  Arm(kRuleSplit);
  Click(1);
  Split(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleSplit);

  Arm(kRuleDetach);
  Click(2);
  Detach(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(S.Doc.RuleMode, kRuleDetach);
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(ClickRules, DetachMatchesTheLeftSideUpToBoundNames) {
  Put("ALL(x):P(x) => EXIST(y):Q(y)");
  Put("R");
  Put("ALL(z):P(z)");
  Arm(kRuleDetach);
  Click(1);
  Detach(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(Status(), "Detach:  Click any active statement that matches LHS of line 1");
  Click(2);  // no match: beep, still waiting for the second statement
  Detach(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(S.Doc.RuleMode, kRuleDetach);
  Click(3);
  Detach(S, MainWindowOf(S).FirstClickPending);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "EXIST(y):Q(y)");
  EXPECT_EQ(RuleText(4), "Detach, 1, 3");
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(ClickRules, AFailedPutLeavesProofAndUndoAsTheyWere) {
  Put("P");
  Put("Q");
  const std::string text = S.Doc.ProofText;
  const bool undoEnabled = host.ControlEnabled("optUndo");
  S.Ui.ProofChanged = false;
  S.Doc.RuleMode = kRuleSplit;
  S.Doc.RuleArg1 = 1;
  EXPECT_FALSE(PutStatements(S, {"R", "S &"}));
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Doc.ProofText, text);
  EXPECT_FALSE(S.Undo.Valid);
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(host.ControlEnabled("optUndo"), undoEnabled);
  Check();
}

TEST_F(ClickRules, ParseErrorsReportAndEndOrKeepTheRuleAsEachRuleSays) {
  Put("P");
  // Damage line 1's text so that it no longer parses.
  StmtRec& s = S.Doc.Stmts[1];
  S.Doc.ProofText[s.StartStmt - 1] = '&';
  Arm(kRuleJoin);
  Click(1);
  qv::Join(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(Status().rfind("PARSER ERROR: ", 0), 0u);
  EXPECT_EQ(S.Doc.RuleMode, kRuleJoin);  // first click keeps Join
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  Arm(kRuleSplit);
  Click(1);
  Split(S);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

}  // namespace
}  // namespace qv
