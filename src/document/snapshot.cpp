// The one-level undo snapshot, taken before every change of the proof.
#include "document/document.h"

namespace qv {

void BackUpUndo(AppState& S) {
  S.Ui.ProofChanged = true;
  // The first statement of an empty proof is not undoable.
  if (S.Doc.StmtCount < 1) return;
  S.Undo.Stmts = S.Doc.Stmts;
  S.Undo.StmtCount = S.Doc.StmtCount;
  S.Undo.ProofText = S.Doc.ProofText;
  S.Undo.InsertLine = S.Doc.InsertLine;
  S.Undo.Valid = true;
  if (S.host) {
    S.host->SetControlEnabled("optUndo", true);
    S.host->SetControlEnabled("cmdUndo", true);
    S.host->SetControlEnabled("optRedo", false);
    S.host->SetControlEnabled("cmdRedo", false);
  }
}

}  // namespace qv
