#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/expr.h"

namespace qv {
namespace {

struct Tokenized {
  std::vector<TokenRec> toks;
  std::string err;
  int16_t pos = -1;
};

Tokenized Tokenize(const std::string& text) {
  Tokenized t;
  TokenizeExpr(text, t.toks, t.err, t.pos);
  return t;
}

std::vector<std::string> TokenTexts(const std::string& text) {
  Tokenized t = Tokenize(text);
  EXPECT_EQ(t.err, "") << text;
  std::vector<std::string> out;
  for (size_t i = 1; i < t.toks.size(); ++i) out.push_back(t.toks[i].Token);
  return out;
}

using Strings = std::vector<std::string>;

TEST(Tokenizer, KeywordsInAnyAcceptedSpellingBecomeCapitals) {
  const Strings expected = {"ALL", "(", "x", ")", ":", "P", "(", "x", ")"};
  EXPECT_EQ(TokenTexts("all(x):P(x)"), expected);
  EXPECT_EQ(TokenTexts("All(x):P(x)"), expected);
  EXPECT_EQ(TokenTexts("ALL(x):P(x)"), expected);
  EXPECT_EQ(TokenTexts("exist"), Strings{"EXIST"});
  EXPECT_EQ(TokenTexts("Exist"), Strings{"EXIST"});
  // Only the exact words are keywords.
  EXPECT_EQ(TokenTexts("ALLx"), Strings{"ALLx"});
  EXPECT_EQ(TokenTexts("aLL"), Strings{"aLL"});
  EXPECT_EQ(TokenTexts("alL"), Strings{"alL"});
}

TEST(Tokenizer, IdentifierCharacters) {
  EXPECT_EQ(TokenTexts("x1'#"), Strings{"x1'#"});
  EXPECT_EQ(TokenTexts("12ab"), Strings{"12ab"});
  EXPECT_EQ(TokenTexts("X'1y"), Strings{"X'1y"});
  // "#" continues only lower-case names.
  Tokenized t = Tokenize("X#");
  EXPECT_EQ(t.err, "18. Illegal character #");
  EXPECT_EQ(t.pos, 2);
  ASSERT_EQ(t.toks.size(), 2u);
  EXPECT_EQ(t.toks[1].Token, "X");
}

TEST(Tokenizer, MultiCharacterOperatorsTakeTheLongestMatch) {
  EXPECT_EQ(TokenTexts("a<>b"), (Strings{"a", "<", ">", "b"}));
  EXPECT_EQ(TokenTexts("a=<b"), (Strings{"a", "=", "<", "b"}));
  EXPECT_EQ(TokenTexts("<==>"), (Strings{"<=", "=>"}));
  EXPECT_EQ(TokenTexts("a<=>b"), (Strings{"a", "<=>", "b"}));
  EXPECT_EQ(TokenTexts("a>=b=>c"), (Strings{"a", ">=", "b", "=>", "c"}));
  EXPECT_EQ(TokenTexts("&&&"), (Strings{"&&", "&"}));
  EXPECT_EQ(TokenTexts("|||"), (Strings{"||", "|"}));
  EXPECT_EQ(TokenTexts("()[]+-*/^_,~`:@"),
            (Strings{"(", ")", "[", "]", "+", "-", "*", "/", "^", "_", ",", "~", "`", ":", "@"}));
}

TEST(Tokenizer, PositionsCountSkippedWhiteSpace) {
  Tokenized t = Tokenize("  x\t+\r\ny");
  ASSERT_EQ(t.err, "");
  ASSERT_EQ(t.toks.size(), 4u);
  EXPECT_EQ(t.toks[1].Position, 3);
  EXPECT_EQ(t.toks[2].Position, 5);
  EXPECT_EQ(t.toks[3].Position, 8);
  for (const TokenRec& r : t.toks) {
    EXPECT_EQ(r.DPtr, 0);
    EXPECT_FALSE(r.Bound);
  }
  // The dummy element stays in front.
  EXPECT_EQ(t.toks[0].Token, "");
  EXPECT_EQ(t.toks[0].Position, 0);
}

TEST(Tokenizer, EmptyAndIllegalTexts) {
  Tokenized t = Tokenize("   ");
  EXPECT_EQ(t.err, "17. No expression found.");
  EXPECT_EQ(t.pos, 0);
  EXPECT_EQ(Tokenize("").err, "17. No expression found.");
  // Only blanks count as empty; other white space reaches the scan.
  t = Tokenize("\t\t");
  EXPECT_EQ(t.err, "19. Expecting expression");
  EXPECT_EQ(t.pos, 0);
  for (const char* bad : {"a.b", "a!b", "a{b", "a\\b", "a\"b", "a\xe9" "b"}) {
    t = Tokenize(bad);
    EXPECT_EQ(t.err, std::string("18. Illegal character ") + bad[1]) << bad;
    EXPECT_EQ(t.pos, 2) << bad;
  }
}

TEST(Tokenizer, BracketsArePairedByKind) {
  Tokenized t = Tokenize("(a[b]c)");
  ASSERT_EQ(t.err, "");
  EXPECT_EQ(t.toks[1].TPtr, 7);
  EXPECT_EQ(t.toks[7].TPtr, 1);
  EXPECT_EQ(t.toks[3].TPtr, 5);
  EXPECT_EQ(t.toks[5].TPtr, 3);
  EXPECT_EQ(t.toks[2].TPtr, 0);
  // Round and square pairs do not see each other, so crossing is accepted here.
  EXPECT_EQ(Tokenize("([)]").err, "");
}

TEST(Tokenizer, UnmatchedBracketsReportTheFirstOne) {
  Tokenized t = Tokenize("(a");
  EXPECT_EQ(t.err, "20. Unmatched bracket(s)");
  EXPECT_EQ(t.pos, 1);
  t = Tokenize("a)");
  EXPECT_EQ(t.err, "20. Unmatched bracket(s)");
  EXPECT_EQ(t.pos, 2);
  EXPECT_EQ(Tokenize("(()").pos, 1);
  EXPECT_EQ(Tokenize("x [ (y) ").pos, 3);
}

TEST(Tokenizer, AddTokenAppendsAFreshRecord) {
  std::vector<TokenRec> toks{TokenRec{}};
  AddToken("x", 4, toks);
  ASSERT_EQ(toks.size(), 2u);
  EXPECT_EQ(toks[1].Token, "x");
  EXPECT_EQ(toks[1].Position, 4);
  EXPECT_EQ(toks[1].TPtr, 0);
  toks.resize(kMaxTableIndex + 1);
  EXPECT_THROW(AddToken("y", 1, toks), std::length_error);
}

TEST(Tokenizer, TextsBeyondSixteenBitPositionsAreRefusedNotWrapped) {
  Tokenized t = Tokenize(std::string(40000, ' ') + "x");
  EXPECT_EQ(t.err, "Unable to parse expression");
  EXPECT_EQ(t.pos, 0);
  // A text of exactly 32,767 characters still has addressable positions.
  t = Tokenize(std::string(32766, ' ') + "x");
  EXPECT_EQ(t.err, "");
  EXPECT_EQ(t.toks[1].Position, 32767);
}

}  // namespace
}  // namespace qv
