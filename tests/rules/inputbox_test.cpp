// The starters that ask for a name (Spec, U Gen, Sum, Rename, Reorder) and
// the input box that validates the name and puts the statement.
#include "rules_fixture.h"
#include "entry/testparser.h"

namespace qv {
namespace {

class NamedRules : public RulesTest {
 protected:
  void SpecLine(int k) {
    S.Doc.RuleMode = kRuleSpec;
    Click(k);
    Spec(S);
  }
  void RenameLine(int k) {
    S.Doc.RuleMode = kRuleRename;
    Click(k);
    Rename(S);
  }
  void ReorderLine(int k) {
    S.Doc.RuleMode = kRuleReorder;
    Click(k);
    Reorder(S);
  }
};

TEST_F(NamedRules, ESpecPutsTheBodyWithTheNewName) {
  Put("EXIST(x):[P(x) & ALL(z):Q(x,z)]");
  AnswerInputBox({"y"});
  SpecLine(1);
  EXPECT_EQ(seen.Caption, " E Spec Rule: Line 1");
  EXPECT_EQ(seen.Label1, "Enter the name of a new free variable:");
  EXPECT_EQ(seen.Text1, "");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "P(y) & ALL(z):Q(y,z)");
  EXPECT_EQ(RuleText(2), "E Spec, 1");
  EXPECT_EQ(S.Doc.Stmts[2].NewVar, "y");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(S.Undo.StmtCount, 1);
}

TEST_F(NamedRules, ESpecRefusesNamesInUseAndKeepsTheBoxOpen) {
  Put("R(k)", kRuleAxiom);
  Put("EXIST(x):[P(x,k) & EXIST(z):Q(z)]", kRuleAxiom);
  AnswerInputBox({"a#", "f(y)", "k", "z", "m"});
  SpecLine(2);
  EXPECT_EQ(seen.Messages, (std::vector<std::string>{
                               "Invalid character '#'", "Invalid variable name",
                               "Free variable already used in statement 2",
                               "Inconsistent usage of free variable in this statement"}));
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "P(m,k) & EXIST(z):Q(z)");
  EXPECT_EQ(host.beeps, 4);
}

TEST_F(NamedRules, ESpecPassesOverClosedSubproofsButSeesLinesBelowTheInsertPoint) {
  Put("EXIST(x):P(x)", kRuleAxiom);
  Put("Q(w)");
  optConclusion_Click(S);  // needs a name for w
  EXPECT_EQ(S.Doc.StmtCount, 2);
  AnswerInputBox({"w"});
  optConclusion_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  // w is free only inside the closed subproof: it may be taken.
  AnswerInputBox({"w"});
  SpecLine(1);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "P(w)");

  // A name used below the insert line is refused with that line.
  Put("T(v)", kRuleAxiom);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 5;
  AnswerInputBox({"v"});
  SpecLine(1);
  EXPECT_EQ(seen.Messages, std::vector<std::string>{"Free variable already used in statement 5"});
  EXPECT_EQ(S.Doc.StmtCount, 5);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(NamedRules, CancellingTheBoxLeavesNothingBehind) {
  Put("EXIST(x):P(x)");
  AnswerInputBox({});
  SpecLine(1);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(S.Parser.ParseErr, "Cancelled");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_FALSE(S.Undo.Valid);
}

