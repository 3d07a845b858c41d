// The default click (highlight, comment editor, collapsing and expanding a
// sub-proof) and the choice of the insert line.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"

namespace qv {
namespace {

using DefaultClickTest = DocTest;

TEST_F(DefaultClickTest, DefaultClickTogglesHighlightOpensCommentsAndFoldsSubProofs) {
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

TEST_F(DefaultClickTest, ExpandingKeepsANestedCollapsedSubProofCollapsed) {
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

TEST_F(DefaultClickTest, ClickInTheIntroductionOpensItsEditor) {
  S.Doc.ProofText = "Intro\r\n\r\n";
  S.Doc.IntroLen = 5;
  PutAxioms(1);
  view.SetSelStart(2);
  ToggleConclusion(S);
  EXPECT_TRUE(CommentEditorOf(S).EditingIntro);
  EXPECT_EQ(CommentEditorOf(S).CommentCaption, "Edit Introduction");
  EXPECT_EQ(host.formsShown.back(), "Comment");
}

TEST_F(DefaultClickTest, InsertLineChoice) {
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
