// Creates the axioms library's windows, registers each with the host under
// its name (Host::ShowModal) and registers the menu commands it owns.
#pragma once

class QWidget;

namespace qv {
struct AppState;
class CommandRegistry;

void InstallAxiomsForms(AppState& S, CommandRegistry& commands, QWidget* owner);

// The axiom, definition, set-axiom and schema commands.
void InstallAxiomCommands(AppState& S, CommandRegistry& commands, QWidget* owner);
// The subset-axiom and induction dialogs.
void InstallSubsetInductionForms(AppState& S, CommandRegistry& commands, QWidget* owner);

}  // namespace qv
