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
void SubsetRule(AppState& S) { NotBuilt(S); }
void SubstituteRule(AppState& S, bool&) { NotBuilt(S); }
void Cases(AppState& S, bool&) { NotBuilt(S); }

}  // namespace qv
