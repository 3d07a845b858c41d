// Operations on the proof document: what other libraries may use of it.
// Each function takes what it works on: the AppState where it may reach the
// host or the undo snapshot too (and FlagStmts and FreeVarColourFont, which
// read only the document), else the DocState, a record or a text. The view,
// status line and work area are reached through the RichBox and Host
// interfaces only.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/state.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

// A beep from the host (none without one).
inline void Beep(AppState& S) {
  if (S.host) S.host->Beep();
}

// ---- Shared computations (one definition each; every caller uses these) ----

// Line k is a statement of the proof.
inline bool ValidLine(const DocState& d, int k) { return k >= 1 && k <= d.StmtCount; }

// The rule text of a statement: "4 " tag for a Conclusion, the rule name, then
// ", Arg1" and ", Arg2" where they are cited. A Premise's Arg1 (its closing
// Conclusion) is not a citation and is not shown.
std::string RuleTextOf(const StmtRec& s);
// The same text appended to Out (no string of its own: a renumbering writes
// one for every later line).
void AppendRuleText(std::string& Out, const StmtRec& s);

// A copy of Text with every TAB taken out (line breaks kept).
std::string WithoutTabs(const std::string& Text);
// A copy of Text with a TAB after every CR LF.
std::string TabAfterBreaks(const std::string& Text);

// ---- Statement layout (layout.cpp), used by PutStmt ----
// The canonical text of the parse in P (the last node is the root).
std::string LayoutTree(const ParserState& P);
// Puts back the line breaks that the user typed directly before a connective
// ("&", "|", "=>", "<=>") of UserText, whose tokens are UserTokens, into the
// laid-out text Laid.
std::string RestoreLineBreaks(const std::string& UserText, const std::vector<TokenRec>& UserTokens,
                              const std::string& Laid);

// The formula of statement Line as the proof text holds it, TABs taken out.
// Throws std::out_of_range when the line or its positions lie outside the
// document.
std::string StmtFormula(const DocState& d, int Line);

// Recomputes ViewerStartLine of every visible statement from IntroLen and the
// block extents (hidden statements get 0).
void RecomputeViewPositions(DocState& d);

// Recomputes IntroLen after the whole document was replaced (undo, redo, open).
void RecomputeIntroLen(DocState& d);

// Where a statement's line number stands, as 1-based ProofText positions:
// its line begins at Line (the block's start, or just after its comment),
// the number's digits begin at Number (after the line's indenting TABs), and
// the area ends just before the formula, at End. Add ToView to any of them
// for the position in the view of a visible statement.
struct NumberArea {
  int32_t Line = 0;
  int32_t Number = 0;
  int32_t End = 0;
  int32_t ToView = 0;
};
NumberArea LineNumberArea(const StmtRec& s);

// The number of decimal digits of n (n >= 0): the width of a line number.
int Digits(int n);

// Appends block s of the text Old to Out under the number Number, with the
// rule text of its (already renumbered) citations, and moves its positions
// to where it now stands in Out. The text between blocks is the caller's.
void AppendRenumberedBlock(std::string& Out, const std::string& Old, StmtRec& s, int Number);

// True when every CR in Text is followed by LF and every LF preceded by CR.
bool LineBreaksWhole(std::string_view Text);

// Checks every invariant of the statement table against the proof text: the
// layout of every block, rule codes 1..54 with the rule text RuleTextOf gives,
// whole CR LF line breaks in every text, citations, and that every formula
// parses. Returns "" when all hold, else a description of the first one broken.
// OnParsed, when given, gets the parse of each line's formula, in line order,
// once the line has passed every check (its own parse included), so a caller
// that checks more of each line needs no parse of its own; it is called for
// the lines before a broken one too, so it must not take the check as passed
// before CheckDocInvariants returns "".
using ParsedLineFn = std::function<void(int Line, const ParseResult& Parsed)>;
std::string CheckDocInvariants(const DocState& d, const ParsedLineFn& OnParsed = {});

// ---- The walk over the active lines (walk.cpp) ----
// The lines above the place where the next statement will stand are
// 1 .. InsertionLimit - 1. A closed subproof (a Premise and its Conclusion
// whose links name each other) is stepped over whole; its Conclusion line is
// active, its Premise and inner lines are not. Each step moves in its own
// direction, so no walk loops or leaves the table, whatever the links hold.
// With Marks::Gone the walk sees the proof as it will be once the lines
// marked for deletion are gone: they are passed over, and a subproof whose
// Conclusion is marked counts as open.
enum class Marks { Count, Gone };

