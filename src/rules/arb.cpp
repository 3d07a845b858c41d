// Arb Or, Arb Ante and Arb Cons: any active statement is clicked, and the
// entry window asks for the expression that the new disjunction or
// implication adds; the window builds and puts the statement itself.
#include <string>

#include "view/view.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/rules.h"
#include "entry/testparser.h"

namespace qv {
namespace {

void OpenArbitrary(AppState& S, OnParseError OnError, const std::string& Title) {
  const int n = ClickedCitedStatement(S, OnError);
  if (n == 0) return;
  SaveParse(S);
  ClearStatus(S);
  EntryWindowOf(S).EntryCaption = Title + ", Line " + std::to_string(n) + ":  Enter a logical expression";
  if (S.host) S.host->ShowModal("TestParser");
  // Whether the window put a statement or was cancelled, the rule is over.
  S.Doc.RuleMode = 0;
}

}  // namespace

void ArbOr(AppState& S) {
  OpenArbitrary(S, OnParseError::End,
                EntryWindowOf(S).ArbOrLeft ? "Arbitrary OR (Insert Left) Rule" : "Arbitrary OR (Insert Right) Rule");
}

void ArbAnte(AppState& S) { OpenArbitrary(S, OnParseError::Keep, "Arbitrary Antecedent Rule"); }

void ArbCons(AppState& S) { OpenArbitrary(S, OnParseError::Keep, "Arbitrary Consequent Rule"); }

}  // namespace qv
