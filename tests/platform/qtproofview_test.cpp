// What only the on-screen proof view has: painting, the mouse and the keys,
// scrolling to the caret.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <climits>
#include <cmath>
#include <map>
#include <set>

#include "platform/qt/qtproofview.h"
#include "platform/qt/qtrichbox.h"
#include "support/accessibility.h"

namespace qv {
namespace {

constexpr Rgb kRed = RgbOf(200, 0, 0);

// A device that keeps where each piece of text is painted on it: the origin
// of its baseline, its text and font, as the painter hands them over.
class TextLog : public QPaintDevice {
 public:
  struct Item {
    QPointF at;
    QString text;
    QFont font;
  };
  explicit TextLog(const QWidget& like) : like_(like) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  std::vector<Item> items;

 private:
  struct Engine : QPaintEngine {
    explicit Engine(TextLog& log) : QPaintEngine(AllFeatures), log(log) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& s) override {
      if (s.state() & DirtyTransform) transform = s.transform();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      if (!item.text().isEmpty()) log.items.push_back({transform.map(p), item.text(), item.font()});
    }
    Type type() const override { return User; }
    TextLog& log;
    QTransform transform;
  };
  int metric(PaintDeviceMetric m) const override {
    switch (m) {
      case PdmWidth: return like_.width();
      case PdmHeight: return like_.height();
      case PdmDpiX: return like_.logicalDpiX();
      case PdmDpiY: return like_.logicalDpiY();
      case PdmPhysicalDpiX: return like_.physicalDpiX();
      case PdmPhysicalDpiY: return like_.physicalDpiY();
      case PdmDepth: return 32;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
      default: return 0;
    }
  }
  const QWidget& like_;
  mutable Engine engine_{*this};
};

struct View : ::testing::Test {
  QtProofView v;
  View() {
    v.resize(500, 300);
    v.show();
    v.SetDefaultFont("Courier New", 10);
  }
  void Settle() { QApplication::processEvents(); }
  // The event loop run for ms milliseconds, timers included.
  static void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
  }
  // A point inside the character at pos (its left third), or in its right half.
  QPoint At(int32_t pos) {
    const QRect r = v.CharRect(pos);
    return QPoint(r.left() + std::max(1, r.width() / 3), r.center().y());
  }
  QPoint RightHalf(int32_t pos) {
    const QRect r = v.CharRect(pos);
    return QPoint(r.left() + r.width() * 2 / 3, r.center().y());
  }
  void Mouse(QEvent::Type t, QPointF p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(t, p, v.viewport()->mapToGlobal(p), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, mods);
    QApplication::sendEvent(v.viewport(), &e);
  }
  // A press and release at a point of the viewport, the event loop run after.
  void ClickAt(QPointF p) {
    Mouse(QEvent::MouseButtonPress, p);
    Mouse(QEvent::MouseButtonRelease, p);
    Settle();
  }
  // Where each character of the view is painted, by text position: the box
  // of its glyph as the painter got it (its font's advances from the origin
  // of its run), a TAB's from the glyph before it to the next tab stop.
  // Line breaks are not painted.
  std::map<int32_t, QRectF> Painted() {
    TextLog log(*v.viewport());
    v.viewport()->render(&log);
    std::stable_sort(log.items.begin(), log.items.end(), [](const TextLog::Item& a, const TextLog::Item& b) {
      return a.at.y() < b.at.y() || (a.at.y() == b.at.y() && a.at.x() < b.at.x());
    });
    const std::string text = v.Text();
    std::map<int32_t, QRectF> boxes;
    size_t item = 0;
    int k = 0;
    QRectF last;
    std::vector<int32_t> blanks;
    const qreal left = QtProofView::kMargin - v.horizontalScrollBar()->value();
    for (int32_t i = 0; i < static_cast<int32_t>(text.size()); ++i) {
      if (text[i] == '\r' || text[i] == '\n') {
        last = QRectF();
        blanks.clear();
        continue;
      }
      if (text[i] == '\t') {
        const qreal from = last.isNull() ? left : last.right();
        const qreal stop = left + (std::floor((from - left) / QtProofView::kTabWidth + 0.001) + 1) * QtProofView::kTabWidth;
        last = QRectF(from, last.top(), stop - from, last.height());
        boxes[i] = last;
        continue;
      }
      while (item < log.items.size() && k >= log.items[item].text.size()) ++item, k = 0;
      if (item == log.items.size()) break;  // not in sight
      const TextLog::Item& it = log.items[item];
      const QChar shown = QtRichBox::DisplayChar(text[i], v.Model()->FormatAt(i).font);
      if (text[i] == ' ' && it.text[k] != shown) {
        // A blank the painter was not given: it fills the gap up to the next glyph.
        blanks.push_back(i);
        continue;
      }
      EXPECT_EQ(it.text[k], shown) << i;
      const QFontMetricsF m(it.font);
      const qreal x0 = it.at.x() + m.horizontalAdvance(it.text.left(k)),
                  x1 = it.at.x() + m.horizontalAdvance(it.text.left(k + 1));
      const QRectF box(x0, it.at.y() - m.ascent(), x1 - x0, m.ascent() + m.descent());
      const qreal from = last.isNull() ? left : last.right(), each = (x0 - from) / std::max<size_t>(1, blanks.size());
      for (size_t b = 0; b < blanks.size(); ++b)
        boxes[blanks[b]] = QRectF(from + b * each, box.top(), each, box.height());
      blanks.clear();
      last = boxes[i] = box;
      ++k;
    }
    // A TAB first on a line takes its height from the glyph after it.
    for (auto& [pos, box] : boxes)
      if (box.height() == 0)
        for (auto next = boxes.upper_bound(pos); next != boxes.end(); ++next)
          if (next->second.height() > 0) {
            box.setTop(next->second.top());
            box.setHeight(next->second.height());
            break;
          }
    return boxes;
  }
  void Click(int32_t pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, At(pos), mods);
    Mouse(QEvent::MouseButtonRelease, At(pos), mods);
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}, QWidget* to = nullptr) {
    QKeyEvent e(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(to ? to : &v, &e);
  }
  // A press at one point, a move to another and the release there.
  std::string Drag(QPoint from, QPoint to) {
    Mouse(QEvent::MouseButtonPress, from);
    Mouse(QEvent::MouseMove, to);
    Mouse(QEvent::MouseButtonRelease, to);
    Settle();
    return v.SelText();
  }
};

