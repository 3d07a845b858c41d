// Deleting a statement with everything that depends on it: marking the
// dependants, taking the indentation from a dissolved sub-proof, and removing
// the marked statements with the renumbering of the rest.
#include <algorithm>
#include <string>
#include <vector>

#include "document/document.h"
#include "document/internal.h"

namespace qv {

void ShiftStmtPositions(StmtRec& s, int32_t by) {
  s.StartLine += by;
  if (s.EndUserComment > 0) s.EndUserComment += by;
  s.StartStmt += by;
  s.EndStmt += by;
  s.StartRule += by;
  s.EndRule += by;
}

// ---------------------------------------------------------------------------
// Marking the statements that a deletion of Line takes with it.

void FlagStmts(AppState& S, int Line, int& Count) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  for (int i = 1; i <= d.StmtCount; ++i) st[i].DeleteFlag = false;
  Count = 0;
  if (!ValidLine(d, Line)) return;
  st[Line].DeleteFlag = true;
  Count = 1;

  auto marked = [&](int k) { return ValidLine(d, k) && st[k].DeleteFlag; };
  // The walks up from j see only lines above j, whose marks are settled by
  // the time j is looked at, so what they find is remembered for later j.
  ScopeIndex scope(d);

  for (int j = Line + 1; j <= d.StmtCount; ++j) {
    StmtRec& s = st[j];
    // The arbitrary rules draw on every earlier line's variables, so they go
    // with any deletion above them, uncounted.
    if (s.Rule == kRuleArbCons || s.Rule == kRuleArbAnte || s.Rule == kRuleArbOr ||
        s.Rule == kRuleOrNot) {
      s.DeleteFlag = true;
      continue;
    }
    bool mark = (s.Arg1 > 0 && marked(s.Arg1)) || (s.Arg2 > 0 && marked(s.Arg2)) ||
                (s.Rule == kRuleConclusion && marked(j - 1));
    if (!mark && !s.FreeVars.empty()) {
      // The walks for line j, once for all its names.
      const ScopeIndex::LineSets sets = scope.SetsAt(j);
      const std::span<const int> ids = scope.IdsOf(j);
      size_t next = 0;
      ForEachVarName(s.FreeVars, [&](std::string_view v) {
        if (mark) return;
        const int id = ids[next++];
        // An earlier use of v on a line in sight of j once the marked lines
        // are gone: closed sub-proofs are passed over, Conclusions count.
        const bool found = scope.Has(sets.above, id);
        const bool ownESpecVar = (v == s.NewVar && s.Rule == kRuleESpec);
        if (found && ownESpecVar) {
          mark = true;
        } else if (!found && !ownESpecVar && s.Rule != kRulePremise && s.Rule != kRuleAxiom) {
          mark = true;
        } else if ((sets.allInScope || scope.Has(sets.inScope, id)) != InList(s.ScopedVars, v)) {
          mark = true;
        }
      });
    }
    if (mark) {
      s.DeleteFlag = true;
      ++Count;
    }
  }
}

// ---------------------------------------------------------------------------
// Taking one level of indentation from a closed sub-proof.

void RemIndent(AppState& S, int P) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  if (!ValidLine(d, P) || st[P].Rule != kRulePremise || st[P].Arg1 <= P ||
      st[P].Arg1 > d.StmtCount) {
    Beep(S);
    return;
  }
  // The TABs go in one pass over the text and the later lines move once, so
  // dissolving a long sub-proof costs a walk over the proof, not one for
  // each of its lines.
  const std::string& old = d.ProofText;
  const int32_t size = static_cast<int32_t>(old.size());
  const int last = st[P].Arg1 - 1;
  std::vector<int32_t> gone;  // 1-based positions in the old text, ascending
  int32_t removed = 0;        // TABs taken from the lines before line i
  for (int i = P; i <= last; ++i) {
    StmtRec& s = st[i];
    // One TAB at the start of every text line of the block up to the rule
    // line: the block's first line and each line after a line feed.
    const size_t first = gone.size();
    if (s.StartLine >= 1 && s.StartLine <= size && old[s.StartLine - 1] == '\t') gone.push_back(s.StartLine);
    for (int32_t p = std::max<int32_t>(s.StartLine, 1); p < s.StartRule && p < size; ++p) {
      if (old[p - 1] == '\n' && old[p] == '\t') gone.push_back(p + 1);
    }
    const auto from = gone.begin() + static_cast<std::ptrdiff_t>(first);
    auto before = [&](int32_t f) {  // this line's removed positions before f
      return static_cast<int32_t>(std::lower_bound(from, gone.end(), f) - from);
    };
    auto upTo = [&](int32_t f) {  // this line's removed positions at or before f
      return static_cast<int32_t>(std::upper_bound(from, gone.end(), f) - from);
    };
    const int32_t r = static_cast<int32_t>(gone.size() - first);
    if (s.EndUserComment > 0) s.EndUserComment -= upTo(s.EndUserComment);
    s.StartStmt -= before(s.StartStmt);
    s.EndStmt -= upTo(s.EndStmt);
    s.StartRule -= before(s.StartRule);
    s.EndRule -= r;
    ShiftStmtPositions(s, -removed);
    removed += r;
  }
  for (int k = last + 1; k <= d.StmtCount; ++k) ShiftStmtPositions(st[k], -removed);

  std::sort(gone.begin(), gone.end());
  gone.erase(std::unique(gone.begin(), gone.end()), gone.end());
  std::string text;
  text.reserve(old.size());
  int32_t pos = 1;  // the next character of the old text to copy
  for (int32_t g : gone) {
    text.append(old, static_cast<size_t>(pos - 1), static_cast<size_t>(g - pos));
    pos = g + 1;
  }
  text.append(old, static_cast<size_t>(pos - 1), std::string::npos);
  d.ProofText = std::move(text);
}

