// The Help menu and the toolbar's Help button, the Edit menu's Copy and
// clipboard format switch, and the File menu's Print. Free of Qt: they reach
// the window only through S.host and the rich-text boxes.
#pragma once

namespace qv {

struct AppState;
class CommandRegistry;

// Opens the manual (FindHelpIndex); says so in a message box when there is
// none or it cannot be shown.
void cmdHelp_Click(AppState& S);
void optUserManual_Click(AppState& S);
// Opens the manual's front page in the browser, or the product's web page
// when there is no manual.
void optQuorvaneOnlline_Click(AppState& S);
// Shows the about window.
void optAbout_Click(AppState& S);
// Toggles "Show Tip on Start-Up" and stores it in UserOption.bin.
void optShowTip_Click(AppState& S);
// Puts the proof view's selection on the clipboard.
void optCopy_Click(AppState& S);
// Switches the clipboard between rich and plain text.
void optRichTextMode_Click(AppState& S);
// Proposes the lines to print (all, or those the view's selection touches)
// and opens the print window. A failure is thrown to the caller (the main
// window reports it).
void optPrint_Click(AppState& S);

// Registers the commands above under their menu items' and button's names.
void RegisterHelpCommands(AppState& S, CommandRegistry& commands);

}  // namespace qv