TEST_F(View, AClickPutsTheCaretBeforeTheCharacterUnderThePointer) {
  v.SetText("1\tfirst line\r\n\tsecond e line\r\nthird");
  v.SetSelStart(22);
  v.SetSelLength(1);
  v.SetSelFontName(kSymbolFont);  // the "e", shown as a Greek letter
  Settle();
  int clicks = 0;
  QObject::connect(&v, &QtProofView::clicked, [&] { ++clicks; });
  for (int32_t pos : {0, 1, 2, 6, 14, 15, 22, 23, 27, 30}) {
    Click(pos);
    EXPECT_EQ(v.SelStart(), pos) << pos;
    EXPECT_EQ(v.SelLength(), 0);
  }
  EXPECT_EQ(clicks, 10);
  // Right of a line's end: the caret goes before its CR, never between CR and LF.
  const QRect end = v.CharRect(12);
  Mouse(QEvent::MouseButtonPress, QPoint(end.left() + 200, end.center().y()));
  Mouse(QEvent::MouseButtonRelease, QPoint(end.left() + 200, end.center().y()));
  EXPECT_EQ(v.SelStart(), 12);
  // Below the last line: on the last line.
  EXPECT_EQ(v.CharFromPoint(5, 290), 30);
}

// Long lines of a proof (a statement with a bold number, the element-of
// glyph and coloured names; its rule line in the smaller grey font with the
// Conclusion tag; a comment) at each text size: a click on the left third or
// the middle of any painted character, TABs included, puts the caret before
// that character.
TEST_F(View, AClickAnywhereOnAPaintedCharacterOfALongLineGivesThatCharacter) {
  v.resize(1950, 200);
  for (int size : {8, 10, 12, 14}) {
    const std::vector<CharFormat> table = {
        {kBlack, kFixedFont, size, false},        {kBlack, kFixedFont, size, true},
        {kBlack, kSymbolFont, size, false},       {RgbOf(0, 175, 0), kFixedFont, size, false},
        {RgbOf(128, 128, 128), kFixedFont, size - 2, false}, {kBlack, kTagFont, size - 2, false},
        {RgbOf(0, 0, 150), kFixedFont, size, false}};
    std::string text;
    std::vector<uint8_t> ids;
    auto put = [&](const std::string& s, uint8_t id) {
      text += s;
      ids.insert(ids.end(), s.size(), id);
    };
    put("As required: every x in S has a y in T with f(x)=g(y), so q=r holds for the chosen c and W(c) follows.", 6);
    put("\r\n\t", 0);
    put("12", 1);
    put("\tALL(x):[x", 0);
    put(" e ", 2);
    put("S => EXIST(y):[y", 0);
    put(" e ", 2);
    put("T & f(x)=g(y) & q=r]] & P(a) | Q(b) => R(", 0);
    put("c", 3);
    put(",d) & S(e) => W(", 0);
    put("c", 3);
    put(")\r\n\t\t", 0);
    put("4", 5);
    put(" Conclusion, E Spec, U Spec, Sym, Subst 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18", 4);
    v.SetText("");
    v.ReplaceRich(0, 0, text, table, ids);
    Settle();
    const std::map<int32_t, QRectF> boxes = Painted();
    ASSERT_EQ(boxes.size(), text.size() - 4) << size;  // every character but the two line breaks
    std::vector<int32_t> wrong;
    for (const auto& [pos, box] : boxes)
      for (qreal part : {1.0 / 3, 0.5}) {
        ClickAt(QPointF(box.left() + box.width() * part, box.center().y()));
        if (v.SelStart() != pos || v.SelLength() != 0) wrong.push_back(pos);
      }
    EXPECT_TRUE(wrong.empty()) << "size " << size << ": " << wrong.size() << " of " << 2 * boxes.size()
                               << " clicks missed, the first on " << (wrong.empty() ? -1 : wrong[0]);
  }
}

