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
//
// ResetFonts in steps: BeginRedraw ("Please wait...", the window disabled);
// Redraw::DrawIntroduction; Redraw::DrawStatement for each statement, which
// takes its block's kept drawing (KeepDrawing), or patches the drawing it
// had under its old number after lines were added or removed above it
// (PatchRenumbered, with Patch), or draws it afresh (DrawAfresh: comment,
// line number, StyleFormula, StyleRuleText); Redraw::ShowPieces (the view
// changed where it differs); Redraw::LeaveTokensOfLastFormula; EndRedraw.
#include <algorithm>
#include <memory>
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

// The tokens of a formula as the redraw keeps them: each token's text and
// its 1-based place in the formula without its indentation (see Unindented).
using KeptTokens = std::vector<std::pair<std::string, int16_t>>;

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
  // When this redraw patched it for a new number and citations without
  // changing its length, its line breaks or its formats: the serial it had
  // before, so the view can take the new characters in place. Else 0.
  uint64_t origin = 0;
};

// A piece of the view as given to it: the Introduction or a block, by its
// drawing's serial, length and origin (see BlockDrawing).
struct ShownPiece {
  uint64_t serial;
  size_t size;
  uint64_t origin;
};

}  // namespace

// What one redraw leaves for the next: the tokens of every formula drawn,
// by its text without indentation, and each statement's block as drawn.
struct RedrawCache {
  std::unordered_map<std::string, KeptTokens> tokens;
  std::vector<Fmt> table;  // the formats that the drawings index
  // By statement number, empty where none. Each drawing has its own place
  // in memory, so when lines are added or taken away above it, it changes
  // from the old table to the new by its pointer, not by moving its texts.
  std::vector<std::unique_ptr<BlockDrawing>> blocks;
  uint64_t serials = 0;
  std::string introText;  // the Introduction as last drawn
  std::vector<uint8_t> introIds;
  uint64_t introSerial = 0;
  // What the view was last given: the serial and length of each piece (the
  // Introduction, then every block drawn), and the box's revision after it.
  const void* shownIn = nullptr;
  uint64_t shownRevision = 0;
  std::vector<ShownPiece> shown;
  // The changed part of the view, put together as the pieces are drawn;
  // kept for its memory.
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

// The formats of Table as the view takes them.
std::vector<CharFormat> CharFormatsOf(const std::vector<Fmt>& Table) {
  std::vector<CharFormat> formats;
  formats.reserve(Table.size());
  for (const Fmt& f : Table) formats.push_back(ToCharFormat(f));
  return formats;
}

// The index of C in Formats, -1 when no drawing has it.
int IndexOfFormat(const std::vector<CharFormat>& Formats, const CharFormat& C) {
  for (size_t k = 0; k < Formats.size(); ++k)
    if (Formats[k] == C) return static_cast<int>(k);
  return -1;
}

// For each format of the model's table, its index in Formats (or -1).
std::vector<int> ModelFormatIndexes(const MemRichBox& Model, const std::vector<CharFormat>& Formats) {
  std::vector<int> indexes;
  indexes.reserve(Model.FormatTable().size());
  for (const CharFormat& c : Model.FormatTable()) indexes.push_back(IndexOfFormat(Formats, c));
  return indexes;
}

// Brings the view to Text in the formats Table[Ids[i]], replacing only the
// range between the longest unchanged start and the longest unchanged end.
// Text stands for the view between its first Head and its last Tail
// characters, which the caller knows to be as they should be. The view's
// current contents are read from its in-memory model when it has one, else
// from its snapshot (and then Head and Tail must be 0).
void ShowInView(RichBox& V, std::string_view Text, std::span<const uint8_t> Ids,
                const std::vector<Fmt>& Table, int Size, size_t Head = 0, size_t Tail = 0) {
  const std::vector<CharFormat> formats = CharFormatsOf(Table);
  const MemRichBox* model = V.Model();
  RichDoc cur;
  const bool known = model || DecodeRichDoc(V.RichText(), &cur);
  const std::string& curText = model ? model->TextRef() : cur.text;
  // The index into Table of each format the view holds, -1 for one that no
  // character of the new view has.
  std::vector<int> byModelId;  // model format table -> Table
  std::vector<int> have;       // one a character, from the snapshot
  if (model) {
    byModelId = ModelFormatIndexes(*model, formats);
  } else if (known) {
    have.reserve(cur.text.size());
    for (const RichRun& r : cur.runs)
      have.insert(have.end(), static_cast<size_t>(std::max(r.length, 0)), IndexOfFormat(formats, r.format));
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
  // A rule text as long as before keeps its formats (all but a Conclusion's
  // tag and the blank after it are the rule name's).
  if (ruleLen != oldRuleLen) {
    D.ids.erase(D.ids.begin() + static_cast<std::ptrdiff_t>(r),
                D.ids.begin() + static_cast<std::ptrdiff_t>(r) + oldRuleLen);
    D.ids.insert(D.ids.begin() + static_cast<std::ptrdiff_t>(r), static_cast<size_t>(ruleLen), name);
    if (conclusion) {
      D.ids[r] = tag;
      D.ids[r + 1] = blank;
    }
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

// ---------------------------------------------------------------------------
// The steps of one redraw and what they share.

// Step 1: "Please wait..." under the wait cursor, the main window disabled
// and painted so. Gives the status text to put back at the end.
std::string BeginRedraw(AppState& S) {
  std::string saved = StatusText(S);
  ShowStatus(S, "Please wait...");
  if (S.host) {
    S.host->SetWaitCursor(true);
    S.host->SetMainEnabled(false);
    S.host->ProcessEvents();
  }
  return saved;
}

// The last step: the window enabled again, and the saved status text back,
// or the parse error of the formula that stopped the redraw.
void EndRedraw(AppState& S, const std::string& Saved, bool Failed, const std::string& Err) {
  if (S.host) {
    S.host->SetMainEnabled(true);
    S.host->SetWaitCursor(false);
  }
  if (Failed) {
    Beep(S);
    ShowStatus(S, "PARSER ERROR: " + Err);
  } else {
    ShowStatus(S, Saved);
  }
}

// One redraw: the Introduction and every visible statement drawn as pieces
// of the view, each block taken from the last redraw's drawings where it can
// be (kept as it was, or patched for a new number and citations), then the
// view brought to the pieces.
class Redraw {
 public:
  // Read only after BeginRedraw's paint: nothing of the document is held across it.
  explicit Redraw(AppState& S);

  // Step 2: the Introduction and its CR LF CR LF, in the comment style.
  void DrawIntroduction();
  // Step 3, for statement a: its block, after those of the lines above it.
  // Hidden statements and blocks outside the text are skipped. False when
  // its formula does not tokenise: that block keeps only its text, comment
  // and number, and nothing after it is drawn.
  bool DrawStatement(int a);
  // Brings the view to the pieces, changing only the part that differs
  // (the drawings of the last redraw that were not used again are freed
  // first).
  void ShowPieces();
  // The parser's tables get the tokens of the last formula drawn (or of the
  // one that failed), as a redraw that tokenised every formula leaves them.
  void LeaveTokensOfLastFormula();

  int Count() const { return count_; }
  bool Failed() const { return failed_; }
  const std::string& Err() const { return err_; }

 private:
  // The view as pieces: the Introduction, then each block drawn.
  using Piece = ShownPiece;
  using Slot = std::unique_ptr<BlockDrawing>;

  void StartAfreshWhenOutgrown();
  void TakeLastDrawings();
  Slot* LastDrawing(int k);
  bool KeepDrawing(Slot& Drawn, const StmtRec& s, int a, std::string_view Source, const BlockKey& Key);
  bool PatchRenumbered(Slot& Drawn, const StmtRec& s, int a, std::string_view Source, const BlockKey& Key,
                       int32_t Number, int32_t Digits);
  bool DrawAfresh(Slot& Drawn, const StmtRec& s, int a, std::string_view Source, const BlockKey& Key,
                  int32_t Number, int32_t Digits, bool Collapsed);
  const KeptTokens* FormulaTokens(const std::string& Formula);
  void StyleFormula(std::string& Block, const StmtRec& s, const KeptTokens& Tokens);
  void StyleRuleText(std::string& Block, const StmtRec& s, bool Collapsed);
  void Add(uint64_t Serial, const std::string& Text, const std::vector<uint8_t>& Ids, uint64_t Origin = 0);

  AppState& S_;
  const DocState& d_;
  const std::string& T_;
  const int32_t tlen_;
  const int big_, small_;
  RedrawCache& cache_;
  const int count_;  // the statements drawn from
  // The drawings of the last redraw, by the numbers the statements had then.
  // When as many lines are drawn as before, each stays where it is (in
  // cache_.blocks); else the old table is set aside in old_ and each drawing
  // is moved to this redraw's table when it is used again.
  int moved_ = 0;     // lines added since (or taken away, < 0)
  bool inPlace_ = true;
  std::vector<Slot> old_;
  std::vector<Slot>* before_ = nullptr;
  int lastMove_ = 0;  // the shift that last found an old drawing

  std::vector<Piece> pieces_;
  // While the view holds what the last redraw gave it, the pieces at the
  // start that are what it was given then are not put together again: head_
  // of them so far, keptHead_ characters (see Add).
  bool asShown_ = false;
  bool headOpen_ = false;
  size_t head_ = 0, keptHead_ = 0;
  BlockDrawing broken_;  // the block whose formula does not tokenise
  std::vector<TokenRec> toks_;
  std::string err_;
  int16_t errPos_ = 0;
  int lastDrawn_ = 0;  // the statement of the last formula drawn
  bool tokenised_ = false;
  bool failed_ = false;
  std::vector<int32_t> from_;  // Unindented's map, for one formula
  std::vector<StyleRun> runs_;
  std::vector<int> resizeFrom_, resizeTo_;  // Resize's map, for one pair of old sizes
};

Redraw::Redraw(AppState& S)
    : S_(S),
      d_(S.Doc),
      T_(S.Doc.ProofText),
      tlen_(static_cast<int32_t>(S.Doc.ProofText.size())),
      big_(S.Ui.FontSize),
      small_(S.Ui.SmallFontSize),
      cache_(S.Redraw ? *S.Redraw : *(S.Redraw = std::make_shared<RedrawCache>())),
      count_(std::min<int>(S.Doc.StmtCount, LastIndex(S.Doc.Stmts))) {
  if (S.View) S.View->SetUpdatesEnabled(false);
  StartAfreshWhenOutgrown();
  TakeLastDrawings();
  pieces_.reserve(static_cast<size_t>(count_) + 1);
  const MemRichBox* model = S.View ? S.View->Model() : nullptr;
  asShown_ = model && cache_.shownIn == model && cache_.shownRevision == model->Revision();
  headOpen_ = asShown_;
  std::string& text = cache_.viewText;
  std::vector<uint8_t>& ids = cache_.viewIds;
  text.clear();
  ids.clear();
  // Room for the whole view, which is at most the proof text: a far longer
  // one's memory is given back first.
  if (text.capacity() > 2 * T_.size() + (size_t{1} << 20)) {
    std::string().swap(text);
    std::vector<uint8_t>().swap(ids);
  }
  text.reserve(T_.size());
  ids.reserve(T_.size());
}

// A piece of the view, after those drawn before it. Its text goes into the
// view's changed part unless it and every piece before it are what the
// view was last given.
void Redraw::Add(uint64_t Serial, const std::string& Text, const std::vector<uint8_t>& Ids, uint64_t Origin) {
  const size_t k = pieces_.size();
  pieces_.push_back({Serial, Text.size(), Origin});
  if (headOpen_ && k < cache_.shown.size() && cache_.shown[k].serial == Serial) {
    ++head_;
    keptHead_ += Text.size();
    return;
  }
  headOpen_ = false;
  cache_.viewText += Text;
  cache_.viewIds.insert(cache_.viewIds.end(), Ids.begin(), Ids.end());
}

// A token cache grown far past the proof (after many edits) starts again,
// and so do the drawings that point into it; so do both when the formats
// would outgrow their one-byte index.
void Redraw::StartAfreshWhenOutgrown() {
  if (cache_.tokens.size() > static_cast<size_t>(d_.StmtCount) * 2 + 1024 || cache_.table.size() > 200) {
    cache_.tokens.clear();
    cache_.table.clear();
    cache_.blocks.clear();
    cache_.introSerial = 0;
    cache_.shownIn = nullptr;
  }
}

void Redraw::TakeLastDrawings() {
  moved_ = count_ - LastIndex(cache_.blocks);
  lastMove_ = moved_;
  inPlace_ = moved_ == 0;
  if (!inPlace_) {
    old_ = std::move(cache_.blocks);
    cache_.blocks = std::vector<Slot>(static_cast<size_t>(count_) + 1);
  }
  before_ = inPlace_ ? &cache_.blocks : &old_;
}

// The place of the drawing statement k had in the last redraw, nullptr
// when it has none.
Redraw::Slot* Redraw::LastDrawing(int k) {
  std::vector<Slot>& before = *before_;
  if (k < 1 || k >= static_cast<int>(before.size())) return nullptr;
  Slot& slot = before[static_cast<size_t>(k)];
  return slot && slot->valid ? &slot : nullptr;
}

void Redraw::DrawIntroduction() {
  if (d_.IntroLen <= 0) return;
  const int32_t n = std::min(d_.IntroLen + 4, tlen_);
  std::vector<StyleRun> runs;
  std::string intro(T_, 0, static_cast<size_t>(n));
  runs.push_back({0, std::min(d_.IntroLen, n), nullptr, 0, kCommentColour, -1});
  GlyphsIn(intro, runs, 0, std::min(d_.IntroLen, n));
  std::vector<uint8_t> introIds = Formats(intro.size(), runs, big_, cache_.table);
  // The Introduction is short next to the proof: drawn every time, and
  // kept as it was shown when it comes out the same.
  const bool same = cache_.introSerial != 0 && cache_.introText == intro && cache_.introIds == introIds;
  if (!same) {
    cache_.introText = intro;
    cache_.introIds = introIds;
    cache_.introSerial = ++cache_.serials;
  }
  Add(cache_.introSerial, cache_.introText, cache_.introIds);
}

bool Redraw::DrawStatement(int a) {
  const StmtRec& s = d_.Stmts[a];
  if (!s.Visible) return true;
  if (s.StartLine < 1 || s.EndRule + 4 > tlen_ || s.EndRule < s.StartLine) return true;
  tokenised_ = true;
  const bool collapsed =
      s.Rule == kRuleConclusion && s.Arg1 >= 1 && s.Arg1 <= count_ && !d_.Stmts[s.Arg1].Visible;
  Slot& drawn = cache_.blocks[static_cast<size_t>(a)];
  const std::string_view source(T_.data() + s.StartLine - 1, static_cast<size_t>(s.EndRule - s.StartLine + 5));
  const BlockKey key{s.EndUserComment > 0 ? s.EndUserComment - s.StartLine : -1,
                     s.StartStmt - s.StartLine, s.EndStmt - s.StartLine, s.StartRule - s.StartLine,
                     s.Rule, s.Highlight, collapsed, big_, small_};
  const int32_t number = LineNumberArea(s).Number - s.StartLine;
  const int32_t digits = Digits(a);
  if (KeepDrawing(drawn, s, a, source, key) || PatchRenumbered(drawn, s, a, source, key, number, digits)) {
    lastDrawn_ = a;
    Add(drawn->serial, drawn->text, drawn->ids, drawn->origin);
    return true;
  }
  return DrawAfresh(drawn, s, a, source, key, number, digits, collapsed);
}

// The kept drawing: the block as drawn last time under the same number,
// when nothing it is drawn from changed but perhaps the text sizes.
bool Redraw::KeepDrawing(Slot& Drawn, const StmtRec& s, int a, std::string_view Source,
                         const BlockKey& Key) {
  Slot* place = LastDrawing(a);
  if (!place) return false;
  const BlockDrawing* same = place->get();
  BlockKey resized = Key;  // the same block drawn at the sizes it was drawn at
  resized.big = same->key.big;
  resized.small = same->key.small;
  if (!(same->key == resized && same->source == Source && same->freeVars == s.FreeVars &&
        same->scopedVars == s.ScopedVars && same->flagVars == s.FlagVars &&
        ((same->key.big == big_ && same->key.small == small_) || same->key.big != same->key.small)))
    return false;
  if (place != &Drawn) Drawn = std::move(*place);
  // A new text size: every character is at the text size or the small size,
  // so the drawing only changes sizes.
  BlockDrawing& d = *Drawn;
  d.origin = 0;
  if (d.key.big != big_ || d.key.small != small_) {
    Resize(cache_.table, d.ids, d.key.big, d.key.small, big_, small_, resizeFrom_, resizeTo_);
    d.key = Key;
    d.serial = ++cache_.serials;
  }
  return true;
}

// The renumbered block: the same line drawn last time under another number
// (moved by an insertion or a deletion above it), patched for its new
// number and citations. The shifts tried are the one that last found a
// drawing, then the number of lines added or taken away, then none.
bool Redraw::PatchRenumbered(Slot& Drawn, const StmtRec& s, int a, std::string_view Source,
                             const BlockKey& Key, int32_t Number, int32_t Digits) {
  for (const int shift : {lastMove_, moved_, 0}) {
    Slot* place = LastDrawing(a - shift);
    if (!place) continue;
    BlockDrawing& was = **place;
    if (was.freeVars != s.FreeVars || was.scopedVars != s.ScopedVars || was.flagVars != s.FlagVars) continue;
    const uint64_t serial = was.serial;
    const size_t size = was.text.size();
    const int32_t digits = was.digits;
    if (Patch(was, Source, Key, Number, Digits)) {
      // The same length and number width: the rule text kept its length too,
      // and with it every format and line break.
      was.origin = was.text.size() == size && was.digits == digits ? serial : 0;
      if (place != &Drawn) Drawn = std::move(*place);
      lastMove_ = shift;
      Drawn->serial = ++cache_.serials;
      return true;
    }
  }
  return false;
}

// The block drawn afresh (positions 0-based within the block): its comment,
// line number, formula and rule text styled in turn, as the table of styles
// gives them.
bool Redraw::DrawAfresh(Slot& Place, const StmtRec& s, int a, std::string_view Source,
                        const BlockKey& Key, int32_t Number, int32_t Digits, bool Collapsed) {
  const std::string formula = FormulaOf(T_, s);
  std::string block(Source);
  runs_.clear();

  // The comment.
  if (s.EndUserComment > 0) {
    runs_.push_back({0, s.EndUserComment - s.StartLine + 1, nullptr, 0, kCommentColour, -1});
    GlyphsIn(block, runs_, 0, s.EndUserComment - s.StartLine + 1);
  }
  // The line number: grey inside a sub-proof, bold when highlighted.
  const int32_t depth = s.StartRule - s.EndStmt - 4;
  if (depth != 0 || s.Highlight)
    runs_.push_back(
        {Number, Digits, nullptr, 0, depth != 0 ? static_cast<int64_t>(kGrey) : -1, s.Highlight ? 1 : -1});

  // The formula.
  const KeptTokens* tokens = FormulaTokens(formula);
  if (!tokens) {
    // The block's text, comment and number stay; nothing after is drawn.
    failed_ = true;
    broken_.ids = Formats(block.size(), runs_, big_, cache_.table);
    broken_.text = std::move(block);
    Add(++cache_.serials, broken_.text, broken_.ids);
    if (Place) Place->valid = false;
    return false;
  }
  lastDrawn_ = a;
  StyleFormula(block, s, *tokens);
  StyleRuleText(block, s, Collapsed);

  if (!Place) Place = std::make_unique<BlockDrawing>();
  BlockDrawing& Drawn = *Place;
  Drawn.ids = Formats(block.size(), runs_, big_, cache_.table);
  Drawn.text = std::move(block);
  Drawn.source.assign(Source);
  Drawn.key = Key;
  Drawn.number = Number;
  Drawn.digits = Digits;
  Drawn.freeVars = s.FreeVars;
  Drawn.scopedVars = s.ScopedVars;
  Drawn.flagVars = s.FlagVars;
  Drawn.valid = true;
  Drawn.serial = ++cache_.serials;
  Drawn.origin = 0;
  Add(Drawn.serial, Drawn.text, Drawn.ids);
  return true;
}

// The tokens of Formula (text and 1-based place in the formula without its
// indentation, see Unindented; from_ maps those places back): from the
// cache, or tokenised and kept. nullptr when it does not tokenise.
const KeptTokens* Redraw::FormulaTokens(const std::string& Formula) {
  // A formula too long for the tokeniser is refused whatever its
  // indentation, so it is never looked up.
  const std::string unindented = Unindented(Formula, from_);
  auto hit = Formula.size() <= static_cast<size_t>(kMaxTableIndex) ? cache_.tokens.find(unindented)
                                                                    : cache_.tokens.end();
  if (hit != cache_.tokens.end()) return &hit->second;
  TokenizeExpr(Formula, toks_, err_, errPos_);
  if (!err_.empty()) return nullptr;
  KeptTokens kept;
  kept.reserve(toks_.size());
  // No token starts on a TAB left out, so each has its place in from_.
  for (size_t t = 1; t < toks_.size(); ++t) {
    const auto at = std::lower_bound(from_.begin(), from_.end(), toks_[t].Position - 1);
    kept.emplace_back(toks_[t].Token, static_cast<int16_t>(at - from_.begin() + 1));
  }
  return &cache_.tokens.insert_or_assign(unindented, std::move(kept)).first->second;
}

// The formula's free variables coloured by scope (bold when flagged), and
// its element-of signs turned into the glyph.
void Redraw::StyleFormula(std::string& Block, const StmtRec& s, const KeptTokens& Tokens) {
  const int32_t fstart = s.StartStmt - s.StartLine;  // 0-based block position of the formula
  const int32_t blen = static_cast<int32_t>(Block.size());
  for (const auto& [token, position] : Tokens) {
    const int32_t at = fstart + from_[static_cast<size_t>(position - 1)];
    const int32_t len = static_cast<int32_t>(token.size());
    if (InList(s.FreeVars, token)) {
      const int64_t colour = InList(s.ScopedVars, token) ? kInScopeColour : kNewVarColour;
      const int bold = InList(s.FlagVars, token) ? 1 : 0;
      runs_.push_back({at, len, nullptr, 0, colour, bold ? 1 : -1});
    } else if (token == "@" && at >= 0 && at < blen) {
      // The glyph keeps the formula's colour and weight, also right after a
      // coloured variable (a text stored without the blanks).
      Block[at] = 'e';
      const bool blankAfter = at + 1 < blen && Block[at + 1] == ' ';
      if (blankAfter && at >= 1)
        runs_.push_back({at - 1, 3, kSymbolFont, 0, -1, -1});
      else
        runs_.push_back({at, 1, kSymbolFont, 0, -1, -1});
    }
  }
}

// The rule text, with the Conclusion's tag ("5" while its sub-proof is collapsed).
void Redraw::StyleRuleText(std::string& Block, const StmtRec& s, bool Collapsed) {
  const int32_t rstart = s.StartRule - s.StartLine;
  const int32_t blen = static_cast<int32_t>(Block.size());
  if (s.Rule == kRuleConclusion) {
    if (Collapsed && rstart >= 0 && rstart < blen) Block[rstart] = '5';
    runs_.push_back({rstart, 1, kTagFont, small_, -1, -1});
    runs_.push_back({rstart + 2, s.EndRule - s.StartRule - 1, nullptr, small_, kGrey, -1});
  } else {
    runs_.push_back({rstart, s.EndRule - s.StartRule + 1, nullptr, small_, kGrey, -1});
  }
}

void Redraw::LeaveTokensOfLastFormula() {
  if (lastDrawn_ > 0 && !failed_) TokenizeExpr(FormulaOf(T_, d_.Stmts[lastDrawn_]), toks_, err_, errPos_);
  if (tokenised_) {
    S_.Parser.Tokens = std::move(toks_);
    S_.Parser.ParseErr = err_;
    S_.Parser.ParseErrPos = errPos_;
  }
}

void Redraw::ShowPieces() {
  old_.clear();  // the drawings not used again
  RichBox* view = S_.View;
  if (!view) return;
  const MemRichBox* model = view->Model();
  std::string& text = cache_.viewText;
  std::vector<uint8_t>& ids = cache_.viewIds;
  // The pieces at the end that the view was last given are left alone too,
  // and so are those patched in place just before them when the view takes
  // their characters where they stand (after an insertion or a deletion
  // above them: every later number, and the citations, changed, not the
  // layout). The changed part drops them all.
  size_t keptTail = 0;
  if (asShown_) {
    const auto& was = cache_.shown;
    const int32_t shownLength = model->TextLength();
    size_t sameChars = 0;            // the run at the end shown as it is
    size_t tail = 0, tailChars = 0;  // with the pieces patched in place
    bool patched = false;
    std::vector<int> byModelId;  // the model's format table -> cache_.table, made when first needed
    // A piece drawn otherwise (the same line drawn afresh because its old
    // drawing went to a line above it with the same text) still goes in
    // place when its line breaks, TABs and formats are those the view shows.
    auto fitsInPlace = [&](size_t offset, int32_t at, size_t size) {
      if (byModelId.empty()) byModelId = ModelFormatIndexes(*model, CharFormatsOf(cache_.table));
      const std::string& shownText = model->TextRef();
      for (size_t i = 0; i < size; ++i) {
        const char now = text[offset + i], then = shownText[static_cast<size_t>(at) + i];
        if ((now != then && (RichBox::ShapesLines(now) || RichBox::ShapesLines(then))) ||
            byModelId[model->FormatIdAt(at + static_cast<int32_t>(i))] != ids[offset + i])
          return false;
      }
      return true;
    };
    while (tail < pieces_.size() - head_ && tail < was.size() - head_) {
      const Piece& now = pieces_[pieces_.size() - 1 - tail];
      const Piece& old = was[was.size() - 1 - tail];
      if (now.serial != old.serial) {
        if (now.size != old.size) break;
        if (now.origin == 0 || now.origin != old.serial) {
          const size_t offset = text.size() - tailChars - now.size;
          const auto at = static_cast<int32_t>(static_cast<size_t>(shownLength) - tailChars - old.size);
          if (!fitsInPlace(offset, at, now.size)) break;
        }
        patched = true;
      }
      tailChars += old.size;
      ++tail;
      if (!patched) sameChars = tailChars;
    }
    keptTail = sameChars;
    if (patched && view->OverwriteChars(static_cast<int32_t>(static_cast<size_t>(shownLength) - tailChars),
                                        std::string_view(text).substr(text.size() - tailChars)))
      keptTail = tailChars;
  }
  ShowInView(*view, std::string_view(text).substr(0, text.size() - keptTail),
             std::span<const uint8_t>(ids).first(ids.size() - keptTail), cache_.table, big_, keptHead_, keptTail);
  cache_.shown = std::move(pieces_);
  cache_.shownIn = model;
  cache_.shownRevision = model ? model->Revision() : 0;
  // No selection survives a redraw; callers place the caret themselves.
  view->SetSelLength(0);
  view->SetUpdatesEnabled(true);
}

}  // namespace

void ResetFonts(AppState& S) {
  const std::string saved = BeginRedraw(S);  // "Please wait...", the window disabled
  Redraw redraw(S);
  redraw.DrawIntroduction();
  // Every visible statement's block in turn, up to one whose formula does
  // not tokenise.
  for (int a = 1; a <= redraw.Count(); ++a)
    if (!redraw.DrawStatement(a)) break;
  redraw.ShowPieces();
  redraw.LeaveTokensOfLastFormula();
  EndRedraw(S, saved, redraw.Failed(), redraw.Err());  // the window enabled, the status line back
}

}  // namespace qv
