#include "axioms/install.h"

namespace qv {

void InstallAxiomsForms(AppState& S, CommandRegistry& commands, QWidget* owner) {
  InstallAxiomCommands(S, commands, owner);
  InstallSubsetInductionForms(S, commands, owner);
}

}  // namespace qv
