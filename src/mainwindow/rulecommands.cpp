#include "mainwindow/rulecommands.h"

namespace qv {

void RegisterRuleCommands(AppState&, CommandRegistry&) {}

}  // namespace qv