// InsertLine in insert mode, else StmtCount + 1; always 1 .. StmtCount + 1.
int InsertionLimit(const DocState& d);
// The Conclusion that closes the Premise at p, 0 when p is no closed Premise.
int ClosingConclusion(const DocState& d, int p, Marks m = Marks::Count);
// The Premise that the Conclusion at c closes, 0 when c is no such Conclusion.
int ClosedPremise(const DocState& d, int c, Marks m = Marks::Count);
// Walking down: the first active line at or after Line (StmtCount + 1 when
// none). Walk with: for (j = ActiveFrom(d, 1); j < limit; j = ActiveFrom(d, j + 1)).
int ActiveFrom(const DocState& d, int Line, Marks m = Marks::Count);
// Walking up: where a walk up from Line starts (Line, or the first kept line
// below it), and the active line above Line as seen from Line, 0 = none.
// Walk with: for (j = ActiveUpFrom(d, limit - 1); j >= 1; j = ActiveAbove(d, j)).
int ActiveUpFrom(const DocState& d, int Line, Marks m = Marks::Count);
int ActiveAbove(const DocState& d, int Line, Marks m = Marks::Count);
// The innermost premise open at Line (Line itself included), 0 = none.
int InnermostPremise(const DocState& d, int Line, Marks m = Marks::Count);
// The first active line above Limit where Name is free, 0 = none.
int ActiveLineWithFree(const DocState& d, const std::string& Name, int Limit);

// The steps up are defined here, not in walk.cpp, so that the walks that
// take them thousands of times (the scope test, a deletion's marking) have
// them inlined.
namespace walk {
// The lines the walks see: StmtCount, or fewer when the table is shorter.
inline int LineCount(const DocState& d) { return std::max(0, std::min<int>(d.StmtCount, LastIndex(d.Stmts))); }
inline bool Gone(const DocState& d, int k, Marks m) { return m == Marks::Gone && d.Stmts[k].DeleteFlag; }
}  // namespace walk

inline int ClosedPremise(const DocState& d, int c, Marks m) {
  const int count = walk::LineCount(d);
  if (c < 1 || c > count) return 0;
  const StmtRec& s = d.Stmts[c];
  if (s.Rule != kRuleConclusion || s.Arg1 < 1 || s.Arg1 >= c || walk::Gone(d, c, m)) return 0;
  // The Premise's own link is not asked for: PutStmt tests the scope of a
  // new Conclusion, whose Premise the rule has linked, but a Conclusion
  // read on its own must pass over its subproof all the same.
  return d.Stmts[s.Arg1].Rule == kRulePremise ? s.Arg1 : 0;
}

inline int ActiveUpFrom(const DocState& d, int Line, Marks m) {
  int y = std::min(Line, walk::LineCount(d));
  while (y >= 1 && walk::Gone(d, y, m)) --y;
  return std::max(y, 0);
}

inline int ActiveAbove(const DocState& d, int Line, Marks m) {
  const int count = walk::LineCount(d);
  if (Line < 1) return 0;
  if (Line > count) return ActiveUpFrom(d, count, m);
  const int p = ClosedPremise(d, Line, m);
  return ActiveUpFrom(d, (p > 0 ? p : Line) - 1, m);
}

// ---- The witness gate: names an axiom may not use ----
// An axiom about an E Spec witness asserts something of it that its
// existential statement does not give, so no road that adds an axiom may
// name a witness of any line of the proof, above or below the insertion
// point (the subset axiom, which holds whatever its names stand for, may). IsWitnessOf is that test for one line; WitnessLine gives the first
// E Spec line whose witness Name is, 0 = none.
bool IsWitnessOf(const StmtRec& s, const std::string& Name);
int WitnessLine(const DocState& d, const std::string& Name);
// Line s introduces Name: it is its E Spec witness, or Name is free there
// and was not in scope when the line was put. LineIntroducing gives the
// first such line of the whole proof, 0 = none; the axioms that bring names
// of their own (created axioms, axiom sets) refuse a name it finds.
bool IntroducesName(const StmtRec& s, const std::string& Name);
int LineIntroducing(const DocState& d, const std::string& Name);

// The variable lists PutStmt records for a statement of the given parse:
// Free holds each Atom whose first token is free, in node order; Scoped
// each name of a free occurrence that InScope accepts, in token order. The
// reader of proof files checks the stored lists against these.
struct RecordedVars {
  std::string Free;
  std::string Scoped;
};
RecordedVars RecordVarLists(const std::vector<TokenRec>& Tokens, const std::vector<NodeRec>& Nodes,
                            const std::function<bool(const std::string&)>& InScope);

// The scope test: InScope is set true when no premise is open at Line
// (outside every subproof every name is in scope), else to whether Var is
// free on an active line above the innermost premise open at Line. Lines
// marked for deletion are not seen. Flag is left as the caller set it.
void FreeVarColourFont(AppState& S, const std::string& Var, int Line, bool& InScope, bool& Flag);

