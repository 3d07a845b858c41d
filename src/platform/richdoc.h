// The rich-text snapshot shared by every RichBox: text, per-character format,
// paragraph alignment and selection, and its own compact serialisation (what
// RichBox::RichText() returns and the clipboard carries as rich text).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/richbox.h"

namespace qv {

// Logical format of one character. Alignment belongs to the paragraph: every
// character of a paragraph carries it, the first character decides.
struct CharFormat {
  Rgb color = kBlack;
  std::string font = kDefaultFont;
  int size = 10;
  bool bold = false;
  Align align = Align::Left;
  bool operator==(const CharFormat&) const = default;
};

struct RichRun {
  int32_t length = 0;
  CharFormat format;
  bool operator==(const RichRun&) const = default;
};

struct RichDoc {
  std::string text;
  std::vector<RichRun> runs;  // lengths add up to text.size()
  Align tailAlign = Align::Left;  // alignment of an empty last paragraph
  int32_t selStart = 0;
  int32_t selLength = 0;
  bool operator==(const RichDoc&) const = default;
};

std::string EncodeRichDoc(const RichDoc& doc);
// False when `data` is not a snapshot made by EncodeRichDoc (or is damaged);
// `out` is then unspecified.
bool DecodeRichDoc(const std::string& data, RichDoc* out);

// Every line break as CR LF: a lone CR or a lone LF becomes CR LF.
std::string NormaliseBreaks(const std::string& text);

}  // namespace qv
