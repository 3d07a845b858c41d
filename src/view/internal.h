// Helpers that the view library's own sources share: the caret and the
// selection of a box. No other library may include this header (the
// layering test refuses it outside src/view; see docs/ARCHITECTURE.md).
#pragma once

#include <cstdint>

#include "document/state.h"
#include "platform/richbox.h"

namespace qv {

// The caret of the view as a 1-based position (1 without a view).
inline int32_t Caret1(const AppState& S) { return S.View ? S.View->SelStart() + 1 : 1; }

// Puts the caret of the view at a 0-based position (at least 0).
inline void SetCaret(AppState& S, int32_t zeroBased) {
  if (S.View) S.View->SetSelStart(zeroBased < 0 ? 0 : zeroBased);
}

// Selects Count characters from the 0-based position Start of Box.
inline void SelectRange(RichBox& Box, int32_t Start, int32_t Count) {
  Box.SetSelStart(Start);
  Box.SetSelLength(Count);
}

}  // namespace qv
