// Deleting statements with their dependants, the two delete commands, the
// default click of the proof view (highlight, comment editor, collapse and
// expand) and the choice of the insert line.
#include <algorithm>
#include <string>
#include <vector>

#include "document/document.h"
#include "platform/host.h"
#include "platform/richbox.h"

namespace qv {

namespace {

bool InList(const std::string& list, const std::string& v) {
  return list.find(" " + v + " ") != std::string::npos;
}

int Digits(int n) { return static_cast<int>(std::to_string(n).size()); }

bool ValidLine(const DocState& d, int k) { return k >= 1 && k <= d.StmtCount; }

void Beep(AppState& S) {
  if (S.host) S.host->Beep();
}

// Caret of the view as a 1-based position.
int32_t Caret1(const AppState& S) { return S.View ? S.View->SelStart() + 1 : 1; }

void SetCaret(AppState& S, int32_t zeroBased) {
  if (S.View) S.View->SetSelStart(std::max<int32_t>(0, zeroBased));
}

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

// Restyles the digits of statement i's number in the view bold or not.
void PaintNumber(AppState& S, int i) {
  if (!S.View) return;
  const StmtRec& s = S.Doc.Stmts[i];
  int32_t off = s.ViewerStartLine - s.StartLine;
  int depth = s.StartRule - s.EndStmt - 4;
  int32_t numStart = (s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine) + depth;
  S.View->SetSelStart(numStart + off - 1);
  S.View->SetSelLength(Digits(i));
  S.View->SetSelBold(s.Highlight);
  S.View->SetSelLength(0);
}

}  // namespace

std::vector<std::string> VarListNames(const std::string& List) {
  std::vector<std::string> names;
  std::string cur;
  for (char c : List) {
    if (c == ' ') {
      if (!cur.empty()) names.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) names.push_back(cur);
  return names;
}

void ShiftStmtPositions(StmtRec& s, int32_t by) {
  s.StartLine += by;
  if (s.EndUserComment > 0) s.EndUserComment += by;
  s.StartStmt += by;
  s.EndStmt += by;
  s.StartRule += by;
  s.EndRule += by;
}

// ---------------------------------------------------------------------------
// Marking the statements that a deletion of Line takes with it.

void FlagStmts(AppState& S, int Line, int& Count) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  for (int i = 1; i <= d.StmtCount; ++i) st[i].DeleteFlag = false;
  Count = 0;
  if (!ValidLine(d, Line)) return;
  st[Line].DeleteFlag = true;
  Count = 1;

  auto marked = [&](int k) { return ValidLine(d, k) && st[k].DeleteFlag; };

  for (int j = Line + 1; j <= d.StmtCount; ++j) {
    StmtRec& s = st[j];
    // The arbitrary rules draw on every earlier line's variables, so they go
    // with any deletion above them, uncounted.
    if (s.Rule == kRuleArbCons || s.Rule == kRuleArbAnte || s.Rule == kRuleArbOr ||
        s.Rule == kRuleOrNot) {
      s.DeleteFlag = true;
      continue;
    }
    bool mark = (s.Arg1 > 0 && marked(s.Arg1)) || (s.Arg2 > 0 && marked(s.Arg2)) ||
                (s.Rule == kRuleConclusion && marked(j - 1));
    if (!mark) {
      for (const std::string& v : VarListNames(s.FreeVars)) {
        // An earlier use of v on a line in sight of j once the marked lines
        // are gone: closed sub-proofs are passed over, Conclusions count.
        bool found = false;
        for (int i = ActiveUpFrom(d, j - 1, Marks::Gone); i >= 1 && !found;
             i = ActiveAbove(d, i, Marks::Gone))
          found = InList(st[i].FreeVars, v);
        bool ownESpecVar = (v == s.NewVar && s.Rule == kRuleESpec);
        if (found && ownESpecVar) {
          mark = true;
        } else if (!found && !ownESpecVar && s.Rule != kRulePremise && s.Rule != kRuleAxiom) {
          mark = true;
        } else {
          bool inScope = true, flag = false;
          FreeVarColourFont(S, v, j, inScope, flag);
          if (inScope != InList(s.ScopedVars, v)) mark = true;
        }
        if (mark) break;
      }
    }
    if (mark) {
      s.DeleteFlag = true;
      ++Count;
    }
  }
}

// ---------------------------------------------------------------------------
// Taking one level of indentation from a closed sub-proof.

void RemIndent(AppState& S, int P) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  if (!ValidLine(d, P) || st[P].Rule != kRulePremise || st[P].Arg1 <= P ||
      st[P].Arg1 > d.StmtCount) {
    Beep(S);
    return;
  }
  std::string& text = d.ProofText;
  const int last = st[P].Arg1 - 1;
  for (int i = P; i <= last; ++i) {
    StmtRec& s = st[i];
    // One TAB at the start of every text line of the block up to the rule
    // line: the block's first line and each line after a line feed.
    std::vector<int32_t> gone;  // 1-based positions, ascending
    if (s.StartLine >= 1 && s.StartLine <= static_cast<int32_t>(text.size()) &&
        text[s.StartLine - 1] == '\t')
      gone.push_back(s.StartLine);
    for (int32_t p = s.StartLine; p < s.StartRule && p < static_cast<int32_t>(text.size()); ++p) {
      if (text[p - 1] == '\n' && text[p] == '\t') gone.push_back(p + 1);
    }
    for (auto it = gone.rbegin(); it != gone.rend(); ++it) text.erase(*it - 1, 1);
    auto before = [&](int32_t f) {  // removed positions before f
      return static_cast<int32_t>(std::lower_bound(gone.begin(), gone.end(), f) - gone.begin());
    };
    auto upTo = [&](int32_t f) {  // removed positions at or before f
      return static_cast<int32_t>(std::upper_bound(gone.begin(), gone.end(), f) - gone.begin());
    };
    const int32_t r = static_cast<int32_t>(gone.size());
    if (s.EndUserComment > 0) s.EndUserComment -= upTo(s.EndUserComment);
    s.StartStmt -= before(s.StartStmt);
    s.EndStmt -= upTo(s.EndStmt);
    s.StartRule -= before(s.StartRule);
    s.EndRule -= r;
    for (int k = i + 1; k <= d.StmtCount; ++k) ShiftStmtPositions(st[k], -r);
  }
}

