// Clicks in the proof view: the dispatch to the pending rule, the default
// click, the double click on a line number, and the two deletion modes.
#pragma once

#include "document/state.h"
#include "view/view.h"

namespace qv {

void RTB_Click(AppState& S);

// The operation a click runs while RuleMode holds a code: a one-click
// operation, or a two-click rule that takes FirstClickPending. Codes without
// an entry of their own get the default click (ToggleConclusion).
struct ClickRoute {
  int mode = 0;
  void (*click)(AppState&) = nullptr;
  void (*twoClick)(AppState&, bool&) = nullptr;
};
ClickRoute ClickRouteFor(int RuleMode);
void RTB_DblClick(AppState& S);
void DelAllSubsequent_Click(AppState& S);
void DeleteAllRef_Click(AppState& S);

}  // namespace qv
