// Creates this library's windows, registers each with the host under its
// name (Host::ShowModal) and registers the commands it owns.
#pragma once

class QWidget;

namespace qv {
struct AppState;
class CommandRegistry;

void InstallRulesForms(AppState& S, CommandRegistry& commands, QWidget* owner);

// The E Gen and Substitute rules' own dialogs (called by InstallRulesForms).
void InstallEGenForms(AppState& S, CommandRegistry& commands, QWidget* owner);
void InstallSubstituteForms(AppState& S, CommandRegistry& commands, QWidget* owner);

}  // namespace qv
