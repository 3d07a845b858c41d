// The rich-text box in memory: text with one format index per character.
#include "platform/memrichbox.h"

#include <algorithm>

namespace qv {

namespace {
// Revisions are unique across all boxes, so a copy of another box never
// looks unchanged to a caller that remembered this box's revision.
uint64_t NextRevision() {
  static uint64_t last = 0;
  return ++last;
}
}  // namespace

MemRichBox::MemRichBox() { ResetTable(); }

void MemRichBox::ResetTable() {
  table_.clear();
  table_.push_back(default_);
}

uint32_t MemRichBox::Intern(const CharFormat& f) {
  for (size_t i = 0; i < table_.size(); ++i)
    if (table_[i] == f) return static_cast<uint32_t>(i);
  table_.push_back(f);
  return static_cast<uint32_t>(table_.size() - 1);
}

void MemRichBox::SetText(const std::string& text) {
  revision_ = NextRevision();
  text_ = NormaliseBreaks(text);
  ResetTable();
  fmt_.assign(text_.size(), 0);
  tailAlign_ = Align::Left;
  selStart_ = selLength_ = 0;
  caretFmt_.reset();
}

void MemRichBox::SetSelStart(int32_t pos) {
  selStart_ = std::clamp(pos, 0, Len());
  selLength_ = 0;
  caretFmt_.reset();
}

void MemRichBox::SetSelLength(int32_t len) {
  selLength_ = std::clamp(len, 0, Len() - selStart_);
  caretFmt_.reset();
}

std::string MemRichBox::SelText() const { return text_.substr(selStart_, selLength_); }

const CharFormat& MemRichBox::SelFormat() const {
  if (selLength_ > 0) return table_[fmt_[selStart_]];
  if (caretFmt_) return table_[*caretFmt_];
  if (selStart_ > 0) return table_[fmt_[selStart_ - 1]];
  if (!text_.empty()) return table_[fmt_[0]];
  return default_;
}

int32_t MemRichBox::ParagraphStart(int32_t pos) const {
  pos = std::clamp(pos, 0, Len());
  while (pos > 0 && text_[pos - 1] != '\n') --pos;
  return pos;
}

Align MemRichBox::ParagraphAlign(int32_t pos) const {
  int32_t start = ParagraphStart(pos);
  return start < Len() ? table_[fmt_[start]].align : tailAlign_;
}

std::pair<int32_t, int32_t> MemRichBox::EditRange() const {
  int32_t a = selStart_, b = selStart_ + selLength_;
  auto inBreak = [&](int32_t p) { return p > 0 && p < Len() && text_[p - 1] == '\r' && text_[p] == '\n'; };
  if (a == b) {
    if (inBreak(a)) a = b = a - 1;
    return {a, b};
  }
  if (inBreak(a)) --a;
  if (inBreak(b)) ++b;
  return {a, b};
}

std::pair<int32_t, int32_t> MemRichBox::AlignRange() const {
  int32_t a = ParagraphStart(selStart_);
  int32_t last = selLength_ > 0 ? selStart_ + selLength_ - 1 : selStart_;
  auto lf = text_.find('\n', static_cast<size_t>(last));
  int32_t b = lf == std::string::npos ? Len() : static_cast<int32_t>(lf) + 1;
  return {a, b};
}

const CharFormat& MemRichBox::InsertFormat(int32_t from, int32_t to) const {
  if (caretFmt_) return table_[*caretFmt_];
  if (from > 0) return table_[fmt_[from - 1]];
  if (to > from || !text_.empty()) return table_[fmt_[from]];
  return default_;
}

// The range is replaced in place, so a long replacement is copied once; the
// alignment is read before the text moves.
Align MemRichBox::Put(int32_t from, int32_t to, std::string_view text) {
  const int32_t start = ParagraphStart(from);
  const Align align = start < from ? table_[fmt_[start]].align : to < Len() ? table_[fmt_[to]].align : tailAlign_;
  revision_ = NextRevision();
  const size_t n = text.size(), gone = static_cast<size_t>(to - from);
  // A text that outgrows its memory takes an eighth more than it needs, so
  // the next lines added to a long text (the first after a proof is opened)
  // move none of it.
  const size_t need = text_.size() - gone + n;
  if (need > text_.capacity()) text_.reserve(need + need / 8);
  if (need > fmt_.capacity()) fmt_.reserve(need + need / 8);
  text_.replace(static_cast<size_t>(from), gone, text);
  if (n > gone)
    fmt_.insert(fmt_.begin() + to, n - gone, 0);
  else
    fmt_.erase(fmt_.begin() + from + static_cast<std::ptrdiff_t>(n), fmt_.begin() + to);
  selStart_ = from + static_cast<int32_t>(n);
  selLength_ = 0;
  caretFmt_.reset();
  return align;
}

void MemRichBox::Replace(int32_t from, int32_t to, const std::string& text,
                         const std::vector<CharFormat>& formats) {
  const Align align = Put(from, to, text);
  uint32_t* out = fmt_.data() + from;
  // Runs of equal formats are common: intern each distinct neighbour once.
  const CharFormat* prev = nullptr;
  uint32_t prevIdx = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const CharFormat& f = formats.size() == 1 ? formats[0] : formats[i];
    if (prev == nullptr || !(f == *prev)) {
      CharFormat g = f;
      g.align = align;
      prevIdx = Intern(g);
      prev = &f;
    }
    out[i] = prevIdx;
  }
}

