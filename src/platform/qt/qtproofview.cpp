// The proof view on screen: lays out and paints only the lines in sight.
#include "platform/qt/qtproofview.h"
#include "platform/qt/inputstate.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "platform/qt/qtrichbox.h"

namespace qv {

namespace {

QColor ToColour(Rgb c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// Layouts of lines kept between paintings: a few screens' worth.
constexpr size_t kLayoutsKept = 1000;

}  // namespace

QtProofView::QtProofView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  horizontalScrollBar()->setSingleStep(20);
  dragTimer_.setInterval(kDragTick);
  dragTimer_.setTimerType(Qt::PreciseTimer);
  connect(&dragTimer_, &QTimer::timeout, this, [this] { DragTick(); });
  connect(&autoScroll_, &QTimer::timeout, this, [this] { AutoScrollTick(); });
  InstallAccessibility();
  ChangedAll();
}

QtProofView::~QtProofView() = default;

// ---------------------------------------------------------------- changes

void QtProofView::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { Flush(); });
}

void QtProofView::Changed(int32_t from, int32_t to, int32_t oldLength) {
  keptHead_ = std::min(keptHead_, from);
  keptTail_ = std::min(keptTail_, oldLength - to);
  accHead_ = std::min(accHead_, from);
  accTail_ = std::min(accTail_, oldLength - to);
  SelectionChanged();
}

void QtProofView::ChangedAll() {
  allDirty_ = true;
  accAll_ = true;
  SelectionChanged();
}

void QtProofView::FormatChanged() {
  const int32_t a = model_.SelStart(), b = a + model_.SelLength();
  if (a < b)
    Changed(a, b, model_.TextLength());
  else
    SelectionChanged();  // only the format of text typed next, which the view never takes
}

void QtProofView::SelectionChanged() {
  goalX_ = -1;
  anchor_ = model_.SelStart();
  caret_ = model_.SelStart() + model_.SelLength();
  scrollToCaret_ = true;
  Schedule();
}

void QtProofView::Flush() {
  scheduled_ = false;
  if (updatesOff_ > 0) return;
  Sync();
  if (layouts_.size() > kLayoutsKept) DropLayouts();
  UpdateScrollBars();
  if (scrollToCaret_) {
    scrollToCaret_ = false;
    EnsureCaretVisible();
  }
  viewport()->update();
  Announce();
}

void QtProofView::SetUpdatesEnabled(bool on) {
  updatesOff_ = std::max(0, updatesOff_ + (on ? -1 : 1));
  if (updatesOff_ == 0) Flush();
}

bool QtProofView::event(QEvent* e) {
  if (scheduled_ && updatesOff_ == 0) Flush();
  return QAbstractScrollArea::event(e);
}

bool QtProofView::viewportEvent(QEvent* e) {
  if (scheduled_ && updatesOff_ == 0) Flush();
  // A disabled view drops mouse events, but a release must still end the
  // press it belongs to, as in the other boxes.
  if (e->type() == QEvent::MouseButtonRelease && !isEnabled()) {
    EndDrag();
    EndPress(*this, inDoubleClick_, *static_cast<QMouseEvent*>(e), false);
  }
  return QAbstractScrollArea::viewportEvent(e);
}

void QtProofView::SetText(const std::string& text) {
  model_.SetText(text);
  ChangedAll();
}

void QtProofView::SetSelStart(int32_t pos) {
  model_.SetSelStart(pos);
  SelectionChanged();
}

void QtProofView::SetSelLength(int32_t len) {
  model_.SetSelLength(len);
  SelectionChanged();
}

void QtProofView::SetSelText(const std::string& text) {
  const auto [from, to] = model_.EditRange();
  const int32_t length = model_.TextLength();
  model_.SetSelText(text);
  Changed(from, to, length);
}

void QtProofView::SetSelColor(Rgb colour) {
  model_.SetSelColor(colour);
  FormatChanged();
}

void QtProofView::SetSelFontName(const std::string& name) {
  model_.SetSelFontName(name);
  FormatChanged();
}

void QtProofView::SetSelFontSize(int points) {
  model_.SetSelFontSize(points);
  FormatChanged();
}

void QtProofView::SetSelBold(bool bold) {
  model_.SetSelBold(bold);
  FormatChanged();
}

void QtProofView::SetSelAlignment(Align align) {
  // Lines are drawn from the left whatever their alignment; the model keeps it.
  model_.SetSelAlignment(align);
}

void QtProofView::SetDefaultFont(const std::string& name, int points) { model_.SetDefaultFont(name, points); }

void QtProofView::SetRichText(const std::string& snapshot) {
  model_.SetRichText(snapshot);
  ChangedAll();
}

void QtProofView::SetSelRichText(const std::string& snapshot) {
  model_.SetSelRichText(snapshot);
  ChangedAll();
}

void QtProofView::ReplaceRich(int32_t from, int32_t to, std::string_view text,
                              const std::vector<CharFormat>& table, std::span<const uint8_t> ids) {
  const int32_t length = model_.TextLength();
  model_.ReplaceRich(from, to, text, table, ids);
  Changed(std::clamp(from, 0, length), std::clamp(to, std::clamp(from, 0, length), length), length);
}

