// Operations on the proof document. Every function takes the AppState it
// works on; the view, status line and work area are reached through the
// RichBox and Host interfaces only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/state.h"
#include "platform/richbox.h"

namespace qv {

// ---- Shared computations (one definition each; every caller uses these) ----

// The rule text of a statement: "4 " tag for a Conclusion, the rule name, then
// ", Arg1" and ", Arg2" where they are cited. A Premise's Arg1 (its closing
// Conclusion) is not a citation and is not shown.
std::string RuleTextOf(const StmtRec& s);

// A copy of Text with every TAB taken out (line breaks kept).
std::string WithoutTabs(const std::string& Text);

// The formula of statement Line as the proof text holds it, TABs taken out.
// Throws std::out_of_range when the line or its positions lie outside the
// document.
std::string StmtFormula(const DocState& d, int Line);

// Recomputes ViewerStartLine of every visible statement from IntroLen and the
// block extents (hidden statements get 0).
void RecomputeViewPositions(DocState& d);

// Recomputes IntroLen after the whole document was replaced (undo, redo, open).
void RecomputeIntroLen(DocState& d);

// Where a statement's line number stands, as 1-based ProofText positions:
// its line begins at Line (the block's start, or just after its comment),
// the number's digits begin at Number (after the line's indenting TABs), and
// the area ends just before the formula, at End. Add ToView to any of them
// for the position in the view of a visible statement.
struct NumberArea {
  int32_t Line = 0;
  int32_t Number = 0;
  int32_t End = 0;
  int32_t ToView = 0;
};
NumberArea LineNumberArea(const StmtRec& s);

// The number of decimal digits of n (n >= 0): the width of a line number.
int Digits(int n);

// True when every CR in Text is followed by LF and every LF preceded by CR.
bool LineBreaksWhole(std::string_view Text);

// Checks every invariant of the statement table against the proof text: the
// layout of every block, rule codes 1..54 with the rule text RuleTextOf gives,
// whole CR LF line breaks in every text, citations, and that every formula
// parses. Returns "" when all hold, else a description of the first one broken.
std::string CheckDocInvariants(const DocState& d);

// ---- Status line ----
void ShowStatus(AppState& S, const std::string& text);  // text, then centred
void ClearStatus(AppState& S);                          // empty, not re-centred
std::string StatusText(const AppState& S);

// ---- Adding statements ----
// Parses ExprText and adds it with RuleMode/RuleArg1/RuleArg2/PendingNewVar,
// at the end or before InsertLine in insert mode. Returns false (and leaves
// the document unchanged) when it could not add the statement.
bool PutStmt(AppState& S);

// Is Var already in use above the innermost open premise, looking up from Line?
void FreeVarColourFont(AppState& S, const std::string& Var, int Line, bool& InScope, bool& Flag);

// ---- Undo snapshot ----
void BackUpUndo(AppState& S);

// ---- Active statement and clicked token (read the caret of S.View) ----
void GetActiveStmt(AppState& S, int& LineNo, std::string& StmtText);
void FindStmtAtCaret(AppState& S, int& LineNo, std::string& StmtText);
void SelectToken(AppState& S, int& LineNo, int& TokenIdx);
void SelectTokenRange(AppState& S, int& LineNo, int& FirstTok, int& LastTok);

// ---- Element-of glyph, work area, clipboard ----
std::string ConvertEpsilon(const RichBox& Box);
void ConvertAmpersand(RichBox& Box, int32_t Start, int32_t Count);
void ReformatWA(AppState& S, Rgb Colour);
void CopySel(AppState& S, RichBox& Box);
void PasteInto(AppState& S, RichBox& Box);

// ---- Redraw of the proof view ----
void ResetFonts(AppState& S);

// ---- Deleting statements ----
void FlagStmts(AppState& S, int Line, int& Count);
void DeleteStmts(AppState& S, int Line);
void RemIndent(AppState& S, int Premise);

// ---- Delete commands, default click and choice of the insert line ----
// Each reads the click from the caret of S.View.
void DeleteAllRef(AppState& S);      // RuleMode -1: the clicked line and its dependants
void DeleteAllSub(AppState& S);      // RuleMode 9: the clicked line and all after it
void ToggleConclusion(AppState& S);  // no rule pending: highlight, comment, collapse
void GetInsertLineNo(AppState& S);   // RuleMode 44: choose the insert line

// ---- Helpers for code that moves blocks or reads variable lists ----
// The names of a " a b " variable list, in list order.
std::vector<std::string> VarListNames(const std::string& List);
// Name is one of the names of a " a b " variable list.
bool InList(const std::string& List, const std::string& Name);
// Moves every ProofText position of s (not ViewerStartLine) by `by`;
// EndUserComment only when the statement has a comment.
void ShiftStmtPositions(StmtRec& s, int32_t by);

}  // namespace qv
