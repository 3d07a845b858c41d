// Substitute is not built yet: a click beeps and ends the pending rule.
#include "document/document.h"
#include "platform/host.h"
#include "rules/rules.h"

namespace qv {

void SubstituteRule(AppState& S, bool&) { NotBuiltRule(S); }

}  // namespace qv
