// The free-variable scope test: is a variable already free in a line above
// the innermost open premise?
#include <algorithm>

#include "document/document.h"
#include "document/internal.h"

namespace qv {

void FreeVarColourFont(AppState& S, const std::string& Var, int Line, bool& InScope, bool& Flag) {
  const DocState& d = S.Doc;
  const int count = std::min<int>(d.StmtCount, static_cast<int>(d.Stmts.size()) - 1);
  InScope = true;

  // The innermost open premise at or above Line. A Conclusion sends the search
  // above the Premise of its closed sub-proof. Links from a damaged file may
  // point anywhere: a jump is taken only when it moves upwards, so the loop
  // always ends.
  int premise = 0;
  int b = std::min(Line, count);
  while (b > 0) {
    const StmtRec& s = d.Stmts[b];
    if (!s.DeleteFlag) {
      if (s.Rule == kRuleConclusion && s.Arg1 >= 1 && s.Arg1 <= b) {
        b = s.Arg1 - 1;
        continue;
      }
      if (s.Rule == kRulePremise) {
        premise = b;
        break;
      }
    }
    --b;
  }
  if (premise == 0) return;

  // Lines above the premise, skipping the insides of closed sub-proofs (their
  // Conclusion lines count).
  int i = 1;
  while (i < premise) {
    const StmtRec& s = d.Stmts[i];
    if (!s.DeleteFlag && s.Rule == kRulePremise && s.Arg1 > i && s.Arg1 <= premise - 1 &&
        !d.Stmts[s.Arg1].DeleteFlag) {
      i = s.Arg1;
      continue;
    }
    if (!s.DeleteFlag && InList(s.FreeVars, Var)) return;
    ++i;
  }
  InScope = false;
  (void)Flag;  // left as the caller set it
}

}  // namespace qv