TEST_F(View, DragAndShiftClickSelectAndTheSelectionIsPainted) {
  v.SetText("alpha beta\r\ngamma delta");
  Settle();
  Mouse(QEvent::MouseButtonPress, At(2));
  Mouse(QEvent::MouseMove, At(14));
  Mouse(QEvent::MouseButtonRelease, At(14));
  EXPECT_EQ(v.SelStart(), 2);
  EXPECT_EQ(v.SelLength(), 12);
  EXPECT_EQ(v.SelText(), "pha beta\r\nga");
  // Backwards from the anchor with Shift.
  Click(8);
  Click(1, Qt::ShiftModifier);
  EXPECT_EQ(v.SelStart(), 1);
  EXPECT_EQ(v.SelLength(), 7);
  Settle();
  const QImage shot = v.viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(v.CharRect(3).left() + 1, v.CharRect(3).top() + 1), v.palette().highlight().color());
  EXPECT_NE(shot.pixelColor(v.CharRect(9).left() + 1, v.CharRect(9).top() + 1), v.palette().highlight().color());
}

// A drag runs from the edge of the pressed character nearer to the press,
// either way, as in the editors' boxes: back from the right half of ")" to
// "f", or on from the right half of "(" to that of ")", it selects f(m,n). A
// move that stays on the half of the character pressed leaves a click.
TEST_F(View, ADragEitherWayTakesInTheCharacterItStartsOn) {
  v.SetText("1\tP(f(m,n)) & Q\t\tPremise");
  Settle();
  const int32_t f = 4, close = 9;
  EXPECT_EQ(Drag(RightHalf(close), At(f)), "f(m,n)");
  EXPECT_EQ(v.SelStart(), f);
  EXPECT_EQ(Drag(RightHalf(f - 1), RightHalf(close)), "f(m,n)");
  EXPECT_EQ(Drag(RightHalf(close), RightHalf(close) + QPoint(1, 0)), "");
  EXPECT_EQ(v.SelStart(), close);
}

// Held past the right edge, a drag on a line that wraps grows by about one
// character each 20 ms over the line's continuation rows up to the line's
// end (not its break), and stops there; moving on outside keeps what it
// took; after the release nothing grows.
TEST_F(View, ADragHeldPastTheRightEdgeGrowsToTheEndOfTheWrappedLine) {
  v.resize(300, 300);
  std::string line = "1\t";
  for (int i = 0; i < 9; ++i) line += "P" + std::to_string(i) + "(a,b) & ";
  line += "Q";
  v.SetText(line + "\r\n2\tR(c)");
  Settle();
  const int32_t end = static_cast<int32_t>(line.size());
  const int top = v.CharRect(0).top();
  ASSERT_GT(v.CharRect(end - 1).top(), top + v.LineHeight());  // three rows at least
  const QPoint out(v.width() + 40, v.CharRect(2).center().y());
  Mouse(QEvent::MouseButtonPress, At(2));
  Mouse(QEvent::MouseMove, out);
  const int32_t rowEnd = v.SelStart() + v.SelLength();
  EXPECT_EQ(v.CharRect(rowEnd - 1).top(), top);  // the pointer took the first row
  QElapsedTimer clock;
  clock.start();
  Wait(300);
  const qint64 ticks = clock.elapsed() / QtProofView::kDragTick;
  const int32_t grown = v.SelStart() + v.SelLength() - rowEnd;
  EXPECT_LE(grown, ticks + 1);
  EXPECT_GE(grown, ticks / 3);
  for (int i = 0; i < 200 && v.SelStart() + v.SelLength() < end; ++i) Wait(20);
  Wait(100);
  EXPECT_EQ(v.SelStart(), 2);
  EXPECT_EQ(v.SelLength(), end - 2);
  Mouse(QEvent::MouseMove, out + QPoint(30, 5));
  Mouse(QEvent::MouseButtonRelease, out + QPoint(30, 5));
  EXPECT_EQ(v.SelLength(), end - 2);
  Mouse(QEvent::MouseButtonPress, At(2));
  Mouse(QEvent::MouseMove, out);
  Mouse(QEvent::MouseButtonRelease, out);
  Wait(100);
  EXPECT_EQ(v.SelStart() + v.SelLength(), rowEnd);
}

// Held below the view, a drag scrolls it on and the selection follows, as
// in the editors' boxes; the release stops the scrolling.
TEST_F(View, ADragHeldBelowTheViewScrollsIt) {
  std::string text;
  for (int i = 0; i < 400; ++i) text += "line " + std::to_string(i) + "\r\n";
  v.SetText(text);
  Settle();
  const QPoint below(50, v.viewport()->height() + 30);
  Mouse(QEvent::MouseButtonPress, At(0));
  Mouse(QEvent::MouseMove, below);
  Settle();
  const int first = v.verticalScrollBar()->value();
  Wait(300);
  const int later = v.verticalScrollBar()->value();
  EXPECT_GT(later, first + 5 * v.LineHeight());
  EXPECT_EQ(v.SelStart(), 0);
  EXPECT_GE(v.CharRect(v.SelLength()).top(), v.viewport()->height() - v.LineHeight());
  Mouse(QEvent::MouseButtonRelease, below);
  const int released = v.verticalScrollBar()->value();
  Wait(100);
  EXPECT_EQ(v.verticalScrollBar()->value(), released);
}

TEST_F(View, TextIsPaintedInItsColours) {
  v.SetText("black RED black");
  v.SetSelStart(6);
  v.SetSelLength(3);
  v.SetSelColor(kRed);
  v.SetSelStart(0);
  Settle();
  const QImage shot = v.viewport()->grab().toImage();
  auto hasColour = [&](int32_t from, int32_t to, auto test) {
    const QRect r = v.CharRect(from).united(v.CharRect(to - 1));
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (test(shot.pixelColor(x, y))) return true;
    return false;
  };
  auto reddish = [](QColor c) { return c.red() > 120 && c.green() < 80 && c.blue() < 80; };
  EXPECT_TRUE(hasColour(6, 9, reddish));
  EXPECT_FALSE(hasColour(0, 5, reddish));
}

