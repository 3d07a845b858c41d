// Choosing the line before which new statements go in insert mode.
#include <algorithm>
#include <string>
#include <vector>

#include "view/view.h"
#include "view/internal.h"

namespace qv {

// ---------------------------------------------------------------------------
// Choosing the line before which new statements go. This is a hit test on
// the view, not the active-line walk: the Premise of a closed subproof is a
// line the user may click (ActiveFrom steps over it), and only its inner
// lines are passed over.

void GetInsertLineNo(AppState& S) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  const int32_t caret = Caret1(S);
  d.InsertLine = 0;
  int k = 1;
  while (k <= d.StmtCount) {
    const StmtRec& s = st[k];
    const int32_t ve = s.EndRule + s.ViewerStartLine - s.StartLine;
    const bool hit = s.Visible && s.ViewerStartLine <= caret && caret <= ve;
    if (!s.Visible) {
      ++k;
    } else if (s.Rule == kRulePremise) {
      if (hit) {
        d.InsertLine = k;
        break;
      }
      const int c = ClosingConclusion(d, k);
      k = c > 0 ? c : k + 1;
    } else if (hit) {
      if (s.Rule == kRuleConclusion) {
        if (!(ValidLine(d, k - 1) && st[k - 1].Visible)) d.InsertLine = s.Arg1;
      } else {
        d.InsertLine = k;
      }
      break;
    } else {
      ++k;
    }
  }
  if (d.InsertLine < 1) {
    d.InsertLine = 0;
    Beep(S);
    return;
  }
  if (S.host) {
    S.host->SetControlCaption("InsertLineLabel", "^" + std::to_string(d.InsertLine));
    S.host->SetControlChecked("optInsert", true);
  }
  ClearStatus(S);
  d.InsertMode = true;
  d.RuleMode = 0;
}

}  // namespace qv
