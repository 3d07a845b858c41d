// The Subset rule's start, the subset-axiom window and the induction window,
// driven through their logic on in-memory boxes and a scripted host.
#include <gtest/gtest.h>

#include <string>

#include "axioms/induction.h"
#include "axioms/subset.h"
#include "view/view.h"
#include "expr/expr.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#include "rules/rules.h"

namespace qv {
namespace {

constexpr int kPremise = 1;
constexpr int kAxiom = 45;

class SubsetInductionTest : public ::testing::Test {
 protected:
  SubsetInductionTest() { S.Attach(&host, &view, &status, &work); }

  void Put(const std::string& Text, int Rule = kPremise) {
    S.Parser.ExprText = Text;
    S.Doc.RuleMode = Rule;
    S.Doc.RuleArg1 = 0;
    S.Doc.RuleArg2 = 0;
    ASSERT_TRUE(PutStmt(S)) << Text;
    S.Doc.RuleMode = 0;
  }
  void Click(int k) {
    const StmtRec& s = S.Doc.Stmts[k];
    view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1);
  }
  // Line k says Text (the view prints statements in its own layout).
  bool Means(int k, const std::string& Text) { return SameStmt(S.Parser, Formula(k), Text); }
  std::string Formula(int k) const {
    const StmtRec& s = S.Doc.Stmts[k];
    std::string out;
    for (char c : S.Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1))
      if (c != '\t') out += c;
    return out;
  }
  // Clicks line k under the Subset rule; the window is not shown here.
  void StartSubset(int k) {
    S.Doc.RuleMode = 18;
    Click(k);
    SubsetRule(S);
  }
  // One Continue of the subset window with these inputs.
  std::string Subset(const std::string& name, const std::string& vars, const std::string& crit) {
    form.Activate();
    form.SubsetName = name;
    form.BoundVars = vars;
    box.SetText(crit);
    form.Continue();
    return form.StatusLine;
  }
  std::string Induction(const std::string& x, const std::string& prop) {
    ind.Activate();
    ind.BoundVarTextBox = x;
    box.SetText(prop);
    ind.Continue();
    return ind.StatusLine;
  }

  FakeHost host;
  MemRichBox view, status, work, box;
  AppState S;
  SubsetForm form{S, box};
  InductionForm ind{S, box};
};

TEST_F(SubsetInductionTest, SubsetRuleReadsTheSetStatement) {
  Put("Set(x)");
  Put("Set''(r)");
  Put("Sets(x)");
  Put("Set'a(x)");
  Put("P(x)");
  Put("Set''(x,y,z)");  // a list of arguments is no set term
  StartSubset(1);
  EXPECT_EQ(SubsetWindowOf(S).SubsetArity, 0);
  EXPECT_EQ(SubsetWindowOf(S).SubsetSetText, "x");
  EXPECT_EQ(SubsetWindowOf(S).SubsetLabel1, "Enter bound variable for element of the subset:");
  EXPECT_EQ(SubsetWindowOf(S).SubsetCaption, "Subset Axiom, Line 1, Set(x)");
  EXPECT_EQ(S.Doc.RuleArg1, 1);
  ASSERT_EQ(host.formsShown.size(), 1u);
  EXPECT_EQ(host.formsShown[0], "SubsetFrm");

  StartSubset(2);
  EXPECT_EQ(SubsetWindowOf(S).SubsetArity, 2);
  EXPECT_EQ(SubsetWindowOf(S).SubsetSetText, "r");
  EXPECT_EQ(SubsetWindowOf(S).SubsetLabel1, "List 3 bound variables (separated by commas) for element of subset:");

  for (int k : {3, 4, 5, 6}) {
    const int beeps = host.beeps;
    StartSubset(k);
    EXPECT_EQ(host.beeps, beeps + 1) << k;
    EXPECT_EQ(S.Doc.RuleMode, 18) << "a wrong click keeps the rule armed";
  }
  EXPECT_EQ(host.formsShown.size(), 2u);
}

