#include <gtest/gtest.h>

#include <string>

#include "expr/expr.h"

namespace qv {
namespace {

bool Same(const std::string& a, const std::string& b) {
  ParserState P;
  return SameStmt(P, a, b);
}

TEST(SameStmt, EqualUpToNamesOfBoundVariables) {
  EXPECT_TRUE(Same("ALL(x):P(x)", "ALL(y):P(y)"));
  EXPECT_TRUE(Same("ALL(x):P(x)", "ALL(y):[P(y)]"));
  EXPECT_FALSE(Same("ALL(x):P(x)", "ALL(x):P(y)"));
  EXPECT_FALSE(Same("P(a)", "P(b)"));
  EXPECT_TRUE(Same("ALL(x):ALL(y):R(x,y)", "ALL(y):ALL(x):R(y,x)"));
  EXPECT_FALSE(Same("ALL(x):ALL(y):R(x,y)", "ALL(y):ALL(x):R(x,y)"));
  EXPECT_FALSE(Same("EXIST(x):P(x)", "ALL(x):P(x)"));
  // Sibling quantifiers of one name are numbered apart.
  EXPECT_TRUE(Same("ALL(x):P(x) & ALL(x):Q(x)", "ALL(a):P(a) & ALL(b):Q(b)"));
  EXPECT_TRUE(Same("ALL(x):P(x) & ALL(x):Q(x)", "ALL(a):P(a) & ALL(a):Q(a)"));
}

TEST(SameStmt, BlanksAndRedundantBracketsDoNotMatter) {
  EXPECT_TRUE(Same("P & Q", "(P)&[Q]"));
  EXPECT_TRUE(Same("P&Q", "  P   &  Q "));
  EXPECT_FALSE(Same("P & Q", "Q & P"));
  EXPECT_TRUE(Same("all(x):P(x)", "ALL(z):P(z)"));
  EXPECT_FALSE(Same("P & Q & R", "P & (Q & R)"));
}

TEST(SameStmt, SyntaxErrorsMakeItFalse) {
  EXPECT_FALSE(Same("P &", "P &"));
  EXPECT_FALSE(Same("P", "P &"));
  EXPECT_FALSE(Same("", ""));
}

TEST(SameStmt, FreeNamesThatLookRenamedCannotCollide) {
  EXPECT_FALSE(Same("ALL(x):P(x,v#1)", "ALL(y):P(v#1,y)"));
  EXPECT_TRUE(Same("ALL(x):P(x,v#1)", "ALL(y):P(y,v#1)"));
  EXPECT_FALSE(Same("ALL(x):EXIST(y):R(x,y,v#2)", "ALL(x):EXIST(y):R(x,v#2,y)"));
  EXPECT_FALSE(Same("ALL(x):P(x,v##1,v#1)", "ALL(y):P(v##1,y,v#1)"));
  // A bound variable typed as v#1 is renamed like any other.
  EXPECT_TRUE(Same("ALL(v#1):P(v#1)", "ALL(x):P(x)"));
}

TEST(SameStmt, LeavesTheParseOfTheSecondStatement) {
  ParserState P;
  EXPECT_TRUE(SameStmt(P, "ALL(x):P(x) & Q", "ALL(y):P(y) & Q"));
  EXPECT_EQ(P.ExprText, "ALL(v#1):P(v#1)&Q");
  EXPECT_EQ(P.ParseErr, "");
  EXPECT_EQ(P.Nodes.back().Rule, kLAnd);

  EXPECT_FALSE(SameStmt(P, "P(", "Q"));
  EXPECT_EQ(P.ExprText, "P(");
  EXPECT_EQ(P.ParseErr, "20. Unmatched bracket(s)");

  EXPECT_FALSE(SameStmt(P, "Q", "x y"));
  EXPECT_EQ(P.ExprText, "x y");
  EXPECT_EQ(P.ParseErr, "23. Expecting expression. May be a missing operator.");
}

TEST(SameStmt, ArgumentsMayBeTheSharedTextItself) {
  ParserState P;
  P.ExprText = "ALL(x):P(x)";
  EXPECT_TRUE(SameStmt(P, P.ExprText, P.ExprText));
}

}  // namespace
}  // namespace qv