TEST_F(View, KeysMoveAndExtendTheCaretAndTypeNothing) {
  v.SetText("abc\r\ndefgh\r\n\r\nxy");
  Settle();
  v.setFocus();
  v.SetSelStart(3);
  Key(Qt::Key_Right);  // over the CR LF at once
  EXPECT_EQ(v.SelStart(), 5);
  Key(Qt::Key_Left);
  EXPECT_EQ(v.SelStart(), 3);
  v.SetSelStart(7);
  Key(Qt::Key_Up);
  EXPECT_EQ(v.SelStart(), 2);
  Key(Qt::Key_End, Qt::ShiftModifier);
  EXPECT_EQ(v.SelStart(), 2);
  EXPECT_EQ(v.SelLength(), 1);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(v.SelText(), "c\r\ndef");  // the same column one line down
  Key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(v.SelStart(), v.TextLength());
  EXPECT_EQ(v.SelLength(), 0);
  Key(Qt::Key_A, Qt::ControlModifier, "a");
  EXPECT_EQ(v.SelLength(), v.TextLength());
  Key(Qt::Key_X, Qt::NoModifier, "x");
  EXPECT_EQ(v.Text(), "abc\r\ndefgh\r\n\r\nxy");
  // A slot that takes the key leaves the caret alone.
  QObject::connect(&v, &QtProofView::keyPressed, [&](int, int, const QString&) { v.SuppressKey(); });
  v.SetSelStart(0);
  Key(Qt::Key_Right);
  EXPECT_EQ(v.SelStart(), 0);
}

// On a line that wraps, Home and End go to the ends of the screen row (End
// before the blank the row wraps at); Ctrl+Left and Ctrl+Right go word by
// word exactly as in the editors' boxes, Shift extending.
TEST_F(View, HomeAndEndKeepToTheRowAndCtrlArrowsMoveByWordAsInTheEditors) {
  v.resize(300, 300);
  std::string line = "1\t";
  for (int i = 0; i < 9; ++i) line += "P" + std::to_string(i) + "(a,b) & ";
  v.SetText(line + "Q");
  Settle();
  v.setFocus();
  const int rowTop = v.CharRect(0).top() + v.LineHeight();
  int32_t mid = 0;
  while (v.CharRect(mid).top() < rowTop) ++mid;
  v.SetSelStart(mid + 5);
  Settle();
  Key(Qt::Key_Home);
  EXPECT_EQ(v.SelStart(), mid);
  Key(Qt::Key_End, Qt::ShiftModifier);
  const int32_t end = v.SelStart() + v.SelLength();
  EXPECT_EQ(v.SelStart(), mid);
  EXPECT_EQ(v.CharRect(end).top(), rowTop);
  EXPECT_GT(v.CharRect(end + 1).top(), rowTop);
  EXPECT_EQ(line[end], ' ');

  const std::string proof =
      "1\tALL(x):[x@S => EXIST(y):[y@T & f(x)=g(y)]]\t\tPremise\r\n\r\n2\tP(a)|~Q(b,c)\t\tSplit 1, 2";
  QtRichBox box;
  box.SetViewOnly(true);
  box.resize(1000, 200);
  box.show();
  box.SetDefaultFont("Courier New", 10);
  box.SetText(proof);
  v.resize(1000, 300);
  v.SetText(proof);
  Settle();
  auto walk = [&](RichBox& b, QWidget* w, int key, int32_t from, Qt::KeyboardModifiers mods) {
    b.SetSelStart(from);
    std::vector<std::pair<int32_t, int32_t>> steps;
    for (int i = 0; i < 60; ++i) {
      Key(key, Qt::ControlModifier | mods, {}, w);
      steps.emplace_back(b.SelStart(), b.SelLength());
    }
    return steps;
  };
  const int32_t len = static_cast<int32_t>(proof.size());
  const auto right = walk(v, &v, Qt::Key_Right, 0, Qt::NoModifier);
  EXPECT_EQ(right, walk(box, &box, Qt::Key_Right, 0, Qt::NoModifier));
  EXPECT_EQ(right.back().first, len);
  const std::set<std::pair<int32_t, int32_t>> distinct(right.begin(), right.end());
  EXPECT_GT(distinct.size(), 15u);
  EXPECT_EQ(walk(v, &v, Qt::Key_Left, len, Qt::NoModifier), walk(box, &box, Qt::Key_Left, len, Qt::NoModifier));
  EXPECT_EQ(walk(v, &v, Qt::Key_Right, 0, Qt::ShiftModifier), walk(box, &box, Qt::Key_Right, 0, Qt::ShiftModifier));
}

