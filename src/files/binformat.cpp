// The proof file and the settings files as bytes: writing, and reading with every check.
#include "files/binformat.h"

#include <algorithm>
#include <stdexcept>

#include "document/document.h"
#include "expr/expr.h"

namespace qv {

namespace {

// Fixed part of a statement record plus four empty texts.
constexpr size_t kMinRecordBytes = 50;

// What the texts of a statement record hold. NewVar: a name (or term) of a
// statement, which the parser reads only up to kMaxTableIndex characters.
// The three variable lists: names of one statement, each once with a blank
// before and after it; names in a text stand apart by at least one
// character, so a list is at most two characters longer than the text.
constexpr size_t kMaxNameText = kMaxTableIndex;
constexpr size_t kMaxNameListText = kMaxTableIndex + 2;

// What a reader takes in from a source at a time.
constexpr size_t kReadBlock = size_t(1) << 16;

}  // namespace

// ---------------------------------------------------------------- writer

void ByteWriter::I16(int16_t v) {
  auto u = static_cast<uint16_t>(v);
  out_.push_back(static_cast<char>(u & 0xFF));
  out_.push_back(static_cast<char>(u >> 8));
}

void ByteWriter::I32(int32_t v) {
  auto u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void ByteWriter::Text(std::string_view s, size_t MaxLen) {
  if (s.size() > MaxLen) throw std::length_error("text too long for the file");
  if (s.size() < kLongTextMark) {
    I16(static_cast<int16_t>(static_cast<uint16_t>(s.size())));
  } else {
    I16(static_cast<int16_t>(kLongTextMark));
    I32(static_cast<int32_t>(static_cast<uint32_t>(s.size())));
  }
  out_.append(s);
}

void ByteWriter::Header(int16_t count) {
  out_.append(kFileTag);
  I16(count);
}

// ---------------------------------------------------------------- reader

bool ByteReader::Have(size_t n) {
  if (Remaining() < n) return false;
  if (pos_ + n <= at_ + in_.size()) return true;
  if (!src_) return false;
  // Only what has not been read yet is kept, topped up a block at a time.
  buf_.erase(0, pos_ - at_);
  at_ = pos_;
  const size_t want = std::min(Remaining(), std::max(n, kReadBlock));
  const bool ok = src_->ReadAt(at_ + buf_.size(), n - buf_.size(), want - buf_.size(), buf_);
  in_ = buf_;
  return ok && buf_.size() >= n;
}

bool ByteReader::I16(int16_t& v) {
  if (!Have(2)) return false;
  auto b0 = static_cast<uint8_t>(At(0));
  auto b1 = static_cast<uint8_t>(At(1));
  v = static_cast<int16_t>(static_cast<uint16_t>(b0 | (b1 << 8)));
  pos_ += 2;
  return true;
}

bool ByteReader::I32(int32_t& v) {
  if (!Have(4)) return false;
  uint32_t u = 0;
  for (size_t i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<uint8_t>(At(i))) << (8 * i);
  v = static_cast<int32_t>(u);
  pos_ += 4;
  return true;
}

bool ByteReader::Bool16(bool& v) {
  int16_t x;
  if (!I16(x)) return false;
  v = x != 0;
  return true;
}

bool ByteReader::Text(std::string& s, size_t MaxLen) {
  const size_t start = pos_;
  int16_t raw;
  if (!I16(raw)) return false;
  size_t n = static_cast<uint16_t>(raw);
  if (n == kLongTextMark) {
    int32_t len;
    if (!I32(len)) {
      pos_ = start;
      return false;
    }
    n = static_cast<uint32_t>(len);
  }
  if (n > MaxLen || Remaining() < n) {
    pos_ = start;
    return false;
  }
  const size_t held = at_ + in_.size() - pos_;
  if (src_ && n > held && n > kReadBlock) {
    // A long text (the proof text) is read from the source into its own
    // string, so its bytes are never held twice.
    std::string t;
    t.reserve(n);
    t.append(in_.substr(pos_ - at_, held));
    if (!src_->ReadAt(pos_ + held, n - held, n - held, t) || t.size() != n) {
      pos_ = start;
      return false;
    }
    s = std::move(t);
    buf_.clear();
    in_ = buf_;
    at_ = pos_ + n;
  } else {
    if (!Have(n)) {
      pos_ = start;
      return false;
    }
    s.assign(in_.substr(pos_ - at_, n));
  }
  pos_ += n;
  return true;
}

bool ByteReader::Header(bool& TagOk, int16_t& Count) {
  if (!Have(kFileTag.size() + 2)) return false;
  TagOk = in_.substr(pos_ - at_, kFileTag.size()) == kFileTag;
  pos_ += kFileTag.size();
  return I16(Count);
}

// ---------------------------------------------------------------- proof file

std::string WriteProofBytes(const std::string& Caption, const DocState& d) {
  ByteWriter w;
  w.Header(static_cast<int16_t>(d.StmtCount));
  w.Text(Caption, kMaxCaption);
  for (int k = 1; k <= d.StmtCount; ++k) {
    const StmtRec& s = d.Stmts[k];
    w.I16(s.Rule);
    w.I16(s.Arg1);
    w.I16(s.Arg2);
    w.Text(s.NewVar, kMaxNameText);
    w.Text(s.FreeVars, kMaxNameListText);
    w.Text(s.ScopedVars, kMaxNameListText);
    w.Text(s.FlagVars, kMaxNameListText);
    w.Bool16(s.Visible);
    w.I32(s.StartLine);
    w.I32(s.EndUserComment);
    w.I32(s.StartStmt);
    w.I32(s.EndStmt);
    w.I32(s.StartRule);
    w.I32(s.EndRule);
    w.I32(s.ViewerStartLine);
    w.Bool16(s.DeleteFlag);
    w.I16(s.NewLineNo);
    w.Bool16(s.Highlight);
  }
  w.Text(d.ProofText);
  return w.Take();
}

namespace {

bool ReadStmt(ByteReader& r, StmtRec& s) {
  return r.I16(s.Rule) && r.I16(s.Arg1) && r.I16(s.Arg2) && r.Text(s.NewVar, kMaxNameText) &&
         r.Text(s.FreeVars, kMaxNameListText) && r.Text(s.ScopedVars, kMaxNameListText) &&
         r.Text(s.FlagVars, kMaxNameListText) && r.Bool16(s.Visible) && r.I32(s.StartLine) &&
         r.I32(s.EndUserComment) && r.I32(s.StartStmt) && r.I32(s.EndStmt) && r.I32(s.StartRule) &&
         r.I32(s.EndRule) && r.I32(s.ViewerStartLine) && r.Bool16(s.DeleteFlag) && r.I16(s.NewLineNo) &&
         r.Bool16(s.Highlight);
}

std::string LineMsg(int k, const char* what) { return "line " + std::to_string(k) + ": " + what; }

// What the reader needs before it rebuilds the view, beyond the document
// invariants that CheckDocInvariants tests afterwards (rule codes, rule
// texts, line breaks, formulas that parse): a closed premise pointing forward inside the proof (the collapse walks to
// it), closed subproofs nested and never overlapping, and every block inside
// the text and after the one before it (which keeps the view arithmetic in
// range).
std::string CheckStructure(const DocState& d) {
  const int n = d.StmtCount;
  const auto len = static_cast<int64_t>(d.ProofText.size());
  std::vector<int> open;  // Conclusion lines of the enclosing closed subproofs, innermost last
  int64_t prevEnd = 0;
  for (int k = 1; k <= n; ++k) {
    const StmtRec& s = d.Stmts[k];
    if (s.Rule == kRulePremise && s.Arg1 != 0) {
      if (s.Arg1 <= k || s.Arg1 > n) return LineMsg(k, "premise closed by a line outside its subproof");
      if (!open.empty() && s.Arg1 > open.back()) return LineMsg(k, "subproofs overlap");
      open.push_back(s.Arg1);
    }
    if (!open.empty() && open.back() == k) open.pop_back();

    const int32_t pos[] = {s.StartLine, s.StartStmt, s.EndStmt, s.StartRule, s.EndRule};
    for (int32_t p : pos)
      if (p < 1 || p > len) return LineMsg(k, "position outside the proof text");
    if (s.EndUserComment < 0 || s.EndUserComment > len) return LineMsg(k, "position outside the proof text");
    if (s.StartLine > s.EndRule || s.StartLine <= prevEnd) return LineMsg(k, "block out of order");
    prevEnd = s.EndRule;
  }
  return "";
}

// The text of line k with every real token Name replaced by With.
std::string WithNameReplaced(const std::string& Text, const ParseResult& Parsed, const std::string& Name,
                             const std::string& With) {
  std::string out = Text;
  for (size_t t = Parsed.Tokens.size() - 1; t >= 1; --t) {
    const TokenRec& tok = Parsed.Tokens[t];
    if (tok.Position > 0 && tok.Token == Name)
      out.replace(static_cast<size_t>(tok.Position - 1), Name.size(), With);
  }
  return out;
}

// The variable lists stored with each line must be those the program
// records for it, since the witness gate, the scope of a subproof and the
// Conclusion read them: the free names of its text, in scope only names free
// there and at least those the scope test finds in scope now (a line put in
// above it afterwards can only leave more of them recorded in scope), and a
// witness only on an E Spec line (or U Spec): a name that turns the existential
// statement it cites into its text. The names drawn bold (FlagVars) only
// change the drawing.
//
// Each line is checked from the parse CheckDocInvariants made of it, as that
// check passes the line: what is checked at line k reads only lines 1..k
// (the scope test walks up from k, an E Spec cites a line above it), which
// have passed their invariants by then. The first fault is kept and told
// only once the invariants of the whole proof hold, so a file is refused
// with the same message as when every invariant is checked first.
class VarListCheck {
 public:
  explicit VarListCheck(const DocState& d) : d_(d), scope_(d) {}

  void Line(int k, const ParseResult& parsed) {
    if (fault_.empty()) fault_ = FaultOf(k, parsed);
  }
  // The first line's fault, "" when every line checked so far is right.
  const std::string& Fault() const { return fault_; }

 private:
  std::string FaultOf(int k, const ParseResult& parsed) {
    const StmtRec& s = d_.Stmts[k];
    const RecordedVars vars = RecordVarLists(parsed.Tokens, parsed.Nodes,
                                             [&](const std::string& name) { return scope_.InScope(name, k); });
    if (s.FreeVars != vars.Free) return LineMsg(k, "free variables differ from the formula's");
    for (const std::string& v : VarListNames(s.ScopedVars))
      if (!InList(vars.Free, v)) return LineMsg(k, "a name in scope that is not free");
    for (const std::string& v : VarListNames(vars.Scoped))
      if (!InList(s.ScopedVars, v)) return LineMsg(k, "a name in scope recorded as new");
    // PutStmt records a name with U Spec lines too, which nothing reads.
    if (s.Rule == kRuleUSpec) return "";
    if (s.Rule != kRuleESpec) {
      if (!s.NewVar.empty()) return LineMsg(k, "a witness on a line that is no E Spec");
      return "";
    }
    const ParseResult w = ParseText(s.NewVar);
    if (!w.Err.empty() || w.Nodes.size() != 2 || w.Nodes[1].Rule != kAtom || w.Nodes[1].Name != s.NewVar)
      return LineMsg(k, "E Spec without a witness");
    if (s.Arg1 < 1) return LineMsg(k, "E Spec of a line that is no existential statement");
    const std::string citedText = StmtFormula(d_, s.Arg1);
    const ParseResult cited = ParseText(citedText);
    const NodeRec& root = cited.Nodes.back();
    if (cited.Nodes.size() < 3 || root.Rule != kEXIST || root.Ptr1 < 1)
      return LineMsg(k, "E Spec of a line that is no existential statement");
    const std::string x = cited.Nodes[root.Ptr1].Name;
    const std::string text = StmtFormula(d_, k);
    if (!SameStmt(P_, citedText, "EXIST(" + x + "):[" + WithNameReplaced(text, parsed, s.NewVar, x) + "]"))
      return LineMsg(k, "E Spec witness does not match its statement");
    return "";
  }

  const DocState& d_;
  ScopeIndex scope_;
  ParserState P_;
  std::string fault_;
};

// Every proof opens showing its active statements: the lines of a closed
// subproof (premise up to the line before its conclusion) are hidden.
void CollapseClosedSubproofs(DocState& d) {
  int j = 1;
  while (j <= d.StmtCount) {
    // ActiveFrom steps over every closed subproof that starts at j.
    const int a = ActiveFrom(d, j);
    for (int k = j; k < a && k <= d.StmtCount; ++k) {
      d.Stmts[k].Visible = false;
      d.Stmts[k].ViewerStartLine = 0;
    }
    if (a > d.StmtCount) break;
    d.Stmts[a].Visible = true;
    j = a + 1;
  }
}

}  // namespace

std::string ReadProofBytes(ByteReader& r, std::string& Caption, DocState& d) {
  bool tagOk = false;
  int16_t count = 0;
  if (!r.Header(tagOk, count)) return "file too short for a header";
  if (!tagOk) return "not a proof file";
  if (count < 0) return "negative statement count";
  // Each record takes at least 50 bytes: refuse a count the file cannot hold
  // before allocating anything for it.
  if (static_cast<size_t>(count) * kMinRecordBytes > r.Remaining()) return "statement records missing";

  std::string caption;
  if (!r.Text(caption, kMaxCaption)) return "caption cut short or too long";
  if (!LineBreaksWhole(caption)) return "lone CR or LF in the caption";
  DocState out;
  out.Stmts.assign(static_cast<size_t>(count) + 1, StmtRec{});
  for (int k = 1; k <= count; ++k)
    if (!ReadStmt(r, out.Stmts[k])) return LineMsg(k, "record cut short or a text too long");
  // After the last block come only its CR LF CR LF: a longer text is refused
  // before it is read (that it ends exactly there is checked with the rest).
  size_t textMax = kMaxFileText;
  if (count > 0) textMax = std::min(textMax, static_cast<size_t>(std::max(out.Stmts[count].EndRule, 0)) + 4);
  if (!r.Text(out.ProofText, textMax)) return "proof text cut short or too long";
  out.StmtCount = count;

  std::string why = CheckStructure(out);
  if (!why.empty()) return why;
  CollapseClosedSubproofs(out);
  RecomputeIntroLen(out);
  RecomputeViewPositions(out);
  VarListCheck varLists(out);
  why = CheckDocInvariants(out, [&](int k, const ParseResult& parsed) { varLists.Line(k, parsed); });
  if (!why.empty()) return why;
  if (!varLists.Fault().empty()) return varLists.Fault();

  Caption = std::move(caption);
  d = std::move(out);
  return "";
}

// ---------------------------------------------------------------- settings

std::string EncodeRecentFiles(const std::vector<std::string>& paths) {
  ByteWriter w;
  w.Header(static_cast<int16_t>(paths.size()));
  for (const auto& p : paths) w.Text(p);
  return w.Take();
}

SettingsRead DecodeRecentFiles(std::string_view bytes, std::vector<std::string>& Paths) {
  Paths.clear();
  ByteReader r(bytes);
  bool tagOk = false;
  int16_t count = 0;
  if (!r.Header(tagOk, count)) return SettingsRead::Truncated;
  if (!tagOk || count < 1 || count > kMaxRecentFiles) return SettingsRead::BadHeader;
  for (int k = 0; k < count; ++k) {
    std::string p;
    if (!r.Text(p)) {
      Paths.clear();
      return SettingsRead::Truncated;
    }
    Paths.push_back(std::move(p));
  }
  return SettingsRead::Ok;
}

std::string EncodeFontSize(int FontSize) {
  ByteWriter w;
  w.Header(static_cast<int16_t>(FontSize));
  return w.Take();
}

SettingsRead DecodeFontSize(std::string_view bytes, int& FontSize) {
  ByteReader r(bytes);
  bool tagOk = false;
  int16_t count = 0;
  if (!r.Header(tagOk, count)) return SettingsRead::Truncated;
  if (!tagOk) return SettingsRead::BadHeader;
  FontSize = count;
  return SettingsRead::Ok;
}

std::string EncodeDefaultDir(const std::string& Dir) {
  ByteWriter w;
  w.Header(0);
  w.Text(Dir);
  return w.Take();
}

SettingsRead DecodeDefaultDir(std::string_view bytes, std::string& Dir) {
  ByteReader r(bytes);
  bool tagOk = false;
  int16_t count = 0;
  if (!r.Header(tagOk, count)) return SettingsRead::Truncated;
  if (!tagOk) return SettingsRead::BadHeader;
  std::string dir;
  if (!r.Text(dir)) return SettingsRead::Truncated;
  Dir = std::move(dir);
  return SettingsRead::Ok;
}

std::string EncodeUserOption(int16_t Value) {
  ByteWriter w;
  w.I16(Value);
  return w.Take();
}

bool DecodeUserOption(std::string_view bytes, int16_t& Value) {
  ByteReader r(bytes);
  return r.I16(Value);
}

}  // namespace qv
