#include "rules/install.h"

namespace qv {

// No dialog of its own yet.
void InstallSubstituteForms(AppState&, CommandRegistry&, QWidget*) {}

}  // namespace qv
