// The free-variable scope test: is a variable already free in a line above
// the innermost open premise?
#include "document/document.h"
#include "document/internal.h"

namespace qv {

void FreeVarColourFont(AppState& S, const std::string& Var, int Line, bool& InScope, bool& Flag) {
  const DocState& d = S.Doc;
  InScope = true;
  // The innermost open premise at or above Line, the proof seen without its
  // lines marked for deletion.
  const int premise = InnermostPremise(d, Line, Marks::Gone);
  if (premise == 0) return;

  // The lines above the premise as seen from it: closed subproofs are passed
  // over, their Conclusion lines count, and the premises of enclosing
  // subproofs are in sight even when those subproofs have been closed since.
  for (int i = ActiveUpFrom(d, premise - 1, Marks::Gone); i >= 1; i = ActiveAbove(d, i, Marks::Gone))
    if (InVarList(d.Stmts[i].FreeVars, Var)) return;
  InScope = false;
  (void)Flag;  // left as the caller set it
}

}  // namespace qv
