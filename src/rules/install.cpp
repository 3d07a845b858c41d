#include "rules/install.h"

namespace qv {

void InstallRulesForms(AppState&, CommandRegistry&, QWidget*) {}

}  // namespace qv