// ---------------------------------------------------------------------------
// Removing every marked statement, in steps.

namespace {

// A sub-proof whose Conclusion goes is dissolved: one level of indentation
// less (RemIndent) and its lines shown; a closed sub-proof nested in it
// keeps its own collapsed or expanded state, its Conclusion shown.
void DissolveSubproofsOfMarkedConclusions(AppState& S, int Line) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  for (int k = std::max(1, Line); k <= d.StmtCount; ++k) {
    if (!st[k].DeleteFlag || st[k].Rule != kRuleConclusion) continue;
    const int p = st[k].Arg1;
    if (!ValidLine(d, p) || p >= k) continue;
    RemIndent(S, p);
    st[p].Visible = true;
    int i = p + 1;
    while (i < k) {
      if (const int c = ClosingConclusion(d, i)) {
        i = c;
      } else {
        st[i].Visible = true;
        ++i;
      }
    }
  }
}

// The renumbering: NewLineNo of each kept line is its number once the
// marked lines are gone (0 for a marked one). Gives the number of kept lines.
int NumberKeptLines(DocState& d) {
  int n = 0;
  for (int k = 1; k <= d.StmtCount; ++k) {
    StmtRec& s = d.Stmts[k];
    s.NewLineNo = static_cast<int16_t>(s.DeleteFlag ? 0 : ++n);
  }
  return n;
}

// The citations follow the renumbering: a marked Conclusion reopens its
// Premise, and every kept line cites the new numbers.
void RenumberCitations(DocState& d) {
  auto& st = d.Stmts;
  auto newNo = [&](int k) -> int16_t { return ValidLine(d, k) ? st[k].NewLineNo : 0; };
  for (int k = 1; k <= d.StmtCount; ++k) {
    StmtRec& s = st[k];
    if (s.DeleteFlag) {
      if (s.Rule == kRuleConclusion && ValidLine(d, s.Arg1)) st[s.Arg1].Arg1 = 0;
    } else {
      if (s.Arg1 > 0) s.Arg1 = newNo(s.Arg1);
      if (s.Arg2 > 0) s.Arg2 = newNo(s.Arg2);
    }
  }
}

// The proof text in one pass: the marked blocks dropped, and each kept block
// given its new number and the rule text of its new citations, its
// positions moved to where it now stands. (The view positions are worked
// out afresh at the end.)
void RewriteProofText(DocState& d) {
  const std::string& old = d.ProofText;
  std::string text;
  text.reserve(old.size());
  int32_t pos = 1;  // the next character of the old text to copy
  for (int k = 1; k <= d.StmtCount; ++k) {
    StmtRec& s = d.Stmts[k];
    if (s.StartLine > pos) text.append(old, static_cast<size_t>(pos - 1), static_cast<size_t>(s.StartLine - pos));
    pos = s.EndRule + 5;
    if (s.DeleteFlag) continue;
    AppendRenumberedBlock(text, old, s, s.NewLineNo);
  }
  if (static_cast<size_t>(pos - 1) < old.size()) text.append(old, static_cast<size_t>(pos - 1));
  d.ProofText = std::move(text);
}

// The last kept statement is shown.
void ShowLastKept(DocState& d) {
  for (int k = d.StmtCount; k >= 1; --k) {
    if (!d.Stmts[k].DeleteFlag) {
      d.Stmts[k].Visible = true;
      break;
    }
  }
}

// Insert mode survives when a line is kept and the insert line is one of
// them: it is lowered by the marked lines above it. Otherwise it ends, with
// "Insert Mode OFF".
void KeepOrEndInsertMode(AppState& S, int Kept) {
  DocState& d = S.Doc;
  if (!d.InsertMode) return;
  const bool lineGone = ValidLine(d, d.InsertLine) && d.Stmts[d.InsertLine].DeleteFlag;
  if (Kept >= 1 && !lineGone) {
    int markedAbove = 0;
    for (int k = 1; k < d.InsertLine && k <= d.StmtCount; ++k)
      if (d.Stmts[k].DeleteFlag) ++markedAbove;
    d.InsertLine -= markedAbove;
    if (S.host) S.host->SetControlCaption("InsertLineLabel", "^" + std::to_string(d.InsertLine));
  } else {
    Beep(S);
    d.InsertMode = false;
    if (S.host) {
      S.host->SetControlChecked("optInsert", false);
      S.host->SetControlCaption("InsertLineLabel", "");
      S.host->MessageBox("Insert Mode OFF", "WARNING", MsgButtons::Ok);
    }
    d.InsertLine = 0;
  }
}

// The new table: the kept statements moved down over the marked ones, in
// order, none of them marked.
void DropMarkedLines(DocState& d, int Kept) {
  auto& st = d.Stmts;
  int kept = 0;
  for (int k = 1; k <= d.StmtCount; ++k) {
    if (st[k].DeleteFlag) continue;
    if (++kept != k) st[kept] = std::move(st[k]);
  }
  st.resize(static_cast<size_t>(Kept) + 1);
  st[0] = StmtRec{};
  d.StmtCount = Kept;
  for (int k = 1; k <= d.StmtCount; ++k) st[k].DeleteFlag = false;
}

}  // namespace

void RemoveMarkedStmts(AppState& S, int Line) {
  DocState& d = S.Doc;
  DissolveSubproofsOfMarkedConclusions(S, Line);
  const int kept = NumberKeptLines(d);
  RenumberCitations(d);
  RewriteProofText(d);
  ShowLastKept(d);
  KeepOrEndInsertMode(S, kept);
  DropMarkedLines(d, kept);
  RecomputeViewPositions(d);  // the view chain
}

}  // namespace qv
