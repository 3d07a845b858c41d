// The two delete commands: a statement with everything that cites it, and a
// whole sub-proof.
#include <algorithm>
#include <string>
#include <vector>

#include "view/view.h"
#include "view/internal.h"

namespace qv {

// Removes the marked statements from Line on (the deletion engine), then
// redraws and puts the caret where the removed lines were.
void DeleteStmts(AppState& S, int Line) {
  RemoveMarkedStmts(S, Line);
  const DocState& d = S.Doc;
  ResetFonts(S);

  if (!S.View) return;
  if (d.StmtCount == 0) {
    S.View->SetSelStart(0);
  } else if (!d.InsertMode) {
    if (Line <= 1) {
      S.View->SetSelStart(0);
    } else {
      S.View->SetSelStart(S.View->TextLength());
      int prev = std::min(Line - 1, d.StmtCount);
      if (d.Stmts[prev].Visible) SetCaret(S, d.Stmts[prev].ViewerStartLine - 1);
    }
  } else {
    S.View->SetSelStart(0);
    for (int k = std::min(d.InsertLine - 1, d.StmtCount); k >= 1 && d.InsertLine >= 2; --k) {
      const StmtRec& s = d.Stmts[k];
      if (s.Visible) {
        SetCaret(S, s.EndRule + s.ViewerStartLine - s.StartLine);
        break;
      }
    }
  }
}

namespace {

// The visible statement whose whole block in the view (comment included)
// holds the caret; 0 when none.
int HitVisibleStmt(AppState& S) {
  const DocState& d = S.Doc;
  int32_t caret = Caret1(S);
  for (int k = 1; k <= d.StmtCount; ++k) {
    const StmtRec& s = d.Stmts[k];
    if (!s.Visible) continue;
    if (s.ViewerStartLine <= caret && caret <= s.EndRule - s.StartLine + s.ViewerStartLine) return k;
  }
  return 0;
}

// After a deletion: the insert-mode check mark, and the Premise and
// Conclusion commands, which a deletion may make usable again.
void AfterDeletion(AppState& S) {
  if (!S.host) return;
  S.host->SetControlChecked("optInsert", S.Doc.InsertMode);
  S.host->SetControlEnabled("cmdPremise", true);
  S.host->SetControlEnabled("cmdConclusion", true);
  S.host->SetControlEnabled("optPremise", true);
  S.host->SetControlEnabled("optConclusion", true);
}

}  // namespace

// ---------------------------------------------------------------------------
// The two delete commands.

void DeleteAllRef(AppState& S) {
  DocState& d = S.Doc;
  d.RuleMode = 0;
  int k = HitVisibleStmt(S);
  if (k == 0) {
    Beep(S);
    return;
  }
  ClearStatus(S);
  int count = 0;
  FlagStmts(S, k, count);
  if (count > 1) {
    WarningBoxOf(S).Text = "This deletition will result in  " + std::to_string(count - 1) +
                       " other statement(s) being deleted.";
    S.Ui.DialogCancelled = false;
    if (!S.host || !S.host->ShowModal("Warning")) S.Ui.DialogCancelled = true;
    if (S.Ui.DialogCancelled) {
      S.Ui.DialogCancelled = false;
      d.RuleMode = 0;
      ClearStatus(S);
      for (int i = 1; i <= d.StmtCount; ++i) d.Stmts[i].DeleteFlag = false;
      return;
    }
  }
  BackUpUndo(S);
  DeleteStmts(S, k);
  AfterDeletion(S);
}

void DeleteAllSub(AppState& S) {
  DocState& d = S.Doc;
  int k = HitVisibleStmt(S);
  if (k == 0) {
    Beep(S);  // the mode stays, so the next click tries again
    return;
  }
  ClearStatus(S);
  for (int i = 1; i <= d.StmtCount; ++i) d.Stmts[i].DeleteFlag = (i >= k);
  BackUpUndo(S);
  DeleteStmts(S, k);
  d.RuleMode = 0;
  AfterDeletion(S);
}

}  // namespace qv
