// File > "Make HTML File": the whole proof as one HTML page, coloured as the
// proof view shows it, built from the proof text and the statement records
// (nothing is drawn again). The page logic is free of Qt.
#pragma once

#include <string>

#include "document/state.h"

namespace qv {

class CommandRegistry;

inline constexpr const char* kHtmlFilter = "HTML (*.html)|*.html";

// Proof text made safe for the page: "&", "<" and ">" become entities, the
// element-of sign "@" becomes the Greek epsilon "&#949;", and every character
// beyond ASCII becomes its numeric reference (the text is Latin-1 and the page
// names no character set). TABs and line breaks are kept.
std::string InsertGifs(const std::string& Text);
// The same for plain text (the caption, the rule texts): "@" stays "@".
std::string HtmlEscape(const std::string& Text);

// The page for the proof in S: head (with the caption as title, or
// "Untitled"), the caption in bold, the Introduction and comments in dark
// blue, the statements in black, the rule texts in grey, the end.
std::string HtmlPage(const AppState& S);

// The name the save dialog proposes for a name last chosen in the file
// dialogs: its file name's extension replaced by "html" (".html" added when
// it has none).
std::string HtmlPathFor(const std::string& DialogFileName);

// Asks for a file and writes the page to it (through a temporary file, so a
// failed write leaves an existing file whole). Cancel writes nothing and
// leaves the status line empty; a failed write shows "Unable to save HTML
// file". The proof is not changed.
void optHTML_Click(AppState& S);

// Registers optHTML.
void RegisterHtmlCommands(AppState& S, CommandRegistry& commands);

}  // namespace qv
