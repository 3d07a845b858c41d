// Helpers shared by the document's own source files.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"
#include "document/state.h"
#include "expr/expr.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

// Appends Name to a list in list form (List is " " or " a b ... ").
inline void AddToVarList(std::string& List, const std::string& Name) {
  if (List.empty()) List = " ";
  if (!InList(List, Name)) List += Name + " ";
}

// Line k is a statement of the proof.
inline bool ValidLine(const DocState& d, int k) { return k >= 1 && k <= d.StmtCount; }

// The caret of the view as a 1-based position (1 without a view).
inline int32_t Caret1(const AppState& S) { return S.View ? S.View->SelStart() + 1 : 1; }

// Puts the caret of the view at a 0-based position (at least 0).
inline void SetCaret(AppState& S, int32_t zeroBased) {
  if (S.View) S.View->SetSelStart(zeroBased < 0 ? 0 : zeroBased);
}

// A copy of Text with a TAB after every CR LF (WithoutTabs is in document.h).
std::string TabAfterBreaks(const std::string& Text);

// The canonical text of the parse in P (the last node is the root).
std::string LayoutTree(const ParserState& P);

// Puts back the line breaks that the user typed directly before a connective
// ("&", "|", "=>", "<=>") of UserText, whose tokens are UserTokens, into the
// laid-out text Laid.
std::string RestoreLineBreaks(const std::string& UserText, const std::vector<TokenRec>& UserTokens,
                              const std::string& Laid);

// Selects Count characters from the 0-based position Start of Box.
inline void SelectRange(RichBox& Box, int32_t Start, int32_t Count) {
  Box.SetSelStart(Start);
  Box.SetSelLength(Count);
}

}  // namespace qv
