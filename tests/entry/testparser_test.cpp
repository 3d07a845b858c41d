// The entry window's check in each mode.
#include <gtest/gtest.h>

#include "entry/entry_fixture.h"

namespace qv {
namespace {

using TestParserTest = EntryTest;

TEST_F(TestParserTest, OpeningEmptiesTheBoxAndShowsTheHintOnlyWhereItBelongs) {
  box.SetText("left over");
  Open(kRulePremise, 0, "Suggestion: Use letters a-j for bound variables");
  EXPECT_EQ(box.Text(), "");
  EXPECT_EQ(entry.StatusLine, "Suggestion: Use letters a-j for bound variables");
  EXPECT_FALSE(entry.Editor().UndoOn);
  EXPECT_FALSE(entry.Editor().RedoOn);
  Open(kRuleOrNot, 0, "a hint nobody shows");
  EXPECT_EQ(entry.StatusLine, "");
}

TEST_F(TestParserTest, APassingPremiseClosesTheWindowAndLeavesTheCleanedText) {
  Open(kRulePremise, 0, "hint");
  Enter("\r\n\r\nx = y\r\n\r\n");
  EXPECT_EQ(hides, 1);
  EXPECT_EQ(S.Parser.ParseErr, "");
  EXPECT_EQ(S.Parser.ExprText, "x = y");
  EXPECT_EQ(entry.StatusLine, "");
  EXPECT_EQ(S.Doc.StmtCount, 0);  // the Premise command adds it
}

TEST_F(TestParserTest, AParseErrorKeepsTheWindowOpenAndPaintsTheTokenRed) {
  Open(kRulePremise);
  Enter("x=y &");
  EXPECT_EQ(hides, 0);
  EXPECT_EQ(S.Parser.ParseErr, "");  // Continue clears it; the message stays shown
  EXPECT_NE(entry.StatusLine, "");
  EXPECT_GE(host.beeps, 1);
  const int16_t pos = S.Parser.ParseErrPos;
  ASSERT_GT(pos, 0);
  EXPECT_EQ(box.SelStart(), pos - 1);
  EXPECT_EQ(box.SelLength(), 0);
  EXPECT_EQ(box.FormatAt(pos - 1).color, RgbOf(255, 0, 0));
  EXPECT_EQ(box.FormatAt(0).color, kBlack);
  EXPECT_TRUE(entry.Editor().ParseMarked);
}

TEST_F(TestParserTest, TheRedMarkFindsTheTokenBehindLeadingEmptyLines) {
  Open(kRulePremise);
  Enter("\r\n\r\nx=y &");
  const int16_t pos = S.Parser.ParseErrPos;
  ASSERT_GT(pos, 0);
  const int32_t inBox = pos - 1 + 4;
  EXPECT_EQ(box.Text()[inBox], '&');
  EXPECT_EQ(box.FormatAt(inBox).color, RgbOf(255, 0, 0));
  EXPECT_EQ(box.SelStart(), inBox);
  EXPECT_EQ(box.FormatAt(inBox - 1).color, kBlack);
}

TEST_F(TestParserTest, AHashIsRefusedBeforeParsing) {
  Open(kRulePremise);
  Enter("x=#");
  EXPECT_EQ(entry.StatusLine, "Invalid character '#'");
  EXPECT_EQ(hides, 0);
  EXPECT_FALSE(entry.Editor().ParseMarked);
}

TEST_F(TestParserTest, CancelAndTheCloseBoxReportCancelled) {
  Open(kRuleArbOr);
  box.SetText("P");
  entry.Cancel();
  EXPECT_EQ(S.Parser.ParseErr, "Cancelled");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(hides, 1);
  Open(kRuleUSpec);
  EXPECT_TRUE(entry.FormKeyPress(27));
  EXPECT_EQ(S.Parser.ParseErr, "Cancelled");
  Open(kRuleUSpec);
  entry.QueryUnload();
  EXPECT_EQ(S.Parser.ParseErr, "Cancelled");
  EXPECT_EQ(S.Doc.RuleMode, kRuleUSpec);  // left for the opener
  EXPECT_EQ(S.Doc.StmtCount, 0);
}

TEST_F(TestParserTest, PremiseChecksOnlyInInsertMode) {
  Put("EXIST(x):P(x)", kRuleAxiom);         // 1
  Put("P(c)", kRuleESpec, 1, 0, "c");       // 2 introduces c
  Open(kRulePremise);
  Enter("Q(c)");
  EXPECT_EQ(hides, 1);  // at the end of the proof anything logical passes

  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  Open(kRulePremise);
  Enter("Q(c)");
  EXPECT_EQ(entry.StatusLine, "Variable 'c' is introduced by E Spec on line 2. Consider using another name.");
  EXPECT_EQ(hides, 1);
  Enter("Q(d)");
  EXPECT_EQ(hides, 2);

  Open(kRulePremise);
  Enter("x+1");
  EXPECT_EQ(entry.StatusLine, "Expecting a logical expression");
}

TEST_F(TestParserTest, PremiseInsertedBeforeALineThatUsesAVariableNewly) {
  Put("A");                   // 1 opens a sub-proof
  Put("x=x", kRuleReflex);    // 2 uses x newly inside it
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  Open(kRulePremise);
  Enter("B");
  EXPECT_EQ(entry.StatusLine, "Inconsistent usage of variable 'x' on line 2. Consider deleting that line.");
  EXPECT_EQ(hides, 0);
}

TEST_F(TestParserTest, AxiomRefusesAVariableThatALineIntroduces) {
  Put("x=y");  // 1 introduces x and y
  Open(kRuleAxiom);
  Enter("x=x");
  EXPECT_EQ(entry.StatusLine, "Variable 'x' was previously introduced on line 1");
  EXPECT_EQ(hides, 0);
  Enter("ALL(x):x=x");
  EXPECT_EQ(hides, 1);
}

TEST_F(TestParserTest, USpecPutsTheTermInAndAddsTheStatement) {
  Put("y=y");                     // 1 introduces y
  Put("ALL(x):P(x)", kRuleAxiom); // 2
  Open(kRuleUSpec, 2, "Use only previously introduced free variable expresion");
  EXPECT_EQ(entry.StatusLine, "Use only previously introduced free variable expresion");
  Enter("z");
  EXPECT_EQ(entry.StatusLine, "'z' must occur in active statement");
  EXPECT_EQ(S.Doc.StmtCount, 2);
  Enter("y");
  EXPECT_EQ(hides, 1);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "P(y)");
  EXPECT_EQ(Line(3).Rule, kRuleUSpec);
  EXPECT_EQ(Line(3).Arg1, 2);
  EXPECT_EQ(Line(3).Arg2, 0);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  Check();
}

TEST_F(TestParserTest, USpecWithACompoundTermCitesItsElementLine) {
  Put("x+1 @ n");                  // 1
  Put("ALL(a):P(a)", kRuleAxiom);  // 2
  Open(kRuleUSpec, 2);
  Enter("x+2");
  EXPECT_EQ(entry.StatusLine, "'x+2' must be an element of a set");
  Enter("x+1");
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "P(x+1)");
  EXPECT_EQ(Line(3).Arg2, 1);
  Check();
}