void MemRichBox::SetSelText(const std::string& text) {
  auto [a, b] = EditRange();
  CharFormat f = InsertFormat(a, b);
  Replace(a, b, NormaliseBreaks(text), {f});
}

template <class Change>
void MemRichBox::ChangeFormat(Change change) {
  if (selLength_ == 0) {
    CharFormat f = SelFormat();
    change(f);
    caretFmt_ = Intern(f);
    return;
  }
  revision_ = NextRevision();
  uint32_t lastOld = UINT32_MAX, lastNew = 0;
  for (int32_t i = selStart_; i < selStart_ + selLength_; ++i) {
    if (fmt_[i] != lastOld) {
      lastOld = fmt_[i];
      CharFormat f = table_[lastOld];
      change(f);
      lastNew = Intern(f);
    }
    fmt_[i] = lastNew;
  }
}

void MemRichBox::SetSelColor(Rgb colour) {
  ChangeFormat([&](CharFormat& f) { f.color = colour & 0xFFFFFF; });
}
void MemRichBox::SetSelFontName(const std::string& name) {
  ChangeFormat([&](CharFormat& f) { f.font = name; });
}
void MemRichBox::SetSelFontSize(int points) {
  points = std::clamp(points, 1, 1638);
  ChangeFormat([&](CharFormat& f) { f.size = points; });
}
void MemRichBox::SetSelBold(bool bold) {
  ChangeFormat([&](CharFormat& f) { f.bold = bold; });
}

void MemRichBox::SetSelAlignment(Align align) {
  auto [a, b] = AlignRange();
  revision_ = NextRevision();
  uint32_t lastOld = UINT32_MAX, lastNew = 0;
  for (int32_t i = a; i < b; ++i) {
    if (fmt_[i] != lastOld) {
      lastOld = fmt_[i];
      CharFormat f = table_[lastOld];
      f.align = align;
      lastNew = Intern(f);
    }
    fmt_[i] = lastNew;
  }
  // The last paragraph, or an empty one after the final break.
  if (b == Len() && (b == 0 || text_[b - 1] != '\n' || a == b)) tailAlign_ = align;
}

void MemRichBox::SetDefaultFont(const std::string& name, int points) {
  default_.font = name;
  default_.size = std::clamp(points, 1, 1638);
}

RichDoc MemRichBox::Doc(int32_t from, int32_t to) const {
  RichDoc doc;
  from = std::clamp(from, 0, Len());
  to = std::clamp(to, from, Len());
  doc.text = text_.substr(from, to - from);
  for (int32_t i = from; i < to;) {
    int32_t j = i + 1;
    while (j < to && fmt_[j] == fmt_[i]) ++j;
    doc.runs.push_back({j - i, table_[fmt_[i]]});
    i = j;
  }
  if (from == 0 && to == Len()) {
    doc.selStart = selStart_;
    doc.selLength = selLength_;
    doc.tailAlign = tailAlign_;
  }
  return doc;
}