TEST_F(NamedRules, USpecHandsTheStatementToTheEntryWindow) {
  Put("ALL(x):P(x)");
  int modeWhileOpen = 0;
  host.OnModal("TestParser", [&]() { modeWhileOpen = S.Doc.RuleMode; });
  SpecLine(1);
  EXPECT_EQ(host.formsShown, std::vector<std::string>{"TestParser"});
  EXPECT_EQ(modeWhileOpen, kRuleUSpec);
  EXPECT_EQ(EntryWindowOf(S).EntryCaption,
            "U Spec Rule, Line 1: Enter a free variable expression in active statement");
  EXPECT_EQ(EntryWindowOf(S).EntryHint, "Use only previously introduced free variable expresion");
  EXPECT_EQ(InputBoxOf(S).SpecVar, "x");
  EXPECT_EQ(S.Ui.SavedExprText, "ALL(x):P(x)");
  EXPECT_EQ(S.Doc.RuleArg1, 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(NamedRules, SpecOnAnUnquantifiedStatementBeepsAndStaysArmed) {
  Put("P => Q");
  SpecLine(1);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleSpec);
  EXPECT_TRUE(host.formsShown.empty());
  ClickNowhere();
  Spec(S);
  EXPECT_EQ(host.beeps, 2);
  EXPECT_EQ(S.Doc.RuleMode, kRuleSpec);
}

TEST_F(NamedRules, UGenAsksOnlyForAVariableIntroducedOnItsLine) {
  Put("P(k)", kRuleAxiom);
  Put("R");
  Put("Q(k,m)", kRuleAxiom);
  // k was in use above the premise: beep.
  S.Doc.RuleMode = kRuleUGen;
  const StmtRec& s = S.Doc.Stmts[3];
  view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + 2);  // on "k"
  UnivGen(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.RuleMode, kRuleUGen);
  // m is introduced there: the box asks for a bound variable and only checks it parses.
  AnswerInputBox({"&", "a"});
  view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + 4);  // on "m"
  UnivGen(S);
  EXPECT_EQ(seen.Caption, " U Gen Rule: Line 3, 'm'");
  EXPECT_EQ(seen.Label1, "Enter bound variable:");
  // The name parses, but nothing further happens: the box stays open.
  EXPECT_EQ(seen.Messages, (std::vector<std::string>{"Invalid variable name", "Invalid variable name"}));
  EXPECT_EQ(InputBoxOf(S).UGenVar, "m");
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(NamedRules, SumChecksItsShapeAndNames) {
  Put("ALL(a):[a@n => a@m]");
  S.Doc.RuleMode = kRuleSum;
  Click(1);
  SumProd(S);
  EXPECT_EQ(host.beeps, 1);  // the set must be n
  EXPECT_EQ(S.Doc.RuleMode, kRuleSum);

  Put("ALL(a):[a@n => fg(a)@n]");
  AnswerInputBox({"i,i", "a,j", "i,j"});
  S.Doc.RuleMode = kRuleSum;
  Click(2);
  SumProd(S);
  EXPECT_EQ(seen.Caption, "SUM Rule, Line 2");
  EXPECT_EQ(seen.Label1, "Enter the name of two bound variables separated by a comma:");
  ASSERT_EQ(seen.Messages.size(), 3u);
  EXPECT_EQ(seen.Messages[0], "Invalid variable names");
  EXPECT_EQ(seen.Messages[1], "Variable 'a' already used in expression");
  // The statement language has no SUM terms, so the definition never
  // parses and nothing is put.
  EXPECT_EQ(seen.Messages[2].rfind("PARSER ERROR: ", 0), 0u);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_FALSE(S.Undo.Valid);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(NamedRules, RenameAcceptsOnlyPlainNamesThatAreNotCaptured) {
  Put("Q(k)", kRuleAxiom);
  Put("ALL(x):ALL(y):[P(x,y) & Q(k)]", kRuleAxiom);
  AnswerInputBox({"f(y), b", "a", "a,b+c", "k, b", "b, a"});
  RenameLine(2);
  EXPECT_EQ(seen.Caption, "Rename Universal Bound Variables, Line 2:  x, y");
  EXPECT_EQ(seen.Label1, "Enter names of 2 bound variables, separated by commas");
  EXPECT_EQ(seen.Text1, "x, y");
  EXPECT_EQ(seen.Messages, (std::vector<std::string>{
                               "Invalid list of bound variables", "Invalid list of bound variables",
                               "Invalid list of bound variables",
                               "New bound variable already used in statement"}));
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "ALL(b):ALL(a):[P(b,a) & Q(k)]");
  EXPECT_EQ(RuleText(3), "Rename, 2");
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(Status(), "");
}

TEST_F(NamedRules, RenameOfOneVariableRefusesAnApplicationAndACapture) {
  Put("ALL(x):[P(x) & ALL(y):Q(x,y)]");
  AnswerInputBox({"f(y)", "y", "z"});
  RenameLine(1);
  EXPECT_EQ(seen.Label1, "Enter name of bound variable");
  EXPECT_EQ(seen.Messages, (std::vector<std::string>{
                               "Invalid bound variable",
                               "New bound variable already used in statement"}));
  EXPECT_EQ(Formula(2), "ALL(z):[P(z) & ALL(y):Q(z,y)]");
}

TEST_F(NamedRules, ReorderChecksThePrefixAndKeepsTheBody) {
  Put("ALL(x):ALL(y):P(x,y)");
  AnswerInputBox({"ALL(x):ALL(x):", "ALL(x):ALL(z):", "ALL(x):", "ALL(y):P(y)", " ALL( y ):ALL(x): "});
  ReorderLine(1);
  EXPECT_EQ(seen.Caption, "Reorder Quantifiers, Line 1:  ALL(x):ALL(y):");
  EXPECT_EQ(seen.Text1, "ALL(x):ALL(y):");
  EXPECT_EQ(seen.Messages, (std::vector<std::string>{
                               "Duplicate bound variable 'x'", "Missing bound variable 'y'",
                               "Invalid list of quantifiers", "Invalid list of quantifiers"}));
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "ALL(y):ALL(x):P(x,y)");
  EXPECT_EQ(RuleText(2), "Reorder, 1");
}

TEST_F(NamedRules, ReorderNeedsTwoQuantifiersOfItsOwn) {
  Put("ALL(x):P(x)");
  Put("ALL(x):[P(x) & ALL(y):Q(y)]");
  ReorderLine(1);
  ReorderLine(2);  // the second quantifier is not part of the prefix
  EXPECT_EQ(host.beeps, 2);
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_EQ(S.Doc.RuleMode, kRuleReorder);
}

}  // namespace
}  // namespace qv
