// Creates this library's windows, registers each with the host under its
// name (Host::ShowModal) and registers the commands it owns.
#pragma once

class QWidget;

namespace qv {
struct AppState;
class CommandRegistry;

void InstallFilesForms(AppState& S, CommandRegistry& commands, QWidget* owner);

}  // namespace qv
