// The Substitute rule's dialog "Substitution": it shows the statement chosen
// by the second click with every replaceable occurrence of the target
// highlighted, and replaces occurrences by the source one click at a time or
// all at once. The logic works on SubstOf(S) and the dialog's statement box;
// the Qt window only wires its controls to these handlers.
#pragma once

#include <string>
#include <vector>

#include "document/state.h"

namespace qv {

class RichBox;

// The Substitute rule: the sides of the clicked equation (the source to put
// in, the target to replace), the equation's text and the target's parse,
// kept from the clicks to the Substitution dialog; and that dialog's
// caption, message line, button states and the highlighted statement as
// first shown (a RichBox snapshot, for Reset).
struct SubstitutionState {
  std::string SubstSource;
  std::string SubstTarget;
  std::string SubstEqStmt;
  std::vector<NodeRec> SubstTargetNodes;
  std::string Caption;
  std::string StatusLine;
  bool ContinueEnabled = false;
  bool ResetEnabled = false;
  bool SelectAllEnabled = true;
  std::string SaveRTB;
};
inline SubstitutionState& SubstOf(AppState& S) { return S.Windows.Get<SubstitutionState>(); }

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
// hides; false keeps it open with the reason in SubstOf(S).StatusLine.
bool Substitution_Continue(AppState& S, RichBox& Box);
// Cancel and Esc: the rule ends with nothing added.
void Substitution_Cancel(AppState& S);

}  // namespace qv
