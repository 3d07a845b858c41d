#include <gtest/gtest.h>

#include "document/doc_fixture.h"

namespace qv {
namespace {

using PutStmtTest = DocTest;

// The stored formula of a statement typed as Typed.
std::string Laid(const std::string& Typed) {
  FakeHost host;
  MemRichBox v, st, wa;
  AppState S;
  S.Attach(&host, &v, &st, &wa);
  S.Parser.ExprText = Typed;
  S.Doc.RuleMode = kRuleAxiom;
  if (!PutStmt(S)) return "PARSE FAILED: " + S.Parser.ParseErr;
  const StmtRec& s = S.Doc.Stmts[1];
  return S.Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1);
}

TEST(Layout, BracketsOnlyWhereBindingLevelsNeedThem) {
  EXPECT_EQ(Laid("x+y*z=w"), "x+y*z=w");
  EXPECT_EQ(Laid("(x+y)*z=w"), "(x+y)*z=w");
  EXPECT_EQ(Laid("a-b-c=d"), "a-b-c=d");
  EXPECT_EQ(Laid("a-(b-c)=d"), "a-(b-c)=d");
  EXPECT_EQ(Laid("x = y + 1"), "x=y+1");
  EXPECT_EQ(Laid("(A|B)&C"), "[A | B] & C");
  EXPECT_EQ(Laid("A&(B&C)"), "A & [B & C]");
  EXPECT_EQ(Laid("A & B & C"), "A & B & C");
  EXPECT_EQ(Laid("(A&B)=>C"), "A & B => C");
  EXPECT_EQ(Laid("ALL(x):(P(x)&Q(x))"), "ALL(x):[P(x) & Q(x)]");
  EXPECT_EQ(Laid("ALL(x):P(x)"), "ALL(x):P(x)");
  EXPECT_EQ(Laid("~ALL(x):P(x)"), "~ALL(x):P(x)");
  EXPECT_EQ(Laid("~(A&B)"), "~[A & B]");
  EXPECT_EQ(Laid("(a,b)@s"), "(a,b) @ s");
  EXPECT_EQ(Laid("f(a,b)=c"), "f(a,b)=c");
  EXPECT_EQ(Laid("((x)) + (y) = z"), "x+y=z");
  EXPECT_EQ(Laid("~~P"), "~~P");
  EXPECT_EQ(Laid("_(_x)=y"), "_(_x)=y");
  EXPECT_EQ(Laid("x@s=>y@s"), "x @ s => y @ s");
}

TEST(Layout, LineBreaksSurviveOnlyDirectlyBeforeAConnective) {
  // Kept before "&" and "=>", with a TAB after the break in the stored text.
  EXPECT_EQ(Laid("P(x)\r\n& Q(x)"), "P(x)\r\n\t& Q(x)");
  EXPECT_EQ(Laid("A\r\n=> B"), "A\r\n\t=> B");
  // Dropped before a term operator, inside a term, or with a blank between.
  EXPECT_EQ(Laid("x\r\n+y=z"), "x+y=z");
  EXPECT_EQ(Laid("A\r\n & B"), "A & B");
  // Two breaks before the second and fourth of four connectives.
  EXPECT_EQ(Laid("A & B\r\n| C & D\r\n=> E"), "A & B\r\n\t| C & D\r\n\t=> E");
}

TEST_F(PutStmtTest, FirstStatementsAndIntroductionPositions) {
  ASSERT_TRUE(Put("x=y"));
  EXPECT_EQ(Line(1).StartLine, 1);
  EXPECT_EQ(Line(1).StartStmt, 3);
  EXPECT_EQ(Line(1).ViewerStartLine, 1);
  EXPECT_EQ(S.Doc.ProofText, "1\tx=y\r\n\tPremise\r\n\r\n");
  EXPECT_EQ(Rule(1), "Premise");
  EXPECT_TRUE(Line(1).Highlight);
  // The caret stands right after the new rule text.
  EXPECT_EQ(view.SelStart(), Line(1).EndRule);

  // An Introduction of 12 characters: the first statement starts at 17.
  S = AppState{};
  S.Attach(&host, &view, &status, &work);
  S.Doc.ProofText = "Introduction\r\n\r\n";
  S.Doc.IntroLen = 12;
  Check();
  ASSERT_TRUE(Put("A"));
  EXPECT_EQ(Line(1).StartLine, 17);
  EXPECT_EQ(Line(1).ViewerStartLine, 17);

  // Line 10's number takes two characters.
  PutAxioms(9);
  EXPECT_EQ(Line(10).StartStmt, Line(10).StartLine + 3);
}

TEST_F(PutStmtTest, AppendsAtTheEndOfTheText) {
  PutAxioms(3);
  const int32_t len = static_cast<int32_t>(S.Doc.ProofText.size());
  ASSERT_TRUE(Put("B", kRuleJoin, 1, 3));
  EXPECT_EQ(Line(4).StartLine, len + 1);
  EXPECT_EQ(Rule(4), "Join, 1, 3");
  EXPECT_FALSE(Line(4).Highlight);
}

TEST_F(PutStmtTest, FreeVariablesAndTheirScope) {
  ASSERT_TRUE(Put("P(x) & ALL(a):Q(a,x)", kRuleAxiom));
  EXPECT_EQ(Line(1).FreeVars, " x ");
  ASSERT_TRUE(Put("ALL(b):Q(b) & P(b2)", kRuleAxiom));
  EXPECT_EQ(Line(2).FreeVars, " b2 ");
  ASSERT_TRUE(Put("ALL(a):P(a)", kRuleAxiom));
  EXPECT_EQ(Line(3).FreeVars, "");
  EXPECT_EQ(Line(3).ScopedVars, "");
  EXPECT_EQ(Line(3).FlagVars, "");
  ASSERT_TRUE(Put("0<k", kRuleAxiom));  // a numeral counts as a name
  EXPECT_EQ(Line(4).FreeVars, " 0 k ");
  // Outside every premise block everything is in scope.
  EXPECT_EQ(Line(4).ScopedVars, " 0 k ");
  // Inside a premise block: x was free above it, z is new.
  ASSERT_TRUE(Put("x=z"));
  EXPECT_EQ(Line(5).FreeVars, " x z ");
  EXPECT_EQ(Line(5).ScopedVars, " x ");
  EXPECT_EQ(Line(5).FlagVars, "");
  // A later line of the block: z is free only in the premise itself, so new.
  ASSERT_TRUE(Put("z=z", kRuleSym, 5));
  EXPECT_EQ(Line(6).ScopedVars, "");
}

TEST_F(PutStmtTest, NewVarAndHighlightRules) {
  ASSERT_TRUE(Put("EXIST(a):P(a)", kRuleAxiom));
  ASSERT_TRUE(Put("P(t)", kRuleESpec, 1, 0, "t"));
  EXPECT_EQ(Line(2).NewVar, "t");
  EXPECT_TRUE(Line(2).Highlight);
  ASSERT_TRUE(Put("A & B", kRuleJoin, 1, 2, "ignored"));
  EXPECT_EQ(Line(3).NewVar, "");
  ASSERT_TRUE(Put("A", kRuleSplit, 1));  // Split of an Axiom line
  EXPECT_TRUE(Line(4).Highlight);
  ASSERT_TRUE(Put("B", kRuleSplit, 3));  // Split of a Join line
  EXPECT_FALSE(Line(5).Highlight);
}

TEST_F(PutStmtTest, ParseErrorAddsNothingAndSaysWhy) {
  PutAxioms(2);
  const DocState before = S.Doc;
  const int beeps = host.beeps;
  EXPECT_FALSE(Put("x = = y"));
  EXPECT_EQ(S.Doc.ProofText, before.ProofText);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(status.Text().rfind("PARSER ERROR: ", 0), 0u) << status.Text();
  EXPECT_FALSE(Put("   "));
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(PutStmtTest, InsertRenumbersLaterLinesAndShiftsTheirCitations) {
  PutAxioms(5);
  ASSERT_TRUE(Put("P1 & P3", kRuleJoin, 3, 5));  // line 6
  ASSERT_TRUE(Put("P2", kRuleSplit, 2));          // line 7 cites a line before the insertion
  EXPECT_EQ(Rule(6), "Join, 3, 5");
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  ASSERT_TRUE(Put("Q", kRuleAxiom));
  EXPECT_EQ(Formula(2), "Q");
  EXPECT_EQ(Rule(7), "Join, 4, 6");
  EXPECT_EQ(Rule(8), "Split, 3");
  EXPECT_EQ(S.Doc.InsertLine, 3);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "^3");
  // The next one goes to line 3, before the statement that was line 2.
  ASSERT_TRUE(Put("R", kRuleAxiom));
  EXPECT_EQ(Formula(3), "R");
  EXPECT_EQ(Formula(4), "P2");
  EXPECT_EQ(Rule(8), "Join, 5, 7");
  // A citation before the insertion line is left alone.
  S.Doc.InsertLine = 9;
  ASSERT_TRUE(Put("T", kRuleSplit, 1));
  EXPECT_EQ(Rule(9), "Split, 1");
  EXPECT_EQ(Rule(10), "Split, 4");
}

TEST_F(PutStmtTest, InsertBeforeLineNineMovesLaterBlocksByTheWiderNumber) {
  PutAxioms(11);
  ASSERT_TRUE(Put("P3 & P9", kRuleJoin, 3, 9));  // line 12
  const int32_t oldStart10 = Line(10).StartLine;
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 9;
  ASSERT_TRUE(Put("Q", kRuleAxiom));
  const int32_t block = Line(9).EndRule + 5 - Line(9).StartLine;
  // Old line 9 is now 10, one character longer; old line 10 moved by both.
  EXPECT_EQ(Line(11).StartLine, oldStart10 + block + 1);
  EXPECT_EQ(Rule(13), "Join, 3, 10");
}

TEST_F(PutStmtTest, InsertBeforeAClosedSubProofMovesItsLinks) {
  PutAxioms(5);
  ASSERT_TRUE(Put("A"));                  // line 6, premise
  ASSERT_TRUE(Put("A", kRuleSplit, 6));   // line 7
  Close(6, "A => A");                     // line 8
  EXPECT_EQ(Line(6).Arg1, 8);
  EXPECT_EQ(Rule(8), "4 Conclusion, 6");
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 5;
  ASSERT_TRUE(Put("Q", kRuleAxiom));
  EXPECT_EQ(Line(7).Rule, kRulePremise);
  EXPECT_EQ(Line(7).Arg1, 9);
  EXPECT_EQ(Rule(7), "Premise");
  EXPECT_EQ(Line(9).Arg1, 7);
  EXPECT_EQ(Rule(9), "4 Conclusion, 7");
  // Inserted blocks carry no indentation of their own.
  EXPECT_EQ(S.Doc.ProofText[Line(5).StartLine - 1], '5');
}

TEST_F(PutStmtTest, InsertedLineStartsWithFreshFields) {
  PutAxioms(3);
  AddComment(2, "A comment");
  S.Doc.Stmts[2].DeleteFlag = true;
  S.Doc.Stmts[2].NewLineNo = 7;
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  ASSERT_TRUE(Put("Q", kRuleAxiom));
  EXPECT_FALSE(Line(2).DeleteFlag);
  EXPECT_EQ(Line(2).NewLineNo, 0);
  EXPECT_EQ(Line(2).EndUserComment, 0);
  // The displaced line keeps its comment and flags, one line further down.
  EXPECT_GT(Line(3).EndUserComment, 0);
  EXPECT_TRUE(Line(3).DeleteFlag);
  EXPECT_EQ(S.Doc.ProofText.substr(Line(3).StartLine - 1, 9), "A comment");
}

TEST_F(PutStmtTest, InsertAtLineOneKeepsTheIntroductionOrItsEmptySeparator) {
  // With an Introduction of 30 characters: the block starts at 35.
  S.Doc.ProofText = std::string(30, 'i') + "\r\n\r\n";
  S.Doc.IntroLen = 30;
  PutAxioms(2);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  ASSERT_TRUE(Put("Q", kRuleAxiom));
  EXPECT_EQ(Line(1).StartLine, 35);
  EXPECT_EQ(Line(2).StartLine, Line(1).EndRule + 5);
  EXPECT_EQ(Formula(2), "P1");
  EXPECT_EQ(Rule(2), "Axiom");

  // An emptied Introduction leaves CR LF CR LF before line 1; inserting at
  // line 1 keeps that single separator.
  S.Doc = DocState{};
  S.Doc.ProofText = "\r\n\r\n";
  Check();
  ASSERT_TRUE(Put("A", kRuleAxiom));
  EXPECT_EQ(Line(1).StartLine, 5);
  EXPECT_EQ(Line(1).ViewerStartLine, 1);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  ASSERT_TRUE(Put("B", kRuleAxiom));
  EXPECT_EQ(Line(1).StartLine, 5);
  EXPECT_EQ(S.Doc.ProofText.substr(0, 6), "\r\n\r\n1\t");
  EXPECT_EQ(Formula(2), "A");
  RecomputeIntroLen(S.Doc);
  EXPECT_EQ(S.Doc.IntroLen, 0);

  // Inserting into a proof that has only the emptied Introduction.
  S.Doc = DocState{};
  S.Doc.ProofText = "\r\n\r\n";
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 1;
  ASSERT_TRUE(Put("C", kRuleAxiom));
  EXPECT_EQ(Line(1).StartLine, 5);
}

// A statement put with a code that names no rule (as a click arriving in the
// middle of another rule's put could leave it): its rule text is what
// RuleTextOf gives, so only the code itself can give it away.
TEST_F(PutStmtTest, InvariantsRefuseRuleCodesThatNameNoRule) {
  Put("C & D", kRuleAxiom);
  for (int code : {0, -1, 55, 99}) {
    DocState before = S.Doc;
    S.Parser.ExprText = "D";
    S.Doc.RuleMode = code;
    S.Doc.RuleArg1 = 1;
    S.Doc.RuleArg2 = 0;
    if (PutStmt(S)) {
      EXPECT_NE(CheckDocInvariants(S.Doc), "") << "rule code " << code;
    }
    S.Doc = before;
  }
  Put("D", 54, 1);  // the last rule code is a rule
}

// Several statements added at once, in insert mode between a sub-proof and
// lines that cite across the insertion point, give the proof, the view and
// the insert line that adding them one at a time gives.
TEST_F(DocTest, ABatchAddsWhatOneByOneAdds) {
  PutAxioms(8);
  Put("x@s");                          // 9, a premise
  Put("x@s & P1", kRuleJoin, 9, 1);    // 10
  Put("P2 & P3", kRuleJoin, 2, 3);     // 11
  AppState one = S;
  MemRichBox oneView;
  one.Attach(&host, &oneView, &status, &work);
  one.Redraw.reset();
  ResetFonts(one);
  const std::vector<std::string> texts = {"x@s", "ALL(a):[a@s => P4]", "y@s"};
  for (AppState* st : {&S, &one}) {
    st->Doc.InsertMode = true;
    st->Doc.InsertLine = 9;  // just before the premise: lines 9 .. 11 move to 12 .. 14
    st->Doc.RuleMode = kRuleSplit;
    st->Doc.RuleArg1 = 4;
    st->Doc.RuleArg2 = 0;
  }
  ASSERT_TRUE(PutStmts(S, texts));
  for (const std::string& t : texts) {
    one.Parser.ExprText = t;
    ASSERT_TRUE(PutStmt(one));
  }
  Check();
  EXPECT_EQ(S.Doc.ProofText, one.Doc.ProofText);
  EXPECT_TRUE(S.Doc.Stmts == one.Doc.Stmts);
  EXPECT_EQ(S.Doc.InsertLine, 12);
  EXPECT_EQ(view.RichText(), oneView.RichText());
  EXPECT_EQ(view.SelStart(), oneView.SelStart());
  EXPECT_EQ(S.Doc.Stmts[13].Rule, kRuleJoin);
  EXPECT_EQ(S.Doc.Stmts[13].Arg1, 12);  // the premise it cites moved with it
}

}  // namespace
}  // namespace qv
