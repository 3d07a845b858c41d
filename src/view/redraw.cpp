// The redraw of the proof view from the proof text and the statement table:
// the Introduction, the comments, the line numbers, the formulas with their
// free variables coloured, the element-of glyph and the rule texts with the
// Conclusion tag. Hidden statements are skipped.
//
// Each block is drawn into its text and the format of every character, and
// the drawing is kept: a block whose text and lists did not change is not
// drawn again, and one that only got another number or other citations (the
// lines after an insertion or a deletion) is patched from its old drawing.
// The view is then changed only where it differs (one replaced range between
// the unchanged start and end); while nothing else changed the view since
// the last redraw, the blocks kept at either end are not even compared. The
// outcome is exactly that of emptying the view and inserting and styling
// every block, but appending a statement to a long proof touches only the
// new block. The tokens of every formula drawn are kept by its text without
// its indentation, so a redraw tokenises only the formulas it has not seen
// before, in any sub-proof (and the last one, whose tokens it leaves in the
// parser's tables).
#include <algorithm>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "view/view.h"
#include "platform/memrichbox.h"
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

// The format of one character of the view, compactly.
struct Fmt {
  uint8_t font;  // 0 text font, 1 symbol font, 2 tag font
  int16_t size;
  bool bold;
  Rgb colour;
  bool operator==(const Fmt&) const = default;
};

// What a block's drawing depends on besides its text and variable lists:
// its layout within the block, rule, highlight, collapsed tag and sizes.
struct BlockKey {
  int32_t comment, startStmt, endStmt, startRule;
  int16_t rule;
  bool highlight, collapsed;
  int big, small;
  bool operator==(const BlockKey&) const = default;
};

// One statement's block as last drawn: what it was drawn from, and its view
// text with one format index (into RedrawCache::table) a character.
struct BlockDrawing {
  bool valid = false;
  uint64_t serial = 0;  // new for every drawing made; kept while it is reused
  BlockKey key{};
  int32_t number = 0, digits = 0;  // the line number's offset and width
  std::string source, freeVars, scopedVars, flagVars;
  std::string text;
  std::vector<uint8_t> ids;
};

}  // namespace

// What one redraw leaves for the next: the tokens (text and 1-based
// position in the formula without its indentation, see Unindented) of every
// formula drawn, and each statement's block as drawn.
struct RedrawCache {
  std::unordered_map<std::string, std::vector<std::pair<std::string, int16_t>>> tokens;
  std::vector<Fmt> table;  // the formats that the drawings index
  std::vector<BlockDrawing> blocks;  // by statement number
  std::vector<BlockDrawing> spare;   // an emptied table kept for its memory
  uint64_t serials = 0;
  std::string introText;  // the Introduction as last drawn
  std::vector<uint8_t> introIds;
  uint64_t introSerial = 0;
  // What the view was last given: the serial and length of each piece (the
  // Introduction, then every block drawn), and the box's revision after it.
  const void* shownIn = nullptr;
  uint64_t shownRevision = 0;
  std::vector<std::pair<uint64_t, size_t>> shown;
  // The changed part of the view as last put together, kept for its memory.
  std::string viewText;
  std::vector<uint8_t> viewIds;
};