// Up and Down aim at the same pixel column on every line, also past a line
// too short for it; Page Down scrolls the view by a page and moves the caret
// as many rows as fit, keeping it where it stood on screen; Page Up undoes it.
TEST_F(View, UpAndDownKeepTheColumnAndPagesScrollWithTheCaret) {
  v.resize(1000, 300);
  const std::string line = "\t7\tALL(x):[x@S => EXIST(y):[y@T & f(x)=g(y) & q=r]] & P(a) | Q(b) => R(c,d) & W(c)\r\n";
  const int32_t n = static_cast<int32_t>(line.size());
  std::string text;
  for (int i = 0; i < 6; ++i) text += line;
  text += "\t8\tP\r\n";
  for (int i = 0; i < 200; ++i) text += line;
  v.SetText(text);
  Settle();
  v.setFocus();
  v.SetSelStart(70);
  Settle();
  for (int i = 1; i <= 5; ++i) {
    Key(Qt::Key_Down);
    EXPECT_EQ(v.SelStart(), i * n + 70) << i;
  }
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);  // over the short line
  EXPECT_EQ(v.SelStart(), 6 * n + 6 + 70);
  Key(Qt::Key_Up);
  EXPECT_EQ(v.SelStart(), 6 * n + 4);  // the short line's end
  Key(Qt::Key_Up);
  EXPECT_EQ(v.SelStart(), 5 * n + 70);

  // Line L (after the short line 6) starts at (L - 1) * n + 6.
  v.SetSelStart(5 * n + 70);
  Settle();
  const int top = v.CharRect(v.SelStart()).top();
  const int rows = (v.viewport()->height() + v.LineHeight() - 1) / v.LineHeight() - 1;
  Key(Qt::Key_PageDown);
  Settle();
  EXPECT_EQ(v.verticalScrollBar()->value(), v.viewport()->height());
  EXPECT_EQ(v.SelStart(), (5 + rows - 1) * n + 6 + 70);
  EXPECT_NEAR(v.CharRect(v.SelStart()).top(), top, v.LineHeight());
  Key(Qt::Key_PageUp);
  Settle();
  EXPECT_EQ(v.verticalScrollBar()->value(), 0);
  EXPECT_EQ(v.SelStart(), 5 * n + 70);
}

// An Introduction is prose: wider than the view, it wraps at the view's
// width and needs no horizontal scrolling; the proof follows below its last
// row, clicks on every row find their characters, and a wider view wraps it
// again into fewer rows.
TEST_F(View, AnIntroductionWraps) {
  std::string intro;
  for (int i = 1; i <= 12; ++i) intro += "Sentence " + std::to_string(i) + " of an Introduction that says what the proof shows. ";
  v.SetText(intro + "\r\n\r\n1\tP(a)\t\tPremise");
  Settle();
  auto rowsOf = [](const std::map<int32_t, QRectF>& boxes, int32_t to) {
    std::set<int> rows;
    for (const auto& [pos, box] : boxes)
      if (pos < to) rows.insert(static_cast<int>(box.top()));
    return rows;
  };
  std::map<int32_t, QRectF> boxes = Painted();
  const int32_t end = static_cast<int32_t>(intro.size());
  const std::set<int> rows = rowsOf(boxes, end);
  EXPECT_GE(rows.size(), 8u);
  for (const auto& [pos, box] : boxes) EXPECT_LE(box.right(), v.viewport()->width()) << pos;
  EXPECT_EQ(v.horizontalScrollBar()->maximum(), 0);
  EXPECT_GT(boxes.at(end + 4).top(), boxes.at(end - 2).top());  // the statement under the last row
  for (int32_t pos : {0, 70, 150, 333, 500, end - 2}) {
    ClickAt(boxes.at(pos).center());
    EXPECT_EQ(v.SelStart(), pos);
  }
  v.resize(1000, 300);
  Settle();
  boxes = Painted();
  EXPECT_LE(rowsOf(boxes, end).size(), rows.size() / 2 + 1);
  for (const auto& [pos, box] : boxes) EXPECT_LE(box.right(), v.viewport()->width()) << pos;
}

// Edits at the start, in the middle and at the end, line breaks made and
// removed, a long line made to wrap and a format changed: the lines read
// again after each edit stand exactly where a view given the whole text at
// once puts them.
TEST_F(View, EditsLeaveTheLinesWhereAFreshViewPutsThem) {
  std::string text;
  for (int i = 0; i < 40; ++i) text += std::to_string(i) + "\tP(a) => Q(b)\r\n";
  v.SetText(text);
  Settle();
  const std::string prose(300, 'w');
  const std::vector<CharFormat> table = {{kBlack, kFixedFont, 10, false}, {kRed, kFixedFont, 14, true}};
  auto sameAsFresh = [&](const char* step) {
    QtProofView fresh;
    fresh.resize(v.size());
    fresh.show();
    fresh.SetRichText(v.RichText());
    fresh.SetSelStart(v.SelStart());
    Settle();
    Settle();  // the scroll bars are shown or hidden by a queued call
    ASSERT_EQ(v.viewport()->width(), fresh.viewport()->width()) << step;
    ASSERT_EQ(v.LineCount(), fresh.LineCount()) << step;
    for (int32_t p = 0; p <= v.TextLength(); ++p) {
      ASSERT_EQ(v.LineOf(p), fresh.LineOf(p)) << step << " at " << p;
      ASSERT_EQ(v.CharRect(p).translated(0, v.verticalScrollBar()->value() - fresh.verticalScrollBar()->value()),
                fresh.CharRect(p)) << step << " at " << p;
    }
  };
  v.ReplaceRich(3, 3, "x\r\ny", table, std::vector<uint8_t>{0, 0, 0, 1});
  sameAsFresh("a break put into line 0");
  v.ReplaceRich(100, 140, prose + " " + prose, table, std::vector<uint8_t>(601, 0));
  sameAsFresh("lines in the middle replaced by a long one");
  v.SetSelStart(v.TextLength() - 30);
  v.SetSelLength(30);
  v.SetSelText("");
  sameAsFresh("the end cut");
  v.SetSelStart(5);
  v.SetSelLength(200);
  v.SetSelFontSize(14);
  sameAsFresh("a taller font over two lines");
  v.ReplaceRich(0, 0, "", table, {});
  v.SetSelStart(v.TextLength());
  v.SetSelText("\r\nlast");
  sameAsFresh("a line added at the end");
  // Characters put in place, as a renumbering puts them: over the long line
  // that wraps and over a line number. One that would write over a TAB or
  // put a line break in is refused, and the view stays as it was.
  const std::string before = v.Text();
  ASSERT_TRUE(v.OverwriteChars(static_cast<int32_t>(before.find("www")), std::string(250, 'i')));
  ASSERT_TRUE(v.OverwriteChars(0, "7"));
  sameAsFresh("characters put in place");
  const std::string after = v.Text();
  EXPECT_NE(after, before);
  EXPECT_FALSE(v.OverwriteChars(0, "7\r"));
  EXPECT_FALSE(v.OverwriteChars(0, "\t"));
  EXPECT_EQ(v.Text(), after);
}

