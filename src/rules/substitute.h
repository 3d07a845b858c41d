// The Substitute rule's dialog "Substitution": it shows the statement chosen
// by the second click with every replaceable occurrence of the target
// highlighted, and replaces occurrences by the source one click at a time or
// all at once. The logic works on S.Ui.Subst and the dialog's statement box;
// the Qt window only wires its controls to these handlers.
#pragma once

#include "document/state.h"

namespace qv {

class RichBox;

inline constexpr const char* kSubstitutionForm = "Substitution";

// On every showing: caption, buttons and message, and the statement of line
// RuleArg2 with its occurrences highlighted put into Box.
void Substitution_Activate(AppState& S, RichBox& Box);
// A click in the box: replaces the outermost occurrence under the caret.
// Returns false (after a beep) when the click hits none.
bool Substitution_Click(AppState& S, RichBox& Box);
// Replaces every replaceable occurrence, from the last to the first.
void Substitution_SelectAll(AppState& S, RichBox& Box);
// Brings back the highlighted statement as first shown.
void Substitution_Reset(AppState& S, RichBox& Box);
// Puts the edited statement under one undo snapshot. True when the dialog
// hides; false keeps it open with the reason in S.Ui.Subst.StatusLine.
bool Substitution_Continue(AppState& S, RichBox& Box);
// Cancel and Esc: the rule ends with nothing added.
void Substitution_Cancel(AppState& S);

}  // namespace qv
