// The proof view as assistive technology reads it: Qt's accessibility
// interface for text, as a read-only QTextEdit offers it. Offsets count the
// text as shown, a line break one character "\n"; a line is a screen row,
// with the line break at the end of the last row of its line; a word is a
// run of letters and digits, and the word at an offset is the last one that
// starts there or before it (the one before, when the offset stands between
// words), so that no blank, punctuation or line break is ever read as a
// word; sentences are found within the line (between breaks) that holds them.
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <functional>

#include "platform/qt/qtproofview.h"
#include "platform/qt/qtrichbox.h"

namespace qv {

class ProofViewAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit ProofViewAccessible(QtProofView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.editable = false;
    s.multiLine = true;
    s.selectableText = true;
    return s;
  }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return V().ShownText(0, V().TextLength());
    return QAccessibleWidget::text(t);
  }

  // --- selection and caret
  void selection(int index, int* start, int* end) const override {
    *start = *end = 0;
    const QtProofView& v = V();
    if (index != 0 || v.SelLength() == 0) return;
    *start = v.AccessOffset(v.SelStart());
    *end = v.AccessOffset(v.SelStart() + v.SelLength());
  }
  int selectionCount() const override { return V().SelLength() > 0 ? 1 : 0; }
  void addSelection(int start, int end) override { setSelection(0, start, end); }
  void removeSelection(int index) override {
    if (index == 0) Move([](QtProofView& v) { v.Select(v.caret_, v.caret_); });
  }
  void setSelection(int index, int start, int end) override {
    if (index == 0) Move([start, end](QtProofView& v) { v.Select(v.PosOfAccess(start), v.PosOfAccess(end)); });
  }
  int cursorPosition() const override { return V().AccessOffset(V().caret_); }
  void setCursorPosition(int offset) override {
    Move([offset](QtProofView& v) {
      const int32_t at = v.PosOfAccess(offset);
      v.Select(at, at);
    });
  }

  // --- text
  QString text(int start, int end) const override {
    return V().ShownText(V().PosOfAccess(start), V().PosOfAccess(end));
  }
  int characterCount() const override { return V().AccessCount(); }

  QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    if (!Piece(Resolve(offset), type, start, end)) return {};
    return text(*start, *end);
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* start,
                           int* end) const override {
    offset = Resolve(offset);
    int s = 0, e = 0;
    // At the end of the text there is no piece, but one before it.
    if (!Piece(offset, type, &s, &e) && offset == characterCount()) s = offset;
    if (s <= 0 || type == QAccessible::NoBoundary || !Piece(s - 1, type, start, end)) {
      *start = *end = -1;
      return {};
    }
    return text(*start, *end);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const override {
    offset = Resolve(offset);
    int s = 0, e = 0;
    if (type == QAccessible::WordBoundary) {
      // The word after the one at offset; the first, before any word.
      const Span w = offset >= 0 && offset <= characterCount() ? WordFrom(Piece(offset, type, &s, &e) ? e : offset)
                                                                : Span{};
      *start = w.start;
      *end = w.end;
      return w.start < 0 ? QString() : text(w.start, w.end);
    }
    if (!Piece(offset, type, &s, &e) || e >= characterCount() || type == QAccessible::NoBoundary ||
        !Piece(e, type, start, end)) {
      *start = *end = -1;
      return {};
    }
    return text(*start, *end);
  }

  // --- geometry, in screen pixels
  QRect characterRect(int offset) const override {
    const QRect r = V().CharRect(V().PosOfAccess(offset));
    return QRect(V().viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint p = V().viewport()->mapFromGlobal(point);
    if (!V().viewport()->rect().contains(p)) return -1;
    return V().AccessOffset(V().PosAtPoint(p, true));
  }
  void scrollToSubstring(int start, int end) override {
    V().EnsureVisible(V().PosOfAccess(end));
    V().EnsureVisible(V().PosOfAccess(start));
    V().viewport()->update();
  }

  // The run of one format that holds the character at offset, as QTextEdit
  // tells it: family, size, weight and colour (the colours of a proof say
  // which names are free).
  QString attributes(int offset, int* start, int* end) const override {
    const QtProofView& v = V();
    const MemRichBox& m = v.model_;
    offset = Resolve(offset);
    *start = *end = offset;
    if (offset < 0 || offset >= characterCount()) return {};
    const int32_t pos = std::min(v.PosOfAccess(offset), m.TextLength() - 1);
    const int line = v.LineOf(pos);
    const int32_t first = v.LineStart(line), last = v.LineEnd(line);
    const uint32_t id = m.FormatIdAt(pos);
    int32_t a = pos, b = pos + 1;
    while (a > first && m.FormatIdAt(a - 1) == id) --a;
    while (b < last && m.FormatIdAt(b) == id) ++b;
    *start = v.AccessOffset(a);
    *end = std::max(*start + 1, v.AccessOffset(b));
    const CharFormat& f = m.FormatTable()[id];
    return QStringLiteral("font-family:\"%1\";font-size:%2pt;font-weight:%3;font-style:normal;color:rgb(%4,%5,%6);")
        .arg(QtRichBox::DisplayFamily(f.font))
        .arg(f.size)
        .arg(f.bold ? QStringLiteral("bold") : QStringLiteral("normal"))
        .arg(f.color & 0xFF)
        .arg((f.color >> 8) & 0xFF)
        .arg((f.color >> 16) & 0xFF);
  }

 private:
  QtProofView& V() const { return *static_cast<QtProofView*>(widget()); }

  int Resolve(int offset) const {
    if (offset == -1) return characterCount();
    if (offset == -2) return cursorPosition();
    return offset;
  }

  // A client moves the caret or the selection as the keys do: not in the
  // middle of a drag, nor behind a window that blocks the view's own, and
  // after the input that waits to be handled before it (the view's client
  // route, which the program may give, decides when the move runs; by then
  // the drag or the window may have come, so it is asked again).
  static bool MayMove(const QtProofView& v) {
    const QWidget* modal = QApplication::activeModalWidget();
    return v.isEnabled() && !v.selecting_ && (!modal || modal == v.window());
  }
  void Move(std::function<void(QtProofView&)> move) {
    if (!MayMove(V())) return;
    QPointer<QtProofView> view(&V());
    auto run = [view, move = std::move(move)] {
      if (view && MayMove(*view)) move(*view);
    };
    if (V().clientMoves_)
      V().clientMoves_(std::move(run));
    else
      run();
  }

  // --- words: [start, end) in offsets, start -1 for none
  struct Span {
    int start = -1, end = -1;
  };
  static bool IsWordChar(QChar c) { return c.isLetterOrNumber(); }
  static bool StartsWord(const QString& shown, qsizetype i) {
    return IsWordChar(shown[i]) && (i == 0 || !IsWordChar(shown[i - 1]));
  }
  // The text as shown of a line (between breaks) and the offset it starts at.
  QString LineShown(int line, int* first) const {
    const QtProofView& v = V();
    *first = v.AccessOffset(v.LineStart(line));
    return v.ShownText(v.LineStart(line), v.LineEnd(line));
  }
  // The word from a start found in a line's text.
  static Span WordOf(const QString& shown, int first, qsizetype from) {
    qsizetype to = from;
    while (to < shown.size() && IsWordChar(shown[to])) ++to;
    return {first + static_cast<int>(from), first + static_cast<int>(to)};
  }
  // The last word that starts at offset or before it.
  Span WordAt(int offset) const {
    const QtProofView& v = V();
    if (offset < 0 || offset > characterCount()) return {};
    for (int line = v.LineOf(v.PosOfAccess(offset)); line >= 0; --line) {
      int first = 0;
      const QString shown = LineShown(line, &first);
      for (qsizetype i = std::min<qsizetype>(offset - first, shown.size() - 1); i >= 0; --i)
        if (StartsWord(shown, i)) return WordOf(shown, first, i);
    }
    return {};
  }
  // The first word that starts at offset or after it.
  Span WordFrom(int offset) const {
    const QtProofView& v = V();
    if (offset < 0 || offset >= characterCount()) return {};
    for (int line = v.LineOf(v.PosOfAccess(offset)); line < v.LineCount(); ++line) {
      int first = 0;
      const QString shown = LineShown(line, &first);
      for (qsizetype i = std::max(0, offset - first); i < shown.size(); ++i)
        if (StartsWord(shown, i)) return WordOf(shown, first, i);
    }
    return {};
  }

  // The piece of the kind asked for that holds offset: [start, end).
  bool Piece(int offset, QAccessible::TextBoundaryType type, int* start, int* end) const {
    const QtProofView& v = V();
    const int count = characterCount();
    *start = *end = -1;
    if (offset < 0 || offset > count) return false;
    if (type == QAccessible::NoBoundary) {
      *start = 0;
      *end = count;
      return true;
    }
    if (type == QAccessible::CharBoundary) {
      if (offset == count) return false;
      *start = offset;
      *end = offset + 1;
      return true;
    }
    if (type == QAccessible::WordBoundary) {
      const Span w = WordAt(offset);
      *start = w.start;
      *end = w.end;
      return w.start >= 0;
    }
    const int32_t pos = v.PosOfAccess(offset);
    const int line = v.LineOf(pos);
    const int32_t lineStart = v.LineStart(line), lineEnd = v.LineEnd(line);
    const int first = v.AccessOffset(lineStart), brk = v.AccessOffset(lineEnd);
    const int last = line + 1 < v.LineCount() ? brk + 1 : brk;  // with its break
    switch (type) {
      case QAccessible::ParagraphBoundary:
        *start = first;
        *end = last;
        return true;
      case QAccessible::LineBoundary: {
        const QTextLayout& layout = v.LayoutOf(line);
        const QTextLine row = offset >= brk ? layout.lineAt(std::max(0, layout.lineCount() - 1))
                                            : layout.lineForTextPosition(offset - first);
        if (!row.isValid()) {
          *start = first;
          *end = last;
          return true;
        }
        *start = first + row.textStart();
        *end = row.lineNumber() + 1 >= layout.lineCount() ? last : first + row.textStart() + row.textLength();
        return true;
      }
      default: {  // sentences
        if (offset >= brk) {  // the break is a piece of its own
          if (offset == count) return false;
          *start = brk;
          *end = last;
          return true;
        }
        const QString shown = v.ShownText(lineStart, lineEnd);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, shown);
        const int rel = offset - first;
        finder.setPosition(rel);
        const qsizetype s = finder.isAtBoundary() ? rel : finder.toPreviousBoundary();
        finder.setPosition(rel);
        const qsizetype e = finder.toNextBoundary();
        *start = first + static_cast<int>(std::max<qsizetype>(0, s));
        *end = first + static_cast<int>(e < 0 ? shown.size() : e);
        return true;
      }
    }
  }
};

namespace {

QAccessibleInterface* ProofViewInterface(const QString& className, QObject* object) {
  if (className != QLatin1String(QtProofView::staticMetaObject.className())) return nullptr;
  auto* view = qobject_cast<QtProofView*>(object);
  return view ? new ProofViewAccessible(view) : nullptr;
}

}  // namespace

void QtProofView::InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&ProofViewInterface);
    return true;
  }();
  (void)installed;
}

}  // namespace qv