TEST_F(SubsetInductionTest, SubsetAxiomTexts) {
  Put("Set(n)");
  StartSubset(1);
  EXPECT_EQ(Subset("s", "a", "a>1"), "Variable 1 not found in any previous active statement");
  Put("1@n & 5@n & 0@n");  // numerals are names the criterion must find above
  StartSubset(1);
  EXPECT_EQ(Subset(" s ", "a", "a>1"), "");
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_TRUE(Means(3, "EXIST(s):[Set(s) & ALL(a):[a@s <=> [a@n & [a>1]]]]")) << Formula(3);
  EXPECT_EQ(S.Doc.Stmts[3].Rule, 18);
  EXPECT_EQ(S.Doc.Stmts[3].Arg1, 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);

  Put("Set'(n)");
  StartSubset(4);
  EXPECT_EQ(Subset("r", "a,b", "a<b"), "");
  EXPECT_TRUE(Means(5, "EXIST(r):[Set'(r) & ALL(a):ALL(b):[(a,b)@r <=> [(a,b)@n & [a<b]]]]")) << Formula(5);

  // A criterion rooted in & keeps its own brackets inside the conjunction.
  StartSubset(1);
  EXPECT_EQ(Subset("t", "a", "a>1 | a<5"), "");
  EXPECT_TRUE(Means(6, "EXIST(t):[Set(t) & ALL(a):[a@t <=> [a@n & [a>1 | a<5]]]]")) << Formula(6);
  StartSubset(1);
  EXPECT_EQ(Subset("u", "a", "a>1 => a>0"), "");
  EXPECT_TRUE(Means(7, "EXIST(u):[Set(u) & ALL(a):[a@u <=> [a@n & [a>1 => a>0]]]]")) << Formula(7);

  // A long quantifier prefix moves "<=>" onto a second line.
  StartSubset(4);
  EXPECT_EQ(Subset("longsubsetname", "first,second", "first<second"), "");
  EXPECT_NE(Formula(8).find("\r\n<=>"), std::string::npos) << Formula(8);
  StartSubset(4);
  EXPECT_EQ(Subset("r", "a,b", "a<b"), "");
  EXPECT_EQ(Formula(9).find('\r'), std::string::npos) << Formula(9);
}

TEST_F(SubsetInductionTest, SubsetRefusals) {
  Put("Set(n)");
  Put("Set'(n)");
  Put("Set(f(k))");
  StartSubset(1);
  EXPECT_EQ(Subset("", "", ""), "Invalid subset name");
  EXPECT_EQ(Subset("A", "a", "a>1"), "Invalid subset name");
  EXPECT_EQ(Subset("n", "a", "a>1"), "Name of subset cannot be n");
  EXPECT_EQ(Subset("s", "a,b", "a>1"), "Invalid list of bound variables");
  EXPECT_EQ(Subset("s", "n", "n>1"), "n cannot be in list bound variables");
  EXPECT_EQ(Subset("s", "s", "s>1"), "Name of subset 's'in list bound variables");
  EXPECT_EQ(Subset("s", "a", "a+1"), "Expecting a logical expression");
  EXPECT_EQ(Subset("s", "a", "a>z"), "Variable z not found in any previous active statement");
  EXPECT_EQ(box.SelColor(), RgbOf(0, 0, 0));  // caret only; the red mark is on z
  EXPECT_EQ(Subset("s", "a", "a@s"), "Invalid reference to name of subset 's'");
  // A parse error reports the parser's own text, without a prefix.
  const std::string parserSays = ParseText("a>").Err;
  ASSERT_FALSE(parserSays.empty());
  EXPECT_EQ(Subset("s", "a", "a>"), parserSays);

  StartSubset(2);
  EXPECT_EQ(Subset("s", "a", "a>1"), "Invalid list of bound variables");
  EXPECT_EQ(Subset("s", "a,b,c", "a>1"), "Invalid list of bound variables");
  EXPECT_EQ(Subset("s", "(a,a)", "a>1"), "Invalid list of bound variables");

  // The set's own names would be captured by the axiom's quantifiers.
  StartSubset(3);
  EXPECT_EQ(Subset("k", "a", "a>1"), "Name of subset cannot appear in f(k)");
  EXPECT_EQ(Subset("s", "k", "k>1"), "Bound variable 'k' cannot appear in f(k)");

  // Nothing was put and no undo snapshot was taken; the rule is still open.
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.RuleMode, 18);
  EXPECT_FALSE(S.Undo.Valid);
}

TEST_F(SubsetInductionTest, SubsetScanSkipsClosedSubproofsAndInsertion) {
  Put("Set(n)");
  Put("k>0");                         // premise 2
  Put("k>0 => k>0", 7);               // its conclusion
  S.Doc.Stmts[2].Arg1 = 3;            // closes the subproof
  S.Doc.Stmts[3].Arg1 = 2;
  S.Doc.Stmts[3].FreeVars = "";
  StartSubset(1);
  EXPECT_EQ(Subset("s", "a", "a>k"), "Variable k not found in any previous active statement");
  Put("m>0");
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 4;
  EXPECT_EQ(Subset("s", "a", "a>m"), "Variable m not found in any previous active statement");
  S.Doc.InsertMode = false;
  EXPECT_EQ(Subset("s", "a", "a>m"), "");
}

