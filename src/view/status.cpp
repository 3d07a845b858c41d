// The main window's status line: a message is its text with the paragraph
// centred; clearing empties it without re-centring.
#include "view/view.h"

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

void ShowUnable(AppState& S) {
  Beep(S);
  S.Doc.RuleMode = 0;
  ShowStatus(S, kUnableMessage);
}

void FocusView(AppState& S) {
  if (S.View) S.View->SetFocus();
}

void ReportParseError(AppState& S) {
  Beep(S);
  ShowStatus(S, "PARSER ERROR: " + S.Parser.ParseErr);
}

}  // namespace qv
