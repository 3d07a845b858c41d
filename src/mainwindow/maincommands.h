// The main window's own handlers, free of Qt: start-up and first activation,
// the Esc key, Exit, the mouse release in the proof view, undo and redo, and
// the File menu. They work on AppState and reach the window only through
// S.host and the rich-text boxes, so tests run them without a window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/state.h"

namespace qv {

// The main window's own state: a two-click rule waiting for its first
// click; a double click in the proof view and the caret to restore when the
// mouse button comes up; and the last name its file dialog chose (Open,
// Save As, HTML export), from which Save As and the export propose a name.
struct MainWindowState {
  bool FirstClickPending = false;
  bool DblClickPending = false;
  int32_t SavedSelStart = 0;
  std::string DialogFileName;
};
inline MainWindowState& MainWindowOf(AppState& S) { return S.Windows.Get<MainWindowState>(); }

class CommandRegistry;

// State that lives as long as the main window.
struct ProofWindowState {
  std::string CmdLineFile;     // proof named on the command line; emptied once opened
  bool FirstActivate = true;   // true from start-up until the first activation
  bool InActivate = false;     // an activation is running (its splash is open)
  bool SkipNextKey = false;    // the window's key handler has handled this Esc
  bool ExitRequested = false;  // Exit decided to end the program
  std::function<void()> Quit;  // ends the program (set by the application)
};

inline constexpr const char* kStartTitle = " Quorvane 2.0  -  (Untitled)";
inline constexpr const char* kNewTitle = " Quorvane 2.0 - (Untitled)";
inline constexpr const char* kBuiltTitle = " Quorvane 1.2";
inline constexpr const char* kProofFilter = "Proofs (*.proof)|*.proof";

// The proof path from the command-line arguments (argv[1..] joined by
// blanks). Surrounding quote characters are dropped; a path given without
// quotes is taken as it stands.
std::string CmdLineProofPath(const std::vector<std::string>& args);

// Start-up of the main window: status text, settings, title.
void Form_Load(AppState& S, ProofWindowState& W, const std::vector<std::string>& args);
// Every activation: centres the status line; the first one shows the splash
// and the tutorial prompt; opens the command-line file once.
void Form_Activate(AppState& S, ProofWindowState& W);

// Keys typed in the window (seen before the proof view) and in the proof view.
void Form_KeyPress(AppState& S, ProofWindowState& W, int KeyAscii);
void RTB_KeyPress(AppState& S, ProofWindowState& W, int KeyAscii);

// Exit: asks to save unsaved changes; ends the program unless cancelled.
void optExit_Click(AppState& S, ProofWindowState& W);
// The close box: true when the window may close.
bool Form_QueryUnload(AppState& S, ProofWindowState& W);

// Mouse button released over the proof view: restores the caret after a
// double click. Returns true when the context menu (Edit) is to open.
bool RTB_MouseUp(AppState& S, bool rightButton);

// Undo and redo.
void optUndo_Click(AppState& S);
void optRedo_Click(AppState& S);
void SetUndoEnabled(AppState& S, bool on);  // optUndo and cmdUndo together
void SetRedoEnabled(AppState& S, bool on);  // optRedo and cmdRedo together

// File menu.
void optNew_Click(AppState& S);
void optOpen_Click(AppState& S);
void optSave_Click(AppState& S);
void optSaveAs_Click(AppState& S);
void optFile_Click(AppState& S, int k);  // recent file item k = 1..5
void optSelectDir_Click(AppState& S);

// Places of the proof view, the insert-line label and the status line, in
// twips inside the window's client area (below the menu bar).
struct TwRect {
  int left = 0, top = 0, width = 0, height = 0;
};
struct ProofLayout {
  TwRect view, label, status;
};
// Form_Resize for a window of outer width W and height H (twips): the view
// fills the window under the toolbar, the status line and the label share
// the row under the view. A control the size leaves no room for keeps its
// place, so nothing gets a negative size.
void LayOutProofWindow(int W, int H, ProofLayout& L);

// Registers the commands above under their menu names.
void RegisterMainCommands(AppState& S, ProofWindowState& W, CommandRegistry& commands);

}  // namespace qv
