// The commands that start a rule or open the entry window first.
#pragma once

namespace qv {
struct AppState;
class CommandRegistry;

void RegisterRuleCommands(AppState& S, CommandRegistry& commands);

}  // namespace qv