// Assistive technology reads the view as it reads a read-only QTextEdit: the
// text as shown (a line break one "\n", the element-of sign its glyph), the
// caret and the selection as offsets in it, a row or a word at a time, each
// character where it is painted; and it hears what changes, and no more.
TEST_F(View, AScreenReaderReadsTheTextCaretAndSelectionAndHearsTheChanges) {
  AccessibilityListener listener;
  const std::string raw = "1\tx e S\t\tPremise\r\n\r\n2\tP(x)\t\tAxiom\r\n\r\n3\tQ\t\tJoin 1, 2";
  const int32_t len = static_cast<int32_t>(raw.size());
  v.SetText(raw);
  v.SetSelStart(4);
  v.SetSelLength(1);
  v.SetSelFontName(kSymbolFont);
  Settle();
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&v);
  ASSERT_NE(a, nullptr);
  QAccessibleTextInterface* t = a->textInterface();
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(a->role(), QAccessible::EditableText);
  EXPECT_TRUE(a->state().readOnly);
  QString shown = QString::fromLatin1(raw.c_str()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown[4] = QChar(0x03B5);
  EXPECT_EQ(a->text(QAccessible::Value), shown);
  EXPECT_EQ(t->characterCount(), shown.size());

  const int32_t q = static_cast<int32_t>(raw.find('Q'));
  const int qs = static_cast<int>(shown.indexOf(u'Q')), ps = static_cast<int>(shown.indexOf(QStringLiteral("P(")));
  auto carets = [&] {
    std::vector<int> at;
    for (const auto& h : listener.Of(&v, {QAccessible::TextCaretMoved})) at.push_back(h.position);
    return at;
  };
  listener.heard().clear();
  v.SetSelStart(q);
  Settle();
  EXPECT_EQ(t->cursorPosition(), qs);
  EXPECT_EQ(carets(), std::vector<int>{qs});
  listener.heard().clear();
  Key(Qt::Key_Right, Qt::ShiftModifier);
  int s = -1, e = -1;
  EXPECT_EQ(t->selectionCount(), 1);
  t->selection(0, &s, &e);
  EXPECT_EQ(s, qs);
  EXPECT_EQ(e, qs + 1);
  EXPECT_EQ(carets(), std::vector<int>{qs + 1});
  const auto selections = listener.Of(&v, {QAccessible::TextSelectionChanged});
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_EQ(selections[0].selStart, qs);
  EXPECT_EQ(selections[0].selEnd, qs + 1);

  EXPECT_EQ(t->textAtOffset(ps, QAccessible::LineBoundary, &s, &e), QStringLiteral("2\tP(x)\t\tAxiom\n"));
  EXPECT_EQ(t->textAtOffset(qs, QAccessible::LineBoundary, &s, &e), QStringLiteral("3\tQ\t\tJoin 1, 2"));
  EXPECT_EQ(t->textBeforeOffset(qs, QAccessible::LineBoundary, &s, &e), QStringLiteral("\n"));
  EXPECT_EQ(t->textAtOffset(ps + 2, QAccessible::WordBoundary, &s, &e), QStringLiteral("x"));
  EXPECT_EQ(t->textAtOffset(4, QAccessible::CharBoundary, &s, &e), QString(QChar(0x03B5)));
  EXPECT_EQ(t->textBeforeOffset(-1, QAccessible::CharBoundary, &s, &e), QStringLiteral("2"));
  const QRect r = t->characterRect(qs);
  EXPECT_EQ(r, QRect(v.viewport()->mapToGlobal(v.CharRect(q).topLeft()), v.CharRect(q).size()));
  EXPECT_EQ(t->offsetAtPoint(r.center()), qs);
  t->setCursorPosition(ps);
  EXPECT_EQ(v.SelStart(), static_cast<int32_t>(raw.find("P(")));
  EXPECT_EQ(v.SelLength(), 0);

  // A line added at the end, as a redraw adds it; its number made bold; the
  // line taken away again.
  auto textEvents = [&] {
    return listener.Of(&v, {QAccessible::TextInserted, QAccessible::TextRemoved, QAccessible::TextUpdated});
  };
  const std::string added = "\r\n\r\n4\tQ & P(x)\t\tJoin 3, 2";
  const QString addedShown = QStringLiteral("\n\n4\tQ & P(x)\t\tJoin 3, 2");
  listener.heard().clear();
  v.ReplaceRich(len, len, added, {{kBlack, kFixedFont, 10, false}}, std::vector<uint8_t>(added.size(), 0));
  Settle();
  auto heard = textEvents();
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].type, QAccessible::TextInserted);
  EXPECT_EQ(heard[0].position, shown.size());
  EXPECT_EQ(heard[0].inserted, addedShown);
  EXPECT_EQ(a->text(QAccessible::Value), shown + addedShown);
  listener.heard().clear();
  v.SetSelStart(len + 4);
  v.SetSelLength(1);
  v.SetSelBold(true);
  Settle();
  EXPECT_TRUE(textEvents().empty());
  EXPECT_EQ(listener.Of(&v, {QAccessible::TextAttributeChanged}).size(), 1u);
  listener.heard().clear();
  v.ReplaceRich(len, len + static_cast<int32_t>(added.size()), "", {}, {});
  Settle();
  heard = textEvents();
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].type, QAccessible::TextRemoved);
  EXPECT_EQ(heard[0].position, shown.size());
  EXPECT_EQ(heard[0].removed, addedShown);

  // A line number put in place, as a renumbering puts it: heard once.
  listener.heard().clear();
  ASSERT_TRUE(v.OverwriteChars(q - 2, "5"));
  Settle();
  EXPECT_EQ(textEvents().size(), 1u);
  shown[qs - 2] = u'5';
  EXPECT_EQ(a->text(QAccessible::Value), shown);
}

