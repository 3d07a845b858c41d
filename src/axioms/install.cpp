// Installs the axiom library's commands and windows at start-up.
#include "axioms/install.h"

namespace qv {

void InstallAxiomsForms(AppState& S, CommandRegistry& commands, QWidget* owner) {
  InstallAxiomCommands(S, commands, owner);
  InstallSubsetInductionForms(S, commands, owner);
}

}  // namespace qv
