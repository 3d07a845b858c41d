#include "platform/qt/qtproofview.h"
#include "platform/qt/inputstate.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "platform/qt/qtrichbox.h"

namespace qv {

namespace {

QColor ToColour(Rgb c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

}  // namespace

QtProofView::QtProofView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  horizontalScrollBar()->setSingleStep(20);
  Changed(true);
}

QtProofView::~QtProofView() = default;

// ---------------------------------------------------------------- changes

void QtProofView::Schedule() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] { Flush(); });
}

void QtProofView::Changed(bool formatsReset) {
  linesDirty_ = true;
  if (formatsReset) fonts_.clear();
  SelectionChanged();
}

void QtProofView::SelectionChanged() {
  anchor_ = model_.SelStart();
  caret_ = model_.SelStart() + model_.SelLength();
  scrollToCaret_ = true;
  Schedule();
}

void QtProofView::Flush() {
  scheduled_ = false;
  if (updatesOff_ > 0) return;
  if (linesDirty_) {
    RebuildLines();
    UpdateScrollBars();
  }
  if (scrollToCaret_) {
    scrollToCaret_ = false;
    EnsureCaretVisible();
  }
  viewport()->update();
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
  if (e->type() == QEvent::MouseButtonRelease && !isEnabled())
    EndPress(*this, inDoubleClick_, *static_cast<QMouseEvent*>(e), false);
  return QAbstractScrollArea::viewportEvent(e);
}

void QtProofView::SetText(const std::string& text) {
  model_.SetText(text);
  Changed(true);
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
  model_.SetSelText(text);
  Changed(false);
}

void QtProofView::SetSelColor(Rgb colour) {
  model_.SetSelColor(colour);
  Changed(false);
}

void QtProofView::SetSelFontName(const std::string& name) {
  model_.SetSelFontName(name);
  Changed(false);
}

void QtProofView::SetSelFontSize(int points) {
  model_.SetSelFontSize(points);
  Changed(false);
}

void QtProofView::SetSelBold(bool bold) {
  model_.SetSelBold(bold);
  Changed(false);
}

void QtProofView::SetSelAlignment(Align align) {
  // Lines are drawn from the left whatever their alignment; the model keeps it.
  model_.SetSelAlignment(align);
  Changed(false);
}

void QtProofView::SetDefaultFont(const std::string& name, int points) { model_.SetDefaultFont(name, points); }

void QtProofView::SetRichText(const std::string& snapshot) {
  model_.SetRichText(snapshot);
  Changed(true);
}

void QtProofView::SetSelRichText(const std::string& snapshot) {
  model_.SetSelRichText(snapshot);
  Changed(false);
}

void QtProofView::ReplaceRich(int32_t from, int32_t to, const std::string& text,
                              const std::vector<CharFormat>& table, const std::vector<uint8_t>& ids) {
  model_.ReplaceRich(from, to, text, table, ids);
  Changed(false);
}

// ---------------------------------------------------------------- lines

void QtProofView::RebuildLines() const {
  linesDirty_ = false;
  const std::string& t = model_.TextRef();
  lineStarts_.assign(1, 0);
  for (size_t p = t.find('\n'); p != std::string::npos; p = t.find('\n', p + 1))
    lineStarts_.push_back(static_cast<int32_t>(p) + 1);
  // One height for every line: the tallest font in use.
  const std::vector<CharFormat>& table = model_.FormatTable();
  if (fonts_.size() > table.size()) fonts_.clear();
  int height = 0, ascent = 0, advance = 1;
  for (size_t k = 0; k < table.size(); ++k) {
    const QFontMetrics m(FontOf(static_cast<uint32_t>(k)));
    height = std::max(height, m.height());
    ascent = std::max(ascent, m.ascent());
    advance = std::max(advance, m.horizontalAdvance(QChar('M')));
  }
  lineHeight_ = std::max(1, height);
  ascent_ = ascent;
  // The widest line, estimated without measuring every character: each at
  // the widest advance, and a whole tab stop for each TAB among the
  // indentation and number that open a line of the proof.
  int widest = 0;
  for (size_t l = 0; l < lineStarts_.size(); ++l) {
    const int32_t a = lineStarts_[l], b = LineEnd(static_cast<int>(l));
    int tabs = 0;
    for (int32_t i = a; i < b && (t[i] == '\t' || (t[i] >= '0' && t[i] <= '9')); ++i) tabs += t[i] == '\t';
    widest = std::max(widest, (b - a) * advance + tabs * kTabWidth);
  }
  maxWidth_ = widest + 2 * kMargin;
}

int QtProofView::LineCount() const {
  if (linesDirty_) RebuildLines();
  return static_cast<int>(lineStarts_.size());
}

int QtProofView::LineHeight() const {
  if (linesDirty_) RebuildLines();
  return lineHeight_;
}

int32_t QtProofView::LineStart(int line) const { return lineStarts_[static_cast<size_t>(line)]; }

