// The bracketing passes and node builders driven one by one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/passes.h"

namespace qv {
namespace {

struct Work {
  std::vector<TokenRec> toks;
  std::vector<NodeRec> nodes{NodeRec{}};
  std::string err;
  int16_t pos = 0;
};

// Tokenises and wraps the names, as the parser's first pass does.
Work Atoms(const std::string& text) {
  Work w;
  TokenizeExpr(text, w.toks, w.err, w.pos);
  EXPECT_EQ(w.err, "");
  BracketAtoms(w.toks, w.nodes, w.err);
  return w;
}

std::string Joined(const std::vector<TokenRec>& toks) {
  std::string s;
  for (size_t i = 1; i < toks.size(); ++i) s += toks[i].Token + " ";
  return s;
}

TEST(Passes, WrapRenumbersEveryPartner) {
  Work w;
  TokenizeExpr("(a)+[b]", w.toks, w.err, w.pos);
  WrapTokens(w.toks, 1, 7);
  EXPECT_EQ(Joined(w.toks), "( ( a ) + [ b ] ) ");
  EXPECT_EQ(w.toks[1].TPtr, 9);
  EXPECT_EQ(w.toks[9].TPtr, 1);
  EXPECT_EQ(w.toks[2].TPtr, 4);
  EXPECT_EQ(w.toks[6].TPtr, 8);
  EXPECT_EQ(w.toks[8].TPtr, 6);
  EXPECT_EQ(w.toks[1].Position, 0);
  EXPECT_EQ(w.toks[2].Position, 1);
  EXPECT_THROW(WrapTokens(w.toks, 3, 2), ParseFault);
  EXPECT_THROW(WrapTokens(w.toks, 0, 2), ParseFault);
  EXPECT_THROW(WrapTokens(w.toks, 1, 10), ParseFault);
}

TEST(Passes, AtomsShareOneNodePerName) {
  Work w = Atoms("x + Y * x");
  EXPECT_EQ(Joined(w.toks), "( x ) + ( Y ) * ( x ) ");
  ASSERT_EQ(w.nodes.size(), 3u);
  EXPECT_EQ(w.nodes[1].Name, "x");
  EXPECT_EQ(w.nodes[1].Rule, kAtom);
  EXPECT_EQ(w.nodes[2].Rule, kProp);
  EXPECT_EQ(w.toks[1].DPtr, 1);
  EXPECT_EQ(w.toks[11].DPtr, 1);
  EXPECT_EQ(w.toks[5].DPtr, 2);
}

TEST(Passes, OnlyATypedRoundBracketMakesAnApplication) {
  Work w = Atoms("f(x)");
  BracketApplications(w.toks);
  EXPECT_EQ(Joined(w.toks), "( ( f ) ( ( x ) ) ) ");
  w = Atoms("f[x]");
  BracketApplications(w.toks);
  EXPECT_EQ(Joined(w.toks), "( f ) [ ( x ) ] ");
  w = Atoms("f x");
  BracketApplications(w.toks);
  EXPECT_EQ(Joined(w.toks), "( f ) ( x ) ");
}

TEST(Passes, BinaryPassDirections) {
  Work w = Atoms("a-b-c");
  BracketBinaryOps(w.toks, "+", kOpInfix, "-", kOpInfix, true, w.err, w.pos);
  EXPECT_EQ(Joined(w.toks), "( ( ( a ) - ( b ) ) - ( c ) ) ");
  w = Atoms("__a");
  BracketBinaryOps(w.toks, "_", kOpPrefix, "", kOpUnused, false, w.err, w.pos);
  EXPECT_EQ(Joined(w.toks), "( _ ( _ ( a ) ) ) ");
  EXPECT_EQ(w.err, "");
}

TEST(Builders, OperandGroupsWithoutNodes) {
  // The typed group around x has no node until the node loop passes x's node
  // out through it; a builder called before that sees an empty operand.
  Work w = Atoms("_(x)");
  BracketBinaryOps(w.toks, "_", kOpPrefix, "", kOpUnused, false, w.err, w.pos);
  ASSERT_EQ(Joined(w.toks), "( _ ( ( x ) ) ) ");
  BuildNegNode(8, w.toks, w.nodes, w.err, w.pos);
  EXPECT_EQ(w.err, "2. Expecting algebraic expression after _");
  EXPECT_EQ(w.pos, 1);
  EXPECT_EQ(w.nodes.size(), 2u);

  w = Atoms("~(P)");
  BracketPrefixOps("ALL", "EXIST", "~", w.toks, w.err, w.pos);
  BuildNotNode(8, w.toks, w.nodes, w.err, w.pos);
  EXPECT_EQ(w.err, "22. Expecting logical expression after ~");
  EXPECT_EQ(w.pos, 1);

  w = Atoms("P & (Q)");
  BracketBinaryOps(w.toks, "&", kOpInfix, "", kOpUnused, true, w.err, w.pos);
  ASSERT_EQ(Joined(w.toks), "( ( P ) & ( ( Q ) ) ) ");
  BuildBinaryNode(11, w.toks, w.nodes, w.err, w.pos);
  EXPECT_EQ(w.err, "8. Expecting expression on both sides of &&");
  EXPECT_EQ(w.pos, 3);
}

TEST(Builders, SuccessfulBuilderLabelsBothBracketsOfItsGroup) {
  Work w = Atoms("x ^ y");
  BracketBinaryOps(w.toks, "^", kOpInfix, "", kOpUnused, true, w.err, w.pos);
  BuildBinaryNode(9, w.toks, w.nodes, w.err, w.pos);
  ASSERT_EQ(w.err, "");
  ASSERT_EQ(w.nodes.size(), 4u);
  EXPECT_EQ(w.nodes[3].Rule, kExpo);
  EXPECT_EQ(w.toks[1].DPtr, 3);
  EXPECT_EQ(w.toks[9].DPtr, 3);
}

}  // namespace
}  // namespace qv
