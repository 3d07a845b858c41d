// Deleting statements with their dependants, the two delete commands, the
// default click and the choice of the insert line.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"
#include "view/view.h"

namespace qv {
namespace {

class DeletionTest : public DocTest {
 protected:
  // Answers the Warning box with Continue (false) or Cancel (true).
  void AnswerWarning(bool cancel) {
    host.OnModal("Warning", [this, cancel] {
      warningText = WarningBoxOf(S).Text;
      S.Ui.DialogCancelled = cancel;
    });
  }
  // Puts the caret on line k's formula.
  void ClickFormula(int k) { CaretAt(k, Line(k).StartStmt); }
  void ClickNumber(int k) { CaretAt(k, Line(k).StartStmt - 2); }
  void ClickRule(int k) { CaretAt(k, Line(k).StartRule + 2); }
  int Depth(int k) const { return Line(k).StartRule - Line(k).EndStmt - 4; }

  std::string warningText;
};

TEST_F(DeletionTest, DeleteAllRefTakesDependantsAfterWarning) {
  Put("A", kRuleAxiom);              // 1
  Put("B", kRuleAxiom);              // 2
  Put("A & B", kRuleJoin, 1, 2);     // 3
  Put("C", kRuleAxiom);              // 4
  Put("C & [A & B]", kRuleJoin, 4, 3);  // 5
  AnswerWarning(false);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ClickFormula(1);
  DeleteAllRef(S);
  EXPECT_EQ(warningText, "This deletition will result in  2 other statement(s) being deleted.");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(1), "B");
  EXPECT_EQ(Formula(2), "C");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_TRUE(S.Undo.Valid);
  EXPECT_EQ(S.Undo.StmtCount, 5);
  Check();
}

TEST_F(DeletionTest, CancelledWarningChangesNothing) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  Put("A & B", kRuleJoin, 1, 2);
  const std::string before = S.Doc.ProofText;
  const bool undoBefore = S.Undo.Valid;
  AnswerWarning(true);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ShowStatus(S, "Delete All References: Click statement");
  ClickFormula(2);
  DeleteAllRef(S);
  EXPECT_EQ(warningText, "This deletition will result in  1 other statement(s) being deleted.");
  EXPECT_EQ(S.Doc.ProofText, before);
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Undo.Valid, undoBefore);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(StatusText(S), "");
  for (int k = 1; k <= 3; ++k) EXPECT_FALSE(Line(k).DeleteFlag);
}

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

TEST_F(DeletionTest, DeleteSubsequentFromLineOneLeavesTheIntroduction) {
  S.Doc.ProofText = "Intro\r\n\r\n";
  S.Doc.IntroLen = 5;
  PutAxioms(3);
  S.Doc.RuleMode = kRuleDeleteAtSub;
  ClickFormula(1);
  DeleteAllSub(S);
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_EQ(S.Doc.ProofText, "Intro\r\n\r\n");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(view.SelStart(), 0);
  Check();
}

TEST_F(DeletionTest, AMissedClickBeepsAndOnlyDeleteSubsequentKeepsItsMode) {
  PutAxioms(2);
  // The caret on the blank line between the two blocks.
  view.SetSelStart(Line(1).EndRule + 2);
  S.Doc.RuleMode = kRuleDeleteAtSub;
  DeleteAllSub(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleDeleteAtSub);
  S.Doc.RuleMode = kRuleDeleteAtRef;
  DeleteAllRef(S);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(DeletionTest, RemIndentRefusesAnOpenPremise) {
  Put("A");
  const std::string before = S.Doc.ProofText;
  RemIndent(S, 1);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.ProofText, before);
}

// ---- The default click ----

