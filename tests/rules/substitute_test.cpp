// The Substitute rule: choosing the sides of the equation, refusing
// statements where a replacement would capture a variable, and the
// Substitution dialog's replacements, Reset, Continue and Cancel.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "rules/rules_fixture.h"
#include "rules/substitute.h"
#include "view/view.h"
#include "mainwindow/maincommands.h"

namespace qv {
namespace {

class SubstituteTest : public RulesTest {
 protected:
  // Puts the caret on the character Offset (0-based) of line k's formula.
  void ClickAt(int k, int Offset) {
    const StmtRec& s = S.Doc.Stmts[k];
    view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + Offset);
  }
  void ClickOn(int k, const std::string& Text) {
    const size_t at = Formula(k).find(Text);
    ASSERT_NE(at, std::string::npos) << Formula(k);
    ClickAt(k, static_cast<int>(at));
  }
  void Rule() { SubstituteRule(S, MainWindowOf(S).FirstClickPending); }

  // The equation's side under Side is chosen on line Eq, then line Stmt is
  // clicked; the dialog runs Script on its box when it opens.
  void Substitute(int Eq, const std::string& Side, int Stmt,
                  std::function<void(MemRichBox&)> Script) {
    host.OnModal(kSubstitutionForm, [this, Script]() {
      ++shown;
      Substitution_Activate(S, box);
      Script(box);
    });
    Arm(kRuleSubstitute);
    ClickOn(Eq, Side);
    Rule();
    Click(Stmt);
    Rule();
  }
  // Clicks the box on the first character of the Nth (0-based) Text in it.
  bool BoxClick(const std::string& Text, int Nth = 0) {
    size_t at = box.Text().find(Text);
    for (int i = 0; i < Nth && at != std::string::npos; ++i) at = box.Text().find(Text, at + 1);
    EXPECT_NE(at, std::string::npos) << box.Text();
    box.SetSelStart(static_cast<int32_t>(at));
    return Substitution_Click(S, box);
  }
  bool Highlighted(const std::string& Text) {
    const size_t at = box.Text().find(Text);
    if (at == std::string::npos) return false;
    return box.FormatAt(static_cast<int32_t>(at)).color == RgbOf(0, 0, 255);
  }

  MemRichBox box;
  int shown = 0;
};

TEST_F(SubstituteTest, FirstClickChoosesTheSourceSide) {
  Put("x = a+b");
  Put("y = f(x)");
  Put("P(x) & Q(x)");
  const SubstitutionState& st = SubstOf(S);

  Arm(kRuleSubstitute);
  ClickOn(1, "b");
  Rule();
  EXPECT_FALSE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(st.SubstSource, "(a+b)");
  EXPECT_EQ(st.SubstTarget, "x");
  EXPECT_EQ(S.Doc.RuleArg1, 1);
  EXPECT_EQ(Status(), "Subst:  Click any active statement with TARGET Expression, 'x'");

  Arm(kRuleSubstitute);
  ClickOn(1, "x");
  Rule();
  EXPECT_EQ(st.SubstSource, "x");
  EXPECT_EQ(st.SubstTarget, "a+b");

  // The "=" itself takes the left side; an application needs no brackets.
  Arm(kRuleSubstitute);
  ClickOn(1, "=");
  Rule();
  EXPECT_EQ(st.SubstSource, "x");
  Arm(kRuleSubstitute);
  ClickOn(2, "f");
  Rule();
  EXPECT_EQ(st.SubstSource, "f(x)");
  EXPECT_EQ(st.SubstTarget, "y");

  // Not an equation: a beep, and the rule still waits for the equation.
  Arm(kRuleSubstitute);
  const int beeps = host.beeps;
  ClickOn(3, "P");
  Rule();
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(S.Doc.RuleMode, kRuleSubstitute);
}

TEST_F(SubstituteTest, SelectAllThenContinuePutsTheStatementCitingBothLines) {
  Put("x = y+1");
  Put("x < x*x & P(x)");
  Substitute(1, "y", 2, [this](MemRichBox& b) {
    EXPECT_EQ(SubstOf(S).Caption, "Substitute '(y+1)', Line 2");
    EXPECT_TRUE(Highlighted("x"));
    EXPECT_FALSE(SubstOf(S).ContinueEnabled);
    Substitution_SelectAll(S, b);
    EXPECT_FALSE(SubstOf(S).SelectAllEnabled);
    EXPECT_TRUE(SubstOf(S).ContinueEnabled);
    EXPECT_EQ(b.Text(), "(y+1)<(y+1)*(y+1) & P((y+1))");
    EXPECT_TRUE(Substitution_Continue(S, b));
  });
  EXPECT_EQ(shown, 1);
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "y+1<(y+1)*(y+1) & P(y+1)");
  EXPECT_EQ(S.Doc.Stmts[3].Rule, kRuleSubstitute);
  EXPECT_EQ(S.Doc.Stmts[3].Arg1, 1);
  EXPECT_EQ(S.Doc.Stmts[3].Arg2, 2);
  EXPECT_EQ(S.Doc.RuleMode, 0);

  // One undo removes it again.
  EXPECT_EQ(S.Undo.StmtCount, 2);
}

