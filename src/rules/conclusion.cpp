// The Conclusion rule: closes the innermost open subproof. The premise P and
// the subproof's last line Q give P => Q, universally quantified over the
// premise's new variables with Q existentially quantified over the variables
// introduced inside; a contradiction Q gives the negation of P instead. The
// premise is linked to its Conclusion and the subproof is indented one TAB.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "view/view.h"
#include "platform/richbox.h"
#include "rules/conclusion.h"
#include "rules/frame.h"
#include "rules/inputbox.h"
#include "rules/rules.h"

namespace qv {
namespace {

// Ends the rule with a message on the status line.
struct Refusal {
  std::string Message;
};

[[noreturn]] void Refuse(const std::string& Message) { throw Refusal{Message}; }

void ParseOrRefuse(AppState& S, const std::string& Text) {
  S.Parser.ExprText = Text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) Refuse("PARSER ERROR: " + S.Parser.ParseErr);
}

// The innermost open premise above line T. A closed subproof is passed over
// whole, from its Conclusion to the line above its premise, so a premise
// inside it (one reopened by a deletion included) is never taken.
int FindOpenPremise(const DocState& d, int T) {
  const int p = InnermostPremise(d, T - 1);
  return p > 0 && d.Stmts[p].Arg1 == 0 ? p : 0;
}

// Q is A & ~A, ~A & A, A <=> ~A (either way round), or a negated identity
// ~t=t. Decided on Q's own parse in S.Parser.
bool IsContradiction(AppState& S) {
  const std::vector<TokenRec> toks = S.Parser.Tokens;
  const std::vector<NodeRec>& nodes = S.Parser.Nodes;
  const int root = LastIndex(nodes);
  const int U = LastIndex(toks);
  if (root < 1 || U < 4) return false;
  const int kind = nodes[root].Rule;
  if (kind == kLAnd || kind == kIff) {
    if (toks[2].TPtr < 1 || toks[U - 1].TPtr < 1) return false;
    const std::string L = RealTokenText(toks, 3, toks[2].TPtr - 1);
    const std::string R = RealTokenText(toks, toks[U - 1].TPtr + 1, U - 2);
    return SameStmt(S.Parser, "~(" + L + ")", R) || SameStmt(S.Parser, L, "~(" + R + ")");
  }
  if (kind == kLNeg && root >= 2 && nodes[root - 1].Rule == kEQ) {
    if (toks[4].TPtr < 1) return false;
    const std::string L = RealTokenText(toks, 4, toks[4].TPtr);
    const std::string R = RealTokenText(toks, toks[4].TPtr + 2, U - 2);
    return SameStmt(S.Parser, L, R);
  }
  return false;
}

// An E Spec line of the subproof p..q gave x as its witness. The scope
// records of the subproof's lines may still say x was in use: a line put
// before the premise was inserted above it saw no open premise, and at the
// top level every name counts as in scope. The witness stands for an object
// chosen inside the subproof, so it never leaves the subproof free.
bool WitnessInside(const DocState& d, int p, int q, const std::string& x) {
  for (int k = p + 1; k <= q; ++k)
    if (IsWitnessOf(d.Stmts[k], x)) return true;
  return false;
}

std::string InconsistentVariable(const std::string& x, int line) {
  return "Conclusion Rule: Inconsistent usage of variable '" + x + "' on line " +
         std::to_string(line) + ". Consider deleting that line.";
}

// The walk over the lines from T that stay at the subproof's level once it is
// closed: it stops at an open premise and steps over closed subproofs to
// their Conclusions.
template <typename Visit>
void WalkLaterLines(const DocState& d, int T, Visit visit) {
  for (int v = ActiveFrom(d, T); v <= d.StmtCount; v = ActiveFrom(d, v + 1)) {
    const StmtRec& s = d.Stmts[v];
    if (s.Rule == kRulePremise && s.Arg1 == 0) return;
    visit(v);
  }
}

// Lines T.. leave the subproof when the Conclusion is inserted before them:
// they must not cite its lines nor depend on variables that its closing
// puts out of reach.
void CheckLaterLines(const DocState& d, int p, int T) {
  for (int i = T; i <= d.StmtCount; ++i) {
    for (int a : {d.Stmts[i].Arg1, d.Stmts[i].Arg2}) {
      if (p <= a && a < T)
        Refuse("Conclusion Rule: Invalid reference to line " + std::to_string(a) +
               " on subsequent line " + std::to_string(i));
    }
  }
  WalkLaterLines(d, T, [&](int v) {
    for (const std::string& x : VarListNames(d.Stmts[v].FreeVars))
      if (!InList(d.Stmts[v].ScopedVars, x)) Refuse(InconsistentVariable(x, v));
  });
  WalkLaterLines(d, T, [&](int w) {
    for (const std::string& x : VarListNames(d.Stmts[w].FreeVars)) {
      if (!InList(d.Stmts[w].ScopedVars, x)) continue;
      // The lines between the enclosing open premise and p. A Conclusion
      // there brings in no name of its own: each name left free in it was
      // free above its subproof, on a line this walk reaches next or on the
      // enclosing premise, whose names stay in scope. So it is passed over
      // with its subproof, as that premise is.
      for (int y = ActiveUpFrom(d, p - 1); y >= 1; y = ActiveAbove(d, y)) {
        const StmtRec& s = d.Stmts[y];
        if (s.Rule == kRulePremise && s.Arg1 == 0) break;
        if (s.Rule == kRuleConclusion) continue;
        if (InList(s.FreeVars, x) && !InList(s.ScopedVars, x)) Refuse(InconsistentVariable(x, w));
      }
    }
  });
}

}  // namespace

