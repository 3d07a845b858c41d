// The rule-starting commands and the commands that open the entry window.
#include <gtest/gtest.h>

#include <iterator>

#include "axioms/induction.h"
#include "axioms/install.h"
#include "document/doc_fixture.h"
#include "entry/testparser.h"
#include "mainwindow/dispatch.h"
#include "rules/inputbox.h"
#include "platform/commands.h"
#include "mainwindow/rulecommands.h"
#include "view/view.h"
#include "mainwindow/maincommands.h"

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
      caption = EntryWindowOf(S).EntryCaption;
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
  enum class Sets { Nothing, FirstClick, ArbLeft, ArbRight };
  struct Row {
    const char* name;
    const char* button;  // the toolbar button that runs the same command, or nullptr
    int mode;
    const char* prompt;
    Sets sets;
  };
  // Every rule starter of the menus, in menu order.
  const Row rows[] = {
      {"optJoin", "cmdJoin", 14, "Join:  Click any active statement (1st of 2)...", Sets::FirstClick},
      {"optSplit", "cmdSplit", 15, "Split:  Click any active AND (&) statement", Sets::Nothing},
      {"optDNegRemove", nullptr, 12, "Rem DNeg:  Click on the first ~ of a double negative in an active statement",
       Sets::Nothing},
      {"optImplies", nullptr, 19, "Implies - And:  Click on => or & in any active statement", Sets::Nothing},
      {"optImliesOr", nullptr, 34, "Implies - Or:  Click on => or | in any active statement", Sets::Nothing},
      {"optIff", "cmdIff", 17, "Iff - And:  Click on any <=> or equivalent & in any active statement",
       Sets::Nothing},
      {"optDeMorgan", nullptr, 21, "DeMorgan:  Click on '&' or '|' in any active statement", Sets::Nothing},
      {"optDetachment", "cmdDetach", 16, "Detach: Click on any active IMPLICATION (=>) statement...",
       Sets::FirstClick},
      {"optContrapositive", nullptr, 20, "Contra:  Click on => in any active statement", Sets::Nothing},
      {"optCases", nullptr, 36, "Cases: Click any active OR-statement of the form  P1 | P2 | P3 | ...",
       Sets::FirstClick},
      {"optArbAntecedent", nullptr, 23, "Arb Ante:  Click any active statement", Sets::Nothing},
      {"optArbConsequent", nullptr, 24, "Arb Cons:  Click any active statement", Sets::Nothing},
      {"optArbOrRight", nullptr, 22, "Arb OR (Right):  Click any active statement", Sets::ArbRight},
      {"optArbOrLeft", nullptr, 22, "Arb OR (Left):  Click any active statement", Sets::ArbLeft},
      {"optQuantifierSwitch", nullptr, 11, "Quant: Click a quantifier in any active statement", Sets::Nothing},
      {"optSpec", "cmdSpecify", 2, "Specify:  Click any active quantified statement", Sets::Nothing},
      {"optEGen", "cmdEGen", 5, "E Gen: Click a free variable or highlight an expression in an active statement",
       Sets::Nothing},
      {"optRename", nullptr, 46, "Rename:  Click any active universally quantified statement", Sets::Nothing},
      {"optReorder", nullptr, 47,
       "Reorder:  Click any active statement beginning with 2 or more universally quantifiers", Sets::Nothing},
      {"optCopyStatement", nullptr, 52, "Make Copy:  Click on any active statement", Sets::Nothing},
      {"optSubset", nullptr, 18, "Subset:  Click any active SET-statement", Sets::Nothing},
      {"optSymmetry", nullptr, 31, "Symmetry:  Click = sign in any active statement", Sets::Nothing},
      {"optSubstitution", "cmdSubAllOccurrences", 28,
       "Subst:  Select SOURCE expression. Click LHS or RHS of in any active EQUALS-statement...",
       Sets::FirstClick},
      {"optToggleHighlight", nullptr, 32, "Toggle Highlight:  Click any statement number but that on a Premise",
       Sets::Nothing},
  };
  ASSERT_EQ(std::size(rows), 24u);
  PutAxioms(2);
  const std::string text = S.Doc.ProofText;
  for (const Row& r : rows) {
    for (const char* name : {r.name, r.button}) {
      if (!name) continue;
      // What the starter must leave alone, and the flags it may set given
      // the other value first.
      S.Doc.RuleMode = 0;
      S.Doc.RuleArg1 = 1;
      S.Doc.RuleArg2 = 2;
      S.Doc.PendingNewVar = "q";
      MainWindowOf(S).FirstClickPending = false;
      EntryWindowOf(S).ArbOrLeft = r.sets == Sets::ArbRight;
      ClearStatus(S);
      ASSERT_TRUE(commands.Run(name)) << name;
      EXPECT_EQ(S.Doc.RuleMode, r.mode) << name;
      EXPECT_EQ(StatusText(S), r.prompt) << name;
      EXPECT_EQ(MainWindowOf(S).FirstClickPending, r.sets == Sets::FirstClick) << name;
      if (r.sets == Sets::ArbLeft || r.sets == Sets::ArbRight)
        EXPECT_EQ(EntryWindowOf(S).ArbOrLeft, r.sets == Sets::ArbLeft) << name;
      EXPECT_EQ(S.Doc.RuleArg1, 1) << name;
      EXPECT_EQ(S.Doc.RuleArg2, 2) << name;
      EXPECT_EQ(S.Doc.PendingNewVar, "q") << name;
      EXPECT_FALSE(S.Doc.InsertMode) << name;
      EXPECT_EQ(S.Doc.ProofText, text) << name;
      EXPECT_EQ(S.Doc.StmtCount, 2) << name;
    }
  }
  for (const char* name : {"optPremise", "cmdPremise", "optOrNot", "optReflexivity", "optConclusion",
                           "cmdConclusion", "DeleteAllRef", "DelAllSubsequent"})
    EXPECT_TRUE(commands.Has(name)) << name;
}

