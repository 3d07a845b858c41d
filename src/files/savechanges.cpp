// The save-changes prompt ("Save changes to current proof?") and the one
// place where a proof file is chosen and opened once it has been answered.
#include <sys/stat.h>

#include <exception>

#include "view/view.h"
#include "files/files.h"
#include "files/filesinternal.h"

namespace qv {

namespace {

constexpr const char* kProofFilter = "Proofs (*.proof)|*.proof";

// A file, folder or link (also one to nothing) already has this name.
bool SomethingAt(const std::string& Path) {
  struct stat st{};
  return ::lstat(Path.c_str(), &st) == 0;
}

}  // namespace

void SaveChanges(AppState& S) {
  FilesBeep(S);
  S.Ui.DialogCancelled = false;
  // Without a prompt to ask, the answer is Cancel: nothing is lost.
  if (!S.host || !S.host->ShowModal("SaveChanges")) S.Ui.DialogCancelled = true;
}

std::string SaveChangesFileLabel(const AppState& S) {
  return S.Ui.ProofFileName.empty() ? "(Untitled file)" : S.Ui.ProofFileName;
}

void SaveChangesYes(AppState& S) {
  try {
    if (!S.Ui.ProofFileName.empty()) {
      const std::string proofPath = ProofPathFor(S.Ui.ProofFileName);
      if (proofPath != S.Ui.ProofFileName && SomethingAt(proofPath)) {
        // Saving under the proof extension would replace another file: the
        // Save dialog asks first, proposing that name. Its Cancel keeps the
        // caller where it was, with the changes and the file name.
        FileDialogRequest req;
        req.filter = kProofFilter;
        req.initialDir = S.Ui.DefaultDir;
        req.fileName = proofPath;
        req.defaultExt = "proof";
        req.promptOverwrite = true;
        const std::string chosen = S.host ? S.host->SaveFileDialog(req) : std::string();
        if (chosen.empty()) {
          S.Ui.DialogCancelled = true;
          return;
        }
        S.Ui.ProofFileName = chosen;
      } else {
        S.Ui.ProofFileName = proofPath;
      }
    } else {
      FileDialogRequest req;
      req.filter = kProofFilter;
      req.initialDir = S.Ui.DefaultDir;
      req.defaultExt = "proof";
      req.promptOverwrite = true;
      const std::string chosen = S.host ? S.host->SaveFileDialog(req) : std::string();
      if (chosen.empty()) {
        // A cancelled Save dialog counts as No.
        SaveChangesNo(S);
        return;
      }
      S.Ui.ProofFileName = chosen;
    }
    SaveProofFile(S);
    if (S.Ui.DialogCancelled) return;  // the failed save has been reported; the caller stays
    if (SaveChangesOf(S).OpenAfterSave) OpenProofFile(S);
  } catch (const std::exception&) {
    if (!S.Ui.DialogCancelled) {
      S.Ui.DialogCancelled = true;
      FilesMessage(S, "Unable to save file");
    }
  }
}

void SaveChangesNo(AppState& S) {
  if (SaveChangesOf(S).OpenAfterSave) OpenProofFile(S);
}

void SaveChangesCancel(AppState& S) { S.Ui.DialogCancelled = true; }

void OpenProofFile(AppState& S) {
  // The file name of the proof on screen, given back when the chosen file is
  // refused, so that a later Save does not write this proof over that file.
  const std::string previous = S.Ui.ProofFileName;
  try {
    if (SaveChangesOf(S).OpenFromRecent) {
      SaveChangesOf(S).OpenFromRecent = false;
      S.Ui.ProofFileName = SaveChangesOf(S).PendingOpenFile;
    } else {
      FileDialogRequest req;
      req.filter = kProofFilter;
      req.initialDir = S.Ui.DefaultDir;
      req.mustExist = true;
      const std::string chosen = S.host ? S.host->OpenFileDialog(req) : std::string();
      // Cancelled: quiet, and the proof keeps its file name (as after the
      // File menu's Open), so that Save writes where the user expects.
      if (chosen.empty()) return;
      S.Ui.ProofFileName = chosen;
    }
    const bool cancelledBefore = S.Ui.DialogCancelled;
    S.Ui.DialogCancelled = false;
    OpenProof(S);
    if (S.Ui.DialogCancelled) {
      S.Ui.ProofFileName = previous;
    } else {
      S.Ui.DialogCancelled = cancelledBefore;
    }
  } catch (const std::exception&) {
    if (!S.Ui.DialogCancelled) {
      S.Ui.DialogCancelled = true;
      FilesBeep(S);
      ShowStatus(S, "Unable to open proof file");
    }
  }
}

}  // namespace qv
