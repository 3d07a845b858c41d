// Rules that are not built yet: a click beeps and ends the pending rule.
// Each rule's own source file replaces its entry here.
#include "document/document.h"
#include "platform/host.h"
#include "rules/rules.h"

namespace qv {
namespace {
void NotBuilt(AppState& S) {
  if (S.host) S.host->Beep();
  S.Doc.RuleMode = 0;
  ClearStatus(S);
}
}  // namespace

void Spec(AppState& S) { NotBuilt(S); }
void ExistGenSelect(AppState& S) { NotBuilt(S); }
void UnivGen(AppState& S) { NotBuilt(S); }
void QuantSwitch(AppState& S) { NotBuilt(S); }
void RemDNeg(AppState& S) { NotBuilt(S); }
void Join(AppState& S, bool&) { NotBuilt(S); }
void Split(AppState& S) { NotBuilt(S); }
void Detach(AppState& S, bool&) { NotBuilt(S); }
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
void SumProd(AppState& S) { NotBuilt(S); }
void Rename(AppState& S) { NotBuilt(S); }
void Reorder(AppState& S) { NotBuilt(S); }
void optConclusion_Click(AppState& S) { NotBuilt(S); }

}  // namespace qv
