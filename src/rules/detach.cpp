// Detach: from an implication P => Q and a statement matching P, derive Q.
#include <string>

#include "view/view.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {

void Detach(AppState& S, bool& FirstClickPending) {
  const int line = ClickedStatement(S, OnParseError::End);
  if (line == 0) return;

  if (FirstClickPending) {
    const std::vector<NodeRec>& nodes = S.Parser.Nodes;
    int root = LastIndex(nodes);
    if (root < 1 || nodes[root].Rule != kImply) {
      Beep(S);
      return;
    }
    S.Doc.RuleArg1 = line;
    SaveParse(S);
    FirstClickPending = false;
    ShowStatus(S, "Detach:  Click any active statement that matches LHS of line " +
                      std::to_string(line));
    return;
  }

  const std::string clicked = S.Parser.ExprText;
  const std::vector<NodeRec>& saved = S.Ui.SavedNodes;
  int root = LastIndex(saved);
  if (root < 1 || saved[root].Rule != kImply) throw RuleFailure("no saved implication");
  const std::string lhs =
      SpanText(S.Ui.SavedExprText, ForwardNodeSpan(S.Ui.SavedTokens, saved[root].Ptr1));
  if (!SameStmt(S.Parser, lhs, clicked)) {
    Beep(S);
    return;
  }
  S.Doc.RuleArg2 = line;
  S.Parser.ExprText =
      SpanText(S.Ui.SavedExprText, BackwardNodeSpan(S.Ui.SavedTokens, saved[root].Ptr2));
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    PostParseError(S);
    S.Doc.RuleMode = 0;
    return;
  }
  if (PutWithUndo(S)) EndRule(S);
  else S.Doc.RuleMode = 0;
}

}  // namespace qv
