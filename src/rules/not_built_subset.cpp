// The Subset rule is not built yet: a click beeps and ends the pending rule.
#include "document/document.h"
#include "platform/host.h"
#include "rules/rules.h"

namespace qv {

void SubsetRule(AppState& S) { NotBuiltRule(S); }

}  // namespace qv
