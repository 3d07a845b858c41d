// The caption editor: the proof's one-line caption and the window title.
#include "entry/caption.h"

#include <stdexcept>

#include "view/view.h"
#include "platform/commands.h"
#include "platform/host.h"

namespace qv {

namespace {

// The caption is one line of the title: a line break that reached the box
// (pasted, say) becomes one blank, and the ends lose their blanks.
std::string OneLineCaption(const std::string& t) {
  std::string line;
  line.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
    line += (t[i] == '\r' || t[i] == '\n') ? ' ' : t[i];
  }
  const char* ws = " \t";
  const size_t a = line.find_first_not_of(ws);
  if (a == std::string::npos) return "";
  const size_t b = line.find_last_not_of(ws);
  return line.substr(a, b - a + 1);
}

}  // namespace

CaptionEditor::CaptionEditor(AppState& S, RichBox& box) : S_(S), box_(box) {}

void CaptionEditor::Activate() {
  // What the user types next takes the proof's text size too.
  box_.SetDefaultFont(kCaptionFont, S_.Ui.FontSize);
  box_.SetText(S_.Ui.ProofCaption);
  box_.SetSelStart(0);
  box_.SetSelLength(box_.TextLength());
  box_.SetSelFontSize(S_.Ui.FontSize);
  box_.SetSelColor(kBlack);
  box_.SetSelBold(false);
  box_.SetSelStart(box_.TextLength());
  box_.SetSelLength(0);
  box_.SetFocus();
}

void CaptionEditor::Continue() {
  try {
    const std::string caption = OneLineCaption(box_.Text());
    // Longer than a title line: refused, and the window stays open with the
    // text as typed for the user to shorten.
    if (caption.size() > kMaxCaption) {
      if (S_.host) S_.host->Beep();
      return;
    }
    if (caption != S_.Ui.ProofCaption) {
      // The caption is saved with the proof: a changed one counts as a
      // change, so Exit, New and Open offer to save it instead of dropping
      // it. It takes no undo snapshot.
      S_.Ui.ProofCaption = caption;
      S_.Ui.ProofChanged = true;
    }
    SetCaptionTitle(S_);
    if (OnHide) OnHide();
  } catch (...) {
    // The window stays open with the text as typed.
    if (S_.host) S_.host->Beep();
  }
}

void CaptionEditor::Clear() {
  box_.SetText("");
  box_.SetFocus();
}

void CaptionEditor::Cancel() {
  if (OnHide) OnHide();
}

bool CaptionEditor::FormKeyPress(char c) {
  if (c != 27) return false;
  Cancel();
  return true;
}

bool CaptionEditor::DiscardKey(int KeyCode, bool Ctrl, bool Shift, bool Alt) {
  if (KeyCode == kKeyEnter) return true;
  return KeyCode == 'R' && Ctrl && !Shift && !Alt;
}

void optCaption_Click(AppState& S) {
  try {
    if (!S.host || !S.host->ShowModal(kCaptionFormName)) throw std::runtime_error("no caption editor");
  } catch (...) {
    if (S.host) S.host->Beep();
    ShowStatus(S, kUnableMessage);
  }
}

}  // namespace qv