// The characters change, their formats, line breaks and TABs do not: every
// line keeps its start and the bound of its width (which only formats and
// TABs give), so the line index is not read again. A line that may wrap is
// estimated afresh, as the text's other changes leave it, and the layouts
// go. Taken only while the index is up to date with every earlier change.
bool QtProofView::OverwriteChars(int32_t from, std::string_view text) {
  const std::string& t = model_.TextRef();
  const auto n = static_cast<int32_t>(text.size());
  const int32_t length = model_.TextLength();
  if (from < 0 || n > length - from || allDirty_ || keptHead_ < syncedLength_ || keptTail_ < syncedLength_ ||
      syncedLength_ != length || wrapWidth_ <= 0 || lines_.empty())
    return false;
  // Mostly the same characters: eight at a time are compared, and only
  // where they differ is each looked at. The lines that may wrap and whose
  // characters change are noted, to be estimated afresh.
  auto byStart = [](int32_t p, const Line& l) { return p < l.start; };
  size_t line = static_cast<size_t>(std::upper_bound(lines_.begin(), lines_.end(), from, byStart) - lines_.begin()) - 1;
  std::vector<size_t> wrapping;
  const char* was = t.data() + from;
  const char* now = text.data();
  for (int32_t i = 0; i < n;) {
    uint64_t a = 0, b = 0;
    if (i + 8 <= n) {
      std::memcpy(&a, was + i, 8);
      std::memcpy(&b, now + i, 8);
      if (a == b) {
        i += 8;
        continue;
      }
    }
    for (const int32_t end = std::min(i + 8, n); i < end; ++i) {
      if (was[i] == now[i]) continue;
      if (ShapesLines(was[i]) || ShapesLines(now[i])) return false;
      while (line + 1 < lines_.size() && lines_[line + 1].start <= from + i) ++line;
      if (lines_[line].bound > static_cast<float>(wrapWidth_) && (wrapping.empty() || wrapping.back() != line))
        wrapping.push_back(line);
    }
  }
  model_.OverwriteChars(from, text);
  for (const size_t l : wrapping) Measure(lines_[l], LineEnd(static_cast<int>(l)));
  if (!wrapping.empty()) rowsDirty_ = true;
  DropLayouts();
  accHead_ = std::min(accHead_, from);
  accTail_ = std::min(accTail_, length - from - n);
  SelectionChanged();
  return true;
}

// ---------------------------------------------------------------- lines

const QFont& QtProofView::FontOf(uint32_t id) const {
  const std::vector<CharFormat>& table = model_.FormatTable();
  while (fonts_.size() < table.size()) {
    const CharFormat& f = table[fonts_.size()];
    QFont q(QtRichBox::DisplayFamily(f.font));
    q.setPointSize(std::max(1, f.size));
    q.setBold(f.bold);
    fonts_.push_back(q);
    // The run format of a layout, made once: each run shares it.
    QTextCharFormat c;
    c.setFont(q);
    c.setForeground(ToColour(f.color));
    charFormats_.push_back(c);
  }
  return fonts_[id];
}

const QTextCharFormat& QtProofView::CharFormatOf(uint32_t id) const {
  FontOf(id);
  return charFormats_[id];
}

// The row height and baseline: the tallest font in use. A change of them
// moves every row, so the layouts made for the old ones go.
void QtProofView::UpdateMetrics() const {
  const std::vector<CharFormat>& table = model_.FormatTable();
  if (measuredFormats_ == table.size()) return;
  measuredFormats_ = table.size();
  qreal height = 0, ascent = 0;
  advanceBound_.clear();
  for (size_t k = 0; k < table.size(); ++k) {
    const QFontMetricsF m(FontOf(static_cast<uint32_t>(k)));
    height = std::max(height, m.height());
    ascent = std::max(ascent, m.ascent());
    // A letter shown from another script may come from a fallback font:
    // allow it the width of a line.
    advanceBound_.push_back(static_cast<float>(std::max(m.maxWidth(), m.height())));
  }
  const int newHeight = std::max(1, static_cast<int>(std::ceil(height)));
  if (newHeight != lineHeight_ || ascent != ascent_) layouts_.clear();
  lineHeight_ = newHeight;
  ascent_ = ascent;
}

// Where line.start begins and `end` (before its break) ends: an upper bound
// of the line's width, and its rows at the current width if that settles it.
void QtProofView::Measure(Line& line, int32_t end) const {
  const char* t = model_.TextRef().data();
  const uint32_t* f = model_.FormatIds();
  const float* advance = advanceBound_.data();
  const float tab = static_cast<float>(kTabWidth);
  // Four sums side by side: each addition then waits for the one four
  // characters back, not for the last, and a long line is read at the
  // speed of memory.
  auto width = [&](int32_t i) { return t[i] == '\t' ? tab : advance[f[i]]; };
  float b0 = 0, b1 = 0, b2 = 0, b3 = 0;
  int32_t i = line.start;
  for (; i + 4 <= end; i += 4) {
    b0 += width(i);
    b1 += width(i + 1);
    b2 += width(i + 2);
    b3 += width(i + 3);
  }
  for (; i < end; ++i) b0 += width(i);
  const float bound = (b0 + b1) + (b2 + b3);
  line.bound = bound;
  line.widest = 0;
  line.exact = bound <= static_cast<float>(wrapWidth_);
  line.rows = line.exact ? 1 : std::max(1, static_cast<int>(std::ceil(bound / static_cast<float>(wrapWidth_))));
}