// Adds one leading TAB to every line of the blocks p..q: before the block,
// after each line break of its comment, before its number line, after each
// line break of its formula and before its rule text. The positions of these
// blocks and of every later one move with the inserted characters.
void IndentSubproof(DocState& d, int p, int q) {
  std::string& T = d.ProofText;
  std::vector<int32_t> ins;  // original 1-based positions a TAB goes in front of
  // The line feeds of T from 1-based position y to `last`: a TAB after each.
  auto afterLineFeeds = [&](int32_t y, int32_t last) {
    for (size_t lf = T.find('\n', static_cast<size_t>(y - 1));
         lf != std::string::npos && lf < static_cast<size_t>(last); lf = T.find('\n', lf + 1))
      ins.push_back(static_cast<int32_t>(lf) + 2);
  };
  for (int s = p; s <= q; ++s) {
    const StmtRec& st = d.Stmts[s];
    ins.push_back(st.StartLine);
    if (st.EndUserComment > 0) {
      afterLineFeeds(st.StartLine, st.EndUserComment);
      ins.push_back(st.EndUserComment + 5);
    }
    afterLineFeeds(st.StartStmt, st.EndStmt);
    ins.push_back(st.StartRule);
  }
  std::sort(ins.begin(), ins.end());

  // The TABs go in in place, from the end: the text is not copied, and it
  // keeps the room it has to grow (the Conclusion is appended next).
  const size_t oldSize = T.size();
  T.resize(oldSize + ins.size());
  size_t src = oldSize, dst = T.size();
  for (size_t k = ins.size(); k-- > 0;) {
    const size_t pos = std::min(static_cast<size_t>(std::max(ins[k] - 1, 0)), src);
    dst -= src - pos;
    std::memmove(T.data() + dst, T.data() + pos, src - pos);
    T[--dst] = '\t';
    src = pos;
  }

  // A character at x moves by the TABs inserted at or before it; a block's
  // own first position stays on the TAB put in front of it.
  auto upTo = [&](int32_t x) {
    return x + static_cast<int32_t>(std::upper_bound(ins.begin(), ins.end(), x) - ins.begin());
  };
  auto before = [&](int32_t x) {
    return x + static_cast<int32_t>(std::lower_bound(ins.begin(), ins.end(), x) - ins.begin());
  };
  for (int s = p; s <= d.StmtCount; ++s) {
    StmtRec& st = d.Stmts[s];
    st.StartLine = before(st.StartLine);
    if (st.EndUserComment > 0) st.EndUserComment = upTo(st.EndUserComment);
    st.StartStmt = upTo(st.StartStmt);
    st.EndStmt = upTo(st.EndStmt);
    st.StartRule = upTo(st.StartRule);
    st.EndRule = upTo(st.EndRule);
  }
  RecomputeViewPositions(d);
}