TEST_F(SubsetInductionTest, InductionCommandNeedsNAndOne) {
  Put("Set(n)");
  Put("k@n & 1>0 => k>0", 6);  // derived, not an axiom or premise
  optAdd_Click(S);
  EXPECT_EQ(StatusText(S), "Induction Shortcut: No reference to n or 1 in a previous axiom or active premise");
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_EQ(S.Doc.RuleMode, 0);
  // n and 1 found, but not the number axioms that make n the natural numbers.
  Put("1@n", kAxiom);
  optAdd_Click(S);
  EXPECT_EQ(StatusText(S), "Induction Shortcut: Number Axioms not found on previous lines. Consider another insertion point.");
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_EQ(InductionWindowOf(S).InductionKind, 1);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(SubsetInductionTest, InductionStatements) {
  Put("Set(n)");
  Put("1@n & 0@n");
  InductionWindowOf(S).InductionKind = 1;
  S.Doc.RuleMode = 33;
  EXPECT_EQ(Induction("  a ", "a+1>a"), "");
  EXPECT_EQ(ind.BoundVarTextBox, "a");
  EXPECT_TRUE(Means(3, "1+1>1 & ALL(a):[a@n & a+1>a => (a+1)+1>(a+1)] => ALL(a):[a@n => a+1>a]")) << Formula(3);
  EXPECT_EQ(Formula(3).substr(0, 7), "1+1>1\r\n");
  EXPECT_EQ(S.Doc.Stmts[3].Rule, 33);
  EXPECT_EQ(S.Doc.RuleMode, 0);

  S.Doc.RuleMode = 33;
  EXPECT_EQ(Induction("a", "a@n & a>0"), "");
  EXPECT_TRUE(Means(4, "[1@n & 1>0] & ALL(a):[a@n & [a@n & a>0] => [(a+1)@n & (a+1)>0]] => ALL(a):[a@n => [a@n & a>0]]"))
      << Formula(4);

  // A property without the variable still gives a statement.
  S.Doc.RuleMode = 33;
  EXPECT_EQ(Induction("b", "1>0"), "");
  EXPECT_TRUE(Means(5, "1>0 & ALL(b):[b@n & 1>0 => 1>0] => ALL(b):[b@n => 1>0]")) << Formula(5);
}

TEST_F(SubsetInductionTest, InductionRefusals) {
  Put("Set(n)");
  Put("1@n & 0@n");
  Put("k>0");
  Put("k>0 => k>0", 7);
  S.Doc.Stmts[3].Arg1 = 4;
  S.Doc.Stmts[4].Arg1 = 3;
  S.Doc.Stmts[4].FreeVars = "";
  InductionWindowOf(S).InductionKind = 1;
  S.Doc.RuleMode = 33;
  for (const char* x : {"n", "1", "A", "a,b", ""}) EXPECT_EQ(Induction(x, "a>0"), "Invalid bound variable") << x;
  EXPECT_EQ(Induction("a", "a+1"), "Expecting a logical expression");
  EXPECT_EQ(Induction("a", "a>k"), "Variable 'k' not found in an axiom or active premise");
  EXPECT_EQ(Induction("a", "a>z"), "Variable 'z' not found in an axiom or active premise");
  EXPECT_EQ(Induction("a", "ALL(a):a>0"), "Invalid bound variable");
  // x used as a function name: the successor put in its place cannot stand
  // before an argument, so the built statement does not parse.
  EXPECT_EQ(Induction("f", "f(1)>0"), "Invalid bound variable");
  EXPECT_EQ(Induction("f", "f(1)>0 & f>0"), "Invalid bound variable");
  EXPECT_EQ(Induction("a", "EXIST(b):a<b"), "");  // a bound name other than x is fine
  EXPECT_EQ(S.Doc.StmtCount, 5);
}

TEST_F(SubsetInductionTest, EveryPutCanBeUndone) {
  Put("Set(n)");
  Put("1@n");
  StartSubset(1);
  ASSERT_EQ(Subset("s", "a", "a>1"), "");
  ASSERT_TRUE(S.Undo.Valid);
  EXPECT_EQ(S.Undo.StmtCount, 2);
}

}  // namespace
}  // namespace qv
