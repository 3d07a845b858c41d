// View filters, text sizes, insert mode and the Introduction command.
#include "mainwindow/viewcommands.h"

#include <stdexcept>

#include "view/view.h"
#include "files/files.h"
#include "platform/commands.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

namespace {

void SetCaret(AppState& S, int32_t caret) {
  if (!S.View) return;
  S.View->SetSelStart(caret < 0 ? 0 : caret);
  S.View->SetSelLength(0);
}

int32_t ViewEnd(const AppState& S) { return S.View ? S.View->TextLength() : 0; }

// The caret just after statement k's rule text in the view.
int32_t EndInView(const StmtRec& s) { return s.EndRule - s.StartLine + s.ViewerStartLine; }

// The view positions follow the new flags, and the view is drawn again.
void Redraw(AppState& S) {
  RecomputeViewPositions(S.Doc);
  ResetFonts(S);
}

// In insert mode the caret goes behind the line before the insert line (to
// the top when inserting at line 1); otherwise to the end of the view.
void CaretForInsertLine(AppState& S) {
  const DocState& d = S.Doc;
  SetCaret(S, 0);
  if (d.InsertMode) {
    if (d.InsertLine > 1 && d.InsertLine - 1 <= d.StmtCount)
      SetCaret(S, EndInView(d.Stmts[d.InsertLine - 1]));
  } else {
    SetCaret(S, ViewEnd(S));
  }
}

void SetTextSize(AppState& S, int size, const char* chosen) {
  S.Ui.FontSize = size;
  S.Ui.SmallFontSize = size - 2;
  if (S.host)
    for (const char* item : {"optSmallText", "optMediumText", "optLargeText"})
      S.host->SetControlChecked(item, std::string(item) == chosen);
  if (S.View && S.View->TextLength() > 0) ResetFonts(S);
  SaveFontSize(S);
}

}  // namespace

void optHideDetails_Click(AppState& S) {
  FocusView(S);
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  if (d.StmtCount < 1) throw std::runtime_error("no statement to keep visible");
  // A closed sub-proof goes whole, highlighted lines included; elsewhere only
  // highlighted lines stay as they are. The last line is looked at below.
  int a = 1;
  while (a < d.StmtCount) {
    if (const int c = ClosingConclusion(d, a)) {
      for (int k = a; k < c; ++k) st[k].Visible = false;
      a = c;
    } else {
      if (!st[a].Highlight) st[a].Visible = false;
      ++a;
    }
  }
  // The line that new statements follow stays in sight.
  if (d.InsertMode && d.InsertLine > 1 && d.InsertLine - 1 <= d.StmtCount)
    st[d.InsertLine - 1].Visible = true;
  st[d.StmtCount].Visible = true;
  Redraw(S);
  CaretForInsertLine(S);
}

void optShowDetails_Click(AppState& S) {
  FocusView(S);
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  int a = 1;
  while (a <= d.StmtCount) {
    if (const int c = ClosingConclusion(d, a)) {
      for (int k = a; k < c; ++k) st[k].Visible = false;
      a = c;
    } else {
      st[a].Visible = true;
      ++a;
    }
  }
  Redraw(S);
  CaretForInsertLine(S);
}

void optShowLastDetails_Click(AppState& S) {
  FocusView(S);
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  // The last hidden line that is not highlighted, passing over closed
  // sub-proofs from their Conclusions.
  int a = d.StmtCount;
  while (a > 0) {
    if (!st[a].Visible && !st[a].Highlight) break;
    if (const int p = ClosedPremise(d, a)) a = p;
    --a;
  }
  if (a <= 0) {
    Beep(S);
    return;
  }
  // The nearest visible highlighted line before it starts the run to show.
  int f = 0;
  int b = a - 1;
  while (b > 0) {
    if (st[b].Visible && st[b].Highlight) {
      f = b;
      break;
    }
    if (const int p = ClosedPremise(d, b)) {
      b = p;
    } else {
      --b;
    }
  }
  // Show the run up to a; closed sub-proofs inside it keep their flags.
  int c = b + 1;
  while (c <= a) {
    if (const int e = ClosingConclusion(d, c)) {
      c = e;
    } else {
      st[c].Visible = true;
      if (f == 0) f = c;
      ++c;
    }
  }
  Redraw(S);
  // Scroll to the end first, then back to where the shown run begins.
  SetCaret(S, ViewEnd(S));
  if (f > 0 && st[f].Visible) SetCaret(S, st[f].ViewerStartLine - 1);
}

void optShowAllStmts_Click(AppState& S) {
  FocusView(S);
  DocState& d = S.Doc;
  // With every line shown the view is the proof text itself, except for the
  // CR LF CR LF that an emptied Introduction may leave at the top, which the
  // view does not show: the shared view positions account for that.
  for (int k = 1; k <= d.StmtCount; ++k) d.Stmts[k].Visible = true;
  Redraw(S);
  SetCaret(S, 0);
  SetCaret(S, ViewEnd(S));
}

void optShowHighlights_Click(AppState& S) {
  FocusView(S);
  DocState& d = S.Doc;
  for (int k = 1; k <= d.StmtCount; ++k) {
    StmtRec& s = d.Stmts[k];
    s.Visible = s.Highlight || s.Rule == kRuleConclusion;
  }
  Redraw(S);
  SetCaret(S, ViewEnd(S));
}

void optSmallText_Click(AppState& S) { SetTextSize(S, 10, "optSmallText"); }
void optMediumText_Click(AppState& S) { SetTextSize(S, 12, "optMediumText"); }
void optLargeText_Click(AppState& S) { SetTextSize(S, 14, "optLargeText"); }

void optInsert_Click(AppState& S) {
  DocState& d = S.Doc;
  if (d.InsertMode) {
    d.InsertMode = false;
    d.InsertLine = 0;
    if (S.host) {
      S.host->SetControlChecked("optInsert", false);
      S.host->SetControlCaption("InsertLineLabel", "");
    }
  } else {
    // Insert mode begins once the next click has chosen the line.
    d.RuleMode = kRuleSetInsertMode;
    ShowStatus(S, "Insert Mode: Click insert line for an ACTIVE statement");
  }
  if (S.View) S.View->SetSelLength(0);
  FocusView(S);
}

void optIntro_Click(AppState& S) {
  CommentEditorOf(S).EditingIntro = true;
  CommentEditorOf(S).CommentCaption = "Edit Introduction";
  if (!S.host || !S.host->ShowModal("Comment")) throw std::runtime_error("no comment editor");
}

void RegisterViewCommands(AppState& S, CommandRegistry& commands) {
  AppState* s = &S;
  const std::pair<const char*, void (*)(AppState&)> items[] = {
      {"optHideDetails", &optHideDetails_Click},
      {"optShowDetails", &optShowDetails_Click},
      {"optShowLastDetails", &optShowLastDetails_Click},
      {"optShowAllStmts", &optShowAllStmts_Click},
      {"optShowHighlights", &optShowHighlights_Click},
      {"optSmallText", &optSmallText_Click},
      {"optMediumText", &optMediumText_Click},
      {"optLargeText", &optLargeText_Click},
      {"optInsert", &optInsert_Click},
      {"optIntro", &optIntro_Click},
  };
  for (const auto& [name, fn] : items) commands.Add(name, [s, fn] { fn(*s); });
}

}  // namespace qv
