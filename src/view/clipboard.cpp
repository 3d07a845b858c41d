// Copy and paste through the clipboard: the plain text with "@" for the
// glyph, and the rich form in rich-text mode.
#include <string>

#include "view/view.h"

namespace qv {

namespace {

bool RichTextMode(const AppState& S) {
  return S.host && S.host->ControlChecked("optRichTextMode");
}

}  // namespace

void CopySel(AppState& S, RichBox& Box) {
  try {
    const int32_t len = Box.SelLength();
    if (len == 0) {
      Box.SetFocus();
      Beep(S);
      return;
    }
    ClipboardOf(S).CopiedLength = len;
    const int32_t start = Box.SelStart();
    // The plain form carries the glyph as "@".
    const std::string plain = ConvertEpsilon(Box).substr(static_cast<size_t>(start),
                                                         static_cast<size_t>(len));
    if (S.host) {
      if (RichTextMode(S))
        S.host->SetClipboard(plain, Box.SelRichText());
      else
        S.host->SetClipboard(plain, "");
    }
    Box.SetFocus();
  } catch (...) {
    Beep(S);
  }
}

void PasteInto(AppState& S, RichBox& Box) {
  try {
    RichBox* wa = S.WorkArea;
    if (!wa || !S.host) {
      Beep(S);
      return;
    }
    S.Ui.UndoRTF = Box.RichText();
    Box.SetSelText("");
    const int32_t p = Box.SelStart();

    wa->SetRichText(Box.RichText());
    const int32_t before = wa->TextLength();
    wa->SetSelStart(p);
    if (RichTextMode(S)) {
      const std::string rich = S.host->ClipboardRich();
      if (!rich.empty()) wa->SetSelRichText(rich);
    } else {
      const std::string plain = S.host->ClipboardText();
      if (!plain.empty()) wa->SetSelText(plain);
    }
    // The caret goes after the inserted text, less the TABs that the
    // reformatting removes in front of it.
    const int32_t end = p + (wa->TextLength() - before);
    const std::string pasted = wa->Text();
    int32_t caret = 0;
    for (int32_t i = 0; i < end && i < static_cast<int32_t>(pasted.size()); ++i)
      if (pasted[i] != '\t') ++caret;

    ReformatWA(S, kBlack);
    Box.SetRichText(wa->RichText());
    Box.SetSelStart(caret);
    Box.SetFocus();
  } catch (...) {
    Beep(S);
  }
}

}  // namespace qv
