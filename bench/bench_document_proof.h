// A long proof for the benchmarks: blocks of ten lines, each a closed
// sub-proof with specifications, detachments, joins, splits and a two-line
// axiom, the element-of sign throughout.
#pragma once

#include <string>

#include "view/view.h"

namespace qv::bench {

// Adds one line as the program does; false when PutStmt refuses it (past
// the largest proof the format holds, say).
inline bool PutLine(AppState& S, const std::string& Text, int Rule, int A1 = 0, int A2 = 0,
                    const std::string& NewVar = "") {
  S.Parser.ExprText = Text;
  S.Doc.RuleMode = Rule;
  S.Doc.RuleArg1 = A1;
  S.Doc.RuleArg2 = A2;
  S.Doc.PendingNewVar = NewVar;
  if (!PutStmt(S)) return false;
  // Keep the set-up linear: earlier lines are hidden while the proof grows.
  S.Doc.Stmts[S.Doc.StmtCount].Visible = false;
  return true;
}

// Adds one leading TAB to every line of lines From .. To (as closing a
// sub-proof does) and moves the later blocks.
inline void IndentLines(DocState& d, int From, int To) {
  int32_t shift = 0;
  for (int j = From; j <= d.StmtCount; ++j) {
    StmtRec& s = d.Stmts[j];
    ShiftStmtPositions(s, shift);
    if (j > To) continue;
    int32_t grow = 0;
    d.ProofText.insert(static_cast<size_t>(s.StartLine - 1), "\t");  // before the number
    ++grow;
    s.StartStmt += 1;
    s.EndStmt += 1;
    for (int32_t p = s.StartStmt; p < s.EndStmt; ++p)  // continuation lines
      if (d.ProofText[p - 1] == '\n') {
        d.ProofText.insert(static_cast<size_t>(p), "\t");
        ++s.EndStmt;
        ++grow;
      }
    d.ProofText.insert(static_cast<size_t>(s.EndStmt + 2), "\t");  // the rule line
    ++grow;
    s.EndRule += grow;
    s.StartRule = s.EndRule - static_cast<int32_t>(RuleTextOf(s).size()) + 1;
    shift += grow;
  }
  RecomputeViewPositions(d);
}

// The proof: n lines, all visible and drawn: blocks of ten, then one-line
// axioms for the rest. False, with the proof as far as it got, when the
// program refuses a line (n past the largest proof it holds).
inline bool BuildProof(AppState& S, int n) {
  bool ok = true;
  for (int b = 0; ok && b * 10 + 10 <= n; ++b) {
    const int base = b * 10;
    const std::string x = "x" + std::to_string(b);
    ok = PutLine(S, "ALL(a):[a@n => a+1@n]", kRuleAxiom) &&                         // +1
         PutLine(S, x + "@n", kRulePremise) &&                                        // +2
         PutLine(S, x + "@n => " + x + "+1@n", kRuleUSpec, base + 1, 0, x) &&         // +3
         PutLine(S, x + "+1@n", kRuleDetach, base + 3, base + 2) &&                   // +4
         PutLine(S, x + "@n & " + x + "+1@n", kRuleJoin, base + 2, base + 4) &&       // +5
         PutLine(S, x + "@n", kRuleSplit, base + 5) &&                                // +6
         PutLine(S, "ALL(a):ALL(c):[a@n & c@n\r\n=> a+c@n]", kRuleAxiom) &&          // +7
         PutLine(S, "ALL(c):[" + x + "@n & c@n\r\n=> " + x + "+c@n]", kRuleUSpec, base + 7, 0, x) &&  // +8
         PutLine(S, x + "+1=1+" + x, kRuleSym, base + 4);                             // +9
    if (!ok) break;
    IndentLines(S.Doc, base + 2, base + 9);
    S.Doc.Stmts[base + 2].Arg1 = static_cast<int16_t>(base + 10);
    ok = PutLine(S, "ALL(d):[d@n => d+1@n]", kRuleConclusion, base + 2);           // +10
  }
  while (ok && S.Doc.StmtCount < n) ok = PutLine(S, "ALL(a):[a@n => a+1@n]", kRuleAxiom);
  for (int k = 1; k <= S.Doc.StmtCount; ++k) S.Doc.Stmts[k].Visible = true;
  RecomputeViewPositions(S.Doc);
  ResetFonts(S);
  return ok;
}

// Times Put on the proof Doc, restoring it (and the view) before each round.
template <class State, class Restore, class Put>
void TimeEachPut(State& state, AppState& S, Restore restore, Put put) {
  const DocState doc = S.Doc;
  for (auto _ : state) {
    state.PauseTiming();
    S.Doc = doc;
    restore();
    ResetFonts(S);  // the view shows the 2,000 statements again
    state.ResumeTiming();
    if (!put()) state.SkipWithError("PutStmt refused the statement");
  }
  S.Doc = doc;
}

// The 2,001st statement: a Join of two earlier lines.
inline bool AppendJoin(AppState& S) {
  S.Parser.ExprText = "x0@n & x1@n";
  S.Doc.RuleMode = kRuleJoin;
  S.Doc.RuleArg1 = 6;
  S.Doc.RuleArg2 = 16;
  return PutStmt(S);
}

}  // namespace qv::bench
