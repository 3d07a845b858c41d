// The " a b " variable lists and where a statement's line number stands.
#include <string>

#include "doc_fixture.h"

namespace qv {
namespace {

TEST(VarList, InListFindsWholeNamesOnly) {
  EXPECT_TRUE(InList(" a ", "a"));
  EXPECT_TRUE(InList(" x y z ", "x"));
  EXPECT_TRUE(InList(" x y z ", "y"));
  EXPECT_TRUE(InList(" x y z ", "z"));
  // A name inside a longer one, or a longer name around a listed one.
  EXPECT_FALSE(InList(" ab ", "a"));
  EXPECT_FALSE(InList(" ab ", "b"));
  EXPECT_FALSE(InList(" ba ab ", "a"));
  EXPECT_TRUE(InList(" ab a ", "a"));
  EXPECT_FALSE(InList(" a ", "ab"));
  // Without the blanks around it a name is not listed.
  EXPECT_FALSE(InList("a", "a"));
  EXPECT_FALSE(InList(" a", "a"));
  EXPECT_FALSE(InList("a ", "a"));
  EXPECT_FALSE(InList("", "a"));
  EXPECT_FALSE(InList(" ", ""));
  EXPECT_FALSE(InList("  ", ""));
}

TEST(VarList, NamesInListOrder) {
  EXPECT_EQ(VarListNames(" x y2 z "), (std::vector<std::string>{"x", "y2", "z"}));
  EXPECT_EQ(VarListNames("  x   y"), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(VarListNames("").empty());
  EXPECT_TRUE(VarListNames("   ").empty());
}

class NumberAreaTest : public DocTest {
 protected:
  // The view's text from 1-based view position From up to, not including, To.
  std::string ViewText(int32_t From, int32_t To) const {
    return view.Text().substr(static_cast<size_t>(From - 1), static_cast<size_t>(To - From));
  }
};

// Read off the proof text and the view, not recomputed the way the function
// does it: the number's digits, the TABs before them and the TAB after.
TEST_F(NumberAreaTest, NumberAfterCommentAndIndentInTextAndView) {
  for (int i = 1; i <= 10; ++i) Put(i == 1 ? "P" : "Q" + std::to_string(i), kRuleAxiom);
  AddComment(10, "A comment\r\non two lines");
  Indent(10, 10);
  Indent(10, 10);
  S.Doc.Stmts[3].Visible = false;
  RecomputeViewPositions(S.Doc);
  ResetFonts(S);
  Check();

  const std::string& T = S.Doc.ProofText;
  for (int k : {1, 2, 10}) {
    const StmtRec& s = Line(k);
    const NumberArea a = LineNumberArea(s);
    const std::string digits = std::to_string(k);
    EXPECT_EQ(T.substr(a.Number - 1, digits.size()), digits) << k;
    EXPECT_EQ(T.substr(a.Number - 1 + digits.size(), 1), "\t") << k;
    EXPECT_EQ(a.End, s.StartStmt) << k;
    EXPECT_EQ(a.ToView, s.ViewerStartLine - s.StartLine) << k;
    EXPECT_EQ(ViewText(a.Number + a.ToView, a.End + a.ToView), digits + "\t") << k;
  }
  const NumberArea plain = LineNumberArea(Line(2));
  EXPECT_EQ(plain.Line, Line(2).StartLine);
  EXPECT_EQ(plain.Number, plain.Line);

  // Line 10: its line starts after the comment and a blank line, then two TABs.
  const NumberArea a = LineNumberArea(Line(10));
  EXPECT_EQ(T.substr(Line(10).StartLine - 1, a.Line - Line(10).StartLine),
            "A comment\r\non two lines\r\n\r\n");
  EXPECT_EQ(T.substr(a.Line - 1, a.Number - a.Line), "\t\t");
  EXPECT_EQ(ViewText(a.Line + a.ToView, a.End + a.ToView), "\t\t10\t");
  // Line 3 is hidden, so line 10 sits earlier in the view than in the text.
  EXPECT_LT(a.ToView, 0);

  EXPECT_EQ(Digits(0), 1);
  EXPECT_EQ(Digits(9), 1);
  EXPECT_EQ(Digits(10), 2);
  EXPECT_EQ(Digits(32767), 5);
}

}  // namespace
}  // namespace qv
