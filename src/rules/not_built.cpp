// Rules that are not built yet: a click beeps and ends the pending rule.
// Each rule's own source file replaces its entry here.
#include "document/document.h"
#include "platform/host.h"
#include "rules/inputbox.h"
#include "rules/rules.h"

namespace qv {
namespace {
void NotBuilt(AppState& S) {
  if (S.host) S.host->Beep();
  S.Doc.RuleMode = 0;
  ClearStatus(S);
}
}  // namespace

// The schemata of order n are not built yet: the input box refuses them.
InputBoxOutcome SchemaContinue(AppState& S) {
  if (S.host) S.host->Beep();
  S.Ui.InputBox.Label2 = "Unable to process request";
  return InputBoxOutcome{};
}

void ExistGenSelect(AppState& S) { NotBuilt(S); }
void QuantSwitch(AppState& S) { NotBuilt(S); }
void RemDNeg(AppState& S) { NotBuilt(S); }
void IffSplit(AppState& S) { NotBuilt(S); }
void SubsetRule(AppState& S) { NotBuilt(S); }
void ImplyAnd(AppState& S) { NotBuilt(S); }
void Contrapositive(AppState& S) { NotBuilt(S); }
void DeMorgan(AppState& S) { NotBuilt(S); }
void ArbOr(AppState& S) { NotBuilt(S); }
void ArbAnte(AppState& S) { NotBuilt(S); }
void ArbCons(AppState& S) { NotBuilt(S); }
void SubstituteRule(AppState& S, bool&) { NotBuilt(S); }
void SymmetryRule(AppState& S) { NotBuilt(S); }
void ImplyOr(AppState& S) { NotBuilt(S); }
void Cases(AppState& S, bool&) { NotBuilt(S); }

}  // namespace qv
