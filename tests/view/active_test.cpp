#include <gtest/gtest.h>

#include "document/doc_fixture.h"

namespace qv {
namespace {

class ActiveTest : public DocTest {
 protected:
  int LineAtCaret() {
    int line = -1;
    std::string text = "unchanged";
    GetActiveStmt(S, line, text);
    if (line == 0) {
      EXPECT_EQ(text, "unchanged");
    }
    return line;
  }
  // The token text under the caret, "" when none.
  std::string TokenAtCaret(int* LineOut = nullptr) {
    int line = 0, tok = 0;
    SelectToken(S, line, tok);
    if (LineOut) *LineOut = line;
    return tok > 0 ? S.Parser.Tokens[tok].Token : "";
  }
};

TEST_F(ActiveTest, ClickOnCommentNumberFormulaRuleTextAndPastTheEnd) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  Put("C", kRuleAxiom);
  Put("x=y+1", kRuleAxiom);
  AddComment(4, "Prove: x");
  const StmtRec& s = Line(4);

  CaretAt(4, s.StartLine);  // the comment
  EXPECT_EQ(LineAtCaret(), 4);
  int line = 0;
  EXPECT_EQ(TokenAtCaret(&line), "");
  EXPECT_EQ(line, 4);

  CaretAt(4, s.EndUserComment + 5);  // the number
  EXPECT_EQ(LineAtCaret(), 4);
  EXPECT_EQ(TokenAtCaret(), "");

  CaretAt(4, s.StartStmt + 1);  // between x and =
  EXPECT_EQ(TokenAtCaret(), "=");
  CaretAt(4, s.StartStmt + 2);  // on y
  EXPECT_EQ(TokenAtCaret(), "y");

  CaretAt(4, s.StartRule);  // the rule text gives the line but no token
  EXPECT_EQ(LineAtCaret(), 4);
  EXPECT_EQ(TokenAtCaret(), "");

  CaretAt(4, s.EndRule);  // just before the last character of the rule text
  EXPECT_EQ(LineAtCaret(), 4);
  CaretAt(4, s.EndRule + 1);  // just after it
  EXPECT_EQ(LineAtCaret(), 0);
  CaretAt(3, Line(3).EndRule + 2);  // the blank lines between blocks
  EXPECT_EQ(LineAtCaret(), 0);
  view.SetSelStart(view.TextLength());  // past the end
  EXPECT_EQ(LineAtCaret(), 0);
}

TEST_F(ActiveTest, InsertLineAndClosedSubProofsLimitTheActiveLines) {
  Put("A", kRuleAxiom);      // 1
  Put("x=x");                // 2 premise
  Put("x=x", kRuleSplit, 2); // 3
  Close(2, "x=x => x=x");    // 4
  Put("B", kRuleAxiom);      // 5
  Put("C", kRuleAxiom);      // 6

  CaretAt(2, Line(2).StartStmt);
  EXPECT_EQ(LineAtCaret(), 0);
  CaretAt(3, Line(3).StartStmt);
  EXPECT_EQ(LineAtCaret(), 0);
  CaretAt(4, Line(4).StartStmt);
  EXPECT_EQ(LineAtCaret(), 4);
  CaretAt(6, Line(6).StartStmt);
  EXPECT_EQ(LineAtCaret(), 6);

  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 5;
  CaretAt(5, Line(5).StartStmt);
  EXPECT_EQ(LineAtCaret(), 0);
  CaretAt(6, Line(6).StartStmt);
  EXPECT_EQ(LineAtCaret(), 0);
  CaretAt(4, Line(4).StartStmt);
  EXPECT_EQ(LineAtCaret(), 4);
}

TEST_F(ActiveTest, HiddenLinesAreNotActive) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  Put("C", kRuleAxiom);
  S.Doc.Stmts[2].Visible = false;
  RecomputeViewPositions(S.Doc);
  ResetFonts(S);
  Check();
  // The view now runs from line 1 straight into line 3.
  CaretAt(3, Line(3).StartStmt);
  EXPECT_EQ(LineAtCaret(), 3);
  CaretAt(1, Line(1).StartStmt);
  EXPECT_EQ(LineAtCaret(), 1);
}

TEST_F(ActiveTest, TwoLineFormulaTokensWithAndWithoutTabs) {
  Put("P(x)\r\n& Q(x)", kRuleAxiom);
  ASSERT_EQ(Formula(1), "P(x)\r\n\t& Q(x)");
  const StmtRec& s = Line(1);

  int line = 0;
  std::string text;
  GetActiveStmt(S, line, text);  // caret still after the rule text: nothing
  CaretAt(1, s.StartStmt);
  GetActiveStmt(S, line, text);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(text, "P(x)\r\n& Q(x)");
  FindStmtAtCaret(S, line, text);
  EXPECT_EQ(text, "P(x)\r\n\t& Q(x)");

  // SelectToken: the clicked "Q"; positions then refer to the text without TAB.
  CaretAt(1, s.StartStmt + 9);
  EXPECT_EQ(TokenAtCaret(), "Q");
  EXPECT_EQ(S.Parser.ExprText, "P(x)\r\n& Q(x)");
  int tok = 0;
  SelectToken(S, line, tok);
  EXPECT_EQ(S.Parser.Tokens[tok].Position, 9);

  // SelectTokenRange ending inside a token keeps the TAB and its positions.
  int first = 0, last = 0;
  CaretAt(1, s.StartStmt, 4);  // "P(x)"
  SelectTokenRange(S, line, first, last);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(S.Parser.Tokens[first].Token, "P");
  EXPECT_EQ(S.Parser.Tokens[last].Token, ")");
  EXPECT_EQ(S.Parser.ExprText, "P(x)\r\n\t& Q(x)");
  // Nothing selected: one token.
  CaretAt(1, s.StartStmt + 9);
  SelectTokenRange(S, line, first, last);
  EXPECT_EQ(first, last);
  // A selection that ends past the formula takes the last token, without TABs.
  CaretAt(1, s.StartStmt + 9, 10);
  SelectTokenRange(S, line, first, last);
  EXPECT_EQ(S.Parser.Tokens[first].Token, "Q");
  EXPECT_EQ(S.Parser.Tokens[last].Token, ")");
  EXPECT_EQ(S.Parser.ExprText, "P(x)\r\n& Q(x)");
}

TEST_F(ActiveTest, DamagedSubProofLinksDoNotHangTheSearch) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  Put("C", kRuleAxiom);
  S.Doc.Stmts[2].Rule = kRulePremise;
  S.Doc.Stmts[2].Arg1 = 1;  // "closed" by a line above it
  CaretAt(3, Line(3).StartStmt);
  EXPECT_EQ(LineAtCaret(), 3);
  S.Doc.Stmts[2].Arg1 = 2;  // by itself
  EXPECT_EQ(LineAtCaret(), 3);
}

}  // namespace
}  // namespace qv