// ---------------------------------------------------------------------------
// Removing every marked statement.

void DeleteStmts(AppState& S, int Line) {
  DocState& d = S.Doc;
  auto& st = d.Stmts;
  const int count = d.StmtCount;

  // 1. Dissolve the sub-proofs whose Conclusion goes: un-indent them and show
  //    their lines; nested closed sub-proofs keep their own state.
  for (int k = std::max(1, Line); k <= count; ++k) {
    if (!st[k].DeleteFlag || st[k].Rule != kRuleConclusion) continue;
    int p = st[k].Arg1;
    if (!ValidLine(d, p) || p >= k) continue;
    RemIndent(S, p);
    st[p].Visible = true;
    int i = p + 1;
    while (i < k) {
      if (const int c = ClosingConclusion(d, i)) {
        i = c;
      } else {
        st[i].Visible = true;
        ++i;
      }
    }
  }

  // 2. New numbers.
  int n = 0;
  for (int k = 1; k <= count; ++k) {
    if (st[k].DeleteFlag) {
      st[k].NewLineNo = 0;
    } else {
      st[k].NewLineNo = static_cast<int16_t>(++n);
    }
  }

  // 3. Links: a deleted Conclusion reopens its Premise; the rest are renumbered.
  auto newNo = [&](int k) -> int16_t { return ValidLine(d, k) ? st[k].NewLineNo : 0; };
  for (int k = 1; k <= count; ++k) {
    StmtRec& s = st[k];
    if (s.DeleteFlag) {
      if (s.Rule == kRuleConclusion && ValidLine(d, s.Arg1)) st[s.Arg1].Arg1 = 0;
    } else {
      if (s.Arg1 > 0) s.Arg1 = newNo(s.Arg1);
      if (s.Arg2 > 0) s.Arg2 = newNo(s.Arg2);
    }
  }

  // 4. Text: drop the marked blocks, rewrite the numbers and rule texts of the rest.
  std::string& text = d.ProofText;
  auto shiftLater = [&](int k, int32_t by, bool view) {
    for (int i = k + 1; i <= count; ++i) {
      ShiftStmtPositions(st[i], by);
      if (view && st[i].Visible) st[i].ViewerStartLine += by;
    }
  };
  n = 0;
  for (int k = 1; k <= count; ++k) {
    StmtRec& s = st[k];
    if (s.DeleteFlag) {
      int32_t L = s.EndRule - s.StartLine + 5;
      text.erase(s.StartLine - 1, static_cast<size_t>(L));
      shiftLater(k, -L, s.Visible);
      continue;
    }
    ++n;
    int depth = s.StartRule - s.EndStmt - 4;
    int32_t prefix = (s.EndUserComment > 0 ? s.EndUserComment + 4 : s.StartLine - 1) + depth;
    text = text.substr(0, prefix) + std::to_string(n) + "\t" + text.substr(s.StartStmt - 1);
    int32_t delta = Digits(n) - Digits(k);
    s.StartStmt += delta;
    s.EndStmt += delta;
    s.StartRule += delta;
    std::string R = RuleTextOf(s);
    int32_t oldLen = s.EndRule - (s.StartRule - delta) + 1;
    text.replace(s.StartRule - 1, static_cast<size_t>(oldLen), R);
    int32_t shift = delta + static_cast<int32_t>(R.size()) - oldLen;
    s.EndRule += shift;
    shiftLater(k, shift, s.Visible);
  }

  // 5. The last kept statement is shown.
  for (int k = count; k >= 1; --k) {
    if (!st[k].DeleteFlag) {
      st[k].Visible = true;
      break;
    }
  }

  // 6. The kept statements, in order.
  std::vector<StmtRec> kept{StmtRec{}};
  int markedBeforeInsert = 0;
  for (int k = 1; k <= count; ++k) {
    if (st[k].DeleteFlag) {
      if (k < d.InsertLine) ++markedBeforeInsert;
    } else {
      kept.push_back(st[k]);
    }
  }
  const int keptCount = static_cast<int>(kept.size()) - 1;

  // 7. Insert mode survives when its line survives.
  if (d.InsertMode) {
    bool lineGone = ValidLine(d, d.InsertLine) && st[d.InsertLine].DeleteFlag;
    if (keptCount >= 1 && !lineGone) {
      d.InsertLine -= markedBeforeInsert;
      if (S.host) S.host->SetControlCaption("InsertLineLabel", "^" + std::to_string(d.InsertLine));
    } else {
      Beep(S);
      d.InsertMode = false;
      if (S.host) {
        S.host->SetControlChecked("optInsert", false);
        S.host->SetControlCaption("InsertLineLabel", "");
        S.host->MessageBox("Insert Mode OFF", "WARNING", MsgButtons::Ok);
      }
      d.InsertLine = 0;
    }
  }

  // 8. The new table.
  d.Stmts = std::move(kept);
  d.StmtCount = keptCount;
  for (int k = 1; k <= d.StmtCount; ++k) d.Stmts[k].DeleteFlag = false;

  // 9., 10. View chain and redraw.
  RecomputeViewPositions(d);
  ResetFonts(S);

  // 11. Caret.
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
    S.Ui.WarningText = "This deletition will result in  " + std::to_string(count - 1) +
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
    S.Ui.EditingIntro = true;
    S.Ui.CommentCaption = "Edit Introduction";
    if (S.host) S.host->ShowModal("Comment");
    return;
  }

  for (int i = 1; i <= d.StmtCount; ++i) {
    StmtRec& s = st[i];
    if (!s.Visible) continue;
    const int32_t off = s.ViewerStartLine - s.StartLine;
    const int32_t numLine = s.EndUserComment > 0 ? s.EndUserComment + 5 + off : s.ViewerStartLine;
    const int32_t vs = s.StartStmt + off;
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
      S.Ui.CommentLine = i;
      S.Ui.EditingIntro = false;
      S.Ui.CommentCaption = "Edit User Comment, Line " + std::to_string(i);
      if (S.host) S.host->ShowModal("Comment");
      return;
    }
  }
  Beep(S);
}

// ---------------------------------------------------------------------------
// Choosing the line before which new statements go.

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