TEST_F(RuleCommandsTest, AStarterReplacesAPendingRuleAndDropsTheSelection) {
  PutAxioms(1);
  ResetFonts(S);
  commands.Run("optJoin");
  EXPECT_EQ(S.Doc.RuleMode, 14);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  MainWindowOf(S).FirstClickPending = false;  // as after Join's first click
  view.SetSelStart(2);
  view.SetSelLength(2);
  commands.Run("optSplit");
  EXPECT_EQ(S.Doc.RuleMode, 15);
  EXPECT_EQ(view.SelLength(), 0);
  EXPECT_EQ(view.SelStart(), 2);
  commands.Run("optSubstitution");
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  commands.Run("optArbOrLeft");
  EXPECT_EQ(S.Doc.RuleMode, 22);
  EXPECT_TRUE(EntryWindowOf(S).ArbOrLeft);
  commands.Run("optArbOrRight");
  EXPECT_EQ(S.Doc.RuleMode, 22);
  EXPECT_FALSE(EntryWindowOf(S).ArbOrLeft);
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

// The proof emptied by a deletion keeps its undo snapshot through the next
// statement, whatever road adds it: Undo then brings back the deleted lines
// and Redo the road's own. The roads that need a line to start from (the
// definitions, Induction, Subset and the click rules) add nothing to an
// empty proof, and leave the snapshot as it was too.
TEST_F(RuleCommandsTest, UndoAfterTheFirstStatementOfAnEmptiedProofBringsBackTheDeletedLines) {
  InstallAxiomCommands(S, commands, nullptr);
  commands.Add("optAdd", [this] { optAdd_Click(S); });
  struct Road {
    const char* command;
    const char* typed;  // answer of the entry window or of the input box, or nullptr
    bool click;         // the rule waits for a click in the view
    int added;
  };
  const Road roads[] = {
      {"optPremise", "x=y", false, 1},   {"optAxiom", "P", false, 1},
      {"optOrNot", "P", false, 1},       {"optNumberAxioms", nullptr, false, 7},
      {"optGroupAxioms", nullptr, false, 7}, {"optRingAxioms", nullptr, false, 13},
      {"optPairwiseUnion", nullptr, false, 1}, {"optArbitraryUnion", nullptr, false, 1},
      {"optChoice", nullptr, false, 1},
      {"optCartesianProd", "2", false, 1}, {"optPowerSet", "1", false, 1},
      {"optFunction", "1", false, 1},    {"optSetEquality", "1", false, 1},
      {"optFunctionSpace", "1", false, 1}, {"optSubtraction", nullptr, false, 0},
      {"optAdd", nullptr, false, 0},     {"optSubset", nullptr, true, 0},
      {"optSplit", nullptr, true, 0},    {"optCopyStatement", nullptr, true, 0},
  };
  for (const Road& r : roads) {
    S = AppState{};
    S.Attach(&host, &view, &status, &work);
    for (const char* n : {"optUndo", "cmdUndo", "optRedo", "cmdRedo"}) host.SetControlEnabled(n, false);
    Put("A", kRuleAxiom);
    Put("B", kRuleAxiom);
    const std::string two = S.Doc.ProofText;
    ResetFonts(S);
    ASSERT_TRUE(commands.Run("DelAllSubsequent"));
    view.SetSelStart(Line(1).StartStmt - 1);
    RTB_Click(S);
    ASSERT_EQ(S.Doc.StmtCount, 0) << r.command;
    ASSERT_TRUE(host.ControlEnabled("optUndo")) << r.command;

    const std::string typed = r.typed ? r.typed : "";
    Answer(typed);
    host.OnModal(kInputBoxForm, [this, typed] {
      MyInputBox_Activate(S);
      InputBoxOf(S).Text1 = typed;
      if (!MyInputBox_Continue(S).Hide) MyInputBox_Cancel(S);
    });
    ASSERT_TRUE(commands.Run(r.command)) << r.command;
    if (r.click) {
      view.SetSelStart(0);
      RTB_Click(S);
    }
    ASSERT_EQ(S.Doc.StmtCount, r.added) << r.command << ": " << StatusText(S);
    const std::string added = S.Doc.ProofText;
    EXPECT_TRUE(host.ControlEnabled("optUndo")) << r.command;
    EXPECT_TRUE(host.ControlEnabled("cmdUndo")) << r.command;
    EXPECT_FALSE(host.ControlEnabled("optRedo")) << r.command;

    const int beeps = host.beeps;
    optUndo_Click(S);
    EXPECT_EQ(host.beeps, beeps) << r.command;
    EXPECT_NE(StatusText(S), "Unable to complete Undo") << r.command;
    EXPECT_EQ(S.Doc.StmtCount, 2) << r.command;
    EXPECT_EQ(S.Doc.ProofText, two) << r.command;
    Check();
    optRedo_Click(S);
    EXPECT_EQ(S.Doc.StmtCount, r.added) << r.command;
    EXPECT_EQ(S.Doc.ProofText, added) << r.command;
    host.ClearModalScript("TestParser");
    host.ClearModalScript(kInputBoxForm);
  }
}

}  // namespace
}  // namespace qv