void MemRichBox::SetDoc(const RichDoc& doc) {
  revision_ = NextRevision();
  ResetTable();
  // One table index a character; text not covered by runs takes the default.
  std::vector<uint32_t> src(doc.text.size(), 0);
  size_t pos = 0;
  for (const RichRun& run : doc.runs) {
    uint32_t f = Intern(run.format);
    for (int32_t k = 0; k < run.length && pos < src.size(); ++k) src[pos++] = f;
  }
  text_.clear();
  fmt_.clear();
  text_.reserve(doc.text.size());
  fmt_.reserve(doc.text.size());
  for (size_t i = 0; i < doc.text.size(); ++i) {
    char c = doc.text[i];
    if (c == '\r' && i + 1 < doc.text.size() && doc.text[i + 1] == '\n') {
      text_ += "\r\n";
      fmt_.push_back(src[i]);
      fmt_.push_back(src[i + 1]);
      ++i;
    } else if (c == '\r' || c == '\n') {
      // A lone CR or LF becomes CR LF in its own format.
      text_ += "\r\n";
      fmt_.push_back(src[i]);
      fmt_.push_back(src[i]);
    } else {
      text_ += c;
      fmt_.push_back(src[i]);
    }
  }
  tailAlign_ = doc.tailAlign;
  caretFmt_.reset();
  selStart_ = std::clamp(doc.selStart, 0, Len());
  selLength_ = std::clamp(doc.selLength, 0, Len() - selStart_);
}

std::string MemRichBox::RichText() const { return EncodeRichDoc(Doc(0, Len())); }

void MemRichBox::SetRichText(const std::string& snapshot) {
  RichDoc doc;
  if (DecodeRichDoc(snapshot, &doc))
    SetDoc(doc);
  else
    SetText(snapshot);
}

std::string MemRichBox::SelRichText() const {
  return EncodeRichDoc(Doc(selStart_, selStart_ + selLength_));
}

void MemRichBox::SetSelRichText(const std::string& snapshot) {
  RichDoc doc;
  if (!DecodeRichDoc(snapshot, &doc)) {
    SetSelText(snapshot);
    return;
  }
  // Expand the runs to one format a character, widening lone breaks.
  MemRichBox tmp;
  tmp.SetDoc(doc);
  std::vector<CharFormat> formats(tmp.text_.size());
  for (size_t i = 0; i < formats.size(); ++i) formats[i] = tmp.table_[tmp.fmt_[i]];
  auto [a, b] = EditRange();
  if (formats.empty()) {
    Replace(a, b, "", {InsertFormat(a, b)});
    return;
  }
  Replace(a, b, tmp.text_, formats);
}

void MemRichBox::ReplaceRich(int32_t from, int32_t to, std::string_view text,
                             const std::vector<CharFormat>& table, std::span<const uint8_t> ids) {
  from = std::clamp(from, 0, Len());
  to = std::clamp(to, from, Len());
  const Align align = Put(from, to, text);
  const size_t n = text.size();
  // Each format of the table interned once, on first use.
  std::vector<uint32_t> mine(table.size(), UINT32_MAX);
  uint32_t* out = fmt_.data() + from;
  for (size_t i = 0; i < n; ++i) {
    uint32_t& m = mine[ids[i]];
    if (m == UINT32_MAX) {
      CharFormat g = table[ids[i]];
      g.align = align;
      m = Intern(g);
    }
    out[i] = m;
  }
}

bool MemRichBox::OverwriteChars(int32_t from, std::string_view text) {
  if (from < 0 || static_cast<size_t>(from) + text.size() > text_.size()) return false;
  revision_ = NextRevision();
  text_.replace(static_cast<size_t>(from), text.size(), text);
  return true;
}

int32_t MemRichBox::CharFromPoint(int x, int y) const {
  if (x < 0 || y < 0) return -1;
  int line = y / kLineHeight;
  int32_t pos = 0;
  for (int l = 0; l < line; ++l) {
    auto lf = text_.find('\n', static_cast<size_t>(pos));
    if (lf == std::string::npos) return Len();
    pos = static_cast<int32_t>(lf) + 1;
  }
  int32_t col = x / kCharWidth;
  while (col > 0 && pos < Len() && text_[pos] != '\r' && text_[pos] != '\n') {
    ++pos;
    --col;
  }
  return pos;
}

}  // namespace qv
