// The starters that ask for a name before a statement is made: Spec (U Spec
// through the entry window, E Spec through the input box), U Gen and the SUM
// and PROD definitions. The dialog they open puts the statement.
#include <string>

#include "view/view.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/inputbox.h"
#include "rules/rules.h"
#include "entry/testparser.h"

namespace qv {

void Spec(AppState& S) {
  const int n = ClickedCitedStatement(S, OnParseError::KeepSilent);
  if (n == 0) return;
  const std::vector<NodeRec>& nodes = S.Parser.Nodes;
  const int root = LastIndex(nodes);
  const int kind = root >= 1 ? nodes[root].Rule : 0;
  if (kind != kALL && kind != kEXIST) {
    Beep(S);
    return;
  }
  const int var = nodes[root].Ptr1;
  if (var < 1 || var >= root) throw RuleFailure("quantifier without variable");
  InputBoxOf(S).SpecVar = nodes[var].Name;
  ClearStatus(S);
  SaveParse(S);
  if (kind == kALL) {
    S.Doc.RuleMode = kRuleUSpec;
    // The entry window records PendingNewVar with the statement; a name left
    // from an earlier E Spec must not be recorded as introduced here.
    S.Doc.PendingNewVar.clear();
    EntryWindowOf(S).EntryCaption = "U Spec Rule, Line " + std::to_string(n) +
                        ": Enter a free variable expression in active statement";
    EntryWindowOf(S).EntryHint = "Use only previously introduced free variable expresion";
    if (S.host) S.host->ShowModal("TestParser");
  } else {
    S.Doc.RuleMode = kRuleESpec;
    InputBoxOf(S).Caption = " E Spec Rule: Line " + std::to_string(n);
    InputBoxOf(S).Label1 = "Enter the name of a new free variable:";
    InputBoxOf(S).Label2 = "";
    ShowInputBox(S);
  }
  S.Doc.RuleMode = 0;
}

void UnivGen(AppState& S) {
  int n = 0;
  int t = 0;
  SelectToken(S, n, t);
  if (n == 0 || t == 0) {
    Beep(S);
    return;
  }
  const std::string v = S.Parser.Tokens[t].Token;
  const StmtRec& s = S.Doc.Stmts[n];
  if (!InList(s.FreeVars, v) || InList(s.ScopedVars, v)) {
    Beep(S);
    return;
  }
  InputBoxOf(S).UGenVar = v;
  SaveParse(S);
  ClearStatus(S);
  InputBoxOf(S).Caption = " U Gen Rule: Line " + std::to_string(n) + ", '" + v + "'";
  InputBoxOf(S).Label1 = "Enter bound variable:";
  InputBoxOf(S).Label2 = "";
  S.Doc.RuleArg1 = n;
  S.Doc.RuleArg2 = 0;
  ShowInputBox(S);
  S.Doc.RuleMode = 0;
}

void SumProd(AppState& S) {
  const int n = ClickedCitedStatement(S, OnParseError::Keep);
  if (n == 0) return;

  // The shape ALL(a):[a@n => T@n].
  const std::vector<NodeRec>& nodes = S.Parser.Nodes;
  const int root = LastIndex(nodes);
  auto shapeOk = [&]() {
    if (root < 5 || nodes[root].Rule != kALL || nodes[root].Ptr1 != 1) return false;
    int first = 1;
    while (first <= root && nodes[first].Rule == kAtom) ++first;
    if (first > root || nodes[first].Rule != kElt || nodes[first].Ptr1 != 1 ||
        nodes[first].Ptr2 != 2)
      return false;
    if (nodes[2].Rule != kAtom || nodes[2].Name != "n") return false;
    if (nodes[root - 1].Rule != kImply) return false;
    const int cons = nodes[root - 1].Ptr2;
    return cons >= 1 && cons < root && nodes[cons].Rule == kElt && nodes[cons].Ptr2 == 2;
  };
  if (!shapeOk()) {
    Beep(S);
    return;
  }
  InputBoxOf(S).SpecVar = nodes[1].Name;
  ClearStatus(S);
  SaveParse(S);
  InputBoxOf(S).Caption =
      (S.Doc.RuleMode == kRuleSum ? "SUM Rule, Line " : "PROD Rule, Line ") + std::to_string(n);
  InputBoxOf(S).Label1 = "Enter the name of two bound variables separated by a comma:";
  InputBoxOf(S).Label2 = "";
  ShowInputBox(S);
  S.Doc.RuleMode = 0;
}

}  // namespace qv
