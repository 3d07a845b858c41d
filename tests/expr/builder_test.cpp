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

// Runs one pass on w's token table through a chain and writes it back.
template <typename PassFn>
void OnChain(Work& w, PassFn pass) {
  TokenChain c(std::move(w.toks));
  pass(c);
  std::move(c).WriteTo(w.toks);
}

// Tokenises and wraps the names, as the parser's first pass does.
Work Atoms(const std::string& text) {
  Work w;
  TokenizeExpr(text, w.toks, w.err, w.pos);
  EXPECT_EQ(w.err, "");
  OnChain(w, [&](TokenChain& c) { BracketAtoms(c, w.nodes); });
  return w;
}

void Applications(Work& w) {
  OnChain(w, [](TokenChain& c) { BracketApplications(c); });
}

void BinaryOps(Work& w, const std::string& op1, int kind1, const std::string& op2, int kind2,
               bool leftToRight) {
  OnChain(w, [&](TokenChain& c) {
    BracketBinaryOps(c, op1, kind1, op2, kind2, leftToRight, w.err, w.pos);
  });
}

void PrefixOps(Work& w) {
  OnChain(w, [&](TokenChain& c) { BracketPrefixOps("ALL", "EXIST", "~", c, w.err, w.pos); });
}

std::string Joined(const std::vector<TokenRec>& toks) {
  std::string s;
  for (size_t i = 1; i < toks.size(); ++i) s += toks[i].Token + " ";
  return s;
}

TEST(Passes, WrapRenumbersEveryPartner) {
  Work w;
  TokenizeExpr("(a)+[b]", w.toks, w.err, w.pos);
  TokenChain c(w.toks);
  // Ids are the indexes of the table the chain was made from.
  const auto [open, close] = c.Wrap(1, 7);
  EXPECT_EQ(c.First(), open);
  EXPECT_EQ(c.Last(), close);
  EXPECT_EQ(c.Size(), 9);
  // A wrap of one token inside the first one, and one around all of it.
  c.Wrap(6, 6);
  c.Wrap(open, close);
  EXPECT_THROW(c.Wrap(0, 2), ParseFault);
  EXPECT_THROW(c.Wrap(1, 99), ParseFault);
  EXPECT_EQ(c.Size(), 13);
  std::move(c).WriteTo(w.toks);
  EXPECT_EQ(Joined(w.toks), "( ( ( a ) + [ ( b ) ] ) ) ");
  const int tptr[] = {0, 13, 12, 5, 0, 3, 0, 11, 10, 0, 8, 7, 2, 1};
  const int position[] = {0, 0, 0, 1, 2, 3, 4, 5, 0, 6, 0, 7, 0, 0};
  ASSERT_EQ(w.toks.size(), 14u);
  for (int i = 1; i <= 13; ++i) {
    EXPECT_EQ(w.toks[static_cast<size_t>(i)].TPtr, tptr[i]) << i;
    EXPECT_EQ(w.toks[static_cast<size_t>(i)].Position, position[i]) << i;
  }
}

TEST(Passes, WrapRefusesToPassTheTableLimit) {
  std::vector<TokenRec> toks(1);
  for (int i = 1; i <= kMaxTableIndex - 2; ++i) AddToken("x", static_cast<int16_t>(i), toks);
  TokenChain c(std::move(toks));
  c.Wrap(1, 1);  // exactly 32,767 tokens
  EXPECT_EQ(c.Size(), kMaxTableIndex);
  EXPECT_THROW(c.Wrap(1, 1), ParseFault);
  EXPECT_EQ(c.Size(), kMaxTableIndex);
  std::move(c).WriteTo(toks);
  EXPECT_EQ(toks.size(), static_cast<size_t>(kMaxTableIndex) + 1);
  EXPECT_EQ(toks[1].Token, "(");
  EXPECT_EQ(toks[1].TPtr, 3);
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

  // Twelve names, more than a few, then each again in reverse order.
  std::string text;
  for (int i = 0; i < 12; ++i) text += "v" + std::to_string(i) + " + ";
  for (int i = 11; i >= 0; --i) text += "v" + std::to_string(i) + (i > 0 ? " + " : "");
  Work many = Atoms(text);
  ASSERT_EQ(many.nodes.size(), 13u);
  for (int g = 0; g < 24; ++g)  // group g: "(" name ")" then "+"
    EXPECT_EQ(many.toks[static_cast<size_t>(4 * g + 1)].DPtr, g < 12 ? g + 1 : 24 - g) << g;
}

TEST(Passes, OnlyATypedRoundBracketMakesAnApplication) {
  Work w = Atoms("f(x)");
  Applications(w);
  EXPECT_EQ(Joined(w.toks), "( ( f ) ( ( x ) ) ) ");
  w = Atoms("f[x]");
  Applications(w);
  EXPECT_EQ(Joined(w.toks), "( f ) [ ( x ) ] ");
  w = Atoms("f x");
  Applications(w);
  EXPECT_EQ(Joined(w.toks), "( f ) ( x ) ");
}

TEST(Passes, BinaryPassDirections) {
  Work w = Atoms("a-b-c");
  BinaryOps(w, "+", kOpInfix, "-", kOpInfix, true);
  EXPECT_EQ(Joined(w.toks), "( ( ( a ) - ( b ) ) - ( c ) ) ");
  w = Atoms("__a");
  BinaryOps(w, "_", kOpPrefix, "", kOpUnused, false);
  EXPECT_EQ(Joined(w.toks), "( _ ( _ ( a ) ) ) ");
  EXPECT_EQ(w.err, "");
}

TEST(Builders, OperandGroupsWithoutNodes) {
  // The typed group around x has no node until the node loop passes x's node
  // out through it; a builder called before that sees an empty operand.
  Work w = Atoms("_(x)");
  BinaryOps(w, "_", kOpPrefix, "", kOpUnused, false);
  ASSERT_EQ(Joined(w.toks), "( _ ( ( x ) ) ) ");
  BuildNegNode(8, w.toks, w.nodes, w.err, w.pos);
  EXPECT_EQ(w.err, "2. Expecting algebraic expression after _");
  EXPECT_EQ(w.pos, 1);
  EXPECT_EQ(w.nodes.size(), 2u);

  w = Atoms("~(P)");
  PrefixOps(w);
  BuildNotNode(8, w.toks, w.nodes, w.err, w.pos);
  EXPECT_EQ(w.err, "22. Expecting logical expression after ~");
  EXPECT_EQ(w.pos, 1);

  w = Atoms("P & (Q)");
  BinaryOps(w, "&", kOpInfix, "", kOpUnused, true);
  ASSERT_EQ(Joined(w.toks), "( ( P ) & ( ( Q ) ) ) ");
  BuildBinaryNode(11, w.toks, w.nodes, w.err, w.pos);
  EXPECT_EQ(w.err, "8. Expecting expression on both sides of &&");
  EXPECT_EQ(w.pos, 3);
}

TEST(Builders, SuccessfulBuilderLabelsBothBracketsOfItsGroup) {
  Work w = Atoms("x ^ y");
  BinaryOps(w, "^", kOpInfix, "", kOpUnused, true);
  BuildBinaryNode(9, w.toks, w.nodes, w.err, w.pos);
  ASSERT_EQ(w.err, "");
  ASSERT_EQ(w.nodes.size(), 4u);
  EXPECT_EQ(w.nodes[3].Rule, kExpo);
  EXPECT_EQ(w.toks[1].DPtr, 3);
  EXPECT_EQ(w.toks[9].DPtr, 3);
}

}  // namespace
}  // namespace qv