void QtProofView::Sync() const {
  const std::string& t = model_.TextRef();
  const int32_t length = model_.TextLength();
  const bool formatsGrew = measuredFormats_ != model_.FormatTable().size();
  if (allDirty_ || formatsGrew) {
    // A table that was reset may hold other formats under the same indexes.
    if (allDirty_) {
      fonts_.clear();
      charFormats_.clear();
      measuredFormats_ = 0;
    }
    UpdateMetrics();
  }
  if (wrapWidth_ <= 0) wrapWidth_ = WrapWidth();
  int32_t head = keptHead_, tail = keptTail_;
  if (allDirty_) head = tail = 0;
  if (head >= length && tail >= length && !allDirty_ && length == syncedLength_) return;
  const int32_t delta = length - syncedLength_;
  head = std::clamp(head, 0, std::min(length, syncedLength_));
  tail = std::clamp(tail, 0, std::min(length, syncedLength_) - head);
  // Lines a .. b (of the old index) hold the changed text; the ones after b
  // only move by delta.
  size_t a = 0, b = lines_.empty() ? 0 : lines_.size() - 1;
  if (!allDirty_ && !lines_.empty()) {
    auto byStart = [](int32_t p, const Line& l) { return p < l.start; };
    a = static_cast<size_t>(std::upper_bound(lines_.begin(), lines_.end(), head, byStart) - lines_.begin()) - 1;
    b = static_cast<size_t>(
            std::upper_bound(lines_.begin(), lines_.end(), syncedLength_ - tail, byStart) - lines_.begin()) - 1;
  }
  const int32_t from = lines_.empty() || allDirty_ ? 0 : lines_[a].start;
  const int32_t to = b + 1 < lines_.size() && !allDirty_ ? lines_[b + 1].start + delta : length + 1;
  // The lines of [from, to), in a table kept for its memory: a change
  // through a long proof (every number after a deletion) makes tens of
  // thousands of them, about as many as it replaces.
  std::vector<Line>& fresh = fresh_;
  fresh.clear();
  fresh.reserve(allDirty_ || lines_.empty() ? 64 : b - a + 64);
  fresh.push_back(Line{from});
  for (size_t p = t.find('\n', static_cast<size_t>(from)); p != std::string::npos && static_cast<int32_t>(p) + 1 < to;
       p = t.find('\n', p + 1))
    fresh.push_back(Line{static_cast<int32_t>(p) + 1});
  if (allDirty_ || lines_.empty()) {
    lines_.swap(fresh);
    for (size_t l = 0; l < lines_.size(); ++l) Measure(lines_[l], LineEnd(static_cast<int>(l)));
  } else {
    for (size_t l = b + 1; l < lines_.size(); ++l) lines_[l].start += delta;
    const auto first = lines_.begin() + static_cast<std::ptrdiff_t>(a);
    lines_.erase(first, lines_.begin() + static_cast<std::ptrdiff_t>(b) + 1);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(a), fresh.begin(), fresh.end());
    for (size_t l = a; l < a + fresh.size(); ++l) Measure(lines_[l], LineEnd(static_cast<int>(l)));
  }
  allDirty_ = false;
  keptHead_ = keptTail_ = syncedLength_ = length;
  DropLayouts();
  rowsDirty_ = true;
  crlfDirty_ = true;
}

// The layouts go with their table's buckets once it has grown past what one
// screen needs: clearing it empties every bucket, on each change of the text.
void QtProofView::DropLayouts() const {
  if (layouts_.bucket_count() > 256)
    decltype(layouts_)().swap(layouts_);
  else
    layouts_.clear();
}

int QtProofView::WrapWidth() const { return std::max(kTabWidth, viewport()->width() - 2 * kMargin); }

void QtProofView::Rewrap(int width) const {
  wrapWidth_ = width;
  layouts_.clear();
  for (size_t l = 0; l < lines_.size(); ++l) {
    Line& line = lines_[l];
    line.widest = 0;
    line.exact = line.bound <= static_cast<float>(width);
    line.rows = line.exact ? 1 : std::max(1, static_cast<int>(std::ceil(line.bound / static_cast<float>(width))));
  }
  rowsDirty_ = true;
}

void QtProofView::RebuildRows() const {
  if (!rowsDirty_) return;
  rowsDirty_ = false;
  rowTop_.resize(lines_.size() + 1);
  int32_t top = 0;
  float widest = 0;
  for (size_t l = 0; l < lines_.size(); ++l) {
    rowTop_[l] = top;
    top += lines_[l].rows;
    widest = std::max(widest, lines_[l].widest);
  }
  rowTop_[lines_.size()] = top;
  widest_ = widest;
}

int QtProofView::TotalRows() const {
  RebuildRows();
  return rowTop_.back();
}

int QtProofView::LineCount() const {
  Sync();
  return static_cast<int>(lines_.size());
}

int QtProofView::LineHeight() const {
  Sync();
  return lineHeight_;
}

int32_t QtProofView::LineStart(int line) const { return lines_[static_cast<size_t>(line)].start; }

int32_t QtProofView::LineEnd(int line) const {
  const size_t next = static_cast<size_t>(line) + 1;
  if (next >= lines_.size()) return model_.TextLength();
  const int32_t lf = lines_[next].start - 1;
  return lf > 0 && model_.TextRef()[static_cast<size_t>(lf) - 1] == '\r' ? lf - 1 : lf;
}

int32_t QtProofView::OutOfBreak(int32_t pos) const {
  const std::string& t = model_.TextRef();
  const int32_t len = model_.TextLength();
  pos = std::clamp(pos, 0, len);
  return pos > 0 && pos < len && t[pos - 1] == '\r' && t[pos] == '\n' ? pos - 1 : pos;
}

int QtProofView::LineOf(int32_t pos) const {
  Sync();
  auto it = std::upper_bound(lines_.begin(), lines_.end(), pos, [](int32_t p, const Line& l) { return p < l.start; });
  return std::max(0, static_cast<int>(it - lines_.begin()) - 1);
}

