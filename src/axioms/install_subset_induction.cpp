#include "axioms/install.h"

namespace qv {

// No subset-axiom or induction dialog yet.
void InstallSubsetInductionForms(AppState&, CommandRegistry&, QWidget*) {}

}  // namespace qv
