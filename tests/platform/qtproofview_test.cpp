// What only the on-screen proof view has: painting, the mouse and the keys,
// scrolling to the caret.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "platform/qt/qtproofview.h"

namespace qv {
namespace {

constexpr Rgb kRed = RgbOf(200, 0, 0);

struct View : ::testing::Test {
  QtProofView v;
  View() {
    v.resize(500, 300);
    v.show();
    v.SetDefaultFont("Courier New", 10);
  }
  void Settle() { QApplication::processEvents(); }
  // A point inside the character at pos (its left third).
  QPoint At(int32_t pos) {
    const QRect r = v.CharRect(pos);
    return QPoint(r.left() + std::max(1, r.width() / 3), r.center().y());
  }
  void Mouse(QEvent::Type t, QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(t, p, v.viewport()->mapToGlobal(p), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, mods);
    QApplication::sendEvent(v.viewport(), &e);
  }
  void Click(int32_t pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, At(pos), mods);
    Mouse(QEvent::MouseButtonRelease, At(pos), mods);
  }
  void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent e(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(&v, &e);
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
