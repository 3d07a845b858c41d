// The element-of glyph ("@" stored, an "e" in the symbol font shown), the
// hidden work-area box, and copy and paste through the clipboard.
#include <algorithm>
#include <string>

#include "view/view.h"
#include "view/internal.h"

namespace qv {

std::string ConvertEpsilon(const RichBox& Box) {
  std::string text = Box.Text();
  if (text.find('e') == std::string::npos) return text;
  // Reading a character's font needs a selection; the box's own selection is
  // put back afterwards, so to the caller the box is unchanged.
  RichBox& box = const_cast<RichBox&>(Box);
  const int32_t selStart = box.SelStart();
  const int32_t selLen = box.SelLength();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != 'e') continue;
    SelectRange(box, static_cast<int32_t>(i), 1);
    if (box.SelFontName() == kSymbolFont) text[i] = '@';
  }
  SelectRange(box, selStart, selLen);
  return text;
}

void ConvertAmpersand(RichBox& Box, int32_t Start, int32_t Count) {
  const std::string text = Box.Text();  // replacements keep every length
  const int32_t len = static_cast<int32_t>(text.size());
  for (int32_t i = std::max<int32_t>(Start, 1); i < Start + Count && i <= len; ++i) {
    if (text[i - 1] != '@') continue;
    SelectRange(Box, i - 1, 1);
    Box.SetSelText("e");
    SelectRange(Box, i - 1, 1);
    Box.SetSelFontName(kSymbolFont);
  }
}

void ReformatWA(AppState& S, Rgb Colour) {
  RichBox* wa = S.WorkArea;
  if (!wa) return;
  // Plain text with "@" for every glyph and no TABs, in one uniform format;
  // then every "@" becomes the glyph again.
  const std::string text = WithoutTabs(ConvertEpsilon(*wa));
  wa->SetText(text);
  SelectRange(*wa, 0, static_cast<int32_t>(text.size()));
  wa->SetSelFontSize(S.Ui.FontSize);
  wa->SetSelFontName("Courier New");
  wa->SetSelColor(Colour);
  wa->SetSelBold(false);
  ConvertAmpersand(*wa, 1, static_cast<int32_t>(text.size()));
}

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
