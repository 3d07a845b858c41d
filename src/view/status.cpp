// The main window's status line: a message is its text with the paragraph
// centred; clearing empties it without re-centring.
#include "view/view.h"
#include "document/internal.h"

namespace qv {

void ShowStatus(AppState& S, const std::string& text) {
  if (!S.StatusLine) return;
  S.StatusLine->SetText(text);
  S.StatusLine->SetSelAlignment(Align::Centre);
}

void ClearStatus(AppState& S) {
  if (S.StatusLine) S.StatusLine->SetText("");
}

std::string StatusText(const AppState& S) { return S.StatusLine ? S.StatusLine->Text() : ""; }

void ReportParseError(AppState& S) {
  DocBeep(S);
  ShowStatus(S, "PARSER ERROR: " + S.Parser.ParseErr);
}

}  // namespace qv
