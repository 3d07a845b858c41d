#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/expr.h"

namespace qv {
namespace {

ParserState Parse(const std::string& text) {
  ParserState P;
  P.ExprText = text;
  ParseExpr(P);
  return P;
}

// The tree read back as a fully bracketed text, to check grouping.
std::string Render(const std::vector<NodeRec>& N, int i) {
  const NodeRec& n = N[static_cast<size_t>(i)];
  static const char* kSym[] = {"", "", "^", "_", "*", "/", "+", "-", ",", "", "=", "<", "<=", ">",
                               ">=", "~", "&", "|", "=>", "<=>", "ALL", "EXIST", "@"};
  switch (n.Rule) {
    case kAtom:
    case kProp:
      return n.Name;
    case kFunc:
    case kPred:
      return Render(N, n.Ptr1) + "{" + Render(N, n.Ptr2) + "}";
    case kANeg:
    case kLNeg:
      return std::string(kSym[n.Rule]) + Render(N, n.Ptr1);
    case kALL:
    case kEXIST:
      return std::string(kSym[n.Rule]) + " " + Render(N, n.Ptr1) + ":" + Render(N, n.Ptr2);
    default:
      return "(" + Render(N, n.Ptr1) + kSym[n.Rule] + Render(N, n.Ptr2) + ")";
  }
}

std::string Tree(const std::string& text) {
  ParserState P = Parse(text);
  EXPECT_EQ(P.ParseErr, "") << text;
  if (!P.ParseErr.empty()) return "<error>";
  return Render(P.Nodes, static_cast<int>(P.Nodes.size()) - 1);
}

std::vector<std::string> TokenTexts(const ParserState& P) {
  std::vector<std::string> out;
  for (size_t i = 1; i < P.Tokens.size(); ++i) out.push_back(P.Tokens[i].Token);
  return out;
}

void ExpectNode(const ParserState& P, int i, int16_t rule, const std::string& name, int p1, int p2) {
  ASSERT_LT(static_cast<size_t>(i), P.Nodes.size());
  const NodeRec& n = P.Nodes[static_cast<size_t>(i)];
  EXPECT_EQ(n.Rule, rule) << "node " << i;
  EXPECT_EQ(n.Name, name) << "node " << i;
  EXPECT_EQ(n.Ptr1, p1) << "node " << i;
  EXPECT_EQ(n.Ptr2, p2) << "node " << i;
}

TEST(Parser, SingleNameIsOneAtomInInsertedBrackets) {
  ParserState P = Parse("x");
  ASSERT_EQ(P.ParseErr, "");
  EXPECT_EQ(P.ParseErrPos, 0);
  ASSERT_EQ(P.Nodes.size(), 2u);
  EXPECT_EQ(P.Nodes[0].Rule, 0);
  ExpectNode(P, 1, kAtom, "x", 0, 0);
  EXPECT_EQ(TokenTexts(P), (std::vector<std::string>{"(", "x", ")"}));
  EXPECT_EQ(P.Tokens[1].Position, 0);
  EXPECT_EQ(P.Tokens[2].Position, 1);
  EXPECT_EQ(P.Tokens[1].TPtr, 3);
  EXPECT_EQ(P.Tokens[1].DPtr, 1);
  EXPECT_EQ(P.Tokens[3].DPtr, 1);
}

TEST(Parser, NamesFirstThenNodesInOrderOfClosingBrackets) {
  ParserState P = Parse("P(x) & x = x");
  ASSERT_EQ(P.ParseErr, "");
  ASSERT_EQ(P.Nodes.size(), 6u);
  ExpectNode(P, 1, kProp, "P", 0, 0);
  ExpectNode(P, 2, kAtom, "x", 0, 0);
  ExpectNode(P, 3, kPred, "", 1, 2);
  ExpectNode(P, 4, kEQ, "", 2, 2);
  ExpectNode(P, 5, kLAnd, "", 3, 4);
}

TEST(Parser, QuantifierLayoutNodesAndBoundFlags) {
  ParserState P = Parse("ALL(x):P(x)");
  ASSERT_EQ(P.ParseErr, "");
  ASSERT_EQ(P.Nodes.size(), 5u);
  ExpectNode(P, 1, kAtom, "x", 0, 0);
  ExpectNode(P, 2, kProp, "P", 0, 0);
  ExpectNode(P, 3, kPred, "", 2, 1);
  ExpectNode(P, 4, kALL, "", 1, 3);
  // ( ALL ( ( x ) ) : ( ( P ) ( ( x ) ) ) )
  const std::vector<std::string> expected = {"(", "ALL", "(", "(", "x", ")", ")", ":", "(", "(", "P",
                                             ")", "(", "(", "x", ")", ")", ")", ")"};
  ASSERT_EQ(TokenTexts(P), expected);
  const int last = static_cast<int>(P.Tokens.size()) - 1;
  EXPECT_EQ(P.Tokens[1].TPtr, last);
  EXPECT_EQ(P.Tokens[1].DPtr, 4);
  EXPECT_EQ(P.Tokens[3].Position, 4);  // typed bracket of the variable
  EXPECT_EQ(P.Tokens[4].Position, 0);  // inserted bracket of the name
  EXPECT_EQ(P.Tokens[9].TPtr, 18);     // body group
  EXPECT_EQ(P.Tokens[9].DPtr, 3);
  for (size_t i = 1; i < P.Tokens.size(); ++i)
    EXPECT_EQ(P.Tokens[i].Bound, P.Tokens[i].Token == "x") << i;
}

TEST(Parser, ApplicationLayout) {
  ParserState P = Parse("f(x)");
  ASSERT_EQ(P.ParseErr, "");
  EXPECT_EQ(TokenTexts(P),
            (std::vector<std::string>{"(", "(", "f", ")", "(", "(", "x", ")", ")", ")"}));
  ExpectNode(P, 3, kFunc, "", 1, 2);
  // The typed argument bracket carries the node of the group it encloses.
  EXPECT_EQ(P.Tokens[5].DPtr, 2);
  EXPECT_EQ(P.Tokens[5].Position, 2);

  P = Parse("f(a,b)");
  ASSERT_EQ(P.ParseErr, "");
  EXPECT_EQ(P.Nodes[4].Rule, kNtuple);
  ExpectNode(P, 5, kFunc, "", 1, 4);
  EXPECT_EQ(Tree("_(a,b)"), "_(a,b)");
}

TEST(Parser, PrecedenceAndAssociativityFollowThePassOrder) {
  EXPECT_EQ(Tree("_a^b"), "_(a^b)");
  EXPECT_EQ(Tree("a^b^c"), "((a^b)^c)");
  EXPECT_EQ(Tree("_a*b"), "(_a*b)");
  EXPECT_EQ(Tree("__a"), "__a");
  EXPECT_EQ(Tree("a-b+c"), "((a-b)+c)");
  EXPECT_EQ(Tree("a+b*c"), "(a+(b*c))");
  EXPECT_EQ(Tree("a/b*c"), "((a/b)*c)");
  EXPECT_EQ(Tree("a+b,c"), "((a+b),c)");
  EXPECT_EQ(Tree("a,b,c"), "((a,b),c)");
  EXPECT_EQ(Tree("a+b<c*d"), "((a+b)<(c*d))");
  EXPECT_EQ(Tree("~x@s"), "~(x@s)");
  EXPECT_EQ(Tree("x+y@s"), "((x+y)@s)");
  EXPECT_EQ(Tree("P & Q | R"), "((P&Q)|R)");
  EXPECT_EQ(Tree("P | Q & R"), "(P|(Q&R))");
  EXPECT_EQ(Tree("P => Q => R"), "((P=>Q)=>R)");
  EXPECT_EQ(Tree("P <=> Q => R"), "(P<=>(Q=>R))");
  EXPECT_EQ(Tree("~P & Q"), "(~P&Q)");
  EXPECT_EQ(Tree("ALL(x):P(x) & Q"), "(ALL x:P{x}&Q)");
  EXPECT_EQ(Tree("ALL(x):[P(x) & Q(x)]"), "ALL x:(P{x}&Q{x})");
  EXPECT_EQ(Tree("ALL(a):ALL(b):[a@n & b@n => a+b@n]"),
            "ALL a:ALL b:(((a@n)&(b@n))=>((a+b)@n))");
  EXPECT_EQ(Tree("EXIST(y):~y=0"), "EXIST y:~(y=0)");
  EXPECT_EQ(Tree("ALL[x]:P(x)"), "ALL x:P{x}");
  EXPECT_EQ(Tree("~ALL(x):P(x)"), "~ALL x:P{x}");
  EXPECT_EQ(Tree("ALL(x):~P(x)"), "ALL x:~P{x}");
  EXPECT_EQ(Tree("ALL(x):EXIST(y):~x=y => Q"), "(ALL x:EXIST y:~(x=y)=>Q)");
}

TEST(Parser, RedundantBracketsCreateNoNodes) {
  ParserState a = Parse("((P)) & [Q]");
  ParserState b = Parse("P & Q");
  ASSERT_EQ(a.ParseErr, "");
  ASSERT_EQ(a.Nodes.size(), b.Nodes.size());
  for (size_t i = 1; i < a.Nodes.size(); ++i) {
    EXPECT_EQ(a.Nodes[i].Rule, b.Nodes[i].Rule);
    EXPECT_EQ(a.Nodes[i].Name, b.Nodes[i].Name);
    EXPECT_EQ(a.Nodes[i].Ptr1, b.Nodes[i].Ptr1);
    EXPECT_EQ(a.Nodes[i].Ptr2, b.Nodes[i].Ptr2);
  }
  // Typed brackets stay in the token list and carry the inner node.
  ParserState c = Parse("((x))");
  ASSERT_EQ(c.ParseErr, "");
  EXPECT_EQ(c.Tokens.size(), 8u);
  EXPECT_EQ(c.Tokens[1].DPtr, 1);
  EXPECT_EQ(c.Tokens[2].DPtr, 1);
}

TEST(Parser, LayoutFactsTheRulesRelyOn) {
  // k distinct names in a comma list: k atoms, then k - 1 tuples, root last.
  for (const char* text : {"a,b,c,d", "(a,b,c,d)"}) {
    ParserState P = Parse(text);
    ASSERT_EQ(P.ParseErr, "");
    ASSERT_EQ(P.Nodes.size(), 8u);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(P.Nodes[static_cast<size_t>(i)].Rule, kAtom);
    for (int i = 5; i <= 7; ++i) EXPECT_EQ(P.Nodes[static_cast<size_t>(i)].Rule, kNtuple);
  }
  // In a leading prefix of quantifiers the k-th is node last - k + 1.
  ParserState P = Parse("ALL(a):EXIST(b):ALL(c):[R(a,b) | c=a]");
  ASSERT_EQ(P.ParseErr, "");
  const size_t last = P.Nodes.size() - 1;
  EXPECT_EQ(P.Nodes[last].Rule, kALL);
  EXPECT_EQ(P.Nodes[last - 1].Rule, kEXIST);
  EXPECT_EQ(P.Nodes[last - 2].Rule, kALL);
  EXPECT_EQ(P.Nodes[P.Nodes[last - 1].Ptr1].Name, "b");
}

TEST(Parser, KindTablesAreFilledByEveryParse) {
  ParserState P = Parse("x");
  EXPECT_EQ(P.NodeKindNames[1], "Atom");
  EXPECT_EQ(P.NodeKindNames[29], "Complement");
  EXPECT_EQ(P.OpSymbol[17], "|");
  EXPECT_EQ(P.OpSymbol[22], "@");
  EXPECT_EQ(P.OpSymbol[27], "&&");
  EXPECT_EQ(P.OpSymbol[28], "||");
  EXPECT_EQ(P.OpSymbol[29], "`");
  EXPECT_EQ(P.OpPriority[8], 99);
  EXPECT_EQ(P.OpPriority[19], 20);
  EXPECT_EQ(P.OpPriority[20], 16);
  EXPECT_EQ(P.OpPriority[22], 15);
  EXPECT_EQ(P.OpSymbol[0], "");
  EXPECT_EQ(P.OpSymbol[30], "");
  // Also on a failed parse.
  ParserState Q = Parse("");
  EXPECT_EQ(Q.OpSymbol[20], "ALL");
}

TEST(Parser, KindClasses) {
  EXPECT_TRUE(IsAlgebraicTermKind(kFunc));
  EXPECT_FALSE(IsAlgebraicTermKind(kNtuple));
  EXPECT_TRUE(IsAlgebraicKind(kNtuple));
  EXPECT_TRUE(IsLogicalKind(kPred));
  EXPECT_TRUE(IsLogicalKind(kElt));
  EXPECT_FALSE(IsLogicalKind(kSUM));
  EXPECT_TRUE(IsSingleTermKind(kSUM));
  EXPECT_TRUE(IsSingleTermKind(kComplement));
  EXPECT_TRUE(IsSingleTermKind(kFunc));
  EXPECT_FALSE(IsSingleTermKind(kNtuple));
  EXPECT_FALSE(IsSingleTermKind(kElt));
  EXPECT_FALSE(IsSingleTermKind(0));
  EXPECT_FALSE(IsLogicalKind(0));
}

struct ErrCase {
  const char* text;
  const char* err;
  int pos;
};

class ParserErrors : public ::testing::TestWithParam<ErrCase> {};

TEST_P(ParserErrors, MessageAndPosition) {
  const ErrCase& c = GetParam();
  ParserState P = Parse(c.text);
  EXPECT_EQ(P.ParseErr, c.err) << c.text;
  EXPECT_EQ(P.ParseErrPos, c.pos) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    EveryMessage, ParserErrors,
    ::testing::Values(
        ErrCase{"_P", "1. Expecting algebraic expression or n-tuple after _", 1},
        ErrCase{"_(:)", "25. Expected algebraic expression", 0},
        ErrCase{"ALL(x):x", "3. Invalid expression on RHS of ALL", 1},
        ErrCase{"EXIST(x):f(x)", "3. Invalid expression on RHS of EXIST", 1},
        ErrCase{"ALL(x):EXIST(x):P(x)", "4. Variable x already quantified within its scope.", 1},
        ErrCase{"ALL(P):P", "5. Expecting variable", 1},
        ErrCase{"ALL(x,y):P(x,y)", "5. Expecting variable", 1},
        ErrCase{"ALL(f(x)):P", "5. Expecting variable", 1},
        ErrCase{"ALL(3):P", "", 0},  // a numeral is a name too
        ErrCase{"(x + y z)", "7. Expecting binary operator", 0},
        ErrCase{"(x `y)", "7. Expecting binary operator", 4},
        ErrCase{"x + y => P", "11. Expecting logical expression before =>", 7},
        ErrCase{"x + y = z => P", "", 0},
        ErrCase{"x + P", "12. Expecting algebraic expression after +", 3},
        ErrCase{"P + x", "10. Expecting algebracic expression before +", 3},
        ErrCase{"P < x", "10. Expecting algebracic expression before <", 3},
        ErrCase{"P , x", "10. Expecting algebraic expression before ,", 3},
        ErrCase{"a,(b,c)", "12. Expecting algebraic expression after ,", 2},
        ErrCase{"a,b@s", "10. Expecting algebraic expression before <epsilon>", 4},
        ErrCase{"[a,b]@s", "10. Expecting algebraic expression before <epsilon>", 6},
        ErrCase{"(a,b)@S", "12. Expecting algebraic expression after <epsilon>", 6},
        ErrCase{"(a,b)@s", "", 0},
        ErrCase{"x = (a,b)", "12. Expecting algebraic expression after =", 3},
        ErrCase{"(a,b) = c", "11. Expecting algebraic expression before = ", 7},
        ErrCase{"x < y < z", "10. Expecting algebracic expression before <", 7},
        ErrCase{"P & x", "12. Expecting logical expression after &&", 3},
        ErrCase{"x & P", "11. Expecting logical expression before &&", 3},
        ErrCase{"P => x", "12. Expecting logical expression after =>", 3},
        ErrCase{"~&P", "14. Expecting logical expression on RHS of ~", 1},
        ErrCase{"~", "15. Expecting logical expression on RHS of ~", 1},
        ErrCase{"P & ~", "15. Expecting logical expression on RHS of ~", 5},
        ErrCase{"ALL", "15. Invalid expression on RHS of quantifier", 1},
        ErrCase{"ALL(x)", "15. Invalid expression on RHS of quantifier", 1},
        ErrCase{"f(P)", "16. Expecting algebraic expression after f", 1},
        ErrCase{"G(x, Q)", "12. Expecting algebraic expression after ,", 4},
        ErrCase{"G(x=y)", "16. Expecting algebraic expression after G", 1},
        ErrCase{"", "17. No expression found.", 0},
        ErrCase{"  ", "17. No expression found.", 0},
        ErrCase{"P & Q.", "18. Illegal character .", 6},
        ErrCase{"\n", "19. Expecting expression", 0},
        ErrCase{"(P", "20. Unmatched bracket(s)", 1},
        ErrCase{"~(x)", "21. Expecting logicial expression after ~", 1},
        ErrCase{"~(:)", "25. Expected algebraic expression", 0},
        ErrCase{"x y", "23. Expecting expression. May be a missing operator.", 0},
        ErrCase{"A && B", "23. Expecting expression. May be a missing operator.", 0},
        ErrCase{"A || B", "23. Expecting expression. May be a missing operator.", 0},
        ErrCase{"SUM(i,1,n):f(i)", "23. Expecting expression. May be a missing operator.", 0},
        ErrCase{"f(x)(y)", "23. Expecting expression. May be a missing operator.", 0},
        ErrCase{"()", "24. Empty brackets. Expecting expression.", 1},
        ErrCase{"P & (  )", "24. Empty brackets. Expecting expression.", 5},
        ErrCase{"(:)", "25. Expected algebraic expression", 0},
        ErrCase{":", "26. Expecting expression.", 0},
        ErrCase{"ALL(x):P(x) & Q(x)", "27. Inconsistent usage of variable x", 5},
        ErrCase{"P(y) & EXIST(y):Q(y)", "27. Inconsistent usage of variable y", 3},
        ErrCase{"~-x", "28. Invalid expression on LHS of -", 2},
        ErrCase{"-x", "29. No expression on LHS of -", 1},
        ErrCase{"=> P", "29. No expression on LHS of =>", 1},
        ErrCase{"x+-y", "30. Invalid expression on RHS of +", 2},
        ErrCase{"_-x", "30. Invalid expression on RHS of _", 1},
        ErrCase{"x@&", "30. Invalid expression on RHS of <epsilon>", 2},
        ErrCase{"x+", "31. No expression on RHS of +", 2},
        ErrCase{"x@", "31. No expression on RHS of <epsilon>", 2}));

// Messages 2, 8 and 22 need an operand group without a node, which the passes
// never leave behind; builder_test.cpp drives the builders directly for them.

TEST(Parser, QuantifierWithoutTypedBracketsIsRefused) {
  struct {
    const char* text;
    const char* err;
  } cases[] = {
      {"ALL x:P", "5. Expecting variable"},
      {"ALL x:P(x)", "5. Expecting variable"},
      {"EXIST x: x = x", "5. Expecting variable"},
      {"ALL :P", "5. Expecting variable"},
      {"ALL f(x):P", "5. Expecting variable"},
      {"ALL(x)~P", "15. Invalid expression on RHS of quantifier"},
      {"ALL(x)~P(x)", "15. Invalid expression on RHS of quantifier"},
      {"ALL(x) P(x)", "15. Invalid expression on RHS of quantifier"},
      {"ALL(x)(P(x))", "15. Invalid expression on RHS of quantifier"},
      {"(ALL)", "15. Invalid expression on RHS of quantifier"},
      // Only ":" separates the variable from the body; "`" and "&&" are no
      // operators of the language and must not pass for it.
      {"ALL(x)`P(x)", "15. Invalid expression on RHS of quantifier"},
      {"ALL(x)&&P(x)", "15. Invalid expression on RHS of quantifier"},
      {"EXIST(x)||P(x)", "15. Invalid expression on RHS of quantifier"},
  };
  for (const auto& c : cases) {
    ParserState P = Parse(c.text);
    EXPECT_EQ(P.ParseErr, c.err) << c.text;
    EXPECT_EQ(P.ParseErrPos, c.text[0] == '(' ? 2 : 1) << c.text;
  }
}

TEST(Parser, OversizedInputEndsWithUnableToParse) {
  // Past 32,767 characters.
  std::string text = "P";
  while (text.size() <= 32767) text += " & P";
  ParserState P = Parse(text);
  EXPECT_EQ(P.ParseErr, "Unable to parse expression");
  EXPECT_EQ(P.ParseErrPos, 0);
  // Within the characters but past 32,767 tokens once the names are wrapped.
  std::string many = "a";
  for (int i = 0; i < 8000; ++i) many += "+a";
  P = Parse(many);
  EXPECT_EQ(P.ParseErr, "Unable to parse expression");
  // Just inside the limits the same shape parses.
  std::string fits = "a";
  for (int i = 0; i < 2000; ++i) fits += "+a";
  P = Parse(fits);
  EXPECT_EQ(P.ParseErr, "");
}

TEST(Parser, CrossingBracketsAreNeverAccepted) {
  for (const char* text : {"([a)]", "[(a])", "([P) & (Q])", "(ALL[x):P(x)]", "([x)+(y])"}) {
    ParserState P = Parse(text);
    EXPECT_NE(P.ParseErr, "") << text;
  }
}

TEST(Parser, ParseReplacesTheEarlierResult) {
  ParserState P = Parse("ALL(x):P(x)");
  P.ExprText = "x y";
  ParseExpr(P);
  EXPECT_NE(P.ParseErr, "");
  P.ExprText = "Q";
  ParseExpr(P);
  EXPECT_EQ(P.ParseErr, "");
  EXPECT_EQ(P.ParseErrPos, 0);
  EXPECT_EQ(P.Nodes.size(), 2u);
  EXPECT_EQ(P.Tokens.size(), 4u);
}

}  // namespace
}  // namespace qv
