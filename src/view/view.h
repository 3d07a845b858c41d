// The proof view and its commands: the status line, adding a statement, the
// statement and token under the caret, the element-of glyph and clipboard,
// the redraw, the delete commands, the default click and the insert line.
// Pure C++: the screen is reached through RichBox and Host only.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"
#include "platform/richbox.h"

namespace qv {

// The comment editor (a window of the entry library), opened by the default
// click and the Edit Introduction command: the Introduction, or the comment
// of statement CommentLine, and the caption its opener gives it.
struct CommentEditorState {
  bool EditingIntro = false;
  int CommentLine = 0;
  std::string CommentCaption;
};
inline CommentEditorState& CommentEditorOf(AppState& S) { return S.Windows.Get<CommentEditorState>(); }

// The Warning box (a window of the entry library): its message, set by
// whoever shows it; the answer comes back in S.Ui.DialogCancelled.
struct WarningBoxState {
  std::string Text;
};
inline WarningBoxState& WarningBoxOf(AppState& S) { return S.Windows.Get<WarningBoxState>(); }

// The clipboard: the length of the selection that CopySel last put on it
// (0 until the first copy).
struct ClipboardState {
  int32_t CopiedLength = 0;
};
inline ClipboardState& ClipboardOf(AppState& S) { return S.Windows.Get<ClipboardState>(); }

// ---- Status line ----
void ShowStatus(AppState& S, const std::string& text);  // text, then centred
void ClearStatus(AppState& S);                          // empty, not re-centred
std::string StatusText(const AppState& S);
// The message of a request that could not be carried out.
inline constexpr const char* kUnableMessage = "Unable to process request";
// Beep, end the pending rule and show kUnableMessage.
void ShowUnable(AppState& S);
// Puts the keyboard focus on the proof view.
void FocusView(AppState& S);
// Beep and "PARSER ERROR: " with the parser's message in the status line.
void ReportParseError(AppState& S);

// ---- Window title ----
// The main window's title for a caption and a file name (either may be
// empty). It shows at most kMaxCaption characters of the caption, so no
// caption makes a title longer than the desktop takes.
std::string CaptionTitle(const std::string& Caption, const std::string& FileName);
// Gives the main window the title of S.Ui.ProofCaption and S.Ui.ProofFileName.
void SetCaptionTitle(AppState& S);

// ---- Adding statements ----
// Parses ExprText and adds it with RuleMode/RuleArg1/RuleArg2/PendingNewVar,
// at the end or before InsertLine in insert mode. Returns false (and leaves
// the document unchanged) when it could not add the statement.
bool PutStmt(AppState& S);
// The same for several statements, each text in turn with the same rule and
// citations, on consecutive lines: all are parsed and laid out first (a
// parse error is reported and nothing changes), then they go in with one
// splice of the proof text, one renumbering and one redraw; the caret goes
// after the last.
bool PutStmts(AppState& S, const std::vector<std::string>& Texts);

// ---- Active statement and clicked token (read the caret of S.View) ----
void GetActiveStmt(AppState& S, int& LineNo, std::string& StmtText);
void FindStmtAtCaret(AppState& S, int& LineNo, std::string& StmtText);
void SelectToken(AppState& S, int& LineNo, int& TokenIdx);
void SelectTokenRange(AppState& S, int& LineNo, int& FirstTok, int& LastTok);
// Colours red the token of P that stands at the 1-based position Pos of the
// parsed text, in Box at Pos - 1 + BoxOffset, and leaves it selected.
// False when no token stands there.
bool PaintTokenRed(const ParserState& P, RichBox& Box, int Pos, int32_t BoxOffset = 0);

// ---- Element-of glyph, work area, clipboard ----
std::string ConvertEpsilon(const RichBox& Box);
void ConvertAmpersand(RichBox& Box, int32_t Start, int32_t Count);
void ReformatWA(AppState& S, Rgb Colour);
void CopySel(AppState& S, RichBox& Box);
void PasteInto(AppState& S, RichBox& Box);

// ---- Redraw of the proof view ----
void ResetFonts(AppState& S);

// ---- Deleting statements ----
// RemoveMarkedStmts, then the redraw, with the caret where the lines were.
void DeleteStmts(AppState& S, int Line);

// ---- Delete commands, default click and choice of the insert line ----
// Each reads the click from the caret of S.View.
void DeleteAllRef(AppState& S);      // RuleMode -1: the clicked line and its dependants
void DeleteAllSub(AppState& S);      // RuleMode 9: the clicked line and all after it
void ToggleConclusion(AppState& S);  // no rule pending: highlight, comment, collapse
void GetInsertLineNo(AppState& S);   // RuleMode 44: choose the insert line

}  // namespace qv