const QTextLayout& QtProofView::LayoutOf(int line) const {
  std::unique_ptr<QTextLayout>& slot = layouts_[line];
  if (slot) return *slot;
  // The text as shown, one character for one, in runs of one format.
  const std::string& t = model_.TextRef();
  const int32_t start = LineStart(line), end = LineEnd(line);
  QString shown;
  shown.reserve(end - start);
  QList<QTextLayout::FormatRange> runs;
  for (int32_t i = start; i < end;) {
    const uint32_t id = model_.FormatIdAt(i);
    const CharFormat& f = model_.FormatTable()[id];
    QTextLayout::FormatRange run;
    run.start = i - start;
    while (i < end && model_.FormatIdAt(i) == id) shown += QtRichBox::DisplayChar(t[i++], f.font);
    run.length = i - start - run.start;
    run.format = CharFormatOf(id);
    runs.push_back(run);
  }
  slot = std::make_unique<QTextLayout>(shown, FontOf(0));
  QTextOption option;
  option.setTabStopDistance(kTabWidth);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  slot->setTextOption(option);
  slot->setFormats(runs);
  slot->setCacheEnabled(true);
  // Every row as high as the tallest font, all on one baseline.
  float widest = 0;
  int rows = 0;
  slot->beginLayout();
  for (QTextLine row = slot->createLine(); row.isValid(); row = slot->createLine(), ++rows) {
    row.setLineWidth(wrapWidth_);
    row.setPosition(QPointF(0, rows * lineHeight_ + ascent_ - row.ascent()));
    widest = std::max(widest, static_cast<float>(row.naturalTextWidth()));
  }
  slot->endLayout();
  Line& l = lines_[static_cast<size_t>(line)];
  rows = std::max(1, rows);
  if (l.rows != rows) rowsDirty_ = true;
  widest_ = std::max(widest_, widest);  // recounted with the rows, for lines gone
  l.rows = rows;
  l.widest = widest;
  l.exact = true;
  return *slot;
}

int QtProofView::RowsOf(int line) const { return std::max(1, LayoutOf(line).lineCount()); }

QTextLine QtProofView::LineOfRow(Row r) const {
  const QTextLayout& layout = LayoutOf(r.line);
  return layout.lineAt(std::clamp(r.row, 0, std::max(0, layout.lineCount() - 1)));
}

QtProofView::Row QtProofView::RowOf(int32_t pos) const {
  const int line = LineOf(pos);
  const QTextLayout& layout = LayoutOf(line);
  const QTextLine row = layout.lineForTextPosition(std::clamp(pos, LineStart(line), LineEnd(line)) - LineStart(line));
  return Row{line, row.isValid() ? row.lineNumber() : 0};
}

QtProofView::Row QtProofView::Step(Row r, int delta) const {
  for (; delta > 0; --delta) {
    if (r.row + 1 < RowsOf(r.line))
      ++r.row;
    else if (r.line + 1 < static_cast<int>(lines_.size()))
      r = Row{r.line + 1, 0};
    else
      break;
  }
  for (; delta < 0; ++delta) {
    if (r.row > 0)
      --r.row;
    else if (r.line > 0)
      r = Row{r.line - 1, RowsOf(r.line - 1) - 1};
    else
      break;
  }
  return r;
}

QtProofView::Row QtProofView::RowAtY(qreal y) const {
  Sync();
  RebuildRows();
  const int row = std::clamp(static_cast<int>(std::floor(y / lineHeight_)), 0, std::max(0, TotalRows() - 1));
  auto it = std::upper_bound(rowTop_.begin(), rowTop_.end() - 1, row);
  const int line = std::max(0, static_cast<int>(it - rowTop_.begin()) - 1);
  return Row{line, row - rowTop_[static_cast<size_t>(line)]};
}

int32_t QtProofView::PosInRow(Row r, qreal x, bool onCharacter) const {
  const QTextLine row = LineOfRow(r);
  const int32_t start = LineStart(r.line);
  if (!row.isValid()) return start;
  int at = row.xToCursor(x, onCharacter ? QTextLine::CursorOnCharacter : QTextLine::CursorBetweenCharacters);
  // Right of a row that wraps, the pointer is still on that row: its last
  // character (the blank it broke at), not the first of the next row.
  const int rowEnd = row.textStart() + row.textLength();
  if (at >= rowEnd && rowEnd < LineEnd(r.line) - start) at = std::max(row.textStart(), rowEnd - 1);
  return start + std::clamp(at, 0, LineEnd(r.line) - start);
}

QPointF QtProofView::ContentOffset() const {
  return QPointF(kMargin - horizontalScrollBar()->value(), kMargin - verticalScrollBar()->value());
}

int32_t QtProofView::PosAtPoint(QPointF p, bool onCharacter) const {
  const QPointF c = p - ContentOffset();
  const Row r = RowAtY(c.y());
  return PosInRow(r, c.x(), onCharacter);
}

int32_t QtProofView::CharFromPoint(int x, int y) const { return PosAtPoint(QPointF(x, y), true); }

qreal QtProofView::XOf(int32_t pos) const {
  const Row r = RowOf(pos);
  return LineOfRow(r).cursorToX(std::clamp(pos, LineStart(r.line), LineEnd(r.line)) - LineStart(r.line));
}

QRect QtProofView::CharRect(int32_t pos) const {
  Sync();
  pos = std::clamp(pos, 0, model_.TextLength());
  const Row r = RowOf(pos);
  const QTextLine row = LineOfRow(r);
  const int32_t start = LineStart(r.line), end = LineEnd(r.line);
  const qreal x = row.cursorToX(pos - start);
  const qreal right = pos < end ? row.cursorToX(pos + 1 - start) : x;
  RebuildRows();
  const QPointF o = ContentOffset();
  const int top = static_cast<int>(o.y()) + (rowTop_[static_cast<size_t>(r.line)] + r.row) * lineHeight_;
  const int left = static_cast<int>(std::floor(x + o.x()));
  return QRect(left, top, std::max(0, static_cast<int>(std::ceil(right + o.x())) - left), lineHeight_);
}

