// The commands that arm a rule for the next click in the proof view, the
// commands that ask for a statement in the entry window first (Premise,
// Or Not, Reflexivity), and the two deletion modes of the Edit menu.
#include "mainwindow/rulecommands.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

#include "view/view.h"
#include "platform/commands.h"
#include "mainwindow/dispatch.h"
#include "platform/host.h"
#include "platform/richbox.h"
#include "rules/rules.h"
#include "mainwindow/maincommands.h"
#include "entry/testparser.h"

namespace qv {

namespace {

enum class Extra { None, FirstClick, ArbLeft, ArbRight };

struct Starter {
  const char* name;     // menu item
  const char* button;   // toolbar button running the same command, or nullptr
  int mode;
  const char* prompt;
  Extra extra;
};

const std::vector<Starter>& Starters() {
  static const std::vector<Starter> table = {
      {"optJoin", "cmdJoin", kRuleJoin, "Join:  Click any active statement (1st of 2)...", Extra::FirstClick},
      {"optSplit", "cmdSplit", kRuleSplit, "Split:  Click any active AND (&) statement", Extra::None},
      {"optDNegRemove", nullptr, kRuleRemDNeg,
       "Rem DNeg:  Click on the first ~ of a double negative in an active statement", Extra::None},
      {"optImplies", nullptr, kRuleImplyAnd, "Implies - And:  Click on => or & in any active statement",
       Extra::None},
      {"optImliesOr", nullptr, kRuleImplyOr, "Implies - Or:  Click on => or | in any active statement",
       Extra::None},
      {"optIff", "cmdIff", kRuleIffAnd, "Iff - And:  Click on any <=> or equivalent & in any active statement",
       Extra::None},
      {"optDeMorgan", nullptr, kRuleDeMorgan, "DeMorgan:  Click on '&' or '|' in any active statement",
       Extra::None},
      {"optDetachment", "cmdDetach", kRuleDetach, "Detach: Click on any active IMPLICATION (=>) statement...",
       Extra::FirstClick},
      {"optContrapositive", nullptr, kRuleContra, "Contra:  Click on => in any active statement", Extra::None},
      {"optCases", nullptr, kRuleCases, "Cases: Click any active OR-statement of the form  P1 | P2 | P3 | ...",
       Extra::FirstClick},
      {"optArbAntecedent", nullptr, kRuleArbAnte, "Arb Ante:  Click any active statement", Extra::None},
      {"optArbConsequent", nullptr, kRuleArbCons, "Arb Cons:  Click any active statement", Extra::None},
      {"optArbOrRight", nullptr, kRuleArbOr, "Arb OR (Right):  Click any active statement", Extra::ArbRight},
      {"optArbOrLeft", nullptr, kRuleArbOr, "Arb OR (Left):  Click any active statement", Extra::ArbLeft},
      {"optQuantifierSwitch", nullptr, kRuleQuant, "Quant: Click a quantifier in any active statement",
       Extra::None},
      {"optSpec", "cmdSpecify", kRuleSpec, "Specify:  Click any active quantified statement", Extra::None},
      {"optEGen", "cmdEGen", kRuleEGen,
       "E Gen: Click a free variable or highlight an expression in an active statement", Extra::None},
      {"optRename", nullptr, kRuleRename, "Rename:  Click any active universally quantified statement",
       Extra::None},
      {"optReorder", nullptr, kRuleReorder,
       "Reorder:  Click any active statement beginning with 2 or more universally quantifiers", Extra::None},
      {"optCopyStatement", nullptr, kRuleCopy, "Make Copy:  Click on any active statement", Extra::None},
      {"optSubset", nullptr, kRuleSubset, "Subset:  Click any active SET-statement", Extra::None},
      {"optSymmetry", nullptr, kRuleSym, "Symmetry:  Click = sign in any active statement", Extra::None},
      {"optSubstitution", "cmdSubAllOccurrences", kRuleSubstitute,
       "Subst:  Select SOURCE expression. Click LHS or RHS of in any active EQUALS-statement...",
       Extra::FirstClick},
      {"optToggleHighlight", nullptr, kRuleToggleHighlight,
       "Toggle Highlight:  Click any statement number but that on a Premise", Extra::None},
  };
  return table;
}

void StartRule(AppState& S, const Starter& r) {
  S.Doc.RuleMode = r.mode;
  switch (r.extra) {
    case Extra::FirstClick: MainWindowOf(S).FirstClickPending = true; break;
    case Extra::ArbLeft: EntryWindowOf(S).ArbOrLeft = true; break;
    case Extra::ArbRight: EntryWindowOf(S).ArbOrLeft = false; break;
    case Extra::None: break;
  }
  ShowStatus(S, r.prompt);
  if (S.View) {
    if (S.View->SelLength() > 0) S.View->SetSelLength(0);
    S.View->SetFocus();
  }
}

// Shows the entry window; false when it was abandoned (or could not be shown).
bool RunEntryWindow(AppState& S) {
  S.Parser.ParseErr = "Cancelled";
  if (!S.host || !S.host->ShowModal("TestParser")) {
    S.Parser.ParseErr = "Cancelled";
    return false;
  }
  return S.Parser.ParseErr.empty();
}

}  // namespace

void optPremise_Click(AppState& S) {
  DocState& d = S.Doc;
  try {
    if (d.InsertMode) {
      for (int L = std::max(1, d.InsertLine); L <= d.StmtCount; ++L) {
        if (d.Stmts[L].Rule == kRuleAxiom) {
          Beep(S);
          ShowStatus(S, "Premise Rule: Axiom found on subsequent line. Consider another insertion point.");
          FocusView(S);
          return;
        }
      }
    }
    StartTypedStatement(S, kRulePremise, "Premise Rule: Enter a premise");
    if (RunEntryWindow(S)) {
      BackUpUndo(S);
      PutStmt(S);
    }
    d.RuleMode = 0;
    ClearStatus(S);
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

namespace {

// Or Not and Reflexivity: the entry window builds and adds the statement.
void EntryRule(AppState& S, int mode, const char* caption) {
  DocState& d = S.Doc;
  try {
    d.RuleMode = mode;
    ClearStatus(S);
    EntryWindowOf(S).EntryCaption = caption;
    // Reflex sets its cited lines itself.
    if (mode == kRuleOrNot) {
      d.RuleArg1 = 0;
      d.RuleArg2 = 0;
    }
    RunEntryWindow(S);
    d.RuleMode = 0;
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

}  // namespace

void optOrNot_Click(AppState& S) {
  EntryRule(S, kRuleOrNot, "Arbitrary OR-NOT Rule: Enter a logical expression");
}

void optReflexivity_Click(AppState& S) {
  EntryRule(S, kRuleReflex, "Reflex Rule: Enter free variable expression in active statement");
}

void RegisterRuleCommands(AppState& S, CommandRegistry& commands) {
  AppState* s = &S;
  for (const Starter& r : Starters()) {
    const Starter* row = &r;
    commands.Add(r.name, [s, row] { StartRule(*s, *row); });
    if (r.button) commands.Add(r.button, [s, row] { StartRule(*s, *row); });
  }
  commands.Add("optPremise", [s] { optPremise_Click(*s); });
  commands.Add("cmdPremise", [s] { optPremise_Click(*s); });
  commands.Add("optOrNot", [s] { optOrNot_Click(*s); });
  commands.Add("optReflexivity", [s] { optReflexivity_Click(*s); });
  commands.Add("optConclusion", [s] { optConclusion_Click(*s); });
  commands.Add("cmdConclusion", [s] { optConclusion_Click(*s); });
  commands.Add("DeleteAllRef", [s] { DeleteAllRef_Click(*s); });
  commands.Add("DelAllSubsequent", [s] { DelAllSubsequent_Click(*s); });
}

}  // namespace qv