int32_t QtProofView::LineEnd(int line) const {
  const size_t next = static_cast<size_t>(line) + 1;
  if (next < lineStarts_.size()) return lineStarts_[next] - 2;  // before CR LF
  return model_.TextLength();
}

int QtProofView::LineOf(int32_t pos) const {
  if (linesDirty_) RebuildLines();
  auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), pos);
  return static_cast<int>(it - lineStarts_.begin()) - 1;
}

const QFont& QtProofView::FontOf(uint32_t id) const {
  const std::vector<CharFormat>& table = model_.FormatTable();
  while (fonts_.size() < table.size()) {
    const CharFormat& f = table[fonts_.size()];
    QFont q(QtRichBox::DisplayFamily(f.font));
    q.setPointSize(std::max(1, f.size));
    q.setBold(f.bold);
    fonts_.push_back(q);
  }
  return fonts_[id];
}

void QtProofView::UpdateScrollBars() {
  const int h = viewport()->height(), w = viewport()->width();
  const int total = static_cast<int>(lineStarts_.size()) * lineHeight_ + 2 * kMargin;
  verticalScrollBar()->setSingleStep(lineHeight_);
  verticalScrollBar()->setPageStep(std::max(1, h - lineHeight_));
  verticalScrollBar()->setRange(0, std::max(0, total - h));
  horizontalScrollBar()->setPageStep(std::max(1, w));
  horizontalScrollBar()->setRange(0, std::max(0, maxWidth_ - w));
}

void QtProofView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  if (linesDirty_) RebuildLines();
  UpdateScrollBars();
}

void QtProofView::scrollContentsBy(int, int) { viewport()->update(); }

// ---------------------------------------------------------------- geometry

int QtProofView::XOf(int32_t pos) const {
  const int line = LineOf(pos);
  const std::string& t = model_.TextRef();
  const int32_t end = std::min(pos, LineEnd(line));
  int x = 0;
  for (int32_t i = LineStart(line); i < end;) {
    if (t[i] == '\t') {
      x = (x / kTabWidth + 1) * kTabWidth;
      ++i;
      continue;
    }
    const uint32_t id = model_.FormatIdAt(i);
    const std::string& font = model_.FormatTable()[id].font;
    QString run;
    while (i < end && t[i] != '\t' && model_.FormatIdAt(i) == id) run += QtRichBox::DisplayChar(t[i++], font);
    x += QFontMetrics(FontOf(id)).horizontalAdvance(run);
  }
  return x;
}

int32_t QtProofView::PosAtX(int line, int x) const {
  const std::string& t = model_.TextRef();
  const int32_t end = LineEnd(line);
  int at = 0;
  for (int32_t i = LineStart(line); i < end; ++i) {
    int next;
    if (t[i] == '\t') {
      next = (at / kTabWidth + 1) * kTabWidth;
    } else {
      const CharFormat& f = model_.FormatAt(i);
      next = at + QFontMetrics(FontOf(model_.FormatIdAt(i))).horizontalAdvance(QtRichBox::DisplayChar(t[i], f.font));
    }
    if (x < (at + next) / 2) return i;  // nearer the left edge of character i
    at = next;
  }
  return end;
}

int32_t QtProofView::CharFromPoint(int x, int y) const {
  if (linesDirty_) RebuildLines();
  const int cy = y + verticalScrollBar()->value() - kMargin;
  const int line = std::clamp(cy < 0 ? 0 : cy / lineHeight_, 0, static_cast<int>(lineStarts_.size()) - 1);
  return PosAtX(line, x + horizontalScrollBar()->value() - kMargin);
}

QRect QtProofView::CharRect(int32_t pos) const {
  if (linesDirty_) RebuildLines();
  pos = std::clamp(pos, 0, model_.TextLength());
  const int line = LineOf(pos);
  const int x = XOf(pos);
  const int w = pos < LineEnd(line) ? XOf(pos + 1) - x : 0;
  return QRect(x + kMargin - horizontalScrollBar()->value(),
               line * lineHeight_ + kMargin - verticalScrollBar()->value(), w, lineHeight_);
}

void QtProofView::EnsureCaretVisible() {
  const QRect r = CharRect(caret_);
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
}

// ---------------------------------------------------------------- painting

