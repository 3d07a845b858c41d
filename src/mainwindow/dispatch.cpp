// Clicks in the proof view go to the rule that a command has armed in
// RuleMode; with no rule of its own a click gets the default action. A double
// click on a highlighted line number hides or shows the lines between it and
// the previous highlighted line.
#include "mainwindow/dispatch.h"

#include <exception>
#include <string>

#include "view/view.h"
#include "platform/host.h"
#include "platform/richbox.h"
#include "rules/rules.h"
#include "mainwindow/maincommands.h"

namespace qv {

namespace {

// Copy of a statement: every click copies the active statement under the
// caret, until another command changes the mode.
void CopyStatement(AppState& S) {
  DocState& d = S.Doc;
  std::string text = S.Parser.ExprText;
  GetActiveStmt(S, d.RuleArg1, text);
  if (d.RuleArg1 == 0) {
    Beep(S);
    return;
  }
  S.Parser.ExprText = text;
  d.RuleArg2 = 0;
  ParseExpr(S.Parser);
  BackUpUndo(S);
  PutStmt(S);
}

// Join after a cancelled prompt: a flag left set by an earlier cancelled
// prompt must not end the Join, and a cancel inside it ends the rule.
void JoinClick(AppState& S, bool& first) {
  S.Ui.DialogCancelled = false;
  Join(S, first);
  if (S.Ui.DialogCancelled) {
    S.Ui.DialogCancelled = false;
    S.Doc.RuleMode = 0;
  }
}

const ClickRoute kRoutes[] = {
    {kRuleSpec, &Spec, nullptr},
    {kRuleEGen, &ExistGenSelect, nullptr},
    {kRuleUGen, &UnivGen, nullptr},
    {kRuleDeleteAtSub, &DeleteAllSub, nullptr},
    {kRuleQuant, &QuantSwitch, nullptr},
    {kRuleRemDNeg, &RemDNeg, nullptr},
    {kRuleInsDNeg, &InsDNeg, nullptr},
    {kRuleJoin, nullptr, &JoinClick},
    {kRuleSplit, &Split, nullptr},
    {kRuleDetach, nullptr, &Detach},
    {kRuleIffAnd, &IffSplit, nullptr},
    {kRuleSubset, &SubsetRule, nullptr},
    {kRuleImplyAnd, &ImplyAnd, nullptr},
    {kRuleContra, &Contrapositive, nullptr},
    {kRuleDeMorgan, &DeMorgan, nullptr},
    {kRuleArbOr, &ArbOr, nullptr},
    {kRuleArbAnte, &ArbAnte, nullptr},
    {kRuleArbCons, &ArbCons, nullptr},
    {kRuleSubstitute, nullptr, &SubstituteRule},
    {kRuleSym, &SymmetryRule, nullptr},
    {kRuleImplyOr, &ImplyOr, nullptr},
    {kRuleCases, nullptr, &Cases},
    {kRuleImplies, &ImpliesOp, nullptr},
    {kRuleIff, &IffOp, nullptr},
    {kRuleOr, &OrOp, nullptr},
    {kRuleSum, &SumProd, nullptr},
    {kRuleProd, &SumProd, nullptr},
    {kRuleSetInsertMode, &GetInsertLineNo, nullptr},
    {kRuleRename, &Rename, nullptr},
    {kRuleReorder, &Reorder, nullptr},
    {kRuleCopy, &CopyStatement, nullptr},
    {kRuleDeleteAtRef, &DeleteAllRef, nullptr},
};

}  // namespace

ClickRoute ClickRouteFor(int RuleMode) {
  for (const ClickRoute& r : kRoutes)
    if (r.mode == RuleMode) return r;
  return ClickRoute{RuleMode, &ToggleConclusion, nullptr};
}

void RTB_Click(AppState& S) {
  try {
    if (!S.View) return;
    // A selection is ignored except by E Gen, which works on a selected term.
    if (S.View->SelLength() > 0 && S.Doc.RuleMode != kRuleEGen) return;
    if (S.Doc.StmtCount == 0) {
      S.Doc.RuleMode = 0;
      ClearStatus(S);
      CommentEditorOf(S).EditingIntro = true;
      if (S.host) S.host->ShowModal("Comment");
      return;
    }
    const ClickRoute route = ClickRouteFor(S.Doc.RuleMode);
    if (route.twoClick) {
      route.twoClick(S, MainWindowOf(S).FirstClickPending);
    } else {
      route.click(S);
    }
  } catch (const std::exception&) {
    ShowUnable(S);
  }
}

void RTB_DblClick(AppState& S) {
  try {
    if (!S.View) return;
    DocState& d = S.Doc;
    auto& st = d.Stmts;
    MainWindowOf(S).DblClickPending = true;
    MainWindowOf(S).SavedSelStart = S.View->SelStart();
    const int32_t p = S.View->SelStart() + 1;

    // The line number under the caret.
    int l = 0;
    for (int i = 1; i <= d.StmtCount; ++i) {
      StmtRec& s = st[i];
      if (!s.Visible) continue;
      const NumberArea area = LineNumberArea(s);
      const int32_t a = area.Line + area.ToView;
      if (a <= p && p < area.End + area.ToView) {
        l = i;
        if (s.Rule != kRulePremise) {
          s.Highlight = !s.Highlight;
          S.View->SetSelStart(area.Number + area.ToView - 1);
          S.View->SetSelLength(Digits(i));
          S.View->SetSelBold(s.Highlight);
        }
        S.View->SetSelStart(a - 1);
        break;
      }
    }
    S.View->SetSelLength(0);
    if (l == 0) {
      S.View->SetSelStart(MainWindowOf(S).SavedSelStart);
      return;
    }
    if (!st[l].Highlight || l < 2) {
      Beep(S);
      return;
    }

    // The previous highlighted line, passing over closed premise blocks.
    int k = ActiveAbove(d, l);
    while (k >= 1 && !(st[k].Visible && st[k].Highlight)) k = ActiveAbove(d, k);
    const int v = k < 1 ? 0 : k;
    if (v == l - 1) {
      Beep(S);
      return;
    }

    bool anyVisible = false;
    for (int m = v + 1; m < l; ++m) anyVisible = anyVisible || st[m].Visible;
    if (anyVisible) {
      for (int m = v + 1; m < l; ++m) st[m].Visible = false;
    } else {
      bool shown = false;
      int m = v + 1;
      while (m < l) {
        if (const int c = ClosingConclusion(d, m)) {
          m = c;
        } else {
          st[m].Visible = true;
          shown = true;
          ++m;
        }
      }
      if (!shown) {
        Beep(S);
        return;
      }
    }
    RecomputeViewPositions(d);
    ResetFonts(S);
    const StmtRec& target = st[v > 0 ? v : l];
    MainWindowOf(S).SavedSelStart = target.ViewerStartLine > 0 ? target.ViewerStartLine - 1 : 0;
    S.View->SetSelStart(MainWindowOf(S).SavedSelStart);
    S.View->SetSelLength(0);
  } catch (const std::exception&) {
    Beep(S);
    ShowStatus(S, kUnableMessage);
  }
}

void DelAllSubsequent_Click(AppState& S) {
  S.Doc.RuleMode = kRuleDeleteAtSub;
  ShowStatus(S, "Delete All Subsequent Lines: Click statement");
}

void DeleteAllRef_Click(AppState& S) {
  S.Doc.RuleMode = kRuleDeleteAtRef;
  ShowStatus(S, "Delete All References: Click statement");
}

}  // namespace qv
