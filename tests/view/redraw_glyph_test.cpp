#include <gtest/gtest.h>

#include "document/doc_fixture.h"

namespace qv {
namespace {

constexpr Rgb kBlue = RgbOf(0, 0, 150);
constexpr Rgb kGrey = RgbOf(128, 128, 128);
constexpr Rgb kRed = RgbOf(200, 0, 0);
constexpr Rgb kGreen = RgbOf(0, 175, 0);

// The redraw done the slow, literal way: each block inserted at the end of
// the emptied view and every run styled in turn. The real redraw must give
// the same text and formats.
void LiteralRedraw(AppState& S, MemRichBox& V) {
  const DocState& d = S.Doc;
  const std::string& T = d.ProofText;
  auto style = [&](int32_t p, int32_t n, const char* font, int size, Rgb colour, int bold) {
    V.SetSelStart(p);
    V.SetSelLength(n);
    if (font) V.SetSelFontName(font);
    if (size) V.SetSelFontSize(size);
    V.SetSelColor(colour);
    if (bold >= 0) V.SetSelBold(bold != 0);
  };
  V.SetDefaultFont("Courier New", S.Ui.FontSize);
  V.SetText("");
  if (d.IntroLen > 0) {
    V.SetSelText(T.substr(0, d.IntroLen + 4));
    style(0, d.IntroLen, "Courier New", S.Ui.FontSize, kBlue, 0);
    ConvertAmpersand(V, 1, d.IntroLen);
  }
  for (int a = 1; a <= d.StmtCount; ++a) {
    const StmtRec& s = d.Stmts[a];
    if (!s.Visible) continue;
    const int32_t off = s.ViewerStartLine - s.StartLine - 1;  // text p -> caret before it
    V.SetSelStart(V.TextLength());
    V.SetSelText(T.substr(s.StartLine - 1, s.EndRule - s.StartLine + 5));
    if (s.EndUserComment > 0) {
      style(s.StartLine + off, s.EndUserComment - s.StartLine + 1, "Courier New", S.Ui.FontSize,
            kBlue, 0);
      ConvertAmpersand(V, s.ViewerStartLine, s.EndUserComment - s.StartLine + 1);
    }
    const int32_t depth = s.StartRule - s.EndStmt - 4;
    const int32_t num = (s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine) + depth;
    style(num + off, static_cast<int32_t>(std::to_string(a).size()), "Courier New", S.Ui.FontSize,
          depth ? kGrey : kBlack, s.Highlight ? 1 : 0);
    std::vector<TokenRec> toks;
    std::string err;
    int16_t pos = 0;
    TokenizeExpr(T.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1), toks, err, pos);
    ASSERT_EQ(err, "");
    style(s.StartStmt + off, s.EndStmt - s.StartStmt + 1, "Courier New", S.Ui.FontSize, kBlack, 0);
    for (size_t t = 1; t < toks.size(); ++t) {
      const int32_t at = s.StartStmt + toks[t].Position - 1 + off;
      const std::string& k = toks[t].Token;
      if (s.FreeVars.find(" " + k + " ") != std::string::npos) {
        const bool scoped = s.ScopedVars.find(" " + k + " ") != std::string::npos;
        style(at, static_cast<int32_t>(k.size()), nullptr, 0, scoped ? kRed : kGreen,
              s.FlagVars.find(" " + k + " ") != std::string::npos ? 1 : 0);
      } else if (k == "@") {
        V.SetSelStart(at);
        V.SetSelLength(1);
        V.SetSelText("e");
        V.SetSelStart(at);  // the glyph keeps the formula's colour and weight
        V.SetSelLength(1);
        V.SetSelColor(kBlack);
        V.SetSelBold(false);
        const bool blank = V.Text()[at + 1] == ' ';
        V.SetSelStart(blank ? at - 1 : at);
        V.SetSelLength(blank ? 3 : 1);
        V.SetSelFontName(kSymbolFont);
        V.SetSelFontSize(S.Ui.FontSize);
      }
    }
    const int32_t r = s.StartRule + off;
    if (s.Rule == kRuleConclusion) {
      if (!d.Stmts[s.Arg1].Visible) {
        V.SetSelStart(r);
        V.SetSelLength(1);
        V.SetSelText("5");
      }
      style(r, 1, kTagFont, S.Ui.SmallFontSize, kBlack, -1);
      style(r + 2, s.EndRule - s.StartRule - 1, "Courier New", S.Ui.SmallFontSize, kGrey, 0);
    } else {
      style(r, s.EndRule - s.StartRule + 1, "Courier New", S.Ui.SmallFontSize, kGrey, 0);
    }
  }
}

void ExpectSameView(AppState& S, MemRichBox& View) {
  MemRichBox ref;
  LiteralRedraw(S, ref);
  RichDoc a = View.Doc(0, View.TextLength());
  RichDoc b = ref.Doc(0, ref.TextLength());
  ASSERT_EQ(a.text, b.text);
  ASSERT_EQ(a.runs.size(), b.runs.size());
  for (size_t i = 0; i < a.runs.size(); ++i) {
    EXPECT_EQ(a.runs[i].length, b.runs[i].length) << "run " << i;
    EXPECT_TRUE(a.runs[i].format == b.runs[i].format)
        << "run " << i << ": " << a.runs[i].format.font << " " << a.runs[i].format.size << " vs "
        << b.runs[i].format.font << " " << b.runs[i].format.size;
  }
}

using RedrawTest = DocTest;

TEST_F(RedrawTest, EmptyProofAndIntroduction) {
  status.SetText("Some prompt");
  ResetFonts(S);
  EXPECT_EQ(view.Text(), "");
  S.Doc.ProofText = "Intro x@y\r\n\r\n";
  S.Doc.IntroLen = 9;
  ResetFonts(S);
  EXPECT_EQ(view.Text(), "Intro xey\r\n\r\n");
  EXPECT_EQ(view.FormatAt(0).color, kBlue);
  EXPECT_EQ(view.FormatAt(7).font, kSymbolFont);
  EXPECT_EQ(view.FormatAt(7).color, kBlue);
  // The wait protocol: hourglass and disabled window only while drawing,
  // and the status line's text put back.
  EXPECT_EQ(status.Text(), "Some prompt");
  EXPECT_EQ(status.ParagraphAlign(0), Align::Centre);
  EXPECT_FALSE(host.waitCursor);
  EXPECT_EQ(host.waitCursorChanges, 4);
  EXPECT_TRUE(host.mainEnabled);
  ExpectSameView(S, view);
}

TEST_F(RedrawTest, ColoursFontsNumbersAndTags) {
  S.Doc.ProofText = "Prove: x@s\r\n\r\n";
  S.Doc.IntroLen = 10;
  Put("x@s", kRuleAxiom);                // 1
  Put("x=y");                            // 2 premise: x in scope, y new
  Put("y=x", kRuleSym, 2);               // 3
  Close(2, "x=y => y=x");                // 4
  Put("ALL(a):[a@s => a@s]", kRuleAxiom);  // 5
  Put("x@s&y=y", kRuleAxiom);            // 6
  AddComment(5, "Comment with a@b");
  S.Doc.Stmts[6].FlagVars = " x ";
  ResetFonts(S);
  Check();
  const std::string v = view.Text();
  auto viewPos = [&](int k, int32_t p) { return p - Line(k).StartLine + Line(k).ViewerStartLine - 1; };

  // Numbers: bold for highlighted lines, grey inside a closed sub-proof.
  EXPECT_TRUE(view.FormatAt(viewPos(1, Line(1).StartLine)).bold);
  EXPECT_EQ(view.FormatAt(viewPos(3, Line(3).StartStmt - 2)).color, kGrey);
  EXPECT_FALSE(view.FormatAt(viewPos(3, Line(3).StartStmt - 2)).bold);
  EXPECT_EQ(view.FormatAt(viewPos(4, Line(4).StartLine)).color, kBlack);
  // Free variables: red in scope, green when new.
  const int32_t f2 = viewPos(2, Line(2).StartStmt);
  EXPECT_EQ(v.substr(f2, 3), "x=y");
  EXPECT_EQ(view.FormatAt(f2).color, kRed);
  EXPECT_EQ(view.FormatAt(f2 + 1).color, kBlack);
  EXPECT_EQ(view.FormatAt(f2 + 2).color, kGreen);
  // The glyph between blanks: the blanks take the symbol font too.
  const int32_t f1 = viewPos(1, Line(1).StartStmt);
  EXPECT_EQ(v.substr(f1, 5), "x e s");
  EXPECT_EQ(view.FormatAt(f1 + 1).font, kSymbolFont);
  EXPECT_EQ(view.FormatAt(f1 + 2).font, kSymbolFont);
  EXPECT_EQ(view.FormatAt(f1 + 3).font, kSymbolFont);
  EXPECT_EQ(S.Doc.ProofText[Line(1).StartStmt + 1], '@');
  // The Conclusion tag in the tag font, the rule text small and grey.
  const int32_t r4 = viewPos(4, Line(4).StartRule);
  EXPECT_EQ(v[r4], '4');
  EXPECT_EQ(view.FormatAt(r4).font, kTagFont);
  EXPECT_EQ(view.FormatAt(r4).size, S.Ui.SmallFontSize);
  EXPECT_EQ(view.FormatAt(r4 + 2).color, kGrey);
  EXPECT_EQ(view.FormatAt(r4 + 2).size, S.Ui.SmallFontSize);
  // Flagged variables bold wherever they occur free.
  const int32_t f6 = viewPos(6, Line(6).StartStmt);
  EXPECT_TRUE(view.FormatAt(f6).bold);
  // Comments dark blue, with glyphs.
  EXPECT_EQ(view.FormatAt(viewPos(5, Line(5).StartLine)).color, kBlue);
  EXPECT_EQ(v.substr(viewPos(5, Line(5).StartLine), 16), "Comment with aeb");
  ExpectSameView(S, view);

  // Collapsed: the tag reads "5" in the view, the text keeps "4".
  for (int k = 2; k <= 3; ++k) S.Doc.Stmts[k].Visible = false;
  RecomputeViewPositions(S.Doc);
  ResetFonts(S);
  Check();
  EXPECT_EQ(view.Text()[viewPos(4, Line(4).StartRule)], '5');
  EXPECT_EQ(S.Doc.ProofText[Line(4).StartRule - 1], '4');
  EXPECT_EQ(view.Text().find("Sym, 2"), std::string::npos);
  ExpectSameView(S, view);
}

TEST_F(RedrawTest, RedrawOfAChangedViewMatchesAFreshOne) {
  PutAxioms(12);
  Put("x@s", kRuleAxiom);
  // Someone else restyles and edits the view: the redraw puts it right.
  view.SetSelStart(3);
  view.SetSelLength(40);
  view.SetSelBold(true);
  view.SetSelColor(kRed);
  view.SetSelStart(view.TextLength() - 3);
  view.SetSelText("zzz");
  ResetFonts(S);
  ExpectSameView(S, view);
  // Appending, inserting (every later number changes), hiding and a new text
  // size, each after the view showed the previous state.
  Put("P1 & P2", kRuleJoin, 1, 2);
  ExpectSameView(S, view);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 9;
  Put("Q", kRuleAxiom);
  ExpectSameView(S, view);
  S.Doc.InsertMode = false;
  S.Doc.Stmts[14].Visible = false;
  RecomputeViewPositions(S.Doc);
  ResetFonts(S);
  ExpectSameView(S, view);
  S.Ui.FontSize = 14;
  S.Ui.SmallFontSize = 12;
  ResetFonts(S);
  ExpectSameView(S, view);
  // An emptied view is drawn whole.
  view.SetText("");
  ResetFonts(S);
  ExpectSameView(S, view);
}

// A box that shows only snapshots: no model to read, the bulk replacement
// done through a pasted snapshot.
class SnapshotOnlyBox : public MemRichBox {
 public:
  const MemRichBox* Model() const override { return nullptr; }
  void ReplaceRich(int32_t from, int32_t to, std::string_view text, const std::vector<CharFormat>& table,
                   std::span<const uint8_t> ids) override {
    RichBox::ReplaceRich(from, to, text, table, ids);
  }
};

// Each kind of change redrawn after the view showed the state before it:
// what a block's drawing depends on (text, number, variable lists,
// highlight, collapsed tag, sizes) changes one at a time, and the view must
// still be the literal redraw's, on a box read through its model and on one
// read through snapshots.
TEST_F(RedrawTest, EveryKindOfChangeRedrawsAsALiteralRedraw) {
  SnapshotOnlyBox other;
  for (RichBox* box : {static_cast<RichBox*>(&view), static_cast<RichBox*>(&other)}) {
    SCOPED_TRACE(box == &view ? "model" : "snapshots");
    S = AppState();
    S.Attach(&host, box, &status, &work);
    MemRichBox& shown = box == &view ? view : other;
    shown.SetText("");
    PutAxioms(3);
    Put("x@s & y@s");                    // 4, a premise: highlighted, free variables
    Put("x@s & y@s", kRuleAxiom);        // 5, the same formula again (known tokens)
    Put("x@s", kRuleSplit, 4);           // 6
    Close(4, "x@s & y@s => x@s");        // 7 closes 4 .. 6
    Put("P1 & P2", kRuleJoin, 1, 2);     // 8
    ExpectSameView(S, shown);
    const DocState before = S.Doc;

    S.Doc.InsertMode = true;  // every later number and citation changes
    S.Doc.InsertLine = 2;
    Put("Q", kRuleAxiom);
    S.Doc.InsertMode = false;
    ExpectSameView(S, shown);

    int count = 0;  // the inserted line goes again, alone
    FlagStmts(S, 2, count);
    DeleteStmts(S, 2);
    ExpectSameView(S, shown);

    S.Doc.Stmts[5].ScopedVars = " x ";
    S.Doc.Stmts[5].FlagVars = " y ";
    ResetFonts(S);
    ExpectSameView(S, shown);
    S.Doc.Stmts[5].FreeVars = " s ";
    ResetFonts(S);
    ExpectSameView(S, shown);
    S.Doc.Stmts[2].Highlight = !S.Doc.Stmts[2].Highlight;
    ResetFonts(S);
    ExpectSameView(S, shown);

    for (int k = 4; k <= 6; ++k) S.Doc.Stmts[k].Visible = false;  // collapsed: the tag shows "5"
    RecomputeViewPositions(S.Doc);
    ResetFonts(S);
    ExpectSameView(S, shown);
    EXPECT_NE(shown.Text().find("5 Conclusion"), std::string::npos) << shown.Text();
    // A line inserted above the collapsed sub-proof, then deleted: each time
    // its Conclusion is drawn under a new number and keeps its tag "5".
    const int lines = S.Doc.StmtCount;
    S.Doc.InsertMode = true;
    S.Doc.InsertLine = 2;
    Put("R", kRuleAxiom);
    S.Doc.InsertMode = false;
    ExpectSameView(S, shown);
    EXPECT_NE(shown.Text().find("5 Conclusion, 5"), std::string::npos) << shown.Text();
    FlagStmts(S, 2, count);
    ASSERT_EQ(count, 1);
    DeleteStmts(S, 2);
    ASSERT_EQ(S.Doc.StmtCount, lines);
    ExpectSameView(S, shown);
    for (int k = 4; k <= 6; ++k) S.Doc.Stmts[k].Visible = true;
    RecomputeViewPositions(S.Doc);
    ResetFonts(S);
    ExpectSameView(S, shown);

    S.Ui.FontSize = 12;
    S.Ui.SmallFontSize = 10;
    ResetFonts(S);
    ExpectSameView(S, shown);
    S.Ui.FontSize = 10;
    S.Ui.SmallFontSize = 8;

    AddComment(3, "why x@s");
    ExpectSameView(S, shown);

    S.Doc = before;  // as Undo puts a snapshot back
    ResetFonts(S);
    ExpectSameView(S, shown);

    // The same formula text fails once its line is damaged, and draws again
    // once it is mended: known tokens never hide an error.
    const int32_t at = S.Doc.Stmts[8].StartStmt - 1;
    const char was = S.Doc.ProofText[at];
    S.Doc.ProofText[at] = '!';
    ResetFonts(S);
    EXPECT_EQ(StatusText(S).rfind("PARSER ERROR", 0), 0u);
    EXPECT_EQ(shown.Text().find("\t!"), shown.Text().rfind("\t!"));
    S.Doc.ProofText[at] = was;
    ResetFonts(S);
    ExpectSameView(S, shown);
  }
}

// A formula over two lines drawn, then drawn again with its second line
// indented one TAB deeper (as closing a sub-proof around it does): its
// tokens are known from the first drawing, and its variables are coloured
// at their new places.
TEST_F(RedrawTest, AFormulaIndentedAnewIsColouredAtItsNewPlaces) {
  Put("x@s");
  Put("[x@s & y@t]\r\n=> [x@s]", kRuleAxiom);
  ExpectSameView(S, view);
  DocState& d = S.Doc;
  const int32_t lf = static_cast<int32_t>(d.ProofText.find('\n', static_cast<size_t>(d.Stmts[2].StartStmt - 1)));
  ASSERT_LT(lf, d.Stmts[2].EndStmt);
  d.ProofText.insert(static_cast<size_t>(lf) + 1, "\t");
  d.Stmts[2].EndStmt += 1;
  d.Stmts[2].StartRule += 1;
  d.Stmts[2].EndRule += 1;
  RecomputeViewPositions(d);
  ResetFonts(S);
  ExpectSameView(S, view);
}

// A redraw that finds the view changed by something else since the last
// one (here a character overwritten, the length kept) draws it whole again,
// however little of the proof changed.
TEST_F(RedrawTest, AViewChangedBehindTheRedrawIsDrawnAgain) {
  PutAxioms(12);
  view.SetSelStart(S.Doc.Stmts[11].StartStmt - 1);
  view.SetSelLength(1);
  view.SetSelText("Q");
  Put("P1 & P2", kRuleJoin, 1, 2);
  ExpectSameView(S, view);
}

// Two states of the program (a copy of one) drawing into two boxes share
// what they remember of earlier redraws; each view is still its own proof's.
TEST_F(RedrawTest, CopiesOfTheStateDrawTheirOwnProofs) {
  PutAxioms(4);
  Put("x@s");
  AppState copy = S;
  MemRichBox second;
  copy.Attach(&host, &second, &status, &work);
  ResetFonts(copy);
  copy.Doc.InsertMode = true;
  copy.Doc.InsertLine = 1;
  copy.Parser.ExprText = "R";
  copy.Doc.RuleMode = kRuleAxiom;
  ASSERT_TRUE(PutStmt(copy));
  Put("y@s", kRuleAxiom);
  ResetFonts(S);
  ExpectSameView(S, view);
  ExpectSameView(copy, second);
  EXPECT_NE(view.Text(), second.Text());
}

TEST_F(RedrawTest, ParseErrorStopsTheRedrawAtThatStatement) {
  Put("A", kRuleAxiom);
  Put("B", kRuleAxiom);
  Put("C", kRuleAxiom);
  S.Doc.ProofText[Line(2).StartStmt - 1] = '!';
  status.SetText("prompt");
  const int beeps = host.beeps;
  ResetFonts(S);
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(status.Text().rfind("PARSER ERROR: 18. Illegal character !", 0), 0u);
  EXPECT_NE(view.Text().find("2\t!"), std::string::npos);
  EXPECT_EQ(view.Text().find("3\tC"), std::string::npos);
  EXPECT_TRUE(host.mainEnabled);
  EXPECT_FALSE(host.waitCursor);
}

TEST_F(RedrawTest, GlyphRightAfterAVariableKeepsTheFormulaColour) {
  // A stored text without blanks around the sign, as a file may hold it.
  OneStoredAxiom(S.Doc, "x@s");
  StmtRec& s = S.Doc.Stmts[1];
  s.FreeVars = " x s ";
  s.ScopedVars = " x ";
  s.FlagVars = " x ";
  Check();
  ResetFonts(S);
  EXPECT_EQ(view.Text().substr(2, 3), "xes");
  EXPECT_EQ(view.FormatAt(2).color, kRed);
  EXPECT_TRUE(view.FormatAt(2).bold);
  EXPECT_EQ(view.FormatAt(3).font, kSymbolFont);
  EXPECT_EQ(view.FormatAt(3).color, kBlack);
  EXPECT_FALSE(view.FormatAt(3).bold);
  EXPECT_EQ(view.FormatAt(4).color, kGreen);
  EXPECT_EQ(view.FormatAt(4).font, "Courier New");
  ExpectSameView(S, view);
}

TEST_F(RedrawTest, RedrawLeavesNoSelection) {
  PutAxioms(3);
  view.SetSelStart(2);
  view.SetSelLength(5);
  ResetFonts(S);  // nothing to change in the view
  EXPECT_EQ(view.SelLength(), 0);
}

TEST_F(RedrawTest, TokensHoldTheLastVisibleFormula) {
  Put("A & B", kRuleAxiom);
  Put("x=y", kRuleAxiom);
  S.Parser.Tokens.clear();
  ResetFonts(S);
  std::string toks;
  for (size_t t = 1; t < S.Parser.Tokens.size(); ++t) toks += S.Parser.Tokens[t].Token;
  EXPECT_EQ(toks, "x=y");
}

using GlyphTest = DocTest;

TEST_F(GlyphTest, GlyphConversionsKeepEveryPosition) {
  MemRichBox box;
  box.SetText("x@s & e@t");
  ConvertAmpersand(box, 1, 9);
  EXPECT_EQ(box.Text(), "xes & eet");
  box.SetSelStart(3);
  EXPECT_EQ(ConvertEpsilon(box), "x@s & e@t");  // the plain "e" stays an "e"
  EXPECT_EQ(box.SelStart(), 3);                 // the box is unchanged
  EXPECT_EQ(box.Text(), "xes & eet");
  // Only part of the range.
  box.SetText("a@b@c");
  ConvertAmpersand(box, 4, 1);
  EXPECT_EQ(box.Text(), "a@bec");
}

TEST_F(GlyphTest, ReformatWorkAreaNormalisesEverything) {
  work.SetText("a\t@ b\tc");
  work.SetSelStart(0);
  work.SetSelLength(1);
  work.SetSelBold(true);
  work.SetSelColor(kRed);
  ReformatWA(S, kGreen);
  EXPECT_EQ(work.Text(), "ae bc");
  for (int32_t i = 0; i < work.TextLength(); ++i) {
    EXPECT_EQ(work.FormatAt(i).color, kGreen);
    EXPECT_FALSE(work.FormatAt(i).bold);
    EXPECT_EQ(work.FormatAt(i).size, S.Ui.FontSize);
    EXPECT_EQ(work.FormatAt(i).font, i == 1 ? kSymbolFont : "Courier New");
  }
}

TEST_F(GlyphTest, CopyAndPaste) {
  MemRichBox box;
  // Nothing selected: beep, the clipboard keeps its content.
  host.clipboardText = "old";
  box.SetText("x@s");
  ConvertAmpersand(box, 1, 3);
  box.SetSelStart(1);
  CopySel(S, box);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(host.clipboardText, "old");
  // A plain copy carries the glyph as "@".
  box.SetSelStart(0);
  box.SetSelLength(3);
  CopySel(S, box);
  EXPECT_EQ(host.clipboardText, "x@s");
  EXPECT_EQ(ClipboardOf(S).CopiedLength, 3);

  // Paste into an editor with a red mark: all black, glyph back, TABs gone,
  // caret after the pasted text.
  MemRichBox ed;
  ed.SetText("A & B");
  ed.SetSelStart(0);
  ed.SetSelLength(1);
  ed.SetSelColor(kRed);
  ed.SetSelStart(4);
  PasteInto(S, ed);
  EXPECT_EQ(ed.Text(), "A & xesB");
  EXPECT_EQ(ed.SelStart(), 7);
  EXPECT_EQ(ed.FormatAt(0).color, kBlack);
  EXPECT_EQ(ed.FormatAt(5).font, kSymbolFont);
  EXPECT_NE(S.Ui.UndoRTF, "");

  // Text from elsewhere, longer than the last copy and with TABs: the caret
  // still goes after what was inserted.
  host.clipboardText = "\tP(x) | Q(y)";
  ed.SetText("A");
  ed.SetSelStart(1);
  PasteInto(S, ed);
  EXPECT_EQ(ed.Text(), "AP(x) | Q(y)");
  EXPECT_EQ(ed.SelStart(), 12);

  // Replacing a selection; an empty clipboard inserts nothing.
  host.clipboardText = "";
  ed.SetSelStart(0);
  ed.SetSelLength(2);
  PasteInto(S, ed);
  EXPECT_EQ(ed.Text(), "(x) | Q(y)");
  EXPECT_EQ(ed.SelStart(), 0);
}

TEST_F(GlyphTest, RichTextModeCopiesFormatting) {
  host.SetControlChecked("optRichTextMode", true);
  MemRichBox box;
  box.SetText("a@b");
  ConvertAmpersand(box, 1, 3);
  box.SetSelStart(1);
  box.SetSelLength(2);
  CopySel(S, box);
  EXPECT_NE(host.clipboardRich, "");
  MemRichBox ed;
  ed.SetText("zz");
  ed.SetSelStart(1);
  PasteInto(S, ed);
  EXPECT_EQ(ed.Text(), "zebz");
  EXPECT_EQ(ed.FormatAt(1).font, kSymbolFont);
  EXPECT_EQ(ed.SelStart(), 3);
}

TEST_F(GlyphTest, StatusLineConvention) {
  ShowStatus(S, "Join:  Click");
  EXPECT_EQ(StatusText(S), "Join:  Click");
  EXPECT_EQ(status.ParagraphAlign(0), Align::Centre);
  ClearStatus(S);
  EXPECT_EQ(StatusText(S), "");
}

}  // namespace
}  // namespace qv
