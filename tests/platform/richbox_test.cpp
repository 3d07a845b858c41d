// The rich-text box contract, run against the in-memory box, the Qt box and
// the Qt proof view.
#include <gtest/gtest.h>

#include <string>

#include "platform/memrichbox.h"
#include "platform/qt/qtproofview.h"
#include "platform/qt/qtrichbox.h"

namespace qv {
namespace {

constexpr Rgb kRed = RgbOf(200, 0, 0);
constexpr Rgb kBlue = RgbOf(0, 0, 150);

template <class Box>
class RichBoxTest : public ::testing::Test {
 protected:
  Box box;

  void Select(int32_t start, int32_t len) {
    box.SetSelStart(start);
    box.SetSelLength(len);
  }
  // Colour of the one character at pos.
  Rgb ColourAt(int32_t pos) {
    Select(pos, 1);
    return box.SelColor();
  }
  std::string FontAt(int32_t pos) {
    Select(pos, 1);
    return box.SelFontName();
  }
};

using BoxTypes = ::testing::Types<MemRichBox, QtRichBox, QtProofView>;
TYPED_TEST_SUITE(RichBoxTest, BoxTypes);

TYPED_TEST(RichBoxTest, LineBreaksAreCrLfAndCountTwice) {
  auto& b = this->box;
  b.SetText("ab\r\ncd\r\n\r\nef");
  EXPECT_EQ(b.Text(), "ab\r\ncd\r\n\r\nef");
  EXPECT_EQ(b.TextLength(), 12);
  EXPECT_EQ(b.SelStart(), 0);
  // Lone CR or LF read back as CR LF.
  b.SetText("a\nb\rc\r\n");
  EXPECT_EQ(b.Text(), "a\r\nb\r\nc\r\n");
  b.SetText("");
  EXPECT_EQ(b.Text(), "");
  EXPECT_EQ(b.TextLength(), 0);
}

TYPED_TEST(RichBoxTest, EverySelectionReadsBackExactly) {
  auto& b = this->box;
  const std::string text = "ab\r\n\r\ncd\te\r\nf";
  b.SetText(text);
  const int32_t n = static_cast<int32_t>(text.size());
  for (int32_t s = 0; s <= n; ++s) {
    for (int32_t l = 0; s + l <= n; ++l) {
      this->Select(s, l);
      ASSERT_EQ(b.SelStart(), s) << "start " << s << " length " << l;
      ASSERT_EQ(b.SelLength(), l) << "start " << s << " length " << l;
      ASSERT_EQ(b.SelText(), text.substr(s, l)) << "start " << s << " length " << l;
    }
  }
}

TYPED_TEST(RichBoxTest, SelectionIsClamped) {
  auto& b = this->box;
  b.SetText("abc\r\ndef");
  b.SetSelStart(-4);
  EXPECT_EQ(b.SelStart(), 0);
  b.SetSelStart(100);
  EXPECT_EQ(b.SelStart(), 8);
  EXPECT_EQ(b.SelLength(), 0);
  b.SetSelStart(6);
  b.SetSelLength(50);
  EXPECT_EQ(b.SelLength(), 2);
  EXPECT_EQ(b.SelText(), "ef");
  b.SetSelLength(-3);
  EXPECT_EQ(b.SelLength(), 0);
  // Setting the start collapses the selection.
  b.SetSelStart(1);
  b.SetSelLength(3);
  b.SetSelStart(2);
  EXPECT_EQ(b.SelLength(), 0);
}

TYPED_TEST(RichBoxTest, ReplacingAcrossLines) {
  auto& b = this->box;
  b.SetText("ab\r\ncd\r\nef");
  this->Select(1, 5);  // "b\r\ncd"
  EXPECT_EQ(b.SelText(), "b\r\ncd");
  b.SetSelText("X\r\nY\nZ");
  EXPECT_EQ(b.Text(), "aX\r\nY\r\nZ\r\nef");
  EXPECT_EQ(b.SelStart(), 8);
  EXPECT_EQ(b.SelLength(), 0);
  // Deleting a whole break joins the lines.
  this->Select(8, 2);
  b.SetSelText("");
  EXPECT_EQ(b.Text(), "aX\r\nY\r\nZef");
  EXPECT_EQ(b.SelStart(), 8);
  // Appending at the end.
  b.SetSelStart(b.TextLength());
  b.SetSelText("\r\n\r\n1");
  EXPECT_EQ(b.Text(), "aX\r\nY\r\nZef\r\n\r\n1");
}

TYPED_TEST(RichBoxTest, EditsNeverTearABreakApart) {
  auto& b = this->box;
  b.SetText("ab\r\ncd");
  // A selection ending between CR and LF takes in the LF.
  this->Select(1, 2);  // "b\r"
  b.SetSelText("");
  EXPECT_EQ(b.Text(), "acd");
  // One starting between them takes in the CR.
  b.SetText("ab\r\ncd");
  this->Select(3, 2);  // "\nc"
  b.SetSelText("");
  EXPECT_EQ(b.Text(), "abd");
  // Text typed at a caret between them lands before the CR.
  b.SetText("ab\r\ncd");
  b.SetSelStart(3);
  b.SetSelText("X");
  EXPECT_EQ(b.Text(), "abX\r\ncd");
  EXPECT_EQ(b.SelStart(), 3);
}

TYPED_TEST(RichBoxTest, ColouringARangeReadsBack) {
  auto& b = this->box;
  b.SetText("one\r\ntwo\r\nthree");
  this->Select(2, 6);  // "e\r\ntwo" over a break
  b.SetSelColor(kRed);
  EXPECT_EQ(b.SelColor(), kRed);
  for (int32_t i = 0; i < b.TextLength(); ++i)
    EXPECT_EQ(this->ColourAt(i), (i >= 2 && i < 8) ? kRed : kBlack) << "at " << i;
  // A selection reports its first character.
  this->Select(7, 3);
  EXPECT_EQ(b.SelColor(), kRed);
  this->Select(8, 3);
  EXPECT_EQ(b.SelColor(), kBlack);
  // A caret reports the character before it.
  b.SetSelStart(3);
  EXPECT_EQ(b.SelColor(), kRed);
  b.SetSelStart(2);
  EXPECT_EQ(b.SelColor(), kBlack);
  EXPECT_EQ(b.Text(), "one\r\ntwo\r\nthree");  // formatting moves no text
}

TYPED_TEST(RichBoxTest, FontNameSizeAndBoldPerRange) {
  auto& b = this->box;
  b.SetDefaultFont("Courier New", 12);
  b.SetText("line 1\r\nline 2");
  EXPECT_EQ(this->FontAt(0), "Courier New");
  EXPECT_EQ(b.SelFontSize(), 12);
  this->Select(5, 1);
  b.SetSelBold(true);
  b.SetSelFontSize(8);
  this->Select(8, 4);
  b.SetSelFontName("Arial");
  this->Select(5, 1);
  EXPECT_TRUE(b.SelBold());
  EXPECT_EQ(b.SelFontSize(), 8);
  EXPECT_EQ(b.SelFontName(), "Courier New");
  this->Select(4, 1);
  EXPECT_FALSE(b.SelBold());
  EXPECT_EQ(b.SelFontSize(), 12);
  EXPECT_EQ(this->FontAt(8), "Arial");
  EXPECT_EQ(this->FontAt(11), "Arial");
  EXPECT_EQ(this->FontAt(12), "Courier New");
}

TYPED_TEST(RichBoxTest, NewTextTakesTheFormatBeforeIt) {
  auto& b = this->box;
  b.SetText("abcd");
  this->Select(0, 2);
  b.SetSelColor(kRed);
  b.SetSelStart(2);
  b.SetSelText("XY");
  EXPECT_EQ(this->ColourAt(2), kRed);
  EXPECT_EQ(this->ColourAt(3), kRed);
  EXPECT_EQ(this->ColourAt(4), kBlack);
  // At the very start the new text takes the format of what it replaces.
  this->Select(0, 1);
  b.SetSelText("Q");
  EXPECT_EQ(this->ColourAt(0), kRed);
}

TYPED_TEST(RichBoxTest, CaretFormatAppliesToTheNextInsertion) {
  auto& b = this->box;
  b.SetDefaultFont("Courier New", 10);
  b.SetText("ab");
  b.SetSelStart(1);
  b.SetSelFontName(kSymbolFont);
  EXPECT_EQ(b.SelFontName(), kSymbolFont);
  b.SetSelText("e");
  EXPECT_EQ(this->FontAt(1), kSymbolFont);
  EXPECT_EQ(this->FontAt(2), "Courier New");
  // Moving the caret drops a caret format that was never used.
  b.SetSelStart(3);
  b.SetSelColor(kRed);
  b.SetSelStart(0);
  b.SetSelStart(3);
  EXPECT_EQ(b.SelColor(), kBlack);
}

TYPED_TEST(RichBoxTest, ElementGlyphKeepsPositionsAndReadsBackAsE) {
  auto& b = this->box;
  b.SetDefaultFont("Courier New", 10);
  b.SetText("x @ y\r\nz@e");
  // Put the glyph in place of each "@", as the program does.
  for (int32_t i = 0; i < b.TextLength(); ++i) {
    if (b.Text()[i] != '@') continue;
    this->Select(i, 1);
    b.SetSelText("");
    b.SetSelText("e");
    this->Select(i, 1);
    b.SetSelFontName(kSymbolFont);
  }
  EXPECT_EQ(b.Text(), "x e y\r\nzee");
  EXPECT_EQ(b.TextLength(), 10);
  EXPECT_EQ(this->FontAt(2), kSymbolFont);
  EXPECT_EQ(this->FontAt(8), kSymbolFont);
  // An "e" in any other font stays an ordinary "e".
  EXPECT_EQ(this->FontAt(9), "Courier New");
  // Back to "@": the glyph is just an "e" in the symbol font.
  std::string plain;
  for (int32_t i = 0; i < b.TextLength(); ++i)
    plain += (b.Text()[i] == 'e' && this->FontAt(i) == kSymbolFont) ? '@' : b.Text()[i];
  EXPECT_EQ(plain, "x @ y\r\nz@e");
}

TYPED_TEST(RichBoxTest, SnapshotRestoresTextFormatsAlignmentAndSelection) {
  auto& b = this->box;
  b.SetDefaultFont("Courier New", 10);
  b.SetText("Intro\r\n\r\n1  a @ b\r\n   Premise");
  this->Select(0, 5);
  b.SetSelColor(kBlue);
  this->Select(14, 1);
  b.SetSelText("e");
  this->Select(14, 1);
  b.SetSelFontName(kSymbolFont);
  this->Select(9, 1);
  b.SetSelBold(true);
  this->Select(19, 10);
  b.SetSelFontSize(8);
  b.SetSelAlignment(Align::Right);
  this->Select(3, 9);
  const std::string snap = b.RichText();
  const std::string text = b.Text();

  b.SetText("something else");
  b.SetRichText(snap);
  EXPECT_EQ(b.Text(), text);
  EXPECT_EQ(b.SelStart(), 3);
  EXPECT_EQ(b.SelLength(), 9);
  EXPECT_EQ(b.RichText(), snap);
  EXPECT_EQ(this->ColourAt(4), kBlue);
  EXPECT_EQ(this->ColourAt(5), kBlack);
  EXPECT_EQ(this->FontAt(14), kSymbolFont);
  this->Select(9, 1);
  EXPECT_TRUE(b.SelBold());
  this->Select(20, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Right);
  this->Select(8, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Left);

  // The snapshot means the same to the other kind of box.
  MemRichBox other;
  other.SetRichText(snap);
  EXPECT_EQ(other.RichText(), snap);
}

TYPED_TEST(RichBoxTest, SetRichTextTakesAnythingElseAsPlainText) {
  auto& b = this->box;
  b.SetText("abc");
  b.SetRichText("");
  EXPECT_EQ(b.Text(), "");
  b.SetRichText("plain\nlines");
  EXPECT_EQ(b.Text(), "plain\r\nlines");
  // A damaged snapshot is not half-applied: it arrives as its own text.
  std::string snap = b.RichText();
  std::string damaged = snap.substr(0, snap.size() - 3);
  b.SetRichText(damaged);
  EXPECT_EQ(b.Text(), NormaliseBreaks(damaged));
}

TYPED_TEST(RichBoxTest, SelectionRichTextPastesWithItsFormats) {
  auto& b = this->box;
  b.SetText("red black\r\nend");
  this->Select(0, 3);
  b.SetSelColor(kRed);
  this->Select(2, 5);  // "d bla"
  const std::string piece = b.SelRichText();
  b.SetSelStart(b.TextLength());
  b.SetSelRichText(piece);
  EXPECT_EQ(b.Text(), "red black\r\nendd bla");
  EXPECT_EQ(b.SelStart(), b.TextLength());
  EXPECT_EQ(this->ColourAt(14), kRed);
  EXPECT_EQ(this->ColourAt(15), kBlack);
  // Plain text goes in as text; an empty clipboard deletes the selection only.
  this->Select(0, 4);
  b.SetSelRichText("new ");
  EXPECT_EQ(b.Text(), "new black\r\nendd bla");
  this->Select(0, 4);
  b.SetSelRichText("");
  EXPECT_EQ(b.Text(), "black\r\nendd bla");
  EXPECT_EQ(b.SelStart(), 0);
}

// The bulk replacement the redraw uses gives what selecting the range and
// pasting the same text and formats gives, alignment and caret included.
TYPED_TEST(RichBoxTest, ReplaceRichMatchesPastingTheSameRuns) {
  auto& b = this->box;
  MemRichBox ref;
  for (RichBox* box : {static_cast<RichBox*>(&b), static_cast<RichBox*>(&ref)}) {
    box->SetText("keep this\r\nmiddle part\r\nend");
    box->SetSelStart(11);
    box->SetSelAlignment(Align::Centre);
  }
  CharFormat red, symbol;
  red.color = kRed;
  red.font = "Courier New";
  symbol.font = kSymbolFont;
  symbol.bold = true;
  const std::vector<CharFormat> table{red, symbol};
  const std::string text = "new e\r\nlines";
  const std::vector<uint8_t> ids{0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1};
  b.ReplaceRich(11, 17, text, table, ids);
  // The reference: the default implementation, through a snapshot.
  ref.RichBox::ReplaceRich(11, 17, text, table, ids);
  EXPECT_EQ(b.Text(), "keep this\r\nnew e\r\nlines part\r\nend");
  EXPECT_EQ(b.RichText(), ref.RichText());
  EXPECT_EQ(b.SelStart(), 11 + static_cast<int32_t>(text.size()));
  EXPECT_EQ(this->FontAt(15), kSymbolFont);
  EXPECT_EQ(this->ColourAt(11), kRed);
  this->Select(11, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Centre);
  // An empty replacement only deletes.
  b.ReplaceRich(0, 5, "", table, {});
  EXPECT_EQ(b.Text(), "this\r\nnew e\r\nlines part\r\nend");
}

TYPED_TEST(RichBoxTest, AlignmentBelongsToParagraphs) {
  auto& b = this->box;
  b.SetText("first\r\nsecond\r\nthird");
  this->Select(9, 0);
  b.SetSelAlignment(Align::Centre);
  this->Select(0, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Left);
  this->Select(7, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Centre);
  this->Select(13, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Centre);
  this->Select(15, 0);
  EXPECT_EQ(b.SelAlignment(), Align::Left);
  // A status line: text set, then centred as a whole.
  b.SetText("Please wait...");
  this->Select(0, b.TextLength());
  b.SetSelAlignment(Align::Centre);
  EXPECT_EQ(b.SelAlignment(), Align::Centre);
}

TYPED_TEST(RichBoxTest, EmptyBoxReportsTheDefaultFont) {
  auto& b = this->box;
  b.SetDefaultFont("Courier New", 14);
  b.SetText("");
  EXPECT_EQ(b.SelFontName(), "Courier New");
  EXPECT_EQ(b.SelFontSize(), 14);
  EXPECT_EQ(b.SelColor(), kBlack);
  b.SetSelText("x");
  EXPECT_EQ(this->FontAt(0), "Courier New");
  EXPECT_EQ(b.SelFontSize(), 14);
}

}  // namespace
}  // namespace qv
