// Clicks in the proof view: the dispatch to the pending rule, the default
// click, the double click on a line number, and the two deletion modes.
#pragma once

#include "document/state.h"

namespace qv {

void RTB_Click(AppState& S);
void RTB_DblClick(AppState& S);
void DelAllSubsequent_Click(AppState& S);
void DeleteAllRef_Click(AppState& S);

}  // namespace qv