void QtProofView::paintEvent(QPaintEvent* e) {
  if (linesDirty_) {
    RebuildLines();
    UpdateScrollBars();
  }
  QPainter p(viewport());
  const QRect area = e->rect();
  const int top = verticalScrollBar()->value(), left = horizontalScrollBar()->value();
  const int first = std::max(0, (area.top() + top - kMargin) / lineHeight_);
  const int last = std::min(static_cast<int>(lineStarts_.size()) - 1, (area.bottom() + top - kMargin) / lineHeight_);
  const std::string& t = model_.TextRef();
  const int32_t selA = model_.SelStart(), selB = model_.SelStart() + model_.SelLength();
  const QPalette& pal = palette();
  for (int line = first; line <= last; ++line) {
    const int y = line * lineHeight_ + kMargin - top;
    const int32_t end = LineEnd(line);
    int x = 0;
    for (int32_t i = LineStart(line); i < end;) {
      const bool selected = i >= selA && i < selB;
      if (t[i] == '\t') {
        const int next = (x / kTabWidth + 1) * kTabWidth;
        if (selected) p.fillRect(QRect(x + kMargin - left, y, next - x, lineHeight_), pal.highlight());
        x = next;
        ++i;
        continue;
      }
      // A run of one format and one selection state, without TABs.
      const uint32_t id = model_.FormatIdAt(i);
      const CharFormat& f = model_.FormatTable()[id];
      QString run;
      while (i < end && t[i] != '\t' && model_.FormatIdAt(i) == id && (i >= selA && i < selB) == selected)
        run += QtRichBox::DisplayChar(t[i++], f.font);
      const QFont& font = FontOf(id);
      const int w = QFontMetrics(font).horizontalAdvance(run);
      if (x + kMargin - left < area.right() + 1 && x + w + kMargin - left >= area.left()) {
        if (selected) p.fillRect(QRect(x + kMargin - left, y, w, lineHeight_), pal.highlight());
        p.setFont(font);
        p.setPen(selected ? pal.highlightedText().color() : ToColour(f.color));
        p.drawText(x + kMargin - left, y + ascent_, run);
      }
      x += w;
    }
    // A selected line break shows as a little space after the line.
    if (end < model_.TextLength() && end >= selA && end < selB)
      p.fillRect(QRect(x + kMargin - left, y, 6, lineHeight_), pal.highlight());
  }
  if (hasFocus() && isEnabled()) {
    const QRect c = CharRect(caret_);
    p.fillRect(QRect(c.left(), c.top(), 1, c.height()), pal.text());
  }
}

// ---------------------------------------------------------------- input

void QtProofView::Select(int32_t anchor, int32_t caret) {
  const int32_t len = model_.TextLength();
  // Never between CR and LF: such a caret moves before the break.
  auto fix = [&](int32_t p) {
    p = std::clamp(p, 0, len);
    const std::string& t = model_.TextRef();
    if (p > 0 && p < len && t[p - 1] == '\r' && t[p] == '\n') --p;
    return p;
  };
  anchor = fix(anchor);
  caret = fix(caret);
  model_.SetSelStart(std::min(anchor, caret));
  model_.SetSelLength(std::abs(caret - anchor));
  anchor_ = anchor;
  caret_ = caret;
  EnsureCaretVisible();
  viewport()->update();
}

void QtProofView::keyPressEvent(QKeyEvent* e) {
  if (KeyTakenBySlots(*this, suppressKey_, *e)) return;
  Flush();
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const std::string& t = model_.TextRef();
  const int32_t len = model_.TextLength();
  int32_t to = caret_;
  const int line = LineOf(caret_);
  const int rows = std::max(1, viewport()->height() / lineHeight_ - 1);
  auto lineMove = [&](int target) {
    target = std::clamp(target, 0, LineCount() - 1);
    return PosAtX(target, XOf(caret_));
  };
  switch (e->key()) {
    case Qt::Key_Left:
      to = caret_ >= 2 && t[caret_ - 1] == '\n' ? caret_ - 2 : caret_ - 1;
      if (!shift && caret_ != anchor_) to = std::min(caret_, anchor_);
      break;
    case Qt::Key_Right:
      to = caret_ < len && t[caret_] == '\r' ? caret_ + 2 : caret_ + 1;
      if (!shift && caret_ != anchor_) to = std::max(caret_, anchor_);
      break;
    case Qt::Key_Up: to = lineMove(line - 1); break;
    case Qt::Key_Down: to = lineMove(line + 1); break;
    case Qt::Key_PageUp: to = lineMove(line - rows); break;
    case Qt::Key_PageDown: to = lineMove(line + rows); break;
    case Qt::Key_Home: to = ctrl ? 0 : LineStart(line); break;
    case Qt::Key_End: to = ctrl ? len : LineEnd(line); break;
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
  const int32_t at = CharFromPoint(p.x(), p.y());
  Select((e->modifiers() & Qt::ShiftModifier) ? anchor_ : at, at);
  selecting_ = true;
  e->accept();
}

void QtProofView::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (selecting_ && (e->buttons() & Qt::LeftButton)) Select(anchor_, CharFromPoint(p.x(), p.y()));
  emit mouseMoved(static_cast<int>(e->buttons()), static_cast<int>(e->modifiers()), p.x(), p.y());
}

void QtProofView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) selecting_ = false;
  EndPress(*this, inDoubleClick_, *e, true);
}

void QtProofView::mouseDoubleClickEvent(QMouseEvent* e) { StartDoubleClick(*this, inDoubleClick_, *e); }

void QtProofView::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  viewport()->update();
}

void QtProofView::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  viewport()->update();
}

}  // namespace qv
