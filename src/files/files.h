// Proof files, settings files, the save-changes prompt and the start-up,
// about and tips windows, as the main window uses them.
#pragma once

#include "document/state.h"

namespace qv {

void SaveChanges(AppState& S);     // shows the save-changes prompt when asked to; sets DialogCancelled
void OpenProofFile(AppState& S);   // picks a file (or the recent one) and opens it
void OpenProof(AppState& S);       // reads ProofFileName into the document
void SaveProof(AppState& S);       // writes the document to ProofFileName
void SaveProofFile(AppState& S);   // SaveProof, recent files, title, ProofChanged
void AddRecentFile(AppState& S);
void LoadRecentFiles(AppState& S);
void LoadFontSize(AppState& S);
void SaveFontSize(AppState& S);

}  // namespace qv