namespace {

const char* FontName(uint8_t f) { return f == 1 ? kSymbolFont : f == 2 ? kTagFont : kTextFont; }

// The index of F in Table, added at the end when it is not there.
uint8_t IndexIn(std::vector<Fmt>& Table, const Fmt& F) {
  size_t k = 0;
  while (k < Table.size() && !(Table[k] == F)) ++k;
  if (k == Table.size()) Table.push_back(F);
  return static_cast<uint8_t>(k);
}

// Every character in the base format (text font, text size, black, not
// bold), then the runs in order; the result as one index a character into
// Table (which the redraw's few distinct formats fill). A run changes each
// character it covers from one format of the table to another; the
// characters it covers mostly share their format, so each is looked up once
// for a stretch of them, and characters no run covers cost nothing but their
// byte.
std::vector<uint8_t> Formats(size_t n, const std::vector<StyleRun>& Runs, int Size, std::vector<Fmt>& Table) {
  std::vector<uint8_t> ids(n, IndexIn(Table, Fmt{0, static_cast<int16_t>(Size), false, kBlack}));
  for (const StyleRun& r : Runs) {
    const int32_t from = std::max<int32_t>(r.start, 0);
    const int32_t to = std::min<int32_t>(r.start + r.len, static_cast<int32_t>(n));
    const uint8_t font = !r.font ? 255 : r.font == kSymbolFont ? 1 : r.font == kTagFont ? 2 : 0;
    int was = -1;  // the format last changed by this run, and what it became
    uint8_t became = 0;
    for (int32_t i = from; i < to; ++i) {
      if (ids[i] != was) {
        was = ids[i];
        Fmt f = Table[static_cast<size_t>(was)];
        if (font != 255) f.font = font;
        if (r.size) f.size = static_cast<int16_t>(r.size);
        if (r.colour >= 0) f.colour = static_cast<Rgb>(r.colour);
        if (r.bold >= 0) f.bold = r.bold != 0;
        became = IndexIn(Table, f);  // at most 3 fonts x 2 sizes x 5 colours x 2 weights
      }
      ids[i] = became;
    }
  }
  return ids;
}

// Moves a drawing made at text size OldBig and small size OldSmall (which
// differ) to Big and Small. Map[i] is the new index of format i, -1 until
// needed; MapFor holds the old sizes Map is for.
void Resize(std::vector<Fmt>& Table, std::vector<uint8_t>& Ids, int OldBig, int OldSmall, int Big, int Small,
            std::vector<int>& MapFor, std::vector<int>& Map) {
  if (MapFor != std::vector<int>{OldBig, OldSmall}) {
    MapFor = {OldBig, OldSmall};
    Map.clear();
  }
  for (uint8_t& id : Ids) {
    if (Map.size() <= id) Map.resize(static_cast<size_t>(id) + 1, -1);
    if (Map[id] < 0) {
      Fmt f = Table[id];
      f.size = static_cast<int16_t>(f.size == OldBig ? Big : f.size == OldSmall ? Small : f.size);
      Map[id] = IndexIn(Table, f);
    }
    id = static_cast<uint8_t>(Map[id]);
  }
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

// Brings the view to Text in the formats Table[Ids[i]], replacing only the
// range between the longest unchanged start and the longest unchanged end.
// Text stands for the view between its first Head and its last Tail
// characters, which the caller knows to be as they should be. The view's
// current contents are read from its in-memory model when it has one, else
// from its snapshot (and then Head and Tail must be 0).
void ShowInView(RichBox& V, std::string_view Text, std::span<const uint8_t> Ids,
                const std::vector<Fmt>& Table, int Size, size_t Head = 0, size_t Tail = 0) {
  std::vector<CharFormat> formats;
  formats.reserve(Table.size());
  for (const Fmt& f : Table) formats.push_back(ToCharFormat(f));
  // The index into Table of each format the view holds, -1 for one that no
  // character of the new view has.
  auto indexOf = [&](const CharFormat& c) {
    for (size_t k = 0; k < formats.size(); ++k)
      if (formats[k] == c) return static_cast<int>(k);
    return -1;
  };
  const MemRichBox* model = V.Model();
  RichDoc cur;
  const bool known = model || DecodeRichDoc(V.RichText(), &cur);
  const std::string& curText = model ? model->TextRef() : cur.text;
  std::vector<int> byModelId;  // model format table -> Table
  std::vector<int> have;       // one a character, from the snapshot
  if (model) {
    for (const CharFormat& c : model->FormatTable()) byModelId.push_back(indexOf(c));
  } else if (known) {
    have.reserve(cur.text.size());
    for (const RichRun& r : cur.runs)
      have.insert(have.end(), static_cast<size_t>(std::max(r.length, 0)), indexOf(r.format));
    have.resize(cur.text.size(), -1);
  }
  auto haveAt = [&](size_t i) { return model ? byModelId[model->FormatIdAt(static_cast<int32_t>(i))] : have[i]; };

  // The part of the view that Text replaces: [Head, lenC - Tail).
  const size_t lenC = known ? curText.size() - Head - Tail : 0;
  const size_t lenD = Text.size();
  size_t p = 0;
  if (known)
    while (p < lenC && p < lenD && curText[Head + p] == Text[p] && haveAt(Head + p) == Ids[p]) ++p;
  size_t s = 0;
  if (known)
    while (s < lenC - p && s < lenD - p && curText[Head + lenC - 1 - s] == Text[lenD - 1 - s] &&
           haveAt(Head + lenC - 1 - s) == Ids[lenD - 1 - s])
      ++s;
  // Never split a line break between the kept and the replaced part.
  if (p > 0 && Text[p - 1] == '\r') --p;
  if (s > 0 && Text[lenD - s] == '\n') --s;
  if (known && p == lenC && p == lenD) return;  // already showing exactly this

  if (!known || (Head + p == 0 && Tail + s == 0)) {
    V.SetDefaultFont(kTextFont, Size);
    V.SetText("");
    V.ReplaceRich(0, 0, Text, formats, Ids);
    return;
  }
  V.ReplaceRich(static_cast<int32_t>(Head + p), static_cast<int32_t>(Head + lenC - s),
                Text.substr(p, lenD - s - p), formats, Ids.subspan(p, lenD - s - p));
}

// Turns the drawing D of a block into the drawing of a block that differs
// from it only in its line number and its rule text (as after an insertion
// or a deletion above it): every other character, its text and its format,
// stays D's. Source is the new block's text, Key what its drawing depends
// on, Number and Digits where its number stands. False, and D unchanged,
// when D is no such drawing.
bool Patch(BlockDrawing& D, std::string_view Source, const BlockKey& Key, int32_t Number, int32_t Digits) {
  const BlockKey k = D.key;
  if (!D.valid || k.comment != Key.comment || k.rule != Key.rule || k.highlight != Key.highlight ||
      k.collapsed != Key.collapsed || k.big != Key.big || k.small != Key.small || D.number != Number)
    return false;
  // The layout around the number and the rule text must be the same: the
  // number ends before the formula's TAB, the formula ends before the rule
  // line, and the same stretch lies between the number and the rule text.
  const int32_t after = Number + Digits, oldAfter = Number + D.digits;
  if (Key.startStmt - 1 < after || Key.startRule <= Key.endStmt + 1) return false;
  if (Key.startStmt - after != k.startStmt - oldAfter || Key.endStmt - after != k.endStmt - oldAfter ||
      Key.startRule - after != k.startRule - oldAfter)
    return false;
  const int32_t ruleLen = static_cast<int32_t>(Source.size()) - 4 - Key.startRule;
  const int32_t oldRuleLen = static_cast<int32_t>(D.source.size()) - 4 - k.startRule;
  const int32_t minRule = Key.rule == kRuleConclusion ? 3 : 1;
  if (ruleLen < minRule || oldRuleLen < minRule) return false;
  const std::string_view was(D.source);
  if (Source.substr(0, static_cast<size_t>(Number)) != was.substr(0, static_cast<size_t>(Number)) ||
      Source.substr(static_cast<size_t>(after), static_cast<size_t>(Key.startRule - after)) !=
          was.substr(static_cast<size_t>(oldAfter), static_cast<size_t>(k.startRule - oldAfter)) ||
      Source.substr(Source.size() - 4) != was.substr(was.size() - 4))
    return false;

  // The rule text first (it lies after the number, so the number's offsets hold).
  const size_t r = static_cast<size_t>(k.startRule);
  const bool conclusion = Key.rule == kRuleConclusion;
  const uint8_t tag = D.ids[r], blank = D.ids[r + 1], name = D.ids[conclusion ? r + 2 : r];
  D.text.replace(r, static_cast<size_t>(oldRuleLen), Source.substr(static_cast<size_t>(Key.startRule),
                                                                    static_cast<size_t>(ruleLen)));
  D.ids.erase(D.ids.begin() + static_cast<std::ptrdiff_t>(r),
              D.ids.begin() + static_cast<std::ptrdiff_t>(r) + oldRuleLen);
  D.ids.insert(D.ids.begin() + static_cast<std::ptrdiff_t>(r), static_cast<size_t>(ruleLen), name);
  if (conclusion) {
    D.ids[r] = tag;
    D.ids[r + 1] = blank;
  }
  // The number, all in one format.
  D.text.replace(static_cast<size_t>(Number), static_cast<size_t>(D.digits),
                 Source.substr(static_cast<size_t>(Number), static_cast<size_t>(Digits)));
  const uint8_t digit = D.ids[static_cast<size_t>(Number)];
  const auto at = D.ids.begin() + Number;
  if (Digits > D.digits) D.ids.insert(at, static_cast<size_t>(Digits - D.digits), digit);
  if (Digits < D.digits) D.ids.erase(at, at + (D.digits - Digits));
  if (Key.collapsed) D.text[static_cast<size_t>(Key.startRule)] = '5';

  D.key = Key;
  D.digits = Digits;
  D.source.assign(Source);
  return true;
}

// The formula without the TABs that indent its continuation lines (those
// right after a line feed); From gets the 0-based place in Formula of each
// character kept. A TAB only separates tokens, as the line feed before it
// already does, so both texts make the same tokens: a long formula moved
// into or out of a sub-proof is not tokenised again for its new indentation.
std::string Unindented(std::string_view Formula, std::vector<int32_t>& From) {
  std::string kept;
  kept.reserve(Formula.size());
  From.clear();
  From.reserve(Formula.size());
  size_t i = 0;
  while (i < Formula.size()) {
    // Up to and with the next line feed, then past the TABs after it.
    const size_t lf = Formula.find('\n', i);
    const size_t end = lf == std::string_view::npos ? Formula.size() : lf + 1;
    kept.append(Formula, i, end - i);
    for (; i < end; ++i) From.push_back(static_cast<int32_t>(i));
    while (i < Formula.size() && Formula[i] == '\t') ++i;
  }
  return kept;
}

// The formula of statement s as the proof text holds it.
std::string FormulaOf(const std::string& T, const StmtRec& s) {
  return s.EndStmt >= s.StartStmt && s.StartStmt >= 1
             ? T.substr(static_cast<size_t>(s.StartStmt - 1), static_cast<size_t>(s.EndStmt - s.StartStmt + 1))
             : std::string();
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

  if (!S.Redraw) S.Redraw = std::make_shared<RedrawCache>();
  RedrawCache& cache = *S.Redraw;
  // A token cache grown far past the proof (after many edits) starts again,
  // and so do the drawings that point into it; so do both when the formats
  // would outgrow their one-byte index.
  if (cache.tokens.size() > static_cast<size_t>(d.StmtCount) * 2 + 1024 || cache.table.size() > 200) {
    cache.tokens.clear();
    cache.table.clear();
    cache.blocks.clear();
    cache.introSerial = 0;
    cache.shownIn = nullptr;
  }
  const int count = std::min<int>(d.StmtCount, LastIndex(d.Stmts));
  // The drawings of the last redraw, by the numbers the statements had then.
  // When as many lines are drawn as before, each stays where it is; else
  // each is moved to this redraw's table when it is used again.
  const int moved = count - LastIndex(cache.blocks);  // lines added (or taken away, < 0)
  const bool inPlace = moved == 0;
  std::vector<BlockDrawing> old;
  if (!inPlace) {
    old = std::move(cache.blocks);
    // The table given up last time: its memory is already in use by the
    // process, so a long proof's table is not laid out in fresh pages again.
    // It is given room to grow, so lines added one at a time do not each lay
    // out a new table.
    cache.blocks = std::move(cache.spare);
    cache.blocks.clear();
    const size_t need = static_cast<size_t>(count) + 1;
    if (cache.blocks.capacity() < need) cache.blocks.reserve(need + need / 4 + 64);
    cache.blocks.resize(need);
  }
  std::vector<BlockDrawing>& before = inPlace ? cache.blocks : old;
  int lastMove = moved;  // the shift that last found an old drawing

  // The view as pieces: the Introduction, then each block drawn.
  struct Piece {
    uint64_t serial;
    const std::string* text;
    const std::vector<uint8_t>* ids;
  };
  std::vector<Piece> pieces;
  pieces.reserve(static_cast<size_t>(count) + 1);
  std::string intro;
  std::vector<uint8_t> introIds;
  if (d.IntroLen > 0) {
    const int32_t n = std::min(d.IntroLen + 4, tlen);
    std::vector<StyleRun> runs;
    intro.assign(T, 0, static_cast<size_t>(n));
    runs.push_back({0, std::min(d.IntroLen, n), nullptr, 0, kCommentColour, -1});
    GlyphsIn(intro, runs, 0, std::min(d.IntroLen, n));
    introIds = Formats(intro.size(), runs, big, cache.table);
    // The Introduction is short next to the proof: drawn every time, and
    // kept as it was shown when it comes out the same.
    const bool same = cache.introSerial != 0 && cache.introText == intro && cache.introIds == introIds;
    if (!same) {
      cache.introText = intro;
      cache.introIds = introIds;
      cache.introSerial = ++cache.serials;
    }
    pieces.push_back({cache.introSerial, &cache.introText, &cache.introIds});
  }
  BlockDrawing broken;  // the block whose formula does not tokenise

  std::vector<TokenRec> toks;
  std::string err;
  int16_t errPos = 0;
  int lastDrawn = 0;  // the statement of the last formula drawn
  std::vector<int32_t> from;  // Unindented's map, for one formula
  bool tokenised = false;
  bool failed = false;
  std::vector<StyleRun> runs;
  std::vector<int> resizeFrom, resizeTo;  // Resize's map, for one pair of old sizes
  auto oldAt = [&](int k) -> BlockDrawing* {
    return k >= 1 && k < static_cast<int>(before.size()) && before[static_cast<size_t>(k)].valid
               ? &before[static_cast<size_t>(k)]
               : nullptr;
  };

  for (int a = 1; a <= count && !failed; ++a) {
    const StmtRec& s = d.Stmts[a];
    if (!s.Visible) continue;
    if (s.StartLine < 1 || s.EndRule + 4 > tlen || s.EndRule < s.StartLine) continue;
    tokenised = true;
    const bool collapsed =
        s.Rule == kRuleConclusion && s.Arg1 >= 1 && s.Arg1 <= count && !d.Stmts[s.Arg1].Visible;
    BlockDrawing& drawn = cache.blocks[static_cast<size_t>(a)];
    const std::string_view source(T.data() + s.StartLine - 1, static_cast<size_t>(s.EndRule - s.StartLine + 5));
    const BlockKey key{s.EndUserComment > 0 ? s.EndUserComment - s.StartLine : -1,
                       s.StartStmt - s.StartLine, s.EndStmt - s.StartLine, s.StartRule - s.StartLine,
                       s.Rule, s.Highlight, collapsed, big, small};
    const int32_t number = LineNumberArea(s).Number - s.StartLine;
    const int32_t digits = Digits(a);

    // The block as drawn last time, when nothing it is drawn from changed.
    if (BlockDrawing* same = oldAt(a)) {
      BlockKey resized = key;  // the same block drawn at the sizes it was drawn at
      resized.big = same->key.big;
      resized.small = same->key.small;
      if (same->key == resized && same->source == source && same->freeVars == s.FreeVars &&
          same->scopedVars == s.ScopedVars && same->flagVars == s.FlagVars &&
          ((same->key.big == big && same->key.small == small) || same->key.big != same->key.small)) {
        if (same != &drawn) {
          drawn = std::move(*same);
          same->valid = false;
        }
        // A new text size: every character is at the text size or the small
        // size, so the drawing only changes sizes.
        if (drawn.key.big != big || drawn.key.small != small) {
          Resize(cache.table, drawn.ids, drawn.key.big, drawn.key.small, big, small, resizeFrom, resizeTo);
          drawn.key = key;
          drawn.serial = ++cache.serials;
        }
        lastDrawn = a;
        pieces.push_back({drawn.serial, &drawn.text, &drawn.ids});
        continue;
      }
    }
    // The block as drawn under another number: the same line moved by an
    // insertion or a deletion above it.
    bool patched = false;
    for (const int shift : {lastMove, moved, 0}) {
      BlockDrawing* was = oldAt(a - shift);
      if (!was || was->freeVars != s.FreeVars || was->scopedVars != s.ScopedVars || was->flagVars != s.FlagVars)
        continue;
      if (Patch(*was, source, key, number, digits)) {
        if (was != &drawn) {
          drawn = std::move(*was);
          was->valid = false;
        }
        lastMove = shift;
        patched = true;
        break;
      }
    }
    if (patched) {
      drawn.serial = ++cache.serials;
      lastDrawn = a;
      pieces.push_back({drawn.serial, &drawn.text, &drawn.ids});
      continue;
    }

    const std::string formula = FormulaOf(T, s);

    // Drawn afresh: positions below are 0-based within the block.
    std::string block(source);
    runs.clear();
    const int32_t off = -s.StartLine;  // text position p -> 0-based block position p + off

    if (s.EndUserComment > 0) {
      runs.push_back({0, s.EndUserComment - s.StartLine + 1, nullptr, 0, kCommentColour, -1});
      GlyphsIn(block, runs, 0, s.EndUserComment + off + 1);
    }

    const int32_t depth = s.StartRule - s.EndStmt - 4;
    if (depth != 0 || s.Highlight)
      runs.push_back({number, digits, nullptr, 0,
                      depth != 0 ? static_cast<int64_t>(kGrey) : -1, s.Highlight ? 1 : -1});

    // The formula: tokenised (or its tokens taken from the cache); its free
    // variables coloured by scope.
    // A formula too long for the tokeniser is refused whatever its
    // indentation, so it is never looked up.
    const std::string unindented = Unindented(formula, from);
    auto hit = formula.size() <= static_cast<size_t>(kMaxTableIndex) ? cache.tokens.find(unindented)
                                                                     : cache.tokens.end();
    if (hit == cache.tokens.end()) {
      TokenizeExpr(formula, toks, err, errPos);
      if (!err.empty()) {
        // The block's text, comment and number stay; nothing after is drawn.
        failed = true;
        broken.ids = Formats(block.size(), runs, big, cache.table);
        broken.text = std::move(block);
        pieces.push_back({++cache.serials, &broken.text, &broken.ids});
        drawn.valid = false;
        break;
      }
      std::vector<std::pair<std::string, int16_t>> kept;
      kept.reserve(toks.size());
      // No token starts on a TAB left out, so each has its place in `from`.
      for (size_t t = 1; t < toks.size(); ++t) {
        const auto at = std::lower_bound(from.begin(), from.end(), toks[t].Position - 1);
        kept.emplace_back(toks[t].Token, static_cast<int16_t>(at - from.begin() + 1));
      }
      hit = cache.tokens.insert_or_assign(unindented, std::move(kept)).first;
    }
    lastDrawn = a;
    const int32_t fstart = s.StartStmt + off;  // 0-based block position of the formula
    const int32_t blen = static_cast<int32_t>(block.size());
    for (const auto& [token, position] : hit->second) {
      const int32_t at = fstart + from[static_cast<size_t>(position - 1)];
      const int32_t len = static_cast<int32_t>(token.size());
      if (InList(s.FreeVars, token)) {
        const int64_t colour = InList(s.ScopedVars, token) ? kInScopeColour : kNewVarColour;
        const int bold = InList(s.FlagVars, token) ? 1 : 0;
        runs.push_back({at, len, nullptr, 0, colour, bold ? 1 : -1});
      } else if (token == "@" && at >= 0 && at < blen) {
        // The glyph keeps the formula's colour and weight, also right after a
        // coloured variable (a text stored without the blanks).
        block[at] = 'e';
        const bool blankAfter = at + 1 < blen && block[at + 1] == ' ';
        if (blankAfter && at >= 1)
          runs.push_back({at - 1, 3, kSymbolFont, 0, -1, -1});
        else
          runs.push_back({at, 1, kSymbolFont, 0, -1, -1});
      }
    }

    // The rule text, with the Conclusion's tag ("5" while its sub-proof is collapsed).
    const int32_t rstart = s.StartRule + off;
    if (s.Rule == kRuleConclusion) {
      if (collapsed && rstart >= 0 && rstart < blen) block[rstart] = '5';
      runs.push_back({rstart, 1, kTagFont, small, -1, -1});
      runs.push_back({rstart + 2, s.EndRule - s.StartRule - 1, nullptr, small, kGrey, -1});
    } else {
      runs.push_back({rstart, s.EndRule - s.StartRule + 1, nullptr, small, kGrey, -1});
    }

    drawn.ids = Formats(block.size(), runs, big, cache.table);
    drawn.text = std::move(block);
    drawn.source.assign(source);
    drawn.key = key;
    drawn.number = number;
    drawn.digits = digits;
    drawn.freeVars = s.FreeVars;
    drawn.scopedVars = s.ScopedVars;
    drawn.flagVars = s.FlagVars;
    drawn.valid = true;
    drawn.serial = ++cache.serials;
    pieces.push_back({drawn.serial, &drawn.text, &drawn.ids});
  }
  if (!inPlace) {
    old.clear();
    cache.spare = std::move(old);
  }

  // The parser's tables hold the tokens of the last formula drawn (or of the
  // one that failed).
  if (lastDrawn > 0 && !failed) TokenizeExpr(FormulaOf(T, d.Stmts[lastDrawn]), toks, err, errPos);

  if (S.View) {
    // While the view holds what the last redraw gave it, the pieces both
    // redraws share at the start and at the end are left alone.
    const MemRichBox* model = S.View->Model();
    size_t head = 0, tail = 0, keptHead = 0, keptTail = 0;
    if (model && cache.shownIn == model && cache.shownRevision == model->Revision()) {
      const auto& was = cache.shown;
      while (head < pieces.size() && head < was.size() && pieces[head].serial == was[head].first)
        keptHead += was[head++].second;
      while (tail < pieces.size() - head && tail < was.size() - head &&
             pieces[pieces.size() - 1 - tail].serial == was[was.size() - 1 - tail].first)
        keptTail += was[was.size() - 1 - tail++].second;
    }
    size_t total = 0;
    for (size_t k = head; k < pieces.size() - tail; ++k) total += pieces[k].text->size();
    std::string& view = cache.viewText;
    std::vector<uint8_t>& ids = cache.viewIds;
    view.clear();
    ids.clear();
    if (view.capacity() > 2 * total + (size_t{1} << 20)) {  // a far longer view before: give it back
      std::string().swap(view);
      std::vector<uint8_t>().swap(ids);
    }
    view.reserve(total);
    ids.reserve(total);
    for (size_t k = head; k < pieces.size() - tail; ++k) {
      view += *pieces[k].text;
      ids.insert(ids.end(), pieces[k].ids->begin(), pieces[k].ids->end());
    }
    ShowInView(*S.View, view, ids, cache.table, big, keptHead, keptTail);
    cache.shown.clear();
    for (const Piece& piece : pieces) cache.shown.emplace_back(piece.serial, piece.text->size());
    cache.shownIn = model;
    cache.shownRevision = model ? model->Revision() : 0;
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
    Beep(S);
    ShowStatus(S, "PARSER ERROR: " + err);
  } else {
    ShowStatus(S, saved);
  }
}

}  // namespace qv
