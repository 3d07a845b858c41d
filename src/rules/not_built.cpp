// The common end of a rule that is not built yet: a beep, and the pending
// rule ends. Each such rule has a one-line stub file of its own, which its
// real source file replaces.
#include "document/document.h"
#include "platform/host.h"
#include "rules/rules.h"

namespace qv {

void NotBuiltRule(AppState& S) {
  if (S.host) S.host->Beep();
  S.Doc.RuleMode = 0;
  ClearStatus(S);
}

}  // namespace qv
