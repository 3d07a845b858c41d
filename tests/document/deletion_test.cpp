// The deletion engine: the dependants marked with a line, the sub-proofs
// dissolved with their Conclusion, the renumbering of the lines kept and
// insert mode across a deletion (the delete commands are in tests/view).
#include <gtest/gtest.h>

#include "document/doc_fixture.h"
#include "view/view.h"

namespace qv {
namespace {

using DeletionTest = DocTest;

TEST_F(DeletionTest, UncountedArbitraryLinesGoWithoutAQuestion) {
  PutAxioms(3);
  Put("[P1] | [Q]", kRuleArbOr, 1);  // 4: goes with any deletion above it
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ClickFormula(3);
  DeleteAllRef(S);
  EXPECT_TRUE(host.formsShown.empty());
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "P2");
  Check();
}

TEST_F(DeletionTest, RenumberingAcrossDigitCountsRewritesCitations) {
  PutAxioms(12);
  Put("P10 & P12", kRuleJoin, 10, 12);  // 13
  int count = 0;
  FlagStmts(S, 8, count);
  EXPECT_EQ(count, 1);
  BackUpUndo(S);
  DeleteStmts(S, 8);
  ASSERT_EQ(S.Doc.StmtCount, 12);
  EXPECT_EQ(Rule(12), "Join, 9, 11");
  EXPECT_EQ(Line(12).Arg1, 9);
  EXPECT_EQ(Line(12).Arg2, 11);
  EXPECT_EQ(Formula(9), "P10");
  const StmtRec& l9 = Line(9);
  EXPECT_EQ(S.Doc.ProofText.substr(l9.StartLine - 1, 2), "9\t");
  Check();
}

TEST_F(DeletionTest, DeletingAConclusionReopensAndUnindentsItsPremise) {
  Put("A", kRuleAxiom);         // 1
  Put("B");                     // 2 premise
  Put("A & B", kRuleJoin, 1, 2);  // 3
  Close(2, "B => A & B");       // 4 conclusion
  AddComment(3, "inside");
  ASSERT_EQ(Depth(2), 1);
  ASSERT_EQ(Depth(3), 1);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ClickFormula(4);
  DeleteAllRef(S);
  EXPECT_TRUE(host.formsShown.empty());  // nothing depends on it
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Line(2).Arg1, 0);
  EXPECT_EQ(Depth(2), 0);
  EXPECT_EQ(Depth(3), 0);
  EXPECT_TRUE(Line(2).Visible);
  EXPECT_TRUE(Line(3).Visible);
  EXPECT_EQ(Formula(3), "A & B");
  Check();
}

// Dissolving a sub-proof that holds a closed one and a comment leaves the
// text and positions a proof never closed there would have.
TEST_F(DeletionTest, DissolvingAnOuterSubProofKeepsTheInnerOneAsIfNeverClosed) {
  auto build = [this](bool closeOuter) {
    S = AppState{};
    S.Attach(&host, &view, &status, &work);
    Put("A", kRuleAxiom);             // 1
    Put("B");                         // 2 outer premise
    Put("C");                         // 3 inner premise
    Put("B & C", kRuleJoin, 2, 3);    // 4
    AddComment(4, "both");
    Close(3, "C => B & C");           // 5
    if (closeOuter) Close(2, "B => C => B & C");  // 6
    Put("D", kRuleAxiom);
  };
  build(false);
  const DocState expected = S.Doc;
  build(true);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ClickFormula(6);
  DeleteAllRef(S);
  ASSERT_EQ(S.Doc.StmtCount, expected.StmtCount);
  EXPECT_EQ(S.Doc.ProofText, expected.ProofText);
  for (int k = 1; k <= expected.StmtCount; ++k) {
    const StmtRec& a = Line(k);
    const StmtRec& b = expected.Stmts[k];
    EXPECT_EQ(std::vector<int32_t>({a.StartLine, a.EndUserComment, a.StartStmt, a.EndStmt, a.StartRule,
                                    a.EndRule, a.Arg1}),
              std::vector<int32_t>({b.StartLine, b.EndUserComment, b.StartStmt, b.EndStmt, b.StartRule,
                                    b.EndRule, b.Arg1}))
        << "line " << k;
  }
  Check();
}

TEST_F(DeletionTest, DeletingTheLastLineOfASubProofTakesItsConclusion) {
  Put("A", kRuleAxiom);
  Put("B");
  Put("A & B", kRuleJoin, 1, 2);
  Close(2, "B => A & B");
  Put("C", kRuleAxiom);  // 5
  int count = 0;
  FlagStmts(S, 3, count);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(Line(4).DeleteFlag);
  EXPECT_FALSE(Line(5).DeleteFlag);
  DeleteStmts(S, 3);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Line(2).Arg1, 0);
  EXPECT_EQ(Depth(2), 0);
  EXPECT_EQ(Formula(3), "C");
  Check();
}

TEST_F(DeletionTest, AStatementWhoseVariableIsNoLongerIntroducedGoesToo) {
  Put("x=y");                       // 1 premise introduces x and y
  Put("Q", kRuleAxiom);             // 2
  Put("x=x", kRuleReflex);          // 3 uses x, cites nothing
  int count = 0;
  FlagStmts(S, 1, count);
  EXPECT_EQ(count, 2);
  EXPECT_TRUE(Line(3).DeleteFlag);
  EXPECT_FALSE(Line(2).DeleteFlag);
}

TEST_F(DeletionTest, InsertModeSurvivesWhenItsLineSurvives) {
  PutAxioms(8);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 6;
  for (int k = 1; k <= 8; ++k) S.Doc.Stmts[k].DeleteFlag = (k == 2 || k == 3);
  DeleteStmts(S, 2);
  EXPECT_TRUE(S.Doc.InsertMode);
  EXPECT_EQ(S.Doc.InsertLine, 4);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "^4");
  EXPECT_TRUE(host.messages.empty());
  Check();

  for (int k = 1; k <= 6; ++k) S.Doc.Stmts[k].DeleteFlag = (k == 4);
  DeleteStmts(S, 4);
  EXPECT_FALSE(S.Doc.InsertMode);
  EXPECT_EQ(S.Doc.InsertLine, 0);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "");
  ASSERT_NE(host.LastMessage(), nullptr);
  EXPECT_EQ(host.LastMessage()->text, "Insert Mode OFF");
  EXPECT_EQ(host.LastMessage()->title, "WARNING");
  Check();
}

TEST_F(DeletionTest, RemIndentRefusesAnOpenPremise) {
  Put("A");
  const std::string before = S.Doc.ProofText;
  RemIndent(S, 1);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.ProofText, before);
}

}  // namespace
}  // namespace qv
