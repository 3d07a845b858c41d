// The rich-text box as the program's logic sees it.
//
// Text is 8-bit (Latin-1). A line break is CR LF and counts as two characters,
// both in Text() and in every caret position, whatever the widget underneath
// does. Carets and selections are 0-based.
//
// Characters formatted with the symbol font (kSymbolFont) are stored as their
// Latin letter and shown as the matching Greek letter, so "e" in the symbol
// font reads back as "e" with SelFontName() == kSymbolFont and shows as an
// epsilon. The same one-character mapping applies to the tag font
// (kTagFont: "4" shows as a right-pointing triangle, "5" as an upward one).
// Positions therefore never shift when a glyph is shown.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

class MemRichBox;
struct CharFormat;

inline constexpr const char* kSymbolFont = "Symbol";
inline constexpr const char* kTagFont = "Webdings";
inline constexpr const char* kFixedFont = "Courier New";
inline constexpr const char* kDefaultFont = "Arial";

// 0x00BBGGRR, as the colour values stored in tokens and passed to ReformatWA.
using Rgb = uint32_t;
inline constexpr Rgb RgbOf(int r, int g, int b) {
  return static_cast<Rgb>(r) | (static_cast<Rgb>(g) << 8) | (static_cast<Rgb>(b) << 16);
}
inline constexpr Rgb kBlack = RgbOf(0, 0, 0);

enum class Align { Left, Centre, Right };

class RichBox {
 public:
  virtual ~RichBox() = default;

  // Whole text. SetText replaces it with default formatting and puts the caret at 0.
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual int32_t TextLength() const { return static_cast<int32_t>(Text().size()); }

  // Selection, 0-based. Setting SelStart collapses the selection to length 0;
  // values outside the text are clamped.
  virtual int32_t SelStart() const = 0;
  virtual void SetSelStart(int32_t pos) = 0;
  virtual int32_t SelLength() const = 0;
  virtual void SetSelLength(int32_t len) = 0;
  virtual std::string SelText() const = 0;
  // Replaces the selection; the caret goes after the new text. The new text
  // takes the format of the character before the selection.
  virtual void SetSelText(const std::string& text) = 0;

  // Formatting of the selection. Getters report the first selected character
  // (or the character before the caret when nothing is selected).
  virtual Rgb SelColor() const = 0;
  virtual void SetSelColor(Rgb colour) = 0;
  virtual std::string SelFontName() const = 0;
  virtual void SetSelFontName(const std::string& name) = 0;
  virtual int SelFontSize() const = 0;
  virtual void SetSelFontSize(int points) = 0;
  virtual bool SelBold() const = 0;
  virtual void SetSelBold(bool bold) = 0;
  // Alignment of the paragraphs the selection touches (the caret's paragraph
  // when nothing is selected).
  virtual Align SelAlignment() const = 0;
  virtual void SetSelAlignment(Align align) = 0;

  // Default font of the whole box (used by SetText and for new text).
  virtual void SetDefaultFont(const std::string& name, int points) = 0;
  // Whether that default font is bold.
  virtual void SetDefaultBold(bool bold) = 0;

  // A snapshot of text, formatting and selection, and its restore.
  virtual std::string RichText() const = 0;
  // Anything that is not a snapshot ("" included) is taken as plain text.
  virtual void SetRichText(const std::string& snapshot) = 0;
  // The selection as rich text (text and formatting, what the clipboard
  // carries in rich-text mode), and its insertion in place of the selection
  // (caret after the inserted text; the inserted characters keep their
  // formats and take the paragraph's alignment; text that is not a snapshot
  // is inserted as SetSelText would). A box overrides both together; the
  // defaults fall back to plain text.
  virtual std::string SelRichText() const { return SelText(); }
  virtual void SetSelRichText(const std::string& rich) { SetSelText(rich); }

  // Character position under a point in the box's own pixel coordinates,
  // -1 when the box cannot tell.
  virtual int32_t CharFromPoint(int x, int y) const = 0;

  // Replaces [from, to) by `text`, character i in table[ids[i]] (the
  // paragraph's alignment applied, as SetSelRichText does); the caret goes
  // after the new text. `text` has its breaks as CR LF and [from, to) splits
  // none. The default goes through SetSelRichText.
  virtual void ReplaceRich(int32_t from, int32_t to, std::string_view text,
                           const std::vector<CharFormat>& table, std::span<const uint8_t> ids);
  // Puts `text` over as many characters from `from`, each keeping its
  // format, where the box can do so without laying its lines out again:
  // a box that lays out lines takes it only when no line break or TAB is
  // written over another character or by one. False, and nothing changed,
  // when it does not take it (the default).
  virtual bool OverwriteChars(int32_t /*from*/, std::string_view /*text*/) { return false; }
  // A character that shapes a box's lines: a line break or a TAB.
  static bool ShapesLines(char c) { return c == '\r' || c == '\n' || c == '\t'; }
  // The in-memory box that holds this box's contents, when there is one: a
  // caller that redraws often reads it directly instead of a snapshot.
  virtual const MemRichBox* Model() const { return nullptr; }

  virtual void SetFocus() {}
  virtual void SetEnabled(bool) {}
  // Stops painting while a long sequence of edits runs (redraw of a long proof).
  virtual void SetUpdatesEnabled(bool) {}
};

}  // namespace qv
