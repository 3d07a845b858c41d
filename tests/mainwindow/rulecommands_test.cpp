// The rule-starting commands and the commands that open the entry window.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"
#include "entry/testparser.h"
#include "platform/commands.h"
#include "mainwindow/rulecommands.h"

namespace qv {
namespace {

class RuleCommandsTest : public DocTest {
 protected:
  RuleCommandsTest() : entry(S, entryBox) { RegisterRuleCommands(S, commands); }

  // The entry window answers with `text` and Continue, or with Cancel when
  // text is empty; the window's own logic runs on an in-memory box.
  void Answer(const std::string& text) {
    host.OnModal("TestParser", [this, text] {
      ++shown;
      caption = S.Ui.EntryCaption;
      bool open = true;
      entry.OnHide = [&open] { open = false; };
      entry.Activate();
      hint = entry.StatusLine;
      if (text.empty()) {
        entry.Cancel();
      } else {
        entryBox.SetText(text);
        entry.Continue();
        if (open) entry.Cancel();  // refused: give up
      }
    });
  }

  CommandRegistry commands;
  MemRichBox entryBox;
  TestParser entry;
  int shown = 0;
  std::string caption, hint;
};

TEST_F(RuleCommandsTest, StartersArmTheirRuleAndPrompt) {
  struct Row {
    const char* name;
    int mode;
    const char* prompt;
  };
  const Row rows[] = {
      {"optSplit", 15, "Split:  Click any active AND (&) statement"},
      {"cmdSplit", 15, "Split:  Click any active AND (&) statement"},
      {"optImliesOr", 34, "Implies - Or:  Click on => or | in any active statement"},
      {"optDeMorgan", 21, "DeMorgan:  Click on '&' or '|' in any active statement"},
      {"optCases", 36, "Cases: Click any active OR-statement of the form  P1 | P2 | P3 | ..."},
      {"cmdSpecify", 2, "Specify:  Click any active quantified statement"},
      {"optCopyStatement", 52, "Make Copy:  Click on any active statement"},
      {"optToggleHighlight", 32, "Toggle Highlight:  Click any statement number but that on a Premise"},
      {"cmdSubAllOccurrences", 28,
       "Subst:  Select SOURCE expression. Click LHS or RHS of in any active EQUALS-statement..."},
  };
  for (const Row& r : rows) {
    ASSERT_TRUE(commands.Run(r.name)) << r.name;
    EXPECT_EQ(S.Doc.RuleMode, r.mode) << r.name;
    EXPECT_EQ(StatusText(S), r.prompt) << r.name;
  }
  for (const char* name :
       {"optJoin", "cmdJoin", "optDNegRemove", "optImplies", "optIff", "cmdIff", "optDetachment", "cmdDetach",
        "optContrapositive", "optArbAntecedent", "optArbConsequent", "optArbOrRight", "optArbOrLeft",
        "optQuantifierSwitch", "optSpec", "optEGen", "cmdEGen", "optRename", "optReorder", "optSubset",
        "optSymmetry", "optSubstitution", "optPremise", "cmdPremise", "optOrNot", "optReflexivity",
        "optConclusion", "cmdConclusion", "DeleteAllRef", "DelAllSubsequent"})
    EXPECT_TRUE(commands.Has(name)) << name;
}

TEST_F(RuleCommandsTest, AStarterReplacesAPendingRuleAndDropsTheSelection) {
  PutAxioms(1);
  ResetFonts(S);
  commands.Run("optJoin");
  EXPECT_EQ(S.Doc.RuleMode, 14);
  EXPECT_TRUE(S.Ui.FirstClickPending);
  S.Ui.FirstClickPending = false;  // as after Join's first click
  view.SetSelStart(2);
  view.SetSelLength(2);
  commands.Run("optSplit");
  EXPECT_EQ(S.Doc.RuleMode, 15);
  EXPECT_EQ(view.SelLength(), 0);
  EXPECT_EQ(view.SelStart(), 2);
  commands.Run("optSubstitution");
  EXPECT_TRUE(S.Ui.FirstClickPending);
  commands.Run("optArbOrLeft");
  EXPECT_EQ(S.Doc.RuleMode, 22);
  EXPECT_TRUE(S.Ui.ArbOrLeft);
  commands.Run("optArbOrRight");
  EXPECT_EQ(S.Doc.RuleMode, 22);
  EXPECT_FALSE(S.Ui.ArbOrLeft);
}

TEST_F(RuleCommandsTest, PremiseAddsTheTypedFormulaWithOneSnapshot) {
  PutAxioms(1);
  S.Ui.ProofChanged = false;
  Answer("x=y");
  commands.Run("optPremise");
  EXPECT_EQ(caption, "Premise Rule: Enter a premise");
  EXPECT_EQ(hint, "Suggestion: Use letters a-j for bound variables");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Line(2).Rule, kRulePremise);
  EXPECT_EQ(Formula(2), "x=y");
  EXPECT_TRUE(S.Undo.Valid);
  EXPECT_EQ(S.Undo.StmtCount, 1);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(StatusText(S), "");
  Check();
}

TEST_F(RuleCommandsTest, CancelledPremiseChangesNothing) {
  PutAxioms(1);
  S.Ui.ProofChanged = false;
  const UndoSnapshot undoBefore = S.Undo;
  Answer("");
  commands.Run("cmdPremise");
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(S.Undo.Valid, undoBefore.Valid);
  EXPECT_EQ(S.Undo.ProofText, undoBefore.ProofText);
  EXPECT_EQ(StatusText(S), "");
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(RuleCommandsTest, PremiseInInsertModeRefusesWhenAnAxiomFollows) {
  Put("A");              // 1
  Put("B", kRuleAxiom);  // 2
  Put("C");              // 3
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  S.Doc.RuleMode = kRuleSplit;
  Answer("D");
  commands.Run("optPremise");
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(StatusText(S), "Premise Rule: Axiom found on subsequent line. Consider another insertion point.");
  EXPECT_EQ(S.Doc.RuleMode, kRuleSplit);

  S.Doc.InsertLine = 3;  // the Axiom now stands before the insertion point
  commands.Run("optPremise");
  EXPECT_EQ(shown, 1);
  ASSERT_EQ(S.Doc.StmtCount, 4);
  EXPECT_EQ(Formula(3), "D");
  Check();
}

TEST_F(RuleCommandsTest, OrNotAndReflexivityAreAddedByTheEntryWindow) {
  Put("x=y");
  Answer("P");
  commands.Run("optOrNot");
  EXPECT_EQ(caption, "Arbitrary OR-NOT Rule: Enter a logical expression");
  ASSERT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(Line(2).Rule, kRuleOrNot);
  EXPECT_EQ(S.Doc.RuleMode, 0);

  Answer("x");
  commands.Run("optReflexivity");
  EXPECT_EQ(caption, "Reflex Rule: Enter free variable expression in active statement");
  EXPECT_EQ(hint, "");
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "x=x");
  EXPECT_EQ(Line(3).Rule, kRuleReflex);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  Check();
}

}  // namespace
}  // namespace qv
