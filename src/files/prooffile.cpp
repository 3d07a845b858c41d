// Saving and opening proof files: the status line and pointer while the
// file is written, the bookkeeping after a successful save or open, and the
// refusal of a file that cannot be read.
#include <exception>

#include "view/view.h"
#include "files/binformat.h"
#include "files/fileio.h"
#include "files/files.h"
#include "files/filesinternal.h"
#include "platform/host.h"

namespace qv {

namespace {

void RestoreStatus(AppState& S, const std::string& kept) {
  if (kept.empty())
    ClearStatus(S);
  else
    ShowStatus(S, kept);
}

void ReportSaveFailure(AppState& S) {
  S.Ui.DialogCancelled = true;
  FilesMessage(S, "Unable to save file");
}

}  // namespace

std::string ProofPathFor(const std::string& Path) {
  const size_t slash = Path.rfind('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = Path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return Path + ".proof";
  return Path.substr(0, dot + 1) + "proof";
}

bool SaveProof(AppState& S) {
  const std::string kept = StatusText(S);
  ShowStatus(S, "Please wait...");
  if (S.host) S.host->SetWaitCursor(true);
  bool ok = false;
  try {
    ok = WriteFileReplacing(S.Ui.ProofFileName, WriteProofBytes(S.Ui.ProofCaption, S.Doc));
  } catch (const std::exception&) {
    ok = false;
  }
  if (S.host) S.host->SetWaitCursor(false);
  RestoreStatus(S, kept);
  if (!ok) ReportSaveFailure(S);
  return ok;
}

void SaveProofFile(AppState& S) {
  try {
    if (!SaveProof(S)) return;
    AddRecentFile(S);
    LoadRecentFiles(S);
    S.Ui.ProofChanged = false;
    SetCaptionTitle(S);
  } catch (const std::exception&) {
    if (S.host) S.host->SetWaitCursor(false);
    ReportSaveFailure(S);
  }
}

void OpenProof(AppState& S) {
  // Whatever the file holds, a pending rule and insert mode end here and the
  // undo snapshots (of the proof now on screen) can no longer be reached.
  if (S.host) {
    S.host->SetControlEnabled("optUndo", false);
    S.host->SetControlEnabled("optRedo", false);
    S.host->SetControlEnabled("cmdUndo", false);
    S.host->SetControlEnabled("cmdRedo", false);
  }
  S.Doc.RuleMode = 0;
  if (S.Doc.InsertMode) {
    S.Doc.InsertMode = false;
    S.Doc.InsertLine = 0;
    if (S.host) {
      S.host->SetControlCaption("InsertLineLabel", "");
      S.host->SetControlChecked("optInsert", false);
    }
  }

  // The file is read and checked whole before anything of the open proof
  // changes, so a damaged or foreign file leaves it as it was. Only the
  // bytes the records need are read, and a count or length the file cannot
  // hold is refused before they are.
  std::string caption;
  DocState read;
  bool ok = false;
  try {
    ReadableFile file;
    if (file.Open(S.Ui.ProofFileName)) {
      ByteReader r(file);
      ok = ReadProofBytes(r, caption, read).empty();
    }
  } catch (const std::exception&) {
    ok = false;
  }
  if (!ok) {
    S.Ui.DialogCancelled = true;
    FilesBeep(S);
    ShowStatus(S, "Open: Unable to open proof file");
    return;
  }

  S.Ui.ProofCaption = std::move(caption);
  SetCaptionTitle(S);
  S.Doc.ProofText = std::move(read.ProofText);
  S.Doc.Stmts = std::move(read.Stmts);
  S.Doc.StmtCount = read.StmtCount;
  S.Doc.IntroLen = read.IntroLen;
  // The snapshots belong to the proof just replaced; never restore them into this one.
  S.Undo.Valid = false;
  S.Redo.Valid = false;
  ResetFonts(S);
  AddRecentFile(S);
  LoadRecentFiles(S);
  S.Ui.ProofChanged = false;
}

}  // namespace qv
