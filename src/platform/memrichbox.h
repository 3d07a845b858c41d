// A complete rich-text box in memory: what the tests use in place of the
// on-screen boxes, and the model the Qt box mirrors on screen.
//
// Formats are kept per character as indexes into a small table of distinct
// formats, so formatting any range costs its length and nothing else.
// Line breaks are always CR LF: text coming in with a lone CR or LF has it
// made into CR LF, and an edit whose selection ends between a CR and its LF
// takes in the whole break (an empty selection there inserts before the CR),
// so a break is never torn in half.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/richbox.h"
#include "platform/richdoc.h"

namespace qv {

class MemRichBox : public RichBox {
 public:
  MemRichBox();

  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override;
  int32_t TextLength() const override { return Len(); }

  int32_t SelStart() const override { return selStart_; }
  void SetSelStart(int32_t pos) override;
  int32_t SelLength() const override { return selLength_; }
  void SetSelLength(int32_t len) override;
  std::string SelText() const override;
  void SetSelText(const std::string& text) override;

  Rgb SelColor() const override { return SelFormat().color; }
  void SetSelColor(Rgb colour) override;
  std::string SelFontName() const override { return SelFormat().font; }
  void SetSelFontName(const std::string& name) override;
  int SelFontSize() const override { return SelFormat().size; }
  void SetSelFontSize(int points) override;
  bool SelBold() const override { return SelFormat().bold; }
  void SetSelBold(bool bold) override;
  Align SelAlignment() const override { return ParagraphAlign(selStart_); }
  void SetSelAlignment(Align align) override;

  void SetDefaultFont(const std::string& name, int points) override;
  void SetDefaultBold(bool bold) override { default_.bold = bold; }

  std::string RichText() const override;
  void SetRichText(const std::string& snapshot) override;
  std::string SelRichText() const override;
  void SetSelRichText(const std::string& snapshot) override;

  // Fixed pitch: kCharWidth pixels a character, kLineHeight pixels a line;
  // a point right of a line's end gives the position before its CR.
  int32_t CharFromPoint(int x, int y) const override;
  void ReplaceRich(int32_t from, int32_t to, std::string_view text, const std::vector<CharFormat>& table,
                   std::span<const uint8_t> ids) override;
  bool OverwriteChars(int32_t from, std::string_view text) override;
  const MemRichBox* Model() const override { return this; }
  static constexpr int kCharWidth = 8;
  static constexpr int kLineHeight = 16;

  // --- beyond RichBox: for tests and for the Qt box that mirrors this one ---
  const std::string& TextRef() const { return text_; }
  const CharFormat& FormatAt(int32_t pos) const { return table_[fmt_[pos]]; }
  // The same format as an index into FormatTable(), for fast comparisons.
  uint32_t FormatIdAt(int32_t pos) const { return fmt_[pos]; }
  const uint32_t* FormatIds() const { return fmt_.data(); }  // one a character
  const std::vector<CharFormat>& FormatTable() const { return table_; }
  // Changes with every change of text or formats (not of the selection),
  // to a value no box had before: a caller that remembers it knows whether
  // anything changed the box since.
  uint64_t Revision() const { return revision_; }

  // The format that getters report and that new text would take.
  const CharFormat& SelFormat() const;
  // Alignment of the paragraph holding `pos`.
  Align ParagraphAlign(int32_t pos) const;
  // First position of the paragraph holding `pos`.
  int32_t ParagraphStart(int32_t pos) const;
  const CharFormat& DefaultFormat() const { return default_; }
  // The range [first, second) that SetSelText would replace.
  std::pair<int32_t, int32_t> EditRange() const;
  // The range [first, second) of whole paragraphs that SetSelAlignment changes.
  std::pair<int32_t, int32_t> AlignRange() const;
  // Text and formats of [from, to); selection and tail alignment of the box
  // when the range is the whole text.
  RichDoc Doc(int32_t from, int32_t to) const;
  void SetDoc(const RichDoc& doc);

 private:
  int32_t Len() const { return static_cast<int32_t>(text_.size()); }
  uint32_t Intern(const CharFormat& f);
  void ResetTable();
  template <class Change>
  void ChangeFormat(Change change);
  // Replaces [from, to) by `text` whose characters take `formats`
  // (one per character, or one for all) and the paragraph's alignment.
  void Replace(int32_t from, int32_t to, const std::string& text,
               const std::vector<CharFormat>& formats);
  const CharFormat& InsertFormat(int32_t from, int32_t to) const;
  // Puts `text` in place of [from, to), the caret after it, and gives the
  // alignment the new text takes (its paragraph's once the range is gone);
  // the new characters' format indexes are left for the caller to set.
  Align Put(int32_t from, int32_t to, std::string_view text);

  std::string text_;
  uint64_t revision_ = 0;
  std::vector<uint32_t> fmt_;      // one table index per character
  std::vector<CharFormat> table_;  // distinct formats in use (and some no longer)
  Align tailAlign_ = Align::Left;
  int32_t selStart_ = 0;
  int32_t selLength_ = 0;
  std::optional<uint32_t> caretFmt_;  // set on an empty selection, for new text
  CharFormat default_;
};

}  // namespace qv
