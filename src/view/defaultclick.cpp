// The default click of the proof view: highlighting a line number, opening
// the comment editor, collapsing and expanding a sub-proof.
#include <algorithm>
#include <string>
#include <vector>

#include "view/view.h"
#include "view/internal.h"

namespace qv {

namespace {

// Restyles the digits of statement i's number in the view bold or not.
void PaintNumber(AppState& S, int i) {
  if (!S.View) return;
  const StmtRec& s = S.Doc.Stmts[i];
  const NumberArea a = LineNumberArea(s);
  S.View->SetSelStart(a.Number + a.ToView - 1);
  S.View->SetSelLength(Digits(i));
  S.View->SetSelBold(s.Highlight);
  S.View->SetSelLength(0);
}

}  // namespace

// ---------------------------------------------------------------------------
// The default click.

void ToggleConclusion(AppState& S) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  ClearStatus(S);
  if (d.StmtCount < 1) return;
  const int32_t caret = Caret1(S);

  // The Introduction and its separator open the view when there is one.
  if (d.IntroLen > 0 && caret < d.IntroLen + 5) {
    CommentEditorOf(S).EditingIntro = true;
    CommentEditorOf(S).CommentCaption = "Edit Introduction";
    if (S.host) S.host->ShowModal("Comment");
    return;
  }

  for (int i = 1; i <= d.StmtCount; ++i) {
    StmtRec& s = st[i];
    if (!s.Visible) continue;
    const int32_t off = s.ViewerStartLine - s.StartLine;
    const NumberArea area = LineNumberArea(s);
    const int32_t numLine = area.Line + off;
    const int32_t vs = area.End + off;
    const int32_t vr = s.StartRule + off;
    const int32_t ve = s.EndRule + off;

    if (numLine <= caret && caret < vs) {
      if (s.Rule != kRulePremise) {
        s.Highlight = !s.Highlight;
        PaintNumber(S, i);
        SetCaret(S, numLine - 1);
      }
      return;
    }
    if (s.Rule == kRuleConclusion && vr <= caret && caret <= ve) {
      const int c = i;
      const int p = s.Arg1;
      if (!ValidLine(d, p) || p >= c) {
        Beep(S);
        return;
      }
      const bool collapse = st[p].Visible;
      if (collapse) {
        for (int k = p; k < c; ++k) st[k].Visible = false;
      } else {
        int k = p;
        while (k < c) {
          const int e = ClosingConclusion(d, k);
          if (e > 0 && e < c) {
            k = e;
          } else {
            st[k].Visible = true;
            ++k;
          }
        }
      }
      RecomputeViewPositions(d);
      ResetFonts(S);
      if (S.View) {
        S.View->SetSelStart(S.View->TextLength());
        if (collapse) {
          S.View->SetSelStart(0);
          const StmtRec& cs = st[c];
          SetCaret(S, cs.EndRule + cs.ViewerStartLine - cs.StartLine);
        } else {
          SetCaret(S, st[p].ViewerStartLine - 1);
        }
      }
      return;
    }
    if (s.ViewerStartLine <= caret && caret <= ve) {
      CommentEditorOf(S).CommentLine = i;
      CommentEditorOf(S).EditingIntro = false;
      CommentEditorOf(S).CommentCaption = "Edit User Comment, Line " + std::to_string(i);
      if (S.host) S.host->ShowModal("Comment");
      return;
    }
  }
  Beep(S);
}

}  // namespace qv
