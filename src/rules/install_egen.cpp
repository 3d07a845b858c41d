#include "rules/install.h"

namespace qv {

// No dialog of its own yet.
void InstallEGenForms(AppState&, CommandRegistry&, QWidget*) {}

}  // namespace qv
