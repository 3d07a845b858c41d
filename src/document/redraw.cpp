// The redraw of the proof view from the proof text and the statement table:
// the Introduction, the comments, the line numbers, the formulas with their
// free variables coloured, the element-of glyph and the rule texts with the
// Conclusion tag. Hidden statements are skipped.
//
// The view's text and the format of every character are worked out first;
// then the view is changed only where it differs from them (one replaced
// range between the unchanged start and end). The outcome is exactly that of
// emptying the view and inserting and styling every block, but appending a
// statement to a long proof touches only the new block.
#include <algorithm>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/internal.h"
#include "platform/richdoc.h"

namespace qv {

namespace {

constexpr Rgb kCommentColour = RgbOf(0, 0, 150);
constexpr Rgb kGrey = RgbOf(128, 128, 128);
constexpr Rgb kInScopeColour = RgbOf(200, 0, 0);
constexpr Rgb kNewVarColour = RgbOf(0, 175, 0);
constexpr const char* kTextFont = "Courier New";

// One restyled run of the view: 0-based start, length, and what changes.
struct StyleRun {
  int32_t start;
  int32_t len;
  const char* font;  // nullptr = unchanged
  int size;          // 0 = unchanged
  int64_t colour;    // -1 = unchanged
  int bold;          // -1 = unchanged, else 0 or 1
};

// Name is a member of List (" a b " form), without building a search string.
bool ListHas(const std::string& List, const std::string& Name) {
  if (List.size() < Name.size() + 2 || Name.empty()) return false;
  size_t pos = List.find(Name, 1);
  while (pos != std::string::npos) {
    if (List[pos - 1] == ' ' && pos + Name.size() < List.size() && List[pos + Name.size()] == ' ')
      return true;
    pos = List.find(Name, pos + 1);
  }
  return false;
}

// The format of one character of the view, compactly.
struct Fmt {
  uint8_t font;  // 0 text font, 1 symbol font, 2 tag font
  int16_t size;
  bool bold;
  Rgb colour;
  bool operator==(const Fmt&) const = default;
};

const char* FontName(uint8_t f) { return f == 1 ? kSymbolFont : f == 2 ? kTagFont : kTextFont; }

// Every character in the base format (text font, text size, black, not
// bold), then the runs in order.
std::vector<Fmt> Formats(size_t n, const std::vector<StyleRun>& Runs, int Size) {
  std::vector<Fmt> f(n, Fmt{0, static_cast<int16_t>(Size), false, kBlack});
  for (const StyleRun& r : Runs) {
    const int32_t from = std::max<int32_t>(r.start, 0);
    const int32_t to = std::min<int32_t>(r.start + r.len, static_cast<int32_t>(n));
    const uint8_t font = !r.font ? 255 : r.font == kSymbolFont ? 1 : r.font == kTagFont ? 2 : 0;
    for (int32_t i = from; i < to; ++i) {
      if (font != 255) f[i].font = font;
      if (r.size) f[i].size = static_cast<int16_t>(r.size);
      if (r.colour >= 0) f[i].colour = static_cast<Rgb>(r.colour);
      if (r.bold >= 0) f[i].bold = r.bold != 0;
    }
  }
  return f;
}

CharFormat ToCharFormat(const Fmt& f) {
  CharFormat c;
  c.color = f.colour;
  c.font = FontName(f.font);
  c.size = f.size;
  c.bold = f.bold;
  c.align = Align::Left;
  return c;
}

// The snapshot of Text[From, To) in the formats F.
RichDoc Slice(const std::string& Text, const std::vector<Fmt>& F, size_t From, size_t To) {
  RichDoc doc;
  doc.text = Text.substr(From, To - From);
  for (size_t i = From; i < To;) {
    size_t j = i + 1;
    while (j < To && F[j] == F[i]) ++j;
    doc.runs.push_back({static_cast<int32_t>(j - i), ToCharFormat(F[i])});
    i = j;
  }
  return doc;
}

// Brings the view to Text in the formats F, replacing only the range between
// the longest unchanged start and the longest unchanged end.
void ShowInView(RichBox& V, const std::string& Text, const std::vector<Fmt>& F, int Size) {
  RichDoc cur;
  const bool known = DecodeRichDoc(V.RichText(), &cur);
  // The current formats as indexes into a small table; -1 where a character
  // matches no format of the new view.
  std::vector<Fmt> table;
  std::vector<int> want(F.size());
  for (size_t i = 0; i < F.size(); ++i) {
    size_t k = 0;
    while (k < table.size() && !(table[k] == F[i])) ++k;
    if (k == table.size()) table.push_back(F[i]);
    want[i] = static_cast<int>(k);
  }
  std::vector<int> have;
  if (known) {
    have.reserve(cur.text.size());
    for (const RichRun& r : cur.runs) {
      int id = -1;
      for (size_t k = 0; k < table.size(); ++k)
        if (ToCharFormat(table[k]) == r.format) {
          id = static_cast<int>(k);
          break;
        }
      have.insert(have.end(), static_cast<size_t>(std::max(r.length, 0)), id);
    }
    have.resize(cur.text.size(), -1);
  }
  const size_t lenC = known ? cur.text.size() : 0;
  const size_t lenD = Text.size();
  size_t p = 0;
  if (known)
    while (p < lenC && p < lenD && cur.text[p] == Text[p] && have[p] == want[p]) ++p;
  size_t s = 0;
  if (known)
    while (s < lenC - p && s < lenD - p && cur.text[lenC - 1 - s] == Text[lenD - 1 - s] &&
           have[lenC - 1 - s] == want[lenD - 1 - s])
      ++s;
  // Never split a line break between the kept and the replaced part.
  if (p > 0 && Text[p - 1] == '\r') --p;
  if (s > 0 && Text[lenD - s] == '\n') --s;
  if (known && p == lenC && p == lenD) return;  // already showing exactly this

  if (!known || (p == 0 && s == 0)) {
    V.SetDefaultFont(kTextFont, Size);
    V.SetRichText(EncodeRichDoc(Slice(Text, F, 0, lenD)));
    return;
  }
  SelectRange(V, static_cast<int32_t>(p), static_cast<int32_t>(lenC - s - p));
  if (lenD - s > p)
    V.SetSelRichText(EncodeRichDoc(Slice(Text, F, p, lenD - s)));
  else
    V.SetSelText("");
}

// "@" becomes "e" in View (same length) and the runs that show it as the glyph.
void GlyphsIn(std::string& View, std::vector<StyleRun>& Runs, int32_t From, int32_t To) {
  for (int32_t i = From; i < To && i < static_cast<int32_t>(View.size()); ++i) {
    if (View[i] != '@') continue;
    View[i] = 'e';
    Runs.push_back({i, 1, kSymbolFont, 0, -1, -1});
  }
}

}  // namespace

void ResetFonts(AppState& S) {
  DocState& d = S.Doc;
  const std::string saved = StatusText(S);
  ShowStatus(S, "Please wait...");
  if (S.host) {
    S.host->SetWaitCursor(true);
    S.host->SetMainEnabled(false);
    S.host->ProcessEvents();
  }
  // Read only after the paint above: nothing of the document is held across it.
  const std::string& T = d.ProofText;
  const int32_t tlen = static_cast<int32_t>(T.size());
  const int big = S.Ui.FontSize;
  const int small = S.Ui.SmallFontSize;
  if (S.View) S.View->SetUpdatesEnabled(false);

  std::string view;
  view.reserve(static_cast<size_t>(tlen));
  std::vector<StyleRun> runs;
  runs.reserve(static_cast<size_t>(d.StmtCount) * 6 + 4);

  if (d.IntroLen > 0) {
    const int32_t n = std::min(d.IntroLen + 4, tlen);
    view.assign(T, 0, static_cast<size_t>(n));
    runs.push_back({0, std::min(d.IntroLen, n), nullptr, 0, kCommentColour, -1});
    GlyphsIn(view, runs, 0, std::min(d.IntroLen, n));
  }

  std::vector<TokenRec> toks;
  std::string err;
  int16_t errPos = 0;
  bool tokenised = false;
  bool failed = false;
  const int count = std::min<int>(d.StmtCount, static_cast<int>(d.Stmts.size()) - 1);

  for (int a = 1; a <= count && !failed; ++a) {
    const StmtRec& s = d.Stmts[a];
    if (!s.Visible) continue;
    if (s.StartLine < 1 || s.EndRule + 4 > tlen || s.EndRule < s.StartLine) continue;
    const int32_t vstart = static_cast<int32_t>(view.size());  // 0-based view start of the block
    const int32_t off = vstart - s.StartLine;  // text position p -> 0-based view position p + off
    view.append(T, static_cast<size_t>(s.StartLine - 1),
                static_cast<size_t>(s.EndRule - s.StartLine + 5));

    if (s.EndUserComment > 0) {
      runs.push_back({vstart, s.EndUserComment - s.StartLine + 1, nullptr, 0, kCommentColour, -1});
      GlyphsIn(view, runs, vstart, s.EndUserComment + off + 1);
    }

    const int32_t depth = s.StartRule - s.EndStmt - 4;
    const int32_t num = (s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine) + depth;
    if (depth != 0 || s.Highlight)
      runs.push_back({num + off, static_cast<int32_t>(std::to_string(a).size()), nullptr, 0,
                      depth != 0 ? static_cast<int64_t>(kGrey) : -1, s.Highlight ? 1 : -1});

    // The formula: tokenised again; its free variables coloured by scope.
    const std::string formula =
        s.EndStmt >= s.StartStmt && s.StartStmt >= 1
            ? T.substr(static_cast<size_t>(s.StartStmt - 1),
                       static_cast<size_t>(s.EndStmt - s.StartStmt + 1))
            : std::string();
    TokenizeExpr(formula, toks, err, errPos);
    tokenised = true;
    if (!err.empty()) {
      failed = true;
      break;
    }
    const int32_t fstart = s.StartStmt + off;  // 0-based view position of the formula
    for (size_t t = 1; t < toks.size(); ++t) {
      const TokenRec& k = toks[t];
      const int32_t at = fstart + k.Position - 1;
      const int32_t len = static_cast<int32_t>(k.Token.size());
      if (ListHas(s.FreeVars, k.Token)) {
        const int64_t colour = ListHas(s.ScopedVars, k.Token) ? kInScopeColour : kNewVarColour;
        const int bold = ListHas(s.FlagVars, k.Token) ? 1 : 0;
        runs.push_back({at, len, nullptr, 0, colour, bold ? 1 : -1});
      } else if (k.Token == "@" && at >= 0 && at < static_cast<int32_t>(view.size())) {
        // The glyph keeps the formula's colour and weight, also right after a
        // coloured variable (a text stored without the blanks).
        view[at] = 'e';
        const bool blankAfter = at + 1 < static_cast<int32_t>(view.size()) && view[at + 1] == ' ';
        if (blankAfter && at >= 1)
          runs.push_back({at - 1, 3, kSymbolFont, 0, -1, -1});
        else
          runs.push_back({at, 1, kSymbolFont, 0, -1, -1});
      }
    }

    // The rule text, with the Conclusion's tag ("5" while its sub-proof is collapsed).
    const int32_t rstart = s.StartRule + off;
    if (s.Rule == kRuleConclusion) {
      const bool collapsed = s.Arg1 >= 1 && s.Arg1 <= count && !d.Stmts[s.Arg1].Visible;
      if (collapsed && rstart >= 0 && rstart < static_cast<int32_t>(view.size())) view[rstart] = '5';
      runs.push_back({rstart, 1, kTagFont, small, -1, -1});
      runs.push_back({rstart + 2, s.EndRule - s.StartRule - 1, nullptr, small, kGrey, -1});
    } else {
      runs.push_back({rstart, s.EndRule - s.StartRule + 1, nullptr, small, kGrey, -1});
    }
  }

  if (S.View) {
    ShowInView(*S.View, view, Formats(view.size(), runs, big), big);
    // No selection survives a redraw; callers place the caret themselves.
    S.View->SetSelLength(0);
    S.View->SetUpdatesEnabled(true);
  }

  if (tokenised) {
    S.Parser.Tokens = std::move(toks);
    S.Parser.ParseErr = err;
    S.Parser.ParseErrPos = errPos;
  }
  if (S.host) {
    S.host->SetMainEnabled(true);
    S.host->SetWaitCursor(false);
  }
  if (failed) {
    DocBeep(S);
    ShowStatus(S, "PARSER ERROR: " + err);
  } else {
    ShowStatus(S, saved);
  }
}

}  // namespace qv
