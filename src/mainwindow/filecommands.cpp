// The File menu: New, Open, Save, Save As, the recent files and the default
// directory; and the registration of the main window's own commands.
#include "view/view.h"
#include "files/files.h"
#include "platform/commands.h"
#include "mainwindow/maincommands.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

namespace {

void ShowFailure(AppState& S, const std::string& text) {
  S.host->Beep();
  ShowStatus(S, text);
}

void SaveFailed(AppState& S) {
  S.host->MessageBox("Unable to save file", "WARNING", MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace

void optNew_Click(AppState& S) {
  S.View->SetFocus();
  try {
    if (S.Ui.ProofChanged) {
      SaveChangesOf(S).OpenAfterSave = false;
      S.Ui.DialogCancelled = false;
      SaveChanges(S);
      if (S.Ui.DialogCancelled) return;
    }
    S.Ui.ProofFileName.clear();
    MainWindowOf(S).DialogFileName.clear();
    S.Doc.ProofText.clear();
    S.Doc.IntroLen = 0;
    S.View->SetText("");
    S.Doc.Stmts.assign(1, StmtRec{});
    S.Doc.StmtCount = 0;
    S.Doc.InsertMode = false;
    S.host->SetControlChecked("optInsert", false);
    S.Doc.InsertLine = 0;
    ClearStatus(S);
    S.host->SetControlCaption("InsertLineLabel", "");
    SetUndoEnabled(S, false);
    SetRedoEnabled(S, false);
    // The snapshots belong to the proof just closed; never restore them into this one.
    S.Undo.Valid = false;
    S.Redo.Valid = false;
    S.Ui.ProofChanged = false;
    S.host->SetWindowTitle(kNewTitle);
    S.Ui.ProofCaption.clear();
  } catch (...) {
    ShowFailure(S, kUnableMessage);
  }
}

void optOpen_Click(AppState& S) {
  try {
    S.View->SetFocus();
    S.Doc.RuleMode = 0;
    ClearStatus(S);
    S.Ui.DialogCancelled = false;
    if (S.Ui.ProofChanged) {
      // The prompt opens the file itself after Yes or No.
      SaveChangesOf(S).OpenAfterSave = true;
      SaveChanges(S);
    } else {
      const std::string previousName = S.Ui.ProofFileName;
      const std::string previousDialogName = MainWindowOf(S).DialogFileName;
      if (SaveChangesOf(S).OpenFromRecent) {
        SaveChangesOf(S).OpenFromRecent = false;
        S.Ui.ProofFileName = SaveChangesOf(S).PendingOpenFile;
        MainWindowOf(S).DialogFileName = SaveChangesOf(S).PendingOpenFile;
      } else {
        FileDialogRequest req;
        req.filter = kProofFilter;
        req.initialDir = S.Ui.DefaultDir;
        req.mustExist = true;
        std::string chosen = S.host->OpenFileDialog(req);
        // A cancelled dialog changes nothing: the open proof keeps its file name.
        if (chosen.empty()) return;
        S.Ui.ProofFileName = chosen;
        MainWindowOf(S).DialogFileName = chosen;
      }
      OpenProof(S);
      if (S.Ui.DialogCancelled) {
        // The file was refused and the proof on screen stays: so must its
        // name, or a later Save would write this proof over the refused file.
        S.Ui.ProofFileName = previousName;
        MainWindowOf(S).DialogFileName = previousDialogName;
      }
    }
    S.View->SetSelStart(0);
  } catch (...) {
    if (!S.Ui.DialogCancelled) ShowFailure(S, "Open: Unable to open proof file");
  }
}

void optFile_Click(AppState& S, int k) {
  SaveChangesOf(S).PendingOpenFile = S.host->ControlCaption("optFile" + std::to_string(k));
  SaveChangesOf(S).OpenFromRecent = true;
  optOpen_Click(S);
  SaveChangesOf(S).OpenFromRecent = false;
}

void optSave_Click(AppState& S) {
  S.View->SetFocus();
  if (S.Ui.ProofFileName.empty()) {
    optSaveAs_Click(S);
    return;
  }
  S.Ui.DialogCancelled = false;
  try {
    // Writes, and only after a successful write updates the recent files,
    // the title and the changed flag; a failure is reported by the writer.
    SaveProofFile(S);
  } catch (...) {
    if (!S.Ui.DialogCancelled) SaveFailed(S);
  }
}

void optSaveAs_Click(AppState& S) {
  S.View->SetFocus();
  try {
    if (!MainWindowOf(S).DialogFileName.empty()) MainWindowOf(S).DialogFileName = ProofPathFor(MainWindowOf(S).DialogFileName);
    FileDialogRequest req;
    req.filter = kProofFilter;
    req.initialDir = S.Ui.DefaultDir;
    req.fileName = MainWindowOf(S).DialogFileName;
    // A name typed without an extension is saved as a proof file, so that the
    // Open dialog (which lists *.proof) finds it again.
    req.defaultExt = "proof";
    req.promptOverwrite = true;
    std::string chosen = S.host->SaveFileDialog(req);
    if (chosen.empty()) return;  // cancelled: nothing more
    MainWindowOf(S).DialogFileName = chosen;
    S.Ui.ProofFileName = chosen;
    S.Ui.DialogCancelled = false;
    SaveProofFile(S);
  } catch (...) {
    S.Doc.RuleMode = 0;
    if (!S.Ui.DialogCancelled) SaveFailed(S);
  }
}

void optSelectDir_Click(AppState& S) {
  try {
    SelectDir(S);
  } catch (...) {
    ShowFailure(S, kUnableMessage);
  }
}

void RegisterMainCommands(AppState& S, ProofWindowState& W, CommandRegistry& commands) {
  AppState* s = &S;
  ProofWindowState* w = &W;
  commands.Add("optNew", [s] { optNew_Click(*s); });
  commands.Add("optOpen", [s] { optOpen_Click(*s); });
  commands.Add("optSave", [s] { optSave_Click(*s); });
  commands.Add("optSaveAs", [s] { optSaveAs_Click(*s); });
  commands.Add("optSelectDir", [s] { optSelectDir_Click(*s); });
  commands.Add("optExit", [s, w] { optExit_Click(*s, *w); });
  commands.Add("optUndo", [s] { optUndo_Click(*s); });
  commands.Add("optRedo", [s] { optRedo_Click(*s); });
  for (int k = 1; k <= 5; ++k)
    commands.Add("optFile" + std::to_string(k), [s, k] { optFile_Click(*s, k); });
}

}  // namespace qv
