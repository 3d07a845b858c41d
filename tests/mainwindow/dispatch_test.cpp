// Clicks and double clicks in the proof view reaching the operation of the
// pending rule.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/maincommands.h"
#include "rules/rules.h"
#include "view/view.h"

namespace qv {
namespace {

class DispatchTest : public DocTest {
 protected:
  // A double click on line k's number as the view reports it: the click of
  // the first press and release, then the double click at the second press
  // (the caret where the click left it), then the second release.
  void DoubleClickNumber(int k) {
    ClickNumber(k);
    RTB_MouseUp(S, false);
    RTB_Click(S);
    RTB_DblClick(S);
    RTB_MouseUp(S, false);
  }
};

TEST(ClickRoutes, EachPendingCodeReachesItsOperation) {
  const std::pair<int, void (*)(AppState&)> one[] = {
      {2, &Spec},         {5, &ExistGenSelect}, {6, &UnivGen},        {9, &DeleteAllSub},
      {11, &QuantSwitch}, {12, &RemDNeg},       {13, &InsDNeg},       {15, &Split},         {17, &IffSplit},
      {18, &SubsetRule},  {19, &ImplyAnd},      {20, &Contrapositive}, {21, &DeMorgan},
      {22, &ArbOr},       {23, &ArbAnte},       {24, &ArbCons},       {31, &SymmetryRule},
      {34, &ImplyOr},     {42, &SumProd},       {43, &SumProd},       {44, &GetInsertLineNo},
      {46, &Rename},      {47, &Reorder},       {-1, &DeleteAllRef},  {39, &ImpliesOp},
      {40, &IffOp},       {41, &OrOp},
  };
  for (const auto& [mode, fn] : one) {
    const ClickRoute r = ClickRouteFor(mode);
    EXPECT_EQ(r.click, fn) << "mode " << mode;
    EXPECT_EQ(r.twoClick, nullptr) << "mode " << mode;
  }
  const std::pair<int, void (*)(AppState&, bool&)> two[] = {
      {16, &Detach}, {28, &SubstituteRule}, {36, &Cases}};
  for (const auto& [mode, fn] : two) EXPECT_EQ(ClickRouteFor(mode).twoClick, fn) << "mode " << mode;
  EXPECT_NE(ClickRouteFor(14).twoClick, nullptr);  // Join, through its cancel guard
  // Codes without an operation of their own get the default click.
  for (int mode : {0, 1, 7, 30, 32, 45})
    EXPECT_EQ(ClickRouteFor(mode).click, &ToggleConclusion) << "mode " << mode;
}

TEST_F(DispatchTest, AClickInAnEmptyProofOpensTheIntroductionWhateverIsPending) {
  S.Doc.RuleMode = kRuleSplit;
  ShowStatus(S, "Split:  Click any active AND (&) statement");
  RTB_Click(S);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_TRUE(CommentEditorOf(S).EditingIntro);
  ASSERT_EQ(host.formsShown.size(), 1u);
  EXPECT_EQ(host.formsShown[0], "Comment");
  EXPECT_EQ(StatusText(S), "");
}

TEST_F(DispatchTest, ASelectionMakesTheClickDoNothing) {
  PutAxioms(2);
  Put("P1 & P2", kRuleJoin, 1, 2);
  ResetFonts(S);
  S.Doc.RuleMode = kRuleToggleHighlight;
  CaretAt(3, Line(3).StartStmt - 2, 3);
  RTB_Click(S);
  EXPECT_FALSE(Line(3).Highlight);
  EXPECT_EQ(host.beeps, 0);
  EXPECT_TRUE(host.formsShown.empty());
}

TEST_F(DispatchTest, ToggleHighlightStaysArmedAndDeletionModesDelete) {
  PutAxioms(3);
  Put("P1 & P2", kRuleJoin, 1, 2);  // 4
  ResetFonts(S);
  S.Doc.RuleMode = kRuleToggleHighlight;
  ClickNumber(4);
  RTB_Click(S);
  EXPECT_TRUE(Line(4).Highlight);
  EXPECT_EQ(S.Doc.RuleMode, kRuleToggleHighlight);

  DeleteAllRef_Click(S);
  EXPECT_EQ(S.Doc.RuleMode, -1);
  EXPECT_EQ(StatusText(S), "Delete All References: Click statement");
  ClickFormula(3);
  RTB_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.RuleMode, 0);