// The scope test and the walk up that it makes, with Marks::Gone, for many
// lines of one proof: what the walk from each line finds (the innermost
// premise, the names free on its way) is worked out once and remembered, so
// asking about every line costs about as much as one walk over the proof.
// It remembers only lines above the line asked about, and its answers stay
// right while those lines do not change (marks included): FlagStmts, which
// marks line j only after asking about j, keeps to that.
class ScopeIndex {
 public:
  explicit ScopeIndex(const DocState& d);
  // InnermostPremise(d, Line, Marks::Gone).
  int InnermostPremise(int Line);
  // Name is free on a line of the walk up from just above Line:
  // for (i = ActiveUpFrom(d, Line - 1, Marks::Gone); i >= 1; i = ActiveAbove(d, i, Marks::Gone)).
  bool FreeAbove(int Line, const std::string& Name);
  // The InScope answer of FreeVarColourFont for Var and Line.
  bool InScope(const std::string& Var, int Line);
  // The same two questions for a name given by its id, which saves looking
  // the name up for each, where no list changes while the index is used.
  // A name gets its id when first met, by a walk or here.
  int Id(std::string_view Name);
  bool FreeAbove(int Line, int Id);
  bool InScope(int Id, int Line);
  // Both questions for every name of one line at once: the set of names free
  // on the walk up from just above Line, and the set of those in scope there
  // (allInScope when no premise is open), made to fit the ids of Line's own
  // names. Has then answers each name; the sets hold until the next call
  // that can meet new names.
  struct LineSets {
    int32_t above = 0;
    int32_t inScope = 0;
    bool allInScope = false;
  };
  LineSets SetsAt(int Line);
  bool Has(int32_t Set, int Id) const;
  // The ids of line Line's free names, in the order of its list: found once
  // a line and kept, since the walks and the caller both ask for them. Holds
  // until the next call that can meet new lines.
  std::span<const int> IdsOf(int Line);

 private:
  int PremiseFrom(int y);      // the first Premise on the walk from active line y, 0 = none
  int32_t NamesFrom(int y);    // the set of names free on the walk from active line y
  int IdOf(std::string_view Name);
  int32_t With(int32_t Set, int Id);

  const DocState& d_;
  std::vector<int32_t> premise_;  // per line, -1 = not worked out yet
  std::vector<int32_t> names_;    // per line, -1 = not worked out yet
  std::vector<int> chain_;        // scratch for the lines of one walk
  std::vector<std::pair<int32_t, int32_t>> idSpan_;  // per line: where its ids start in lineIds_, how many (-1 = not found yet)
  std::vector<int> lineIds_;
  // The name sets are persistent tries over name ids, sixteen ways at each
  // level (a lookup in a long proof's sets is a few reads, one cache line
  // each), sharing what a line's set has in common with the set of the line
  // above it on the walk: node 0 is the empty set, node 1 the leaf that
  // marks a name present.
  static constexpr int kBits = 4;
  static constexpr int kFan = 1 << kBits;
  struct Node {
    std::array<int32_t, kFan> child{};
  };
  std::vector<Node> nodes_;
  int bits_ = 0;  // every id is below 2^bits_, a multiple of kBits
  int deepened_ = 0;  // how often the sets were made again, deeper
  // The ids of the names: a name of up to seven characters (nearly every
  // one) is packed with its length into one word and found in an
  // open-addressed table, so asking for it hashes no string; longer names
  // are kept in a map.
  class NameIds {
   public:
    int Find(std::string_view Name) const;  // -1 when it has none
    int Add(std::string_view Name);         // its id, a new one when it had none
    size_t size() const { return static_cast<size_t>(count_); }

   private:
    static uint64_t Pack(std::string_view Name);  // 0 for a name too long to pack
    size_t Slot(uint64_t Key) const;               // its slot, or the free one where it would go
    std::vector<uint64_t> keys_ = std::vector<uint64_t>(64, 0);  // 0 = free
    std::vector<int32_t> values_ = std::vector<int32_t>(64, -1);
    struct NameHash {
      using is_transparent = void;
      size_t operator()(std::string_view Name) const { return std::hash<std::string_view>{}(Name); }
    };
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> long_;
    int count_ = 0;
    int packed_ = 0;
  };
  NameIds ids_;
};

// ---- Undo snapshot ----
void BackUpUndo(AppState& S);

// ---- Deleting statements (the deletion engine) ----
// Marks with DeleteFlag line Line and every later line that a deletion of
// it takes along (a citation or a scope that rests on a marked line), and
// counts the marked lines in Count.
void FlagStmts(AppState& S, int Line, int& Count);
// Removes every marked line (FlagStmts marks none above Line): dissolves
// the sub-proofs whose Conclusion goes, renumbers the lines kept with their
// citations and rule texts, and keeps or ends insert mode. The view
// positions follow; the view itself is not redrawn (DeleteStmts in
// view/view.h does that).
void RemoveMarkedStmts(AppState& S, int Line);
// Takes one level of indentation from the closed sub-proof of Premise.
void RemIndent(AppState& S, int Premise);

// ---- Helpers for code that moves blocks or reads variable lists ----
// The names of a " a b " variable list, in list order.
std::vector<std::string> VarListNames(const std::string& List);
// Name is one of the names of a " a b " variable list.
bool InList(const std::string& List, std::string_view Name);
// Moves every ProofText position of s (not ViewerStartLine) by `by`;
// EndUserComment only when the statement has a comment.
void ShiftStmtPositions(StmtRec& s, int32_t by);

}  // namespace qv