// ---------------------------------------------------------------- scrolling

void QtProofView::UpdateScrollBars() {
  RebuildRows();
  const int h = viewport()->height(), w = viewport()->width();
  const int total = TotalRows() * lineHeight_ + 2 * kMargin;
  verticalScrollBar()->setSingleStep(lineHeight_);
  verticalScrollBar()->setPageStep(std::max(1, h));
  verticalScrollBar()->setRange(0, std::max(0, total - h));
  // As far as the widest row laid out so far reaches.
  horizontalScrollBar()->setPageStep(std::max(1, w));
  horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(std::ceil(widest_)) + 2 * kMargin - w));
}

bool QtProofView::LayOutInSight() {
  bool changed = false;
  for (int pass = 0; pass < 8; ++pass) {
    const qreal top = verticalScrollBar()->value() - kMargin;
    const Row first = RowAtY(top), last = RowAtY(top + viewport()->height());
    bool any = false;
    for (int l = first.line; l <= last.line; ++l)
      if (!lines_[static_cast<size_t>(l)].exact) {
        LayoutOf(l);
        any = true;
      }
    if (!any) break;
    changed = true;
    UpdateScrollBars();
  }
  return changed;
}

void QtProofView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  Sync();
  if (WrapWidth() != wrapWidth_) {
    // The line at the top stays where it was; a caret in sight stays in sight.
    const QRect caret = CharRect(caret_);
    const bool caretInSight = caret.top() >= 0 && caret.top() < viewport()->height();
    const int value = verticalScrollBar()->value();
    const int line = RowAtY(value).line;
    const int into = value - rowTop_[static_cast<size_t>(line)] * lineHeight_;
    Rewrap(WrapWidth());
    UpdateScrollBars();
    RebuildRows();
    verticalScrollBar()->setValue(rowTop_[static_cast<size_t>(line)] * lineHeight_ +
                                  std::min(into, RowsOf(line) * lineHeight_ - 1));
    LayOutInSight();
    if (caretInSight) EnsureCaretVisible();
  }
  UpdateScrollBars();
}

void QtProofView::scrollContentsBy(int, int) { viewport()->update(); }

void QtProofView::EnsureVisible(int32_t pos) {
  Sync();
  UpdateScrollBars();
  // Rows laid out on the way may move the character: place it again until
  // they stand still.
  for (int pass = 0; pass < 8; ++pass) {
    const QRect r = CharRect(pos);
    QScrollBar* v = verticalScrollBar();
    if (r.top() < 0)
      v->setValue(v->value() + r.top() - kMargin);
    else if (r.bottom() >= viewport()->height())
      v->setValue(v->value() + r.bottom() - viewport()->height() + 1 + kMargin);
    QScrollBar* h = horizontalScrollBar();
    if (r.left() < 0)
      h->setValue(h->value() + r.left() - kMargin);
    else if (r.left() >= viewport()->width())
      h->setValue(h->value() + r.left() - viewport()->width() + 1 + kMargin);
    if (!LayOutInSight()) break;
  }
}

// ---------------------------------------------------------------- painting

void QtProofView::paintEvent(QPaintEvent* e) {
  Sync();
  if (layouts_.size() > kLayoutsKept) DropLayouts();
  UpdateScrollBars();
  LayOutInSight();
  QPainter p(viewport());
  const QRect area = e->rect();
  const QPointF o = ContentOffset();
  const Row first = RowAtY(area.top() - o.y()), last = RowAtY(area.bottom() - o.y());
  const int32_t selA = model_.SelStart(), selB = model_.SelStart() + model_.SelLength();
  const QPalette& pal = palette();
  QTextCharFormat selectedText;
  selectedText.setForeground(pal.highlightedText());
  for (int line = first.line; line <= last.line; ++line) {
    const QTextLayout& layout = LayoutOf(line);
    RebuildRows();
    const QPointF at(o.x(), o.y() + rowTop_[static_cast<size_t>(line)] * lineHeight_);
    const int32_t start = LineStart(line), end = LineEnd(line);
    QList<QTextLayout::FormatRange> selection;
    if (selA < end && selB > start) {
      // The highlight fills whole rows, so selected rows join up.
      const int32_t a = std::max(selA, start) - start, b = std::min(selB, end) - start;
      for (int k = 0; k < layout.lineCount(); ++k) {
        const QTextLine row = layout.lineAt(k);
        const int rowA = std::max(a, row.textStart()), rowB = std::min(b, row.textStart() + row.textLength());
        if (rowA >= rowB) continue;
        const qreal x0 = row.cursorToX(rowA), x1 = row.cursorToX(rowB);
        p.fillRect(QRectF(at.x() + x0, at.y() + k * lineHeight_, x1 - x0, lineHeight_), pal.highlight());
      }
      selection.push_back(QTextLayout::FormatRange{a, b - a, selectedText});
    }
    // A selected line break shows as a little space after the line.
    if (end < model_.TextLength() && end >= selA && end < selB) {
      const int k = std::max(0, layout.lineCount() - 1);
      const qreal x = layout.lineCount() > 0 ? layout.lineAt(k).cursorToX(end - start) : 0;
      p.fillRect(QRectF(at.x() + x, at.y() + k * lineHeight_, 6, lineHeight_), pal.highlight());
    }
    layout.draw(&p, at, selection, QRectF(area));
  }
  if (hasFocus() && isEnabled()) {
    const QRect c = CharRect(caret_);
    p.fillRect(QRect(c.left(), c.top(), 1, c.height()), pal.text());
  }
}

// ---------------------------------------------------------------- input

