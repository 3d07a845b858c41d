// The commands that start a rule or open the entry window first.
#pragma once

namespace qv {
struct AppState;
class CommandRegistry;

// Registers every rule-starting command under its menu item's name (and its
// toolbar button's), the entry-window commands and the two deletion modes.
void RegisterRuleCommands(AppState& S, CommandRegistry& commands);

// The commands that ask for a statement in the entry window first.
void optPremise_Click(AppState& S);
void optOrNot_Click(AppState& S);
void optReflexivity_Click(AppState& S);

}  // namespace qv
