// Proof files, settings files, the save-changes prompt and the start-up,
// about and tips windows, as the main window uses them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "document/state.h"

namespace qv {

// What the save-changes prompt hands to the file commands: open a proof
// once the current one is saved (from the recent-files list or a named
// file) instead of going on with the command that asked.
struct SaveChangesState {
  bool OpenAfterSave = false;
  bool OpenFromRecent = false;
  std::string PendingOpenFile;
};
inline SaveChangesState& SaveChangesOf(AppState& S) { return S.Windows.Get<SaveChangesState>(); }

void SaveChanges(AppState& S);     // shows the save-changes prompt when asked to; sets DialogCancelled
void OpenProofFile(AppState& S);   // picks a file (or the recent one) and opens it
void OpenProof(AppState& S);       // reads ProofFileName into the document
// Writes the document to ProofFileName (WriteFileReplacing: a file the user
// may not write is never replaced, and a failed write leaves the old file
// whole). False after a failure, which it has reported ("Unable to save
// file") and signalled by DialogCancelled.
bool SaveProof(AppState& S);
void SaveProofFile(AppState& S);   // SaveProof, recent files, title, ProofChanged
void AddRecentFile(AppState& S);
void LoadRecentFiles(AppState& S);
void LoadFontSize(AppState& S);
void SaveFontSize(AppState& S);

// ---- Added with the files services ----

// Path with its file name's extension replaced by "proof" (".proof" added
// when the file name has no extension; a dot in a folder name is not taken
// for one).
std::string ProofPathFor(const std::string& Path);

// The user's folder of settings: $XDG_CONFIG_HOME/quorvane when that
// variable holds an absolute path, else ~/.config/quorvane.
std::string UserSettingsFolder();
// Makes Folder (and its missing parents, for the user alone) and gives it
// each settings file it lacks: when Folder is made now (the first start), a
// copy of the one in OldFolder where there is one there (where earlier
// versions kept them: a regular file, never read through a link), else the
// default content (no recent files, text size 12, no default folder, tip
// option on), so a first start reads them without warnings. Existing files
// and OldFolder are never written. Returns Folder.
std::string PrepareSettingsFolder(const std::string& Folder, const std::string& OldFolder);
// The settings folder of the program in AppPath: UserSettingsFolder(),
// prepared with AppPath as the old place. Nothing is ever written beside
// the program. The caller stores the result in S.Ui.SettingsPath before the
// first settings file is read.
std::string ChooseSettingsPath(const std::string& AppPath);

// Start-up readers of DefaultDir.bin and UserOption.bin. False when the file
// is missing or ends before what it must hold (the caller warns; the folder
// and the tip option keep what they had). A DefaultDir.bin with a wrong tag
// leaves DefaultDir empty; UserOption.bin's 0 checks optShowTip, anything
// else unchecks it.
bool ReadDefaultDir(AppState& S);
bool ReadUserOption(AppState& S);
// Writes UserOption.bin: 0 when the tip option is on, -1 when off. False
// when the file could not be written (nothing reported).
bool WriteUserOption(AppState& S, bool ShowTip);

// The directory chooser "SelectDir": sets DefaultDir and DefaultDir.bin.
void SelectDir(AppState& S);

// ---- Splash, about and tips windows ----
// The product's web page, given when the program is built (the QV_WEB_SITE
// setting); empty, as by default, when there is none.
extern const char* const kQuorvaneWebSite;
// The terms of use in one sentence, the about window's; the package's
// copyright file and software-centre description say the same
// (QV_TERMS_OF_USE).
extern const char* const kTermsOfUse;
inline constexpr int kTipCount = 14;
extern const std::array<const char*, kTipCount + 1> kTips;  // element 0 = ""
int RandomTipIndex();                                      // 1..14, equally likely
// The tips window's "Show tips on start-up" check box was clicked.
void TipsCheckClicked(AppState& S, bool Checked);
// Help > "Quorvane Online" (ManualFirst) and the about window's "Go to
// Quorvane Online": opens in the desktop's browser the web page Site or the
// manual's front page, whichever ManualFirst puts first of those there are;
// with neither, a message box says so.
void OpenQuorvaneOnline(AppState& S, const std::string& Site, bool ManualFirst);
// The about window's "Go to Quorvane Online" button.
void AboutGoOnline(AppState& S);

// ---- The save-changes prompt's parts (the form wires its buttons to these) ----
std::string SaveChangesFileLabel(const AppState& S);  // the file name or "(Untitled file)"
void SaveChangesYes(AppState& S);
void SaveChangesNo(AppState& S);
void SaveChangesCancel(AppState& S);

}  // namespace qv
