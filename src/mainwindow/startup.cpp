// Start-up, activation, the Esc key, Exit and the mouse release of the main
// window.
#include <filesystem>
#include <system_error>

#include "view/view.h"
#include "files/files.h"
#include "mainwindow/maincommands.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

namespace {

bool IsQuote(char c) { return c == '"' || c == '\''; }

// The four Esc cases shared by the window's and the proof view's key handlers.
void Escape(AppState& S, ProofWindowState& W, bool fromView) {
  if (S.View->SelLength() > 0) {
    S.View->SetSelLength(0);
  } else if (S.Doc.RuleMode != 0) {
    S.Doc.RuleMode = 0;
    if (fromView) {
      S.View->SetFocus();
    } else {
      MainWindowOf(S).FirstClickPending = true;
    }
    ClearStatus(S);
  } else if (S.Doc.InsertMode && S.Doc.InsertLine == 0) {
    S.Doc.InsertMode = false;
    S.host->SetControlChecked("optInsert", false);
    S.host->SetControlCaption("InsertLineLabel", "");
    ClearStatus(S);
  } else {
    optExit_Click(S, W);
  }
}

}  // namespace

std::string CmdLineProofPath(const std::vector<std::string>& args) {
  std::string line;
  for (size_t i = 1; i < args.size(); ++i) {
    if (i > 1) line += ' ';
    line += args[i];
  }
  if (line.size() >= 2 && IsQuote(line.front()) && line.back() == line.front())
    return line.substr(1, line.size() - 2);
  if (line.size() == 1 && IsQuote(line[0])) return "";
  return line;
}

void Form_Load(AppState& S, ProofWindowState& W, const std::vector<std::string>& args) {
  W.CmdLineFile = CmdLineProofPath(args);
  if (!W.CmdLineFile.empty()) {
    // The name goes into the title and the recent files, which must still
    // find the file when the program is started from another folder.
    std::error_code ec;
    std::filesystem::path abs = std::filesystem::absolute(W.CmdLineFile, ec);
    if (!ec) W.CmdLineFile = abs.lexically_normal().string();
  }
  W.FirstActivate = true;
  S.StatusLine->SetText("Press any key to continue");
  S.host->SetControlCaption("InsertLineLabel", "");
  S.Doc.IntroLen = 0;
  bool ok = true;
  try {
    LoadFontSize(S);
    LoadRecentFiles(S);
    SaveChangesOf(S).OpenFromRecent = false;
    ok = ReadDefaultDir(S) && ReadUserOption(S);
  } catch (...) {
    ok = false;
  }
  if (!ok) {
    // The remaining start-up steps are skipped: the window keeps its built
    // title, which tells the user the settings were not read.
    S.host->Beep();
    ShowStatus(S, "WARNING: Unable to get Recent Files or Default Directory");
    return;
  }
  S.host->SetWindowTitle(kStartTitle);
}

void Form_Activate(AppState& S, ProofWindowState& W) {
  // A modal window opened here re-activates the main window when it closes;
  // that activation must not run the first-activation steps a second time.
  if (W.InActivate) return;
  W.InActivate = true;
  S.StatusLine->SetSelAlignment(Align::Centre);
  if (W.FirstActivate) {
    W.FirstActivate = false;
    S.View->SetFocus();
    S.host->ShowModal("StartUp");
    ShowStatus(S, "Click Help** Button to start Tutorial");
  }
  if (!W.CmdLineFile.empty()) {
    S.Ui.ProofFileName = W.CmdLineFile;
    MainWindowOf(S).DialogFileName = W.CmdLineFile;
    W.CmdLineFile.clear();
    S.Ui.DialogCancelled = false;
    OpenProof(S);
    if (S.Ui.DialogCancelled) {
      // A refused file must not become the name a later Save writes to.
      S.Ui.ProofFileName.clear();
      MainWindowOf(S).DialogFileName.clear();
    }
    S.View->SetSelStart(0);
  }
  W.InActivate = false;
}

void Form_KeyPress(AppState& S, ProofWindowState& W, int KeyAscii) {
  W.SkipNextKey = false;
  if (KeyAscii != 27) return;
  W.SkipNextKey = true;
  Escape(S, W, false);
}

void RTB_KeyPress(AppState& S, ProofWindowState& W, int KeyAscii) {
  if (W.SkipNextKey) {
    W.SkipNextKey = false;
    return;
  }
  if (KeyAscii == 27) Escape(S, W, true);
}

void optExit_Click(AppState& S, ProofWindowState& W) {
  try {
    S.View->SetFocus();
    S.Ui.DialogCancelled = false;
    if (S.Ui.ProofChanged) {
      SaveChangesOf(S).OpenAfterSave = false;
      SaveChanges(S);
      if (S.Ui.DialogCancelled) return;
      S.View->SetSelStart(0);
    }
    W.ExitRequested = true;
    if (W.Quit) W.Quit();
  } catch (...) {
    if (!S.Ui.DialogCancelled)
      S.host->MessageBox("Unable to save file", "WARNING", MsgButtons::Ok, MsgIcon::Warning);
  }
}

bool Form_QueryUnload(AppState& S, ProofWindowState& W) {
  if (W.ExitRequested) return true;
  optExit_Click(S, W);
  return W.ExitRequested;
}

void LayOutProofWindow(int W, int H, ProofLayout& L) {
  if (H > 1530) L.view = {100, 360, W - 350, H - 1530};
  if (W > 1020) L.label = {W - 1020, L.view.height + 360, 735, 255};
  if (W - L.label.width - 630 > 0) L.status = {0, L.view.height + 360, W - L.label.width - 630, 255};
}

bool RTB_MouseUp(AppState& S, bool rightButton) {
  if (MainWindowOf(S).DblClickPending) {
    MainWindowOf(S).DblClickPending = false;
    // Going to the end first scrolls the view so that the restored caret's
    // line comes into sight.
    S.View->SetSelStart(S.View->TextLength());
    S.View->SetSelStart(MainWindowOf(S).SavedSelStart);
    S.View->SetSelLength(0);
  }
  return rightButton;
}

}  // namespace qv