// What a listener hears at every offset of a proof, by character (as the
// editors' QTextEdit boxes answer), by word (a run of letters and digits:
// the last that starts at the offset or before it, never blanks or a
// break) and by screen row (a wrapped line row by row), at the offset, the
// piece before it and the one after it, nothing past either end; -2 reads
// at the caret, -1 at the end.
TEST_F(View, AListenerReadsEveryOffsetByCharacterWordAndRow) {
  const std::string raw =
      "\t1\tx e S\t\tPremise\r\n\r\n\t2\tP(x1) & ~Q\t\tAxiom\r\n\r\n3\tALL(a):[a @ S => P(a)]\t\tConclusion, 1, 2";
  QtRichBox box;
  QString shown;
  std::vector<int32_t> posOf;  // the text position of each offset
  for (int32_t i = 0; i < static_cast<int32_t>(raw.size()); ++i) {
    posOf.push_back(i);
    shown += raw[i] == '\r' ? QChar(u'\n') : QChar::fromLatin1(raw[i]);
    if (raw[i] == '\r') ++i;
  }
  const int count = static_cast<int>(shown.size()), e = static_cast<int>(raw.find(" e ")) + 1;
  shown[e] = QChar(0x03B5);
  for (RichBox* b : std::initializer_list<RichBox*>{&v, &box}) {
    b->SetText(raw);
    b->SetSelStart(e);
    b->SetSelLength(1);
    b->SetSelFontName(kSymbolFont);
    b->SetSelStart(static_cast<int32_t>(raw.find("P(")));  // the caret, for -2
    b->SetSelLength(0);
  }
  QAccessibleTextInterface* t = QAccessible::queryAccessibleInterface(&v)->textInterface();
  QAccessibleTextInterface* edit = QAccessible::queryAccessibleInterface(&box)->textInterface();
  ASSERT_EQ(edit->text(0, edit->characterCount()), shown);

  using Read = QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
  const Read reads[] = {&QAccessibleTextInterface::textBeforeOffset, &QAccessibleTextInterface::textAtOffset,
                        &QAccessibleTextInterface::textAfterOffset};
  auto told = [](int s, int e, const QString& text) {
    return text.isEmpty() ? std::string("nothing")
                          : std::to_string(s) + "-" + std::to_string(e) + " '" + text.toStdString() + "'";
  };
  auto heard = [&](QAccessibleTextInterface* i, Read read, int o, QAccessible::TextBoundaryType type) {
    int s = -2, e = -2;
    const QString text = (i->*read)(o, type, &s, &e);
    return told(s, e, text);
  };
  // The pieces of a kind in order, and the one each offset reads from (-1
  // before the first, the count past the last).
  struct Kind {
    QAccessible::TextBoundaryType type;
    std::vector<std::pair<int, int>> pieces;
    std::vector<int> of;
  };
  Kind chars{QAccessible::CharBoundary, {}, {}}, words{QAccessible::WordBoundary, {}, {}};
  for (auto it = QRegularExpression(QStringLiteral("[\\p{L}\\p{N}]+")).globalMatch(shown); it.hasNext();) {
    const auto m = it.next();
    words.pieces.emplace_back(m.capturedStart(), m.capturedEnd());
  }
  for (int o = 0, k = -1; o <= count; ++o) {
    if (o < count) chars.pieces.emplace_back(o, o + 1);
    chars.of.push_back(o);
    while (k + 1 < static_cast<int>(words.pieces.size()) && words.pieces[k + 1].first <= o) ++k;
    words.of.push_back(k);
  }

  for (int width : {900, 180}) {
    v.resize(width, 300);
    Settle();
    // Screen rows as painted: each line break ends the row it stands on.
    Kind rows{QAccessible::LineBoundary, {}, {}};
    for (int o = 0, top = INT_MIN; o < count; ++o) {
      const int y = v.CharRect(posOf[o]).top();
      if (y != top) rows.pieces.emplace_back(o, o);
      top = y;
      ++rows.pieces.back().second;
      rows.of.push_back(static_cast<int>(rows.pieces.size()) - 1);
    }
    rows.of.push_back(rows.of.back());
    // One row a line, or the last line in three rows or more.
    const int lastLineRows = rows.of[count] - rows.of[shown.lastIndexOf(u'\n') + 1] + 1;
    ASSERT_TRUE(width > 500 ? rows.pieces.size() == 5 : lastLineRows >= 3) << lastLineRows;

    for (const Kind* kind : {&chars, &words, &rows}) {
      const int n = static_cast<int>(kind->pieces.size());
      auto piece = [&](int k) {
        const auto [s, e] = k >= 0 && k < n ? kind->pieces[k] : std::pair(0, 0);
        return told(s, e, shown.mid(s, e - s));
      };
      for (int o = 0; o <= count; ++o)
        for (int r = 0; r < 3; ++r) {
          EXPECT_EQ(heard(t, reads[r], o, kind->type), piece(kind->of[o] + r - 1))
              << "width " << width << " kind " << kind->type << " read " << r << " offset " << o;
          if (kind == &chars && (r > 0 || o > 0)) {  // QTextEdit reads the first character as the one before it
            EXPECT_EQ(heard(t, reads[r], o, kind->type), heard(edit, reads[r], o, kind->type)) << r << " " << o;
          }
        }
      for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(heard(t, reads[r], -2, kind->type), heard(t, reads[r], t->cursorPosition(), kind->type)) << r;
        EXPECT_EQ(heard(t, reads[r], -1, kind->type), heard(t, reads[r], count, kind->type)) << r;
      }
    }
  }
}