TEST_F(SubstituteTest, ClickReplacesOneOccurrenceAndResetBringsTheStatementBack) {
  Put("a+b = c");
  Put("P(a+b) & a+b < a+b+c");
  Substitute(1, "c", 2, [this](MemRichBox& b) {
    const std::string first = b.Text();
    // Beside every occurrence: a beep, nothing changes, Reset is offered.
    const int beeps = host.beeps;
    EXPECT_FALSE(BoxClick("&"));
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(b.Text(), first);
    EXPECT_TRUE(SubstOf(S).ResetEnabled);
    EXPECT_FALSE(SubstOf(S).ContinueEnabled);

    EXPECT_TRUE(BoxClick("a+b", 1));
    EXPECT_EQ(b.Text(), "P(a+b) & c<a+b+c");
    EXPECT_TRUE(SubstOf(S).ContinueEnabled);

    Substitution_Reset(S, b);
    EXPECT_EQ(b.Text(), first);
    EXPECT_TRUE(Highlighted("a+b"));
    EXPECT_FALSE(SubstOf(S).ContinueEnabled);
    EXPECT_FALSE(SubstOf(S).ResetEnabled);

    // (a+b)+c holds a+b as its left operand, so it is replaced as well.
    Substitution_SelectAll(S, b);
    EXPECT_EQ(b.Text(), "P(c) & c<c+c");
    Substitution_Cancel(S);
  });
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(SubstituteTest, SecondClickNeedsAnOccurrence) {
  Put("x = y");
  Put("P(z)");
  Put("ALL(a):[a@s => P(x)]");
  Arm(kRuleSubstitute);
  ClickOn(1, "y");
  Rule();
  // No occurrence at all: a beep, and the rule waits for another statement.
  const int beeps = host.beeps;
  Click(2);
  Rule();
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(S.Doc.RuleMode, kRuleSubstitute);
  EXPECT_FALSE(MainWindowOf(S).FirstClickPending);

  // Inside a quantifier that binds none of its variables x is free.
  host.OnModal(kSubstitutionForm, [this]() {
    ++shown;
    Substitution_Activate(S, box);
    Substitution_SelectAll(S, box);
    EXPECT_TRUE(Substitution_Continue(S, box));
  });
  Click(3);
  Rule();
  EXPECT_EQ(shown, 1);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(4), "ALL(a):[a @ s => P(y)]");
}

TEST_F(SubstituteTest, NoVariableOfTheEquationIsCaptured) {
  // The statement binds a, which is free in the equation: putting a+1 in
  // under ALL(a) would change what it says.
  Put("y = a+1");
  Put("y@s & ALL(a):[a@s => y@s]");
  Arm(kRuleSubstitute);
  ClickOn(1, "a");
  Rule();
  const int beeps = host.beeps;
  Click(2);
  Rule();
  EXPECT_GT(host.beeps, beeps);
  // The parser's own message, without the "PARSER ERROR: " prefix.
  EXPECT_EQ(StatusText(S), "27. Inconsistent usage of variable a");
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(SubstituteTest, ContinueThatCannotPutLeavesProofAndUndoAlone) {
  Put("x = y");
  Put("P(x)");
  Put("Q(x)");
  const std::string before = S.Doc.ProofText;
  const UndoSnapshot undo = S.Undo;
  Substitute(1, "y", 3, [this](MemRichBox& b) {
    // Continue before any replacement does nothing.
    EXPECT_FALSE(Substitution_Continue(S, b));
    Substitution_SelectAll(S, b);
    // A text that does not parse stays in the dialog with the parser's message.
    b.SetText("Q((y)");
    const int beeps = host.beeps;
    EXPECT_FALSE(Substitution_Continue(S, b));
    EXPECT_EQ(host.beeps, beeps + 1);
    EXPECT_EQ(SubstOf(S).StatusLine.rfind("PARSER ERROR: ", 0), 0u);
    Substitution_Cancel(S);
  });
  EXPECT_EQ(S.Doc.ProofText, before);
  EXPECT_EQ(S.Undo.StmtCount, undo.StmtCount);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(SubstituteTest, TheEquationsOwnLineAndAnEquationGoneBeforeTheSecondClick) {
  Put("x = y");
  Substitute(1, "y", 1, [this](MemRichBox& b) {
    EXPECT_TRUE(BoxClick("x"));
    EXPECT_TRUE(Substitution_Continue(S, b));
  });
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "y=y");
  EXPECT_EQ(S.Doc.Stmts[2].Arg1, 1);
  EXPECT_EQ(S.Doc.Stmts[2].Arg2, 1);

  // The equation's line changed between the clicks (an undo, say): the
  // second click must not cite a line that no longer says what was clicked.
  Reset();
  Put("x = z");
  Put("P(x)");
  const DocState other = S.Doc;
  Reset();
  Put("x = y");
  Put("P(x)");
  Arm(kRuleSubstitute);
  ClickOn(1, "y");
  Rule();
  S.Doc = other;
  ResetFonts(S);
  const int beeps = host.beeps;
  Click(2);
  Rule();
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

}  // namespace
}  // namespace qv