void QtProofView::Select(int32_t anchor, int32_t caret, bool keepColumn, bool scroll) {
  // Never between CR and LF: such a caret moves before the break.
  anchor = OutOfBreak(anchor);
  caret = OutOfBreak(caret);
  model_.SetSelStart(std::min(anchor, caret));
  model_.SetSelLength(std::abs(caret - anchor));
  anchor_ = anchor;
  caret_ = caret;
  if (!keepColumn) goalX_ = -1;
  if (scroll) EnsureCaretVisible();
  viewport()->update();
  Announce();
}

// Up and Down (rows = -1, 1) and the pages: the caret goes to the column it
// aimed at before, as many rows away. A page moves the caret by the rows
// that fit in the view and scrolls the view by a page with it, unless the
// caret reaches the first or last row first.
void QtProofView::MoveRows(int rows, bool shift) {
  if (goalX_ < 0) goalX_ = XOf(caret_);
  const Row from = RowOf(caret_);
  const Row to = Step(from, rows);
  const int moved = [&] {
    RebuildRows();
    auto global = [&](Row r) { return rowTop_[static_cast<size_t>(r.line)] + r.row; };
    return global(to) - global(from);
  }();
  if (std::abs(rows) > 1 && moved == rows) {
    QScrollBar* v = verticalScrollBar();
    v->setValue(v->value() + (rows > 0 ? v->pageStep() : -v->pageStep()));
  }
  const int32_t at = PosInRow(to, goalX_, false);
  Select(shift ? anchor_ : at, at, true);
}

// Home and End: the ends of the screen row, as in the editors' boxes. A row
// that wraps at a blank ends before the blank, so the caret stays on it.
int32_t QtProofView::RowStartOf(int32_t pos) const {
  const Row r = RowOf(pos);
  const QTextLine row = LineOfRow(r);
  return LineStart(r.line) + (row.isValid() ? row.textStart() : 0);
}

int32_t QtProofView::RowEndOf(int32_t pos) const {
  const Row r = RowOf(pos);
  if (r.row + 1 >= RowsOf(r.line)) return LineEnd(r.line);
  const QTextLine row = LineOfRow(r);
  const int32_t end = LineStart(r.line) + row.textStart() + row.textLength();
  return QChar::fromLatin1(model_.TextRef()[static_cast<size_t>(end) - 1]).isSpace() ? end - 1 : end;
}

// Ctrl+Left and Ctrl+Right: to the start of the word before or after, over
// the blanks that follow a word, by the same word boundaries as the editors'
// boxes; from the start or the end of a line to the end or the start of the
// next one.
int32_t QtProofView::WordLeftOf(int32_t pos) const {
  const int line = LineOf(pos);
  const int32_t start = LineStart(line);
  if (pos <= start) return line > 0 ? LineEnd(line - 1) : 0;
  return start + LayoutOf(line).previousCursorPosition(std::min(pos, LineEnd(line)) - start, QTextLayout::SkipWords);
}

int32_t QtProofView::WordRightOf(int32_t pos) const {
  const int line = LineOf(pos);
  const int32_t start = LineStart(line);
  if (pos >= LineEnd(line))
    return line + 1 < static_cast<int>(lines_.size()) ? LineStart(line + 1) : model_.TextLength();
  return start + LayoutOf(line).nextCursorPosition(pos - start, QTextLayout::SkipWords);
}

void QtProofView::keyPressEvent(QKeyEvent* e) {
  if (KeyTakenBySlots(*this, suppressKey_, *e)) return;
  Flush();
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const std::string& t = model_.TextRef();
  const int32_t len = model_.TextLength();
  int32_t to = caret_;
  // The rows a page moves the caret: as many as fit in the view, less one.
  const int page = std::max(1, (viewport()->height() + lineHeight_ - 1) / lineHeight_ - 1);
  switch (e->key()) {
    case Qt::Key_Left:
      if (ctrl) {
        to = WordLeftOf(caret_);
        break;
      }
      to = caret_ >= 2 && t[caret_ - 1] == '\n' ? caret_ - 2 : caret_ - 1;
      if (!shift && caret_ != anchor_) to = std::min(caret_, anchor_);
      break;
    case Qt::Key_Right:
      if (ctrl) {
        to = WordRightOf(caret_);
        break;
      }
      to = caret_ < len && t[caret_] == '\r' ? caret_ + 2 : caret_ + 1;
      if (!shift && caret_ != anchor_) to = std::max(caret_, anchor_);
      break;
    case Qt::Key_Up: MoveRows(-1, shift); e->accept(); return;
    case Qt::Key_Down: MoveRows(1, shift); e->accept(); return;
    case Qt::Key_PageUp: MoveRows(-page, shift); e->accept(); return;
    case Qt::Key_PageDown: MoveRows(page, shift); e->accept(); return;
    case Qt::Key_Home: to = ctrl ? 0 : RowStartOf(caret_); break;
    case Qt::Key_End: to = ctrl ? len : RowEndOf(caret_); break;
    case Qt::Key_A:
      if (ctrl) {
        Select(0, len);
        e->accept();
        return;
      }
      [[fallthrough]];
    default:
      e->ignore();  // nothing is typed into the view
      return;
  }
  Select(shift ? anchor_ : to, to);
  e->accept();
}

void QtProofView::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  emit mousePressed(static_cast<int>(e->button()), static_cast<int>(e->modifiers()), p.x(), p.y());
  Flush();
  // A right press keeps the selection (the caller's context menu acts on it).
  if (e->button() != Qt::LeftButton) {
    e->accept();
    return;
  }
  // The caret goes before the character under the pointer, wherever on it.
  const int32_t at = PosAtPoint(e->position(), true);
  shiftPress_ = e->modifiers() & Qt::ShiftModifier;
  Select(shiftPress_ ? anchor_ : at, at);
  EndDrag();
  pressEdge_ = PosAtPoint(e->position(), false);
  dragged_ = false;
  dragPos_ = e->position();
  selecting_ = true;
  e->accept();
}