TEST_F(DeletionTest, DefaultClickTogglesHighlightOpensCommentsAndFoldsSubProofs) {
  Put("A", kRuleAxiom);
  Put("B");
  Put("A & B", kRuleJoin, 1, 2);
  Close(2, "B => A & B");
  ResetFonts(S);

  // The number of a Join toggles its highlight and bold digits.
  ClickNumber(3);
  ToggleConclusion(S);
  EXPECT_TRUE(Line(3).Highlight);
  // The number of a Premise does nothing.
  const bool premiseHighlight = Line(2).Highlight;
  ClickNumber(2);
  ToggleConclusion(S);
  EXPECT_EQ(Line(2).Highlight, premiseHighlight);

  // The formula opens the comment editor for that line.
  ClickFormula(3);
  ToggleConclusion(S);
  ASSERT_FALSE(host.formsShown.empty());
  EXPECT_EQ(host.formsShown.back(), "Comment");
  EXPECT_EQ(CommentEditorOf(S).CommentLine, 3);
  EXPECT_FALSE(CommentEditorOf(S).EditingIntro);
  EXPECT_EQ(CommentEditorOf(S).CommentCaption, "Edit User Comment, Line 3");

  // The Conclusion's rule text collapses, then expands the sub-proof.
  ClickRule(4);
  ToggleConclusion(S);
  EXPECT_FALSE(Line(2).Visible);
  EXPECT_FALSE(Line(3).Visible);
  EXPECT_EQ(Line(3).ViewerStartLine, 0);
  EXPECT_EQ(Line(4).ViewerStartLine, Line(1).EndRule - Line(1).StartLine + 5 + 1);
  ClickRule(4);
  ToggleConclusion(S);
  EXPECT_TRUE(Line(2).Visible);
  EXPECT_TRUE(Line(3).Visible);
  Check();
}

TEST_F(DeletionTest, ExpandingKeepsANestedCollapsedSubProofCollapsed) {
  Put("A");                          // 1 outer premise
  Put("B");                          // 2 inner premise
  Put("A & B", kRuleJoin, 1, 2);     // 3
  Close(2, "B => A & B");            // 4 closes 2..3
  Close(1, "A => [B => A & B]");     // 5 closes 1..4
  ResetFonts(S);
  ClickRule(4);
  ToggleConclusion(S);  // collapse inner
  ASSERT_FALSE(Line(2).Visible);
  ClickRule(5);
  ToggleConclusion(S);  // collapse outer
  ASSERT_FALSE(Line(4).Visible);
  ClickRule(5);
  ToggleConclusion(S);  // expand outer
  EXPECT_TRUE(Line(1).Visible);
  EXPECT_FALSE(Line(2).Visible);
  EXPECT_FALSE(Line(3).Visible);
  EXPECT_TRUE(Line(4).Visible);
  Check();
}

TEST_F(DeletionTest, ClickInTheIntroductionOpensItsEditor) {
  S.Doc.ProofText = "Intro\r\n\r\n";
  S.Doc.IntroLen = 5;
  PutAxioms(1);
  view.SetSelStart(2);
  ToggleConclusion(S);
  EXPECT_TRUE(CommentEditorOf(S).EditingIntro);
  EXPECT_EQ(CommentEditorOf(S).CommentCaption, "Edit Introduction");
  EXPECT_EQ(host.formsShown.back(), "Comment");
}

TEST_F(DeletionTest, InsertLineChoice) {
  Put("A", kRuleAxiom);   // 1
  Put("B");               // 2
  Put("A & B", kRuleJoin, 1, 2);
  Close(2, "B => A & B");  // 4
  Put("C", kRuleAxiom);   // 5
  ResetFonts(S);

  // An expanded sub-proof's Conclusion cannot be chosen.
  S.Doc.RuleMode = kRuleSetInsertMode;
  ClickFormula(4);
  GetInsertLineNo(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(S.Doc.InsertMode);
  EXPECT_EQ(S.Doc.RuleMode, kRuleSetInsertMode);

  // Nor a line inside a closed sub-proof.
  ClickFormula(3);
  GetInsertLineNo(S);
  EXPECT_EQ(host.beeps, 2);

  // A collapsed one's Conclusion puts new lines before its Premise.
  ClickRule(4);
  ToggleConclusion(S);
  S.Doc.RuleMode = kRuleSetInsertMode;
  ClickFormula(4);
  GetInsertLineNo(S);
  EXPECT_TRUE(S.Doc.InsertMode);
  EXPECT_EQ(S.Doc.InsertLine, 2);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "^2");
  EXPECT_TRUE(host.ControlChecked("optInsert"));
  EXPECT_EQ(S.Doc.RuleMode, 0);

  S.Doc.RuleMode = kRuleSetInsertMode;
  ClickFormula(5);
  GetInsertLineNo(S);
  EXPECT_EQ(S.Doc.InsertLine, 5);
}

}  // namespace
}  // namespace qv