  DelAllSubsequent_Click(S);
  EXPECT_EQ(S.Doc.RuleMode, 9);
  EXPECT_EQ(StatusText(S), "Delete All Subsequent Lines: Click statement");
  ClickFormula(2);
  RTB_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  Check();
}

TEST_F(DispatchTest, CopyModeCopiesEveryClickedStatement) {
  PutAxioms(2);
  ResetFonts(S);
  S.Doc.RuleMode = 52;
  ClickFormula(2);
  RTB_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "P2");
  EXPECT_EQ(Line(3).Rule, 52);
  EXPECT_EQ(Line(3).Arg1, 2);
  EXPECT_EQ(S.Doc.RuleMode, 52);
  ClickFormula(1);
  RTB_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 4);
  // A click on the blank line between blocks only beeps.
  view.SetSelStart(Line(1).EndRule + 2);
  RTB_Click(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.StmtCount, 4);
  Check();
}

TEST_F(DispatchTest, DoubleClickHidesAndShowsTheLinesBetweenHighlights) {
  PutAxioms(2);                      // 1, 2 highlighted
  Put("P1 & P2", kRuleJoin, 1, 2);   // 3
  Put("P2 & P1", kRuleJoin, 2, 1);   // 4
  Put("P1 & P1", kRuleJoin, 1, 1);   // 5
  S.Doc.RuleMode = 0;                // no rule pending: the click's default action
  ResetFonts(S);
  ASSERT_TRUE(Line(2).Highlight);
  ASSERT_FALSE(Line(5).Highlight);

  // On a number that is not highlighted: the click highlights it, the double
  // click takes that back and beeps; nothing is hidden.
  DoubleClickNumber(5);
  EXPECT_FALSE(Line(5).Highlight);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_TRUE(Line(3).Visible);
  EXPECT_TRUE(Line(4).Visible);

  ClickNumber(5);
  RTB_Click(S);  // a single click highlights 5
  ASSERT_TRUE(Line(5).Highlight);
  DoubleClickNumber(5);  // 5 stays highlighted; 3 and 4 are hidden
  EXPECT_TRUE(Line(5).Highlight);
  EXPECT_FALSE(Line(3).Visible);
  EXPECT_FALSE(Line(4).Visible);
  EXPECT_EQ(host.beeps, 1);
  // The release puts the caret on the previous highlighted line.
  EXPECT_EQ(view.SelStart(), Line(2).ViewerStartLine - 1);
  EXPECT_FALSE(MainWindowOf(S).DblClickPending);
  Check();

  DoubleClickNumber(5);  // hidden between the two: shown again
  EXPECT_TRUE(Line(5).Highlight);
  EXPECT_TRUE(Line(3).Visible);
  EXPECT_TRUE(Line(4).Visible);
  DoubleClickNumber(5);  // and hidden again
  EXPECT_FALSE(Line(3).Visible);
  EXPECT_FALSE(Line(4).Visible);
  DoubleClickNumber(5);
  EXPECT_EQ(host.beeps, 1);

  // Adjacent highlighted lines: a beep and nothing else.
  DoubleClickNumber(2);
  EXPECT_TRUE(Line(2).Highlight);
  EXPECT_TRUE(Line(1).Visible);
  EXPECT_EQ(host.beeps, 2);
  Check();
}

TEST_F(DispatchTest, DoubleClickOnLineOneOrAPremiseOnlyBeeps) {
  Put("A", kRuleAxiom);
  Put("B");
  S.Doc.RuleMode = 0;
  ResetFonts(S);
  const bool before = Line(1).Highlight;
  DoubleClickNumber(1);
  EXPECT_EQ(Line(1).Highlight, before);
  EXPECT_EQ(host.beeps, 1);
  ASSERT_EQ(Line(2).Rule, kRulePremise);
  // Not highlighted, it beeps; highlighted, line 1 stands right before it.
  const bool premise = Line(2).Highlight;
  DoubleClickNumber(2);
  EXPECT_EQ(Line(2).Highlight, premise);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_TRUE(Line(1).Visible);
  Check();
}

}  // namespace
}  // namespace qv
