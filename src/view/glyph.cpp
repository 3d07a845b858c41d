// The element-of glyph ("@" stored, an "e" in the symbol font shown): a
// box's text read back with "@", "@" shown as the glyph, and the hidden
// work-area box reformatted into one plain format with the glyph.
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

}  // namespace qv
