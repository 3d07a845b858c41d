// Menu items, toolbar buttons and keys run commands by name ("optSplit",
// "cmdConclusion", ...). Each part of the program registers the commands it
// owns; the main window only looks them up, so a command can also be run
// from a test without a window.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace qv {

class CommandRegistry {
 public:
  using Command = std::function<void()>;
  void Add(const std::string& name, Command cmd) { cmds_[name] = std::move(cmd); }
  bool Has(const std::string& name) const { return cmds_.count(name) != 0; }
  // Runs the command; false when no command has that name.
  bool Run(const std::string& name) const {
    auto it = cmds_.find(name);
    if (it == cmds_.end()) return false;
    it->second();
    return true;
  }

 private:
  std::map<std::string, Command> cmds_;
};

}  // namespace qv
