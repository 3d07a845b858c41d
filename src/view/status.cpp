// The main window's status line: a message is its text with the paragraph
// centred; clearing empties it without re-centring. And the window's title.
#include "view/view.h"

#include "platform/host.h"

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

std::string CaptionTitle(const std::string& Caption, const std::string& FileName) {
  if (!Caption.empty()) {
    const std::string line = " " + Caption.substr(0, kMaxCaption);
    return FileName.empty() ? line + " - (Untitled)" : line + "  -  " + FileName;
  }
  return " Quorvane 2.0  -  " + (FileName.empty() ? std::string("(Untitled)") : FileName);
}

void SetCaptionTitle(AppState& S) {
  if (!S.host) return;
  // The title ends in the file name, if the proof has one, shown in the file
  // system's encoding.
  const std::string& file = S.Ui.ProofFileName;
  const std::string title = CaptionTitle(S.Ui.ProofCaption, file);
  S.host->SetFileWindowTitle(title.substr(0, title.size() - file.size()), file);
}

}  // namespace qv
