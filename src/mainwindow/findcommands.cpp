// The Edit menu's Find and Find Next commands.
#include <memory>

#include "mainwindow/find.h"
#include "platform/commands.h"

namespace qv {

void RegisterFindCommands(AppState& S, CommandRegistry& commands, QWidget* owner) {
  AppState* s = &S;
  auto find = std::make_shared<FindState>();
  commands.Add("optFind", FindWindowOpener(S, find, owner));
  commands.Add("optRepeatFind", [s, find] { optRepeatFind_Click(*s, *find); });
}

}  // namespace qv