// A drag takes in a character once the pointer passes its middle; it starts
// from the edge of the pressed character nearer to the press, so a drag
// either way takes in that character when it passes the character's middle.
// Until the pointer leaves the half it was pressed on, the press stays a click.
void QtProofView::DragTo(QPointF p) {
  int32_t at = PosAtPoint(p, false);
  // Past the right edge the caret keeps what the drag timer added to its line.
  if (grown_ >= 0 && at <= grown_ && LineOf(at) == LineOf(grown_)) at = grown_;
  if (shiftPress_) {
    Select(anchor_, at, false, false);
    return;
  }
  if (!dragged_) {
    if (at == pressEdge_) return;
    dragged_ = true;
  }
  Select(pressEdge_, at, false, false);
}

void QtProofView::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (selecting_ && (e->buttons() & Qt::LeftButton)) {
    dragPos_ = e->position();
    DragTo(dragPos_);
    UpdateDragTimers();
  }
  emit mouseMoved(static_cast<int>(e->buttons()), static_cast<int>(e->modifiers()), p.x(), p.y());
}

// Past the right edge of the box (its scroll bar included) the drag timer
// runs until it reaches the line's end, and again only once the pointer has
// been back; above or below the view it scrolls.
void QtProofView::UpdateDragTimers() {
  if (viewport()->mapTo(this, dragPos_).x() < width()) {
    dragTimer_.stop();
    eolReached_ = false;
    grown_ = -1;
  } else if (!eolReached_ && !dragTimer_.isActive()) {
    dragTimer_.start();
  }
  const QRect visible = viewport()->rect();
  if (dragPos_.y() < visible.top() || dragPos_.y() > visible.bottom()) {
    if (!autoScroll_.isActive()) autoScroll_.start(100);
  } else {
    autoScroll_.stop();
  }
}

// One character more at the selection's end, unless its last character is
// a line feed or the next one is the line's break or the end of the text.
void QtProofView::DragTick() {
  if (!selecting_ || !isEnabled() || updatesOff_ > 0) {
    dragTimer_.stop();
    return;
  }
  Flush();
  const int32_t end = model_.SelStart() + model_.SelLength();
  if (end == 0) return;
  if (model_.TextRef()[static_cast<size_t>(end) - 1] == '\n' || end >= LineEnd(LineOf(end))) {
    eolReached_ = true;
    dragTimer_.stop();
    return;
  }
  if (caret_ >= anchor_) {
    if (!dragged_ && !shiftPress_) {
      dragged_ = true;
      pressEdge_ = anchor_;
    }
    Select(anchor_, end + 1);
    grown_ = end + 1;
  } else {
    Select(end + 1, caret_);
    if (!shiftPress_) pressEdge_ = end + 1;
  }
}

// Scrolls a row towards the pointer, sooner the farther out it is (as the
// editors' boxes do), and lets the selection follow it.
void QtProofView::AutoScrollTick() {
  const QRect visible = viewport()->rect();
  const int y = static_cast<int>(std::floor(dragPos_.y()));
  const int delta = std::max(y - visible.top(), visible.bottom() - y) - visible.height();
  if (!selecting_ || !isEnabled() || updatesOff_ > 0 || delta < 0) {
    autoScroll_.stop();
    return;
  }
  const int d = std::max(delta, 7);
  autoScroll_.setInterval(std::max(1, 4900 / (d * d)));
  QScrollBar* v = verticalScrollBar();
  const int before = v->value();
  v->triggerAction(y < visible.center().y() ? QAbstractSlider::SliderSingleStepSub
                                            : QAbstractSlider::SliderSingleStepAdd);
  if (v->value() != before) DragTo(dragPos_);
}

void QtProofView::EndDrag() {
  selecting_ = false;
  dragTimer_.stop();
  autoScroll_.stop();
  eolReached_ = false;
  grown_ = -1;
}

void QtProofView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) EndDrag();
  EndPress(*this, inDoubleClick_, *e, true);
}

void QtProofView::mouseDoubleClickEvent(QMouseEvent* e) { StartDoubleClick(*this, inDoubleClick_, *e); }

// ---------------------------------------------------------------- accessibility

// The text as shown is the text with each CR LF as one "\n" (standing where
// the CR stands) and each character as the view paints it.
int32_t QtProofView::AccessOffset(int32_t pos) const {
  Sync();
  if (crlfDirty_) {
    crlfDirty_ = false;
    crlfBefore_.resize(lines_.size() + 1);
    crlfBefore_[0] = 0;
    for (size_t l = 0; l < lines_.size(); ++l) {
      const bool pair = l + 1 < lines_.size() && LineEnd(static_cast<int>(l)) + 2 == lines_[l + 1].start;
      crlfBefore_[l + 1] = crlfBefore_[l] + (pair ? 1 : 0);
    }
  }
  pos = std::clamp(pos, 0, model_.TextLength());
  const int line = LineOf(pos);
  // Between the CR and the LF: on the break.
  return pos - crlfBefore_[static_cast<size_t>(line)] - (pos > LineEnd(line) ? 1 : 0);
}

