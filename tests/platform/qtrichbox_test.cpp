// What only the on-screen box has: the document it shows, the mapping of
// positions, the user's own caret and keys, mouse signals and speed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextDocument>
#include <chrono>

#include "platform/qt/qtrichbox.h"

namespace qv {
namespace {

QString Shown(QtRichBox& b) {
  b.Flush();
  return b.document()->toPlainText();
}

void ToGlyph(QtRichBox& b, int32_t pos, const char* font) {
  b.SetSelStart(pos);
  b.SetSelLength(1);
  b.SetSelFontName(font);
}

TEST(QtRichBox, ShowsSymbolLettersAsGreekAtTheSamePlace) {
  QtRichBox b;
  b.SetText("a @ b\r\nx e y");
  b.SetSelStart(2);
  b.SetSelLength(1);
  b.SetSelText("e");
  ToGlyph(b, 2, kSymbolFont);
  EXPECT_EQ(Shown(b), QString::fromUtf8("a \u03B5 b\nx e y"));
  EXPECT_EQ(b.document()->characterAt(b.QtPos(2)), QChar(0x03B5));
  EXPECT_EQ(b.Text(), "a e b\r\nx e y");
  // The logical font travels with the character although another family shows it.
  QTextCursor c(b.document());
  c.setPosition(b.QtPos(3));
  EXPECT_EQ(c.charFormat().stringProperty(QTextFormat::UserProperty + 1), "Symbol");
  EXPECT_NE(c.charFormat().fontFamilies().toStringList().value(0), "Symbol");
  // Leaving the symbol font shows the Latin letter again.
  ToGlyph(b, 2, "Courier New");
  EXPECT_EQ(Shown(b), "a e b\nx e y");
}

TEST(QtRichBox, TagFontDigitsShowAsArrows) {
  QtRichBox b;
  b.SetText("4 Conclusion, 5");
  ToGlyph(b, 0, kTagFont);
  ToGlyph(b, 14, kTagFont);
  EXPECT_EQ(Shown(b), QString::fromUtf8("\u25B6 Conclusion, \u25B2"));
  EXPECT_EQ(b.Text(), "4 Conclusion, 5");
  b.SetSelStart(0);
  b.SetSelLength(1);
  EXPECT_EQ(b.SelFontName(), kTagFont);
}

TEST(QtRichBox, PositionsMapAcrossBreaks) {
  QtRichBox b;
  b.SetText("ab\r\n\r\ncd");
  // Text positions 0..8, document positions 0..6.
  const int expected[] = {0, 1, 2, 2, 3, 3, 4, 5, 6};
  for (int32_t p = 0; p <= 8; ++p) EXPECT_EQ(b.QtPos(p), expected[p]) << p;
  for (int q = 0; q <= 6; ++q) EXPECT_EQ(b.QtPos(b.TextPos(q)), q) << q;
  // Each paragraph of the document is one line of the text.
  EXPECT_EQ(b.document()->blockCount(), 3);
}

TEST(QtRichBox, CaretMovedInTheWidgetIsReadBack) {
  QtRichBox b;
  b.SetText("first\r\nsecond\r\nthird");
  b.Flush();
  QTextCursor c(b.document());
  c.setPosition(b.document()->findBlockByNumber(2).position() + 1);
  c.setPosition(b.document()->findBlockByNumber(1).position() + 2, QTextCursor::KeepAnchor);
  b.setTextCursor(c);  // as a drag from "t|hird" back to "se|cond" would
  EXPECT_EQ(b.SelStart(), 9);
  EXPECT_EQ(b.SelLength(), 7);
  EXPECT_EQ(b.SelText(), "cond\r\nt");
  // The selection set through the box shows in the widget.
  b.SetSelStart(12);
  b.SetSelLength(5);
  b.Flush();
  EXPECT_EQ(b.textCursor().selectedText(), QString("d") + QChar(QChar::ParagraphSeparator) + "th");
}

TEST(QtRichBox, TypedTextEntersTheModel) {
  QtRichBox b;
  b.SetDefaultFont("Courier New", 10);
  b.SetText("ab");
  b.SetSelStart(1);
  b.Flush();
  QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
  QApplication::sendEvent(&b, &x);
  EXPECT_EQ(b.Text(), "axb");
  EXPECT_EQ(b.SelStart(), 2);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier, "\r");
  QApplication::sendEvent(&b, &enter);
  EXPECT_EQ(b.Text(), "ax\r\nb");
  EXPECT_EQ(b.SelStart(), 4);
  // A letter typed with the symbol font at the caret shows as Greek.
  b.SetSelFontName(kSymbolFont);
  b.Flush();
  QKeyEvent e(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, "e");
  QApplication::sendEvent(&b, &e);
  QApplication::processEvents();
  EXPECT_EQ(b.Text(), "ax\r\neb");
  EXPECT_EQ(Shown(b), QString::fromUtf8("ax\n\u03B5b"));
  b.SetSelStart(4);
  b.SetSelLength(1);
  EXPECT_EQ(b.SelFontName(), kSymbolFont);
}

TEST(QtRichBox, KeySlotCanKeepAKeyFromTheBox) {
  QtRichBox b;
  b.SetText("ab");
  int seen = 0;
  QObject::connect(&b, &QtRichBox::keyPressed, [&](int key, int, const QString&) {
    ++seen;
    if (key == Qt::Key_Q) b.SuppressKey();
  });
  QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q");
  QApplication::sendEvent(&b, &q);
  QKeyEvent z(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
  QApplication::sendEvent(&b, &z);
  EXPECT_EQ(seen, 2);
  EXPECT_EQ(b.Text(), "zab");
  // A slot that sets the caret's font before the character goes in, as the
  // editors do for "@": the typed letter takes it.
  QObject::connect(&b, &QtRichBox::keyPressed, [&](int key, int, const QString&) {
    if (key == Qt::Key_E) b.SetSelFontName(kSymbolFont);
  });
  QKeyEvent e(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, "e");
  QApplication::sendEvent(&b, &e);
  QApplication::processEvents();
  EXPECT_EQ(b.Text(), "zeab");
  b.SetSelStart(1);
  b.SetSelLength(1);
  EXPECT_EQ(b.SelFontName(), kSymbolFont);
  EXPECT_EQ(Shown(b), QString::fromUtf8("z\u03B5ab"));
}

// A shown box with a line of text, counting its mouse signals, and mouse
// events sent to its viewport at one point of that line.
struct ClickedBox {
  QtRichBox b;
  QPoint p;
  int clicks = 0, doubles = 0, releases = 0;
  ClickedBox() {
    b.resize(400, 200);
    b.show();
    b.SetText("alpha beta gamma");
    b.Flush();
    QRect r = b.cursorRect(QTextCursor(b.document()->findBlockByNumber(0)));
    p = QPoint(r.left() + 50, r.center().y());
    QObject::connect(&b, &QtRichBox::clicked, [this] { ++clicks; });
    QObject::connect(&b, &QtRichBox::doubleClicked, [this] { ++doubles; });
    QObject::connect(&b, &QtRichBox::mouseReleased, [this](int, int, int, int) { ++releases; });
  }
  void Send(QEvent::Type t) {
    QMouseEvent e(t, p, b.viewport()->mapToGlobal(p), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b.viewport(), &e);
  }
};

TEST(QtRichBox, DoubleClickIsLeftToTheProgram) {
  ClickedBox c;
  c.Send(QEvent::MouseButtonPress);
  c.Send(QEvent::MouseButtonRelease);
  int32_t caret = c.b.SelStart();
  c.Send(QEvent::MouseButtonDblClick);
  c.Send(QEvent::MouseButtonRelease);
  EXPECT_EQ(c.clicks, 1);
  EXPECT_EQ(c.doubles, 1);
  EXPECT_EQ(c.releases, 2);
  EXPECT_EQ(c.b.SelLength(), 0);  // no word selected
  EXPECT_EQ(c.b.SelStart(), caret);
  EXPECT_GT(caret, 0);
}

TEST(QtRichBox, AReleaseWhileDisabledStillEndsTheDoubleClick) {
  ClickedBox c;
  c.Send(QEvent::MouseButtonPress);
  c.Send(QEvent::MouseButtonRelease);
  c.Send(QEvent::MouseButtonDblClick);
  // The double click's owner disables the box (a redraw) before the release comes.
  c.b.setEnabled(false);
  c.Send(QEvent::MouseButtonRelease);
  c.b.setEnabled(true);
  EXPECT_EQ(c.releases, 2);
  c.Send(QEvent::MouseButtonPress);
  c.Send(QEvent::MouseButtonRelease);
  EXPECT_EQ(c.clicks, 2);  // the click after it is a click
}

TEST(QtRichBox, CharFromPointFindsTheCharacterUnderAPoint) {
  QtRichBox b;
  b.resize(500, 300);
  b.show();
  b.SetDefaultFont("Courier New", 10);
  b.SetText("first line\r\nsecond line\r\nthird");
  b.Flush();
  for (int32_t pos : {0, 3, 12, 17, 25, 28}) {
    QTextCursor c(b.document());
    c.setPosition(b.QtPos(pos));
    QRect r = b.cursorRect(c);
    EXPECT_EQ(b.CharFromPoint(r.center().x() + 1, r.center().y()), pos) << pos;
  }
}

TEST(QtRichBox, ReformattingALongProofIsFast) {
  // About 2,000 statements, each put in place and styled range by range, then
  // the whole text styled once more, as a redraw of a long proof does.
  QtRichBox b;
  b.resize(800, 600);
  b.show();
  b.SetDefaultFont("Courier New", 10);
  const std::string block = "12  ALL(a):ALL(b):[a@n & b@n => a+b@n]\r\n\t\tU Spec, 4, 7\r\n\r\n";
  auto t0 = std::chrono::steady_clock::now();
  b.SetUpdatesEnabled(false);
  b.SetRichText("");
  for (int i = 0; i < 2000; ++i) {
    int32_t at = b.TextLength();
    b.SetSelStart(at);
    b.SetSelText(block);
    b.SetSelStart(at);
    b.SetSelLength(2);
    b.SetSelFontName("Courier New");
    b.SetSelColor(kBlack);
    b.SetSelBold(i % 7 == 0);
    b.SetSelStart(at + 4);
    b.SetSelLength(34);
    b.SetSelFontName("Courier New");
    b.SetSelColor(kBlack);
    b.SetSelBold(false);
    for (int32_t k = 0; k < 34; ++k) {
      if (block[4 + k] != '@') continue;
      b.SetSelStart(at + 4 + k);
      b.SetSelLength(1);
      b.SetSelText("e");
      b.SetSelStart(at + 4 + k);
      b.SetSelLength(1);
      b.SetSelFontName(kSymbolFont);
    }
    b.SetSelStart(at + 42);
    b.SetSelLength(14);
    b.SetSelFontSize(8);
    b.SetSelColor(RgbOf(128, 128, 128));
  }
  b.SetSelStart(0);
  b.SetSelLength(b.TextLength());
  b.SetSelColor(kBlack);
  b.SetSelLength(0);
  b.SetUpdatesEnabled(true);
  QApplication::processEvents();
  double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(b.TextLength(), 2000 * static_cast<int32_t>(block.size()));
  EXPECT_EQ(b.document()->blockCount(), 2000 * 3 + 1);
  std::string text = b.Text();
  EXPECT_EQ(text.substr(0, 10), "12  ALL(a)");
  EXPECT_EQ(std::count(text.begin(), text.end(), '@'), 0);
  RecordProperty("seconds", std::to_string(secs));
  // A loose bound: it takes well under a second, and it is here to catch a
  // formatting cost that grows with the square of the text (minutes), not to
  // time the box on a busy machine.
  EXPECT_LT(secs, 20.0) << "took " << secs << " s";
  std::printf("long proof formatted in %.3f s\n", secs);
}

}  // namespace
}  // namespace qv
