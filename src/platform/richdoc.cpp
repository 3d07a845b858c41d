// The rich-text snapshot and its compact serialisation.
#include "platform/richdoc.h"

#include <charconv>
#include <limits>

namespace qv {

namespace {

constexpr const char kMagic[] = "QVRICH1\n";

// Reads one decimal integer followed by `sep`; fails on anything else.
class Reader {
 public:
  explicit Reader(const std::string& s) : s_(s) {}

  bool Magic() {
    const std::string m = kMagic;
    if (s_.compare(0, m.size(), m) != 0) return false;
    pos_ = m.size();
    return true;
  }

  bool Int(int64_t lo, int64_t hi, char sep, int64_t* out) {
    const char* first = s_.data() + pos_;
    const char* last = s_.data() + s_.size();
    int64_t v = 0;
    auto [p, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || p == last || *p != sep || v < lo || v > hi) return false;
    pos_ = static_cast<size_t>(p - s_.data()) + 1;
    *out = v;
    return true;
  }

  bool Bytes(size_t n, char sep, std::string* out) {
    if (s_.size() - pos_ < n + 1 || s_[pos_ + n] != sep) return false;
    out->assign(s_, pos_, n);
    pos_ += n + 1;
    return true;
  }

  bool AtEnd() const { return pos_ == s_.size(); }

 private:
  const std::string& s_;
  size_t pos_ = 0;
};

void AppendInt(std::string& out, int64_t v, char sep) {
  out += std::to_string(v);
  out += sep;
}

}  // namespace

std::string EncodeRichDoc(const RichDoc& doc) {
  std::string out = kMagic;
  out.reserve(out.size() + doc.text.size() + 32 * doc.runs.size() + 64);
  AppendInt(out, doc.selStart, ' ');
  AppendInt(out, doc.selLength, ' ');
  AppendInt(out, static_cast<int>(doc.tailAlign), '\n');
  AppendInt(out, static_cast<int64_t>(doc.text.size()), '\n');
  out += doc.text;
  out += '\n';
  AppendInt(out, static_cast<int64_t>(doc.runs.size()), '\n');
  for (const RichRun& r : doc.runs) {
    AppendInt(out, r.length, ' ');
    AppendInt(out, r.format.color, ' ');
    AppendInt(out, r.format.size, ' ');
    AppendInt(out, r.format.bold ? 1 : 0, ' ');
    AppendInt(out, static_cast<int>(r.format.align), ' ');
    AppendInt(out, static_cast<int64_t>(r.format.font.size()), ' ');
    out += r.format.font;
    out += '\n';
  }
  return out;
}

bool DecodeRichDoc(const std::string& data, RichDoc* out) {
  constexpr int64_t kMaxLen = std::numeric_limits<int32_t>::max();
  Reader in(data);
  if (!in.Magic()) return false;
  int64_t selStart, selLength, tail, textLen, runCount;
  if (!in.Int(0, kMaxLen, ' ', &selStart) || !in.Int(0, kMaxLen, ' ', &selLength) ||
      !in.Int(0, 2, '\n', &tail) || !in.Int(0, kMaxLen, '\n', &textLen))
    return false;
  RichDoc doc;
  if (!in.Bytes(static_cast<size_t>(textLen), '\n', &doc.text)) return false;
  if (!in.Int(0, textLen, '\n', &runCount)) return false;
  doc.runs.reserve(static_cast<size_t>(runCount));
  int64_t covered = 0;
  for (int64_t i = 0; i < runCount; ++i) {
    int64_t len, colour, size, bold, align, fontLen;
    if (!in.Int(1, kMaxLen, ' ', &len) || !in.Int(0, 0xFFFFFF, ' ', &colour) ||
        !in.Int(1, 1638, ' ', &size) || !in.Int(0, 1, ' ', &bold) || !in.Int(0, 2, ' ', &align) ||
        !in.Int(0, 255, ' ', &fontLen))
      return false;
    RichRun run;
    run.length = static_cast<int32_t>(len);
    run.format.color = static_cast<Rgb>(colour);
    run.format.size = static_cast<int>(size);
    run.format.bold = bold != 0;
    run.format.align = static_cast<Align>(align);
    if (!in.Bytes(static_cast<size_t>(fontLen), '\n', &run.format.font)) return false;
    covered += len;
    if (covered > textLen) return false;
    doc.runs.push_back(std::move(run));
  }
  if (covered != textLen || !in.AtEnd()) return false;
  if (selStart > textLen) selStart = textLen;
  if (selLength > textLen - selStart) selLength = textLen - selStart;
  doc.selStart = static_cast<int32_t>(selStart);
  doc.selLength = static_cast<int32_t>(selLength);
  doc.tailAlign = static_cast<Align>(tail);
  *out = std::move(doc);
  return true;
}

std::string NormaliseBreaks(const std::string& text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

void RichBox::ReplaceRich(int32_t from, int32_t to, std::string_view text,
                          const std::vector<CharFormat>& table, std::span<const uint8_t> ids) {
  RichDoc doc;
  doc.text = text;
  for (size_t i = 0; i < text.size();) {
    size_t j = i + 1;
    while (j < text.size() && ids[j] == ids[i]) ++j;
    doc.runs.push_back({static_cast<int32_t>(j - i), table[ids[i]]});
    i = j;
  }
  SetSelStart(from);
  SetSelLength(to - from);
  if (text.empty())
    SetSelText("");
  else
    SetSelRichText(EncodeRichDoc(doc));
}

}  // namespace qv