int32_t QtProofView::PosOfAccess(int32_t offset) const {
  offset = std::clamp(offset, 0, AccessCount());  // brings the index up to date too
  auto first = [&](size_t l) { return lines_[l].start - crlfBefore_[l]; };
  size_t lo = 0, hi = lines_.size() - 1;
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (first(mid) <= offset)
      lo = mid;
    else
      hi = mid - 1;
  }
  const int line = static_cast<int>(lo);
  return std::min(LineStart(line) + (offset - static_cast<int32_t>(first(lo))), LineEnd(line));
}

QString QtProofView::ShownText(int32_t from, int32_t to) const {
  const std::string& t = model_.TextRef();
  from = OutOfBreak(from);
  to = std::max(from, OutOfBreak(to));
  // Only the symbol and tag fonts show other characters than they hold.
  const std::vector<CharFormat>& table = model_.FormatTable();
  std::vector<char> mapped(table.size());
  for (size_t k = 0; k < table.size(); ++k)
    mapped[k] = table[k].font == kSymbolFont || table[k].font == kTagFont;
  QString shown;
  shown.reserve(to - from);
  for (int32_t i = from; i < to; ++i) {
    const char c = t[static_cast<size_t>(i)];
    if (c == '\r' && i + 1 < to && t[static_cast<size_t>(i) + 1] == '\n') {
      shown += QChar(u'\n');
      ++i;
      continue;
    }
    const uint32_t id = model_.FormatIdAt(i);
    shown += mapped[id] ? QtRichBox::DisplayChar(c, table[id].font) : QChar::fromLatin1(c);
  }
  return shown;
}

// Only while an accessibility client is active does the view keep the text
// it was told and work out what changed: otherwise this costs a test.
void QtProofView::Announce() {
  if (!QAccessible::isActive()) {
    if (accValid_) accText_ = QString();
    accValid_ = false;
    return;
  }
  if (updatesOff_ > 0) return;  // in the middle of a change
  if (!accValid_) {
    accText_ = ShownText(0, model_.TextLength());
    accValid_ = true;
    accAll_ = false;
    accHead_ = accTail_ = INT32_MAX;
    accCaret_ = AccessOffset(caret_);
    accSelA_ = AccessOffset(model_.SelStart());
    accSelB_ = AccessOffset(model_.SelStart() + model_.SelLength());
    return;
  }
  if (accAll_ || accHead_ != INT32_MAX || accTail_ != INT32_MAX) AnnounceText();
  const int32_t a = AccessOffset(model_.SelStart()), b = AccessOffset(model_.SelStart() + model_.SelLength());
  const int32_t c = AccessOffset(caret_);
  if ((a != accSelA_ || b != accSelB_) && (a != b || accSelA_ != accSelB_)) {
    QAccessibleTextSelectionEvent ev(this, a, b);
    ev.setCursorPosition(c);
    QAccessible::updateAccessibility(&ev);
  }
  accSelA_ = a;
  accSelB_ = b;
  if (c != accCaret_) {
    accCaret_ = c;
    QAccessibleTextCursorEvent ev(this, c);
    QAccessible::updateAccessibility(&ev);
  }
}

// The text between the first and the last position changed since the last
// announcement, one character more on either side and never splitting a
// CR LF, so that its offsets are the same before and after; of it only
// what differs from the text told before is announced.
void QtProofView::AnnounceText() {
  const int32_t len = model_.TextLength();
  int32_t from = accAll_ ? 0 : std::clamp(accHead_, 0, len);
  int32_t to = accAll_ ? len : len - std::clamp(accTail_, 0, len);
  accAll_ = false;
  accHead_ = accTail_ = INT32_MAX;
  from = OutOfBreak(std::max(0, from - 1));
  to = OutOfBreak(std::clamp(to + 1, from, len));
  const int32_t a = AccessOffset(from), newEnd = AccessOffset(to);
  const int32_t oldEnd = static_cast<int32_t>(accText_.size()) - (AccessCount() - newEnd);
  const QString now = ShownText(from, to);
  if (oldEnd < a) {  // cannot happen; start afresh rather than tell nonsense
    accText_ = ShownText(0, len);
    return;
  }
  const QStringView before = QStringView(accText_).mid(a, oldEnd - a);
  qsizetype head = 0, tail = 0;
  const qsizetype most = std::min(before.size(), now.size());
  while (head < most && before[head] == now[head]) ++head;
  while (tail < most - head && before[before.size() - 1 - tail] == now[now.size() - 1 - tail]) ++tail;
  const QString removed = before.mid(head, before.size() - head - tail).toString();
  const QString inserted = now.mid(head, now.size() - head - tail);
  accText_.replace(a, oldEnd - a, now);
  const int at = a + static_cast<int>(head);
  if (removed.isEmpty() && inserted.isEmpty()) {
    QAccessibleEvent ev(this, QAccessible::TextAttributeChanged);  // only formats changed
    QAccessible::updateAccessibility(&ev);
  } else if (removed.isEmpty()) {
    QAccessibleTextInsertEvent ev(this, at, inserted);
    QAccessible::updateAccessibility(&ev);
  } else if (inserted.isEmpty()) {
    QAccessibleTextRemoveEvent ev(this, at, removed);
    QAccessible::updateAccessibility(&ev);
  } else {
    QAccessibleTextUpdateEvent ev(this, at, removed, inserted);
    QAccessible::updateAccessibility(&ev);
  }
}

void QtProofView::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  viewport()->update();
}

// A drag ends when the view loses the focus (a window opened over it), is
// hidden or disabled: no timer changes the selection behind a dialog.
void QtProofView::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  EndDrag();
  viewport()->update();
}

void QtProofView::hideEvent(QHideEvent* e) {
  EndDrag();
  QAbstractScrollArea::hideEvent(e);
}

void QtProofView::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange && !isEnabled()) EndDrag();
  QAbstractScrollArea::changeEvent(e);
}

}  // namespace qv
