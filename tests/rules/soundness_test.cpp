// Soundness of the rules on whole statements: only active lines are used, a
// match must be exact up to bound names, generalisation follows the scope of
// each variable, and reordering stays within the leading universal prefix.
#include "rules/frame.h"
#include "rules_fixture.h"

namespace qv {
namespace {

using Soundness = RulesTest;

TEST_F(Soundness, LinesOfAClosedSubproofOrBelowTheInsertPointAreNeverUsed) {
  Put("P & Q");
  Put("P => R", kRuleAxiom);
  optConclusion_Click(S);  // lines 1 and 2 are now closed; line 3 concludes
  ASSERT_EQ(S.Doc.StmtCount, 3);
  Put("P", kRuleAxiom);

  Arm(kRuleSplit);
  Click(1);
  Split(S);
  Arm(kRuleDetach);
  Click(2);
  Detach(S, MainWindowOf(S).FirstClickPending);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  Arm(kRuleJoin);
  Click(1);
  qv::Join(S, MainWindowOf(S).FirstClickPending);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(host.beeps, 3);
  EXPECT_EQ(S.Doc.StmtCount, 4);

  // The implication of line 3 with the matching line 4, once line 4 lies
  // below the insert point, cannot be detached.
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 4;
  Arm(kRuleDetach);
  Click(3);
  Detach(S, MainWindowOf(S).FirstClickPending);
  ASSERT_FALSE(MainWindowOf(S).FirstClickPending);
  Click(4);
  Detach(S, MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(host.beeps, 4);
  EXPECT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(S.Doc.RuleMode, kRuleDetach);
}

TEST_F(Soundness, DetachNeedsTheWholeLeftSideUpToBoundNamesOnly) {
  Put("P & Q => R", kRuleAxiom);
  Put("ALL(a):S(a,y) => T", kRuleAxiom);
  Put("P", kRuleAxiom);
  Put("ALL(y):S(y,y)", kRuleAxiom);
  Put("S(y,y)", kRuleAxiom);
  Put("Q & P", kRuleAxiom);
  Arm(kRuleDetach);
  Click(1);
  Detach(S, MainWindowOf(S).FirstClickPending);
  for (int k : {3, 6}) {  // a conjunct alone, the conjuncts swapped
    Click(k);
    Detach(S, MainWindowOf(S).FirstClickPending);
  }
  Arm(kRuleDetach);
  Click(2);
  Detach(S, MainWindowOf(S).FirstClickPending);
  for (int k : {4, 5}) {  // the free y captured, the quantifier dropped
    Click(k);
    Detach(S, MainWindowOf(S).FirstClickPending);
  }
  EXPECT_EQ(host.beeps, 4);
  EXPECT_EQ(S.Doc.StmtCount, 6);
}

TEST_F(Soundness, ConclusionsGeneraliseOnlyWhatEachSubproofIntroduced) {
  Put("R(k)");       // k is introduced by the outer premise
  Put("Q(k,m)");     // m by the inner one; k is in scope there
  AnswerInputBox({"m"});
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "ALL(m):[Q(k,m) => Q(k,m)]");
  EXPECT_EQ(S.Doc.Stmts[3].FreeVars, " k ");

  AnswerInputBox({"k"});
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "ALL(k):[R(k) => ALL(m):[Q(k,m) => Q(k,m)]]");
  EXPECT_EQ(S.Doc.Stmts[4].FreeVars, "");
}

TEST_F(Soundness, AWitnessNeverLeavesTheSubproofItWasChosenIn) {
  // The premise goes in above the E Spec line after it was written: the
  // witness r still belongs to the subproof and is quantified when it closes.
  Put("EXIST(b):P(b)", kRuleAxiom);
  Put("EXIST(b):~P(b)", kRuleAxiom);
  ESpec(1, "r");
  ASSERT_EQ(Formula(3), "P(r)");
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 3;
  Put("A | ~A");
  S.Doc.InsertMode = false;
  AnswerInputBox({"r"});
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(Formula(5), "A | ~A => EXIST(r):P(r)");
  EXPECT_EQ(S.Doc.Stmts[5].FreeVars, "");
  Check();

  // The same proof written in order gives the same Conclusion.
  Reset();
  Put("EXIST(b):P(b)", kRuleAxiom);
  Put("A | ~A");
  ESpec(1, "r");
  AnswerInputBox({"r"});
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "A | ~A => EXIST(r):P(r)");
}

TEST_F(Soundness, ESpecCountsAConclusionLineAsAnEarlierUse) {
  // A Conclusion that leaves r free, as a proof file can hold it: line 2's
  // record says r was in use when it was put.
  Put("EXIST(b):P(b)", kRuleAxiom);
  Put("A");
  Put("P(r)", kRuleAxiom);
  S.Doc.Stmts[3].ScopedVars = " r ";
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  ASSERT_EQ(S.Doc.Stmts[4].FreeVars, " r ");
  Put("EXIST(b):~P(b)", kRuleAxiom);

  ESpec(5, "r");
  EXPECT_EQ(seen.Messages, std::vector<std::string>{"Free variable already used in statement 4"});
  EXPECT_EQ(S.Doc.StmtCount, 5);
}

TEST_F(Soundness, ReorderStaysWithinTheLeadingUniversalQuantifiers) {
  Put("ALL(x):EXIST(y):ALL(z):P(x,y,z)", kRuleAxiom);
  Put("ALL(x):ALL(y):EXIST(z):ALL(w):P(x,y,z,w)", kRuleAxiom);
  S.Doc.RuleMode = kRuleReorder;
  Click(1);
  Reorder(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_TRUE(host.formsShown.empty());

  AnswerInputBox({"ALL(w):ALL(x):", "ALL(y):ALL(x):ALL(w):"});
  Click(2);
  Reorder(S);
  EXPECT_EQ(seen.Messages, std::vector<std::string>{"Missing bound variable 'y'"});
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "ALL(y):ALL(x):EXIST(z):ALL(w):P(x,y,z,w)");
}

}  // namespace
}  // namespace qv