namespace {

void RunConclusion(AppState& S) {
  DocState& d = S.Doc;
  FocusView(S);
  ClearStatus(S);
  d.RuleMode = kRuleConclusion;

  const int t = InsertionLimit(d);
  const int p = t >= 2 ? FindOpenPremise(d, t) : 0;
  if (p == 0) Refuse("Conclusion Rule: No active premise found");
  d.RuleArg1 = p;
  const int q = t - 1;

  const std::string P = StmtFormula(d, p);
  ParseOrRefuse(S, P);
  const std::string Q = StmtFormula(d, q);
  ParseOrRefuse(S, Q);
  S.Ui.SavedNodes = S.Parser.Nodes;
  S.Ui.SavedExprText = Q;

  const bool contradiction = IsContradiction(S);

  InputBoxState& ui = InputBoxOf(S);
  ui.BoundVarNames.assign(1, std::string{});
  ui.ExistVarNames.assign(1, std::string{});
  ui.NumBoundVars = ui.NumExistVars = 0;
  for (const std::string& x : VarListNames(d.Stmts[p].FreeVars)) {
    if (InList(d.Stmts[p].ScopedVars, x)) continue;
    ui.BoundVarNames.push_back(x);
    ++ui.NumBoundVars;
  }
  if (!contradiction) {
    for (const std::string& x : VarListNames(d.Stmts[q].FreeVars)) {
      if (InList(d.Stmts[p].FreeVars, x)) continue;
      if (InList(d.Stmts[q].ScopedVars, x) && !WitnessInside(d, p, q, x)) continue;
      ui.ExistVarNames.push_back(x);
      ++ui.NumExistVars;
    }
  }

  std::string X;
  if (!contradiction) {
    std::string C = Q;
    for (int k = ui.NumExistVars; k >= 1; --k) C = "EXIST(" + ui.ExistVarNames[k] + "):[" + C + "]";
    std::string I = P.size() + C.size() >= 50 ? "[" + P + "]\r\n=> [" + C + "]"
                                              : "[" + P + "] => [" + C + "]";
    X = "[" + I + "]";
    for (int k = ui.NumBoundVars; k >= 1; --k) X = "ALL(" + ui.BoundVarNames[k] + "):" + X;
  } else {
    X = "[[" + P + "]]";
    for (int k = ui.NumBoundVars; k >= 1; --k) X = "EXIST(" + ui.BoundVarNames[k] + "):" + X;
    X = "~" + X;
  }
  S.Parser.ExprText = X;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty())
    Refuse("Conclusion Rule: Inconsistent usage of same variable name in lines " +
           std::to_string(p) + " and " + std::to_string(q) +
           ". Try letters a-j for bound variables, k-z for free variables.");

  if (d.InsertMode) CheckLaterLines(d, p, t);

  const int total = ui.NumBoundVars + ui.NumExistVars;
  if (total > 0) {
    SaveParse(S);
    std::string list;
    for (int k = 1; k <= ui.NumBoundVars; ++k) list += (list.empty() ? "" : ", ") + ui.BoundVarNames[k];
    for (int k = 1; k <= ui.NumExistVars; ++k) list += (list.empty() ? "" : ", ") + ui.ExistVarNames[k];
    ui.Caption = "Conclusion Rule: Generalizing on " + list;
    ui.Label1 = total == 1 ? "Enter name of bound variable"
                                    : "Enter names of " + std::to_string(total) +
                                          " bound variables, separated by commas";
    ui.Text1 = list;
    ui.Label2 = "";
    if (!ShowInputBox(S)) d.RuleMode = 0;
    if (d.RuleMode == 0) return;  // cancelled: nothing changes, no message
  }

  // Commit: one undo snapshot covers the link, the indentation and the new line.
  ProofTransaction tx(S);  // takes the undo snapshot
  try {
    d.Stmts[p].Arg1 = static_cast<int16_t>(t);
    IndentSubproof(d, p, q);
    d.RuleMode = kRuleConclusion;
    d.RuleArg1 = p;
    d.RuleArg2 = 0;
    if (!PutStmt(S)) {
      tx.Rollback();
      d.RuleMode = 0;
      FocusView(S);
      return;
    }
  } catch (...) {
    tx.Rollback();
    throw;
  }
  d.RuleMode = 0;
  FocusView(S);
}

}  // namespace

void optConclusion_Click(AppState& S) {
  try {
    RunConclusion(S);
  } catch (const Refusal& r) {
    Beep(S);
    ShowStatus(S, r.Message);
    S.Doc.RuleMode = 0;
    FocusView(S);
  } catch (...) {
    Beep(S);
    S.Doc.RuleMode = 0;
    ShowStatus(S, std::string("Conclusion Rule: ") + kUnableMessage);
  }
}

}  // namespace qv
