// The walk over the active lines, the insertion limit, and the gate that
// keeps a name an E Spec line introduced out of every axiom.
//
// A closed subproof is a Premise at p whose Arg1 names its Conclusion c > p,
// and a Conclusion at c whose Arg1 names p. A walk down steps over it by the
// Premise's link (which must lead to a Conclusion naming p), a walk up by
// the Conclusion's link (which must lead back to a Premise); on a
// consistent proof both see the same lines. A link that leads the wrong way
// or out of the table is never followed, so no walk loops or reads out of
// range.
#include <algorithm>

#include "document/document.h"

namespace qv {

using walk::Gone;
using walk::LineCount;

int InsertionLimit(const DocState& d) {
  const int count = LineCount(d);
  if (!d.InsertMode) return count + 1;
  return std::clamp<int>(d.InsertLine, 1, count + 1);
}

int ClosingConclusion(const DocState& d, int p, Marks m) {
  const int count = LineCount(d);
  if (p < 1 || p > count) return 0;
  const StmtRec& s = d.Stmts[p];
  if (s.Rule != kRulePremise || s.Arg1 <= p || s.Arg1 > count) return 0;
  const StmtRec& c = d.Stmts[s.Arg1];
  if (c.Rule != kRuleConclusion || c.Arg1 != p || Gone(d, s.Arg1, m)) return 0;
  return s.Arg1;
}

int ActiveFrom(const DocState& d, int Line, Marks m) {
  const int count = LineCount(d);
  int b = std::max(Line, 1);
  while (b <= count) {
    if (Gone(d, b, m)) {
      ++b;
      continue;
    }
    const int c = ClosingConclusion(d, b, m);
    if (c == 0) return b;
    b = c;  // the Conclusion line itself is active
  }
  return count + 1;
}

int InnermostPremise(const DocState& d, int Line, Marks m) {
  for (int y = ActiveUpFrom(d, Line, m); y >= 1; y = ActiveAbove(d, y, m))
    if (d.Stmts[y].Rule == kRulePremise) return y;
  return 0;
}

int ActiveLineWithFree(const DocState& d, const std::string& Name, int Limit) {
  const int limit = std::min(Limit, LineCount(d) + 1);
  for (int j = ActiveFrom(d, 1); j < limit; j = ActiveFrom(d, j + 1))
    if (InList(d.Stmts[j].FreeVars, Name)) return j;
  return 0;
}

bool IsWitnessOf(const StmtRec& s, const std::string& Name) {
  return !Name.empty() && s.Rule == kRuleESpec && s.NewVar == Name;
}

int WitnessLine(const DocState& d, const std::string& Name) {
  const int count = LineCount(d);
  for (int i = 1; i <= count; ++i)
    if (IsWitnessOf(d.Stmts[i], Name)) return i;
  return 0;
}

bool IntroducesName(const StmtRec& s, const std::string& Name) {
  if (IsWitnessOf(s, Name)) return true;
  return InList(s.FreeVars, Name) && !InList(s.ScopedVars, Name);
}

int LineIntroducing(const DocState& d, const std::string& Name) {
  const int count = LineCount(d);
  for (int i = 1; i <= count; ++i)
    if (IntroducesName(d.Stmts[i], Name)) return i;
  return 0;
}

}  // namespace qv
