// The View menu's filters and text sizes, and the Edit menu's insert mode and
// Introduction commands. The filters choose which statements the proof view
// shows: they change Visible flags and view positions only, never the proof
// text, take no undo snapshot and leave ProofChanged alone. Free of Qt.
#pragma once

namespace qv {

struct AppState;
class CommandRegistry;

// Each view filter gives the focus to the proof view, sets the flags, rebuilds
// the view positions, redraws and places the caret. A failure is thrown to the
// caller (the main window reports it).
void optHideDetails_Click(AppState& S);      // "Hide All Details"
void optShowDetails_Click(AppState& S);      // "Show All Active Stmts"
void optShowLastDetails_Click(AppState& S);  // "Show Last Active Stmts"
void optShowAllStmts_Click(AppState& S);     // "Show All Stmts"
void optShowHighlights_Click(AppState& S);   // "Show Only Highlights and Conclusions"

// Text sizes: 10, 12 or 14 points (rule texts two points smaller); the chosen
// item is checked, the view redrawn when it shows anything, the size stored.
void optSmallText_Click(AppState& S);
void optMediumText_Click(AppState& S);
void optLargeText_Click(AppState& S);

// Insert mode off, or armed so that the next click chooses the insert line.
void optInsert_Click(AppState& S);
// Opens the comment editor on the Introduction.
void optIntro_Click(AppState& S);

// Registers the commands above under their menu items' names.
void RegisterViewCommands(AppState& S, CommandRegistry& commands);

}  // namespace qv