TEST_F(TestParserTest, USpecRefusesATermThatAnInnerQuantifierWouldCapture) {
  Put("y=y");                                // 1
  Put("ALL(x):EXIST(y):R(x,y)", kRuleAxiom); // 2
  Open(kRuleUSpec, 2);
  Enter("y");
  EXPECT_EQ(hides, 0);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_NE(entry.StatusLine.find("'y'"), std::string::npos) << entry.StatusLine;
  EXPECT_EQ(S.Doc.RuleMode, kRuleUSpec);
}

TEST_F(TestParserTest, ReflexAddsTheIdentity) {
  Put("x=y");
  Open(kRuleReflex);
  Enter("x");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "x=x");
  EXPECT_EQ(Line(2).Rule, kRuleReflex);
  EXPECT_EQ(Line(2).Arg1, 0);
  Open(kRuleReflex);
  Enter("x=y");
  EXPECT_EQ(entry.StatusLine, "Expecting free variable expression");
}

TEST_F(TestParserTest, OrNotAndTheArbitraryRulesBuildTheirStatements) {
  Put("Q", kRuleAxiom);  // 1
  Open(kRuleOrNot);
  Enter("P");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Line(2).Rule, kRuleOrNot);
  EXPECT_EQ(Line(2).Arg1, 0);

  EntryWindowOf(S).ArbOrLeft = true;
  Open(kRuleArbOr, 1);
  Enter("P");
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Line(3).Rule, kRuleArbOr);
  EXPECT_EQ(Line(3).Arg1, 1);
  EXPECT_EQ(Formula(3), "P | Q");

  Open(kRuleArbCons, 1);
  Enter("P");
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "~Q => P");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  Check();
}

TEST_F(TestParserTest, ArbitraryFormulasNeedEveryFreeVariableAlreadyInUse) {
  Put("x=x");  // 1
  Open(kRuleArbAnte, 1);
  // The predicate comes first in the node list; the variables behind it
  // must still be checked.
  Enter("P(z)");
  EXPECT_EQ(entry.StatusLine, "Variable 'z' not found in any active statement");
  EXPECT_EQ(S.Doc.StmtCount, 1);
  Enter("ALL(z):P(z)");
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(TestParserTest, ArbitraryFormulasNeedTheirSumsToBeElements) {
  Put("x=10");  // 1
  Open(kRuleOrNot);
  Enter("x+10=x");
  EXPECT_EQ(entry.StatusLine, "'x+10' must be an element of a set");
  EXPECT_EQ(S.Doc.StmtCount, 1);
  Put("x+10 @ n", kRuleAxiom);  // 2
  Open(kRuleOrNot);
  Enter("x+10=x");
  EXPECT_EQ(S.Doc.StmtCount, 3);
}

}  // namespace
}  // namespace qv
