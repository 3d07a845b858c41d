// One level of undo and redo: whole-document swaps with the snapshots.
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "view/view.h"
#include "mainwindow/maincommands.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

namespace {

// Replaces the document's statements and text by a snapshot's.
void Restore(AppState& S, const UndoSnapshot& snap) {
  S.Doc.Stmts = snap.Stmts;
  if (S.Doc.Stmts.empty()) S.Doc.Stmts.emplace_back();
  int count = snap.StmtCount;
  if (count < 0 || count > LastIndex(S.Doc.Stmts))
    count = LastIndex(S.Doc.Stmts);
  S.Doc.StmtCount = count;
  S.Doc.ProofText = snap.ProofText;
  RecomputeIntroLen(S.Doc);
}

// Keeps insert mode consistent with the insert line the snapshot was taken with.
void FixInsertLine(AppState& S, int line) {
  if (S.Doc.InsertLine <= 0) return;
  if (line < 1) {
    S.Doc.InsertMode = false;
    S.Doc.InsertLine = 0;
    S.host->SetControlCaption("InsertLineLabel", "");
    S.host->SetControlChecked("optInsert", false);
    S.host->Beep();
    S.host->MessageBox("Insert Mode switched OFF", "WARNING", MsgButtons::Ok, MsgIcon::Warning);
  } else if (line != S.Doc.InsertLine) {
    S.Doc.InsertLine = line;
    S.host->SetControlCaption("InsertLineLabel", "^ " + std::to_string(line));
  }
}

// The caret goes to the end of the view, or in insert mode to the end of the
// visible statement just above the insert line.
void PlaceCaret(AppState& S) {
  RichBox& v = *S.View;
  if (S.Doc.InsertLine < 1) {
    v.SetSelStart(v.TextLength());
    return;
  }
  v.SetSelStart(0);
  int k = std::min(S.Doc.InsertLine - 1, S.Doc.StmtCount);
  while (k >= 1 && !S.Doc.Stmts[k].Visible) --k;
  if (k >= 1) {
    const StmtRec& s = S.Doc.Stmts[k];
    v.SetSelStart(s.EndRule - s.StartLine + s.ViewerStartLine);
  }
}

}  // namespace

void SetUndoEnabled(AppState& S, bool on) {
  S.host->SetControlEnabled("optUndo", on);
  S.host->SetControlEnabled("cmdUndo", on);
}

void SetRedoEnabled(AppState& S, bool on) {
  S.host->SetControlEnabled("optRedo", on);
  S.host->SetControlEnabled("cmdRedo", on);
}

void optUndo_Click(AppState& S) {
  try {
    S.View->SetFocus();
    S.Doc.RuleMode = 0;
    // Without a snapshot there is nothing to go back to: offering Redo then
    // would bring back a state from some earlier proof.
    if (!S.Undo.Valid) throw std::runtime_error("no undo snapshot");
    SetUndoEnabled(S, false);
    SetRedoEnabled(S, true);
    ClearStatus(S);
    // The proof changes places with the Redo snapshot, and the Undo snapshot
    // is copied into the memory the Redo snapshot held: no proof-sized
    // buffer is made or freed. Should the copy fail, the proof goes back.
    std::swap(S.Redo.Stmts, S.Doc.Stmts);
    std::swap(S.Redo.ProofText, S.Doc.ProofText);
    S.Redo.StmtCount = S.Doc.StmtCount;
    S.Redo.InsertLine = S.Doc.InsertLine;
    S.Redo.Valid = true;
    try {
      Restore(S, S.Undo);
    } catch (...) {
      std::swap(S.Redo.Stmts, S.Doc.Stmts);
      std::swap(S.Redo.ProofText, S.Doc.ProofText);
      S.Doc.StmtCount = S.Redo.StmtCount;
      S.Redo.Valid = false;
      SetUndoEnabled(S, true);
      SetRedoEnabled(S, false);
      throw;
    }
    for (int i = 1; i <= S.Doc.StmtCount; ++i) S.Doc.Stmts[i].DeleteFlag = false;
    ResetFonts(S);
    FixInsertLine(S, S.Undo.InsertLine);
    PlaceCaret(S);
  } catch (...) {
    S.host->Beep();
    ShowStatus(S, "Unable to complete Undo");
  }
}

void optRedo_Click(AppState& S) {
  try {
    S.View->SetFocus();
    S.Doc.RuleMode = 0;
    if (!S.Redo.Valid) throw std::runtime_error("no redo snapshot");
    SetUndoEnabled(S, true);
    SetRedoEnabled(S, false);
    ClearStatus(S);
    Restore(S, S.Redo);
    ResetFonts(S);
    FixInsertLine(S, S.Redo.InsertLine);
    PlaceCaret(S);
  } catch (...) {
    S.host->Beep();
    ShowStatus(S, "Unable to complete Redo");
  }
}

}  // namespace qv
