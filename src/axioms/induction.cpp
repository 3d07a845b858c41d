// The Induction Shortcut and the logic of its induction window.
#include "axioms/induction.h"

#include <exception>

#include "axioms/axioms.h"
#include "view/view.h"
#include "expr/expr.h"
#include "platform/host.h"
#include "rules/frame.h"

namespace qv {

namespace {

// The schema of induction holds only for the natural numbers: every number
// axiom, the induction axiom among them, must stand on an active line above
// the insertion point. n and 1 in some other axiom or premise do not make n
// the natural numbers.
bool NumberAxiomsAbove(AppState& S) {
  const DocState& d = S.Doc;
  const int limit = InsertionLimit(d);
  for (const std::string& axiom : NumberAxiomTexts()) {
    bool found = false;
    for (int j = ActiveFrom(d, 1); j < limit && !found; j = ActiveFrom(d, j + 1))
      found = d.Stmts[j].Rule == kRuleAxiom && SameStmt(S.Parser, StmtFormula(d, j), axiom);
    if (!found) return false;
  }
  return true;
}

}  // namespace

void optAdd_Click(AppState& S) {
  InductionWindowOf(S).InductionKind = kSuccessorPlusOne;
  S.Doc.RuleMode = kRuleInduction;
  ClearStatus(S);
  // n and 1 may come from different lines; closed subproofs count too.
  bool foundN = false, found1 = false;
  const int limit = InsertionLimit(S.Doc);
  for (int i = 1; i < limit; ++i) {
    const StmtRec& s = S.Doc.Stmts[i];
    if (s.Rule != kRulePremise && s.Rule != kRuleAxiom) continue;
    if (s.FreeVars.find(" n ") != std::string::npos) foundN = true;
    if (s.FreeVars.find(" 1 ") != std::string::npos) found1 = true;
  }
  const char* refusal = nullptr;
  if (!foundN || !found1)
    refusal = "Induction Shortcut: No reference to n or 1 in a previous axiom or active premise";
  else if (!NumberAxiomsAbove(S))
    refusal = "Induction Shortcut: Number Axioms not found on previous lines. Consider another insertion point.";
  if (refusal == nullptr) {
    S.Doc.RuleArg1 = 0;
    S.Doc.RuleArg2 = 0;
    if (S.host) S.host->ShowModal(kInductionForm);
    ClearStatus(S);
  } else {
    if (S.host) S.host->Beep();
    ShowStatus(S, refusal);
  }
  S.Doc.RuleMode = 0;
}

InductionForm::InductionForm(AppState& S, RichBox& box) : CriterionForm(S, box, EditorKind::Induction) {}

void InductionForm::Activate() {
  ClearStatus(S_);
  Reset();
  Highlighting = false;
  editor_.UndoOn = false;
  editor_.RedoOn = false;
  box_.SetDefaultFont(kEditorFont, S_.Ui.FontSize);
}

void InductionForm::Reset() {
  // The editor's one-level undo copy: the property as it was before.
  S_.Ui.UndoRTF = box_.RichText();
  editor_.UndoOn = true;
  BoundVarTextBox.clear();
  box_.SetText("");
  StatusLine.clear();
  Focus = FormFocus::NameBox;
}

void InductionForm::Cancel() {
  S_.Doc.RuleMode = 0;
  if (OnHide) OnHide();
}

void InductionForm::ContinueChecked() {
  ParserState& P = S_.Parser;
  Focus = FormFocus::None;

  // The variable.
  BoundVarTextBox = TrimBlanks(BoundVarTextBox);
  const std::string x = BoundVarTextBox;
  P.ExprText = x;
  ParseExpr(P);
  if (!P.ParseErr.empty() || P.Nodes.size() != 2 || P.Nodes[1].Rule != kAtom || x == "1" || x == "n")
    return Refuse("Invalid bound variable", FormFocus::NameBox);

  // The property: a formula.
  if (!ParseExpression(P)) {
    StatusLine = P.ParseErr;
    if (S_.host) S_.host->Beep();
    Highlighting = true;
    PaintToken(P, box_, P.ParseErrPos);
    Highlighting = false;
    Focus = FormFocus::Expression;
    box_.SetFocus();
    return;
  }
  const NodeRec root = P.Nodes.back();
  if (!IsFormulaKind(root.Rule)) {
    Refuse("Expecting a logical expression", FormFocus::Expression);
    box_.SetSelStart(0);
    return;
  }
  const std::string prop = P.ExprText;
  const std::vector<TokenRec> toks = P.Tokens;
  const std::vector<NodeRec> nodes = P.Nodes;

  // Every other free name of the property is free in an active line above.
  for (size_t i = 1; i < nodes.size(); ++i) {
    if (nodes[i].Rule != kAtom) continue;
    const std::string& v = nodes[i].Name;
    if (v == x) continue;
    bool ok = false;
    for (size_t t = 1; t < toks.size() && !ok; ++t)
      if (toks[t].Token == v) {
        ok = toks[t].Bound;
        break;
      }
    if (!ok) ok = ActiveLineWithFree(S_.Doc, v, InsertionLimit(S_.Doc)) > 0;
    if (!ok) {
      Refuse("Variable '" + v + "' not found in an axiom or active premise", FormFocus::Expression);
      box_.SetSelStart(0);
      return;
    }
  }

  // The substitution below replaces every token x; it is the substitution
  // of a term for the variable only when x is nowhere bound in the property.
  // (Where x names a function, "(x+1)(...)" does not parse, so the check of
  // the built statement below refuses it.)
  for (size_t t = 1; t < toks.size(); ++t)
    if (toks[t].Token == x && toks[t].Bound) return Refuse("Invalid bound variable", FormFocus::NameBox);

  S_.Ui.SavedExprText = prop;
  std::string p1 = ReplaceTokens(prop, toks, x, "1");
  std::string ps = prop;
  if (InductionWindowOf(S_).InductionKind == kSuccessorNext) ps = ReplaceTokens(prop, toks, x, "next(" + x + ")");
  else if (InductionWindowOf(S_).InductionKind == kSuccessorPlusOne) ps = ReplaceTokens(prop, toks, x, "(" + x + "+1)");
  std::string px = prop;
  if (root.Rule >= kLAnd && root.Rule <= kIff) {
    p1 = "[" + p1 + "]";
    px = "[" + px + "]";
    ps = "[" + ps + "]";
  }
  const std::string text = p1 + "\r\n& ALL(" + x + "):[" + x + "@n&" + px + "=>" + ps + "]\r\n=> ALL(" + x + "):[" +
                           x + "@n=>" + px + "]";
  // The same statement with every part bracketed: the text above must read
  // as exactly this.
  const std::string expected = "[[" + p1 + "] & ALL(" + x + "):[[" + x + "@n] & [" + px + "] => [" + ps +
                               "]]] => ALL(" + x + "):[[" + x + "@n] => [" + px + "]]";
  const ParseResult want = ParseText(expected);
  const RewriteCheck check =
      want.Err.empty() ? CheckRewrite(S_, text, RootShape(want.Nodes)) : RewriteCheck::ParseError;
  if (check != RewriteCheck::Ok) return Refuse("Invalid bound variable", FormFocus::NameBox);

  S_.Parser.ExprText = text;
  if (!PutWithUndo(S_)) return Refuse("Invalid bound variable", FormFocus::NameBox);
  S_.Doc.RuleMode = 0;
  if (OnHide) OnHide();
}

}  // namespace qv
