// Helpers shared by the files library's own sources.
#pragma once

#include <string>

#include "document/state.h"
#include "platform/host.h"

namespace qv {

inline void FilesBeep(AppState& S) {
  if (S.host) S.host->Beep();
}

inline void FilesMessage(AppState& S, const std::string& Text) {
  if (S.host) S.host->MessageBox(Text, "WARNING", MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace qv