// A client moves the caret and the selection as the keys do: not while the
// user holds a drag.
TEST_F(View, AClientMovesTheCaretOnlyWhenNoDragIsHeld) {
  v.SetText("alpha beta gamma\r\ndelta");
  Settle();
  QAccessibleTextInterface* t = QAccessible::queryAccessibleInterface(&v)->textInterface();
  Mouse(QEvent::MouseButtonPress, At(1));
  Mouse(QEvent::MouseMove, At(8));
  ASSERT_EQ(v.SelText(), "lpha be");
  t->setCursorPosition(18);
  t->setSelection(0, 2, 4);
  t->removeSelection(0);
  EXPECT_EQ(v.SelText(), "lpha be");
  Mouse(QEvent::MouseButtonRelease, At(8));
  Settle();
  t->setCursorPosition(18);
  EXPECT_EQ(v.SelStart(), 19);
  EXPECT_EQ(v.SelLength(), 0);
  t->setSelection(0, 2, 4);
  EXPECT_EQ(v.SelText(), "ph");
  t->removeSelection(0);
  EXPECT_EQ(v.SelStart(), 4);
  EXPECT_EQ(v.SelLength(), 0);
}

TEST_F(View, ADoubleClickIsLeftToTheProgram) {
  v.SetText("alpha beta gamma");
  Settle();
  int clicks = 0, doubles = 0;
  QObject::connect(&v, &QtProofView::clicked, [&] { ++clicks; });
  QObject::connect(&v, &QtProofView::doubleClicked, [&] { ++doubles; });
  Click(7);
  Mouse(QEvent::MouseButtonDblClick, At(7));
  Mouse(QEvent::MouseButtonRelease, At(7));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(v.SelStart(), 7);
  EXPECT_EQ(v.SelLength(), 0);
}

TEST_F(View, AReleaseWhileDisabledStillEndsTheDoubleClick) {
  v.SetText("alpha beta gamma");
  Settle();
  int clicks = 0, releases = 0;
  QObject::connect(&v, &QtProofView::clicked, [&] { ++clicks; });
  QObject::connect(&v, &QtProofView::mouseReleased, [&](int, int, int, int) { ++releases; });
  Click(7);
  Mouse(QEvent::MouseButtonDblClick, At(7));
  // The double click's owner disables the view (a redraw) before the release comes.
  v.setEnabled(false);
  Mouse(QEvent::MouseButtonRelease, At(7));
  v.setEnabled(true);
  EXPECT_EQ(releases, 2);
  Click(3);
  EXPECT_EQ(clicks, 2);  // the click after it is a click
}

TEST_F(View, TheCaretIsScrolledIntoSightOnceTheChangeIsOver) {
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\r\n";
  v.SetText(text);
  v.SetUpdatesEnabled(false);
  v.SetSelStart(static_cast<int32_t>(text.size()) - 10);  // on line 1999
  EXPECT_EQ(v.verticalScrollBar()->value(), 0);  // nothing moves while the change runs
  v.SetUpdatesEnabled(true);
  Settle();
  EXPECT_GT(v.verticalScrollBar()->value(), 0);
  const QRect r = v.CharRect(v.SelStart());
  EXPECT_GE(r.top(), 0);
  EXPECT_LE(r.bottom(), v.viewport()->height());
  EXPECT_EQ(v.LineOf(v.SelStart()), 1999);
  EXPECT_EQ(v.CharFromPoint(r.left() + 1, r.center().y()), v.SelStart());
  v.SetSelStart(0);
  Settle();
  EXPECT_EQ(v.verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace qv
