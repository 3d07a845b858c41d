#include <gtest/gtest.h>

#include "doc_fixture.h"

namespace qv {
namespace {

// A statement table for the scope test: rule, Arg1 and free variables only.
class ScopeTest : public ::testing::Test {
 protected:
  void Add(int Rule, int Arg1, const std::string& Free) {
    StmtRec s;
    s.Rule = static_cast<int16_t>(Rule);
    s.Arg1 = static_cast<int16_t>(Arg1);
    s.FreeVars = Free;
    S.Doc.Stmts.push_back(s);
    S.Doc.StmtCount++;
  }
  bool InScope(const std::string& Var, int Line) {
    bool in = false;
    bool flag = true;
    FreeVarColourFont(S, Var, Line, in, flag);
    EXPECT_TRUE(flag) << "the flag is the caller's";
    return in;
  }
  AppState S;
};

TEST_F(ScopeTest, OutsideEveryPremiseEverythingIsInScope) {
  Add(kRuleAxiom, 0, " a ");
  Add(kRuleAxiom, 0, "");
  EXPECT_TRUE(InScope("q", 2));
}

TEST_F(ScopeTest, ClosedSubProofsHideTheirInsideButNotTheirConclusion) {
  Add(kRuleAxiom, 0, " b ");      // 1
  Add(kRuleAxiom, 0, "");         // 2
  Add(kRulePremise, 5, " c ");    // 3  closed by 5
  Add(kRuleSplit, 3, " c ");      // 4
  Add(kRuleConclusion, 3, "");    // 5
  Add(kRulePremise, 0, " c b ");  // 6  open
  EXPECT_FALSE(InScope("c", 6));  // free only inside the closed sub-proof
  EXPECT_TRUE(InScope("b", 6));
  S.Doc.Stmts[5].FreeVars = " c ";  // free in the Conclusion line itself
  EXPECT_TRUE(InScope("c", 6));
  // A new Conclusion is tested against the premise outside the one it closes.
  Add(kRuleSplit, 6, " d ");  // 7
  Add(kRuleConclusion, 6, " d ");  // 8
  EXPECT_TRUE(InScope("d", 8));
}

TEST_F(ScopeTest, OnlyLinesAboveTheInnermostPremiseCount) {
  Add(kRuleAxiom, 0, " a ");     // 1
  Add(kRulePremise, 0, " a ");   // 2 open
  Add(kRulePremise, 0, " x ");   // 3 open, innermost
  Add(kRuleSplit, 3, " x y ");   // 4
  EXPECT_FALSE(InScope("x", 4));
  EXPECT_FALSE(InScope("y", 4));
  EXPECT_TRUE(InScope("a", 4));
  // A premise is its own innermost premise.
  EXPECT_FALSE(InScope("x", 3));
}

TEST_F(ScopeTest, LinesMarkedForDeletionAreIgnored) {
  Add(kRuleAxiom, 0, " v ");     // 1
  Add(kRulePremise, 0, "");      // 2
  Add(kRuleAxiom, 0, "");        // 3
  Add(kRulePremise, 0, " v ");   // 4
  EXPECT_TRUE(InScope("v", 4));
  S.Doc.Stmts[1].DeleteFlag = true;
  EXPECT_FALSE(InScope("v", 4));
  // A marked premise is no premise: the search goes on to line 2.
  S.Doc.Stmts[1].DeleteFlag = false;
  S.Doc.Stmts[4].DeleteFlag = true;
  S.Doc.Stmts[3].FreeVars = " w ";
  EXPECT_FALSE(InScope("w", 4));  // line 3 lies below premise 2
}

TEST_F(ScopeTest, DamagedLinksEndTheSearch) {
  Add(kRuleAxiom, 0, " a ");       // 1
  Add(kRulePremise, 2, "");        // 2 "closed" by itself
  Add(kRuleConclusion, 9, "");     // 3 premise below it
  Add(kRulePremise, 1, " z ");     // 4 "closed" by a line above
  Add(kRuleConclusion, 3, "");     // 5 premise is a Conclusion
  Add(kRulePremise, 0, "");        // 6
  // Every call must return; the answers only need to be sane.
  EXPECT_TRUE(InScope("a", 6));
  InScope("z", 5);
  InScope("a", 3);
  InScope("a", 99);  // a line past the end
}

using UndoTest = DocTest;

TEST_F(UndoTest, FirstStatementOfAnEmptyProofIsNotUndoable) {
  host.SetControlEnabled("optUndo", false);
  BackUpUndo(S);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_FALSE(S.Undo.Valid);
  EXPECT_FALSE(host.ControlEnabled("optUndo"));
  Put("A");
  EXPECT_FALSE(S.Undo.Valid);
}

TEST_F(UndoTest, SnapshotCopiesTheDocumentAndEnablesUndoOnly) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  S.Doc.InsertLine = 2;
  host.SetControlEnabled("optRedo", true);
  host.SetControlEnabled("cmdRedo", true);
  S.Ui.ProofChanged = false;
  const DocState before = S.Doc;

  // One snapshot before a change of several statements.
  BackUpUndo(S);
  Put("A & B", kRuleJoin, 1, 2);
  Put("B & A", kRuleJoin, 2, 1);

  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_TRUE(S.Undo.Valid);
  EXPECT_EQ(S.Undo.StmtCount, 2);
  EXPECT_EQ(S.Undo.ProofText, before.ProofText);
  EXPECT_EQ(S.Undo.InsertLine, 2);
  ASSERT_EQ(S.Undo.Stmts.size(), before.Stmts.size());
  for (size_t i = 0; i < before.Stmts.size(); ++i) EXPECT_TRUE(S.Undo.Stmts[i] == before.Stmts[i]);
  EXPECT_TRUE(host.ControlEnabled("optUndo"));
  EXPECT_TRUE(host.ControlEnabled("cmdUndo"));
  EXPECT_FALSE(host.ControlEnabled("optRedo"));
  EXPECT_FALSE(host.ControlEnabled("cmdRedo"));
}

// A window's state travels with the AppState it belongs to: a copy has its
// own, and a fresh state starts from the struct's defaults.
TEST(WindowStates, ACopyOfTheStateHoldsItsOwnWindowStates) {
  struct Probe {
    int Value = 0;
  };
  AppState a;
  a.Windows.Get<Probe>().Value = 7;
  AppState b = a;
  EXPECT_EQ(b.Windows.Get<Probe>().Value, 7);
  b.Windows.Get<Probe>().Value = 8;
  EXPECT_EQ(a.Windows.Get<Probe>().Value, 7);
  a = b;
  EXPECT_EQ(a.Windows.Get<Probe>().Value, 8);
  EXPECT_EQ(AppState{}.Windows.Get<Probe>().Value, 0);
}

}  // namespace
}  // namespace qv
