// The "Warning" box: a message with Continue and Cancel. The caller puts the
// message in WarningBoxOf(S).Text and reads the answer from S.Ui.DialogCancelled
// (true = the user gave up). Free of Qt.
#pragma once

#include <functional>
#include <string>

#include "document/state.h"

namespace qv {

inline const std::string kWarningCaption = std::string(39, ' ') + "WARNING";

class WarningBox {
 public:
  explicit WarningBox(AppState& S) : S_(S) {}

  std::string Label = "Warning Text";
  std::function<void()> OnHide;

  void Activate();
  void Continue();
  void Cancel();
  // The close box: counts as Cancel.
  void QueryUnload() { S_.Ui.DialogCancelled = true; }
  // Esc cancels; returns true when the key was swallowed.
  bool FormKeyPress(char c);

 private:
  AppState& S_;
};

}  // namespace qv
