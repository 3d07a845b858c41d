// The logic of the subset-axiom window and what it shares with the induction window.
#include "axioms/subset.h"

#include <exception>

#include "view/view.h"
#include "expr/expr.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {

// ---- Shared by the subset and induction windows ----

void PaintToken(const ParserState& P, RichBox& Box, int Pos) {
  if (!PaintTokenRed(P, Box, Pos)) return;
  Box.SetFocus();
  Box.SetSelStart(Pos - 1);
}

namespace {

// Every name (variable, function or predicate) that a parse mentions.
bool Mentions(const std::vector<NodeRec>& Nodes, const std::string& Name) {
  for (size_t i = 1; i < Nodes.size(); ++i)
    if (Nodes[i].Name == Name) return true;
  return false;
}

int FirstTokenNamed(const std::vector<TokenRec>& Toks, const std::string& Name) {
  for (size_t t = 1; t < Toks.size(); ++t)
    if (Toks[t].Token == Name) return static_cast<int>(t);
  return 0;
}

}  // namespace

// ---- The window ----

CriterionForm::CriterionForm(AppState& S, RichBox& box, EditorKind kind)
    : S_(S), box_(box), editor_(S, box, kind) {}

void CriterionForm::BoxChanged() {
  std::string text = box_.Text();
  if (text == seenText_) return;
  seenText_ = std::move(text);
  if (ClearsStatusOnChange()) StatusLine.clear();
}

bool CriterionForm::FormKeyPress(char c) {
  if (c != kKeyEsc) return false;
  Cancel();
  return true;
}

bool CriterionForm::ParseExpression(ParserState& P) {
  box_.SetSelStart(0);
  box_.SetSelLength(box_.TextLength());
  box_.SetSelColor(kBlack);
  P.ExprText = ConvertEpsilon(box_);
  ParseExpr(P);
  return P.ParseErr.empty();
}

void CriterionForm::Refuse(const std::string& message, FormFocus focus) {
  if (S_.host) S_.host->Beep();
  StatusLine = message;
  Focus = focus;
  if (focus == FormFocus::Expression) box_.SetFocus();
}

void CriterionForm::Continue() {
  // The message Continue leaves is about the text it checks: it stays until
  // that text is edited, also when the box reports an edit made before
  // Continue only after it.
  seenText_ = box_.Text();
  try {
    ContinueChecked();
  } catch (const std::exception&) {
    if (S_.host) S_.host->Beep();
    StatusLine = kUnableMessage;
  }
}

SubsetForm::SubsetForm(AppState& S, RichBox& box) : CriterionForm(S, box, EditorKind::Subset) {}

void SubsetForm::Activate() {
  ClearStatusOnChange = true;
  editor_.ParseMarked = false;
  ClearStatus(S_);
  ClearForm();
  editor_.UndoOn = false;
  editor_.RedoOn = false;
  box_.SetDefaultFont(kEditorFont, S_.Ui.FontSize);
}

void SubsetForm::ClearForm() {
  editor_.Clear();
  SubsetName.clear();
  BoundVars.clear();
  StatusLine.clear();
  Focus = FormFocus::NameBox;
}

void SubsetForm::Cancel() {
  S_.Doc.RuleMode = 0;
  ClearStatus(S_);
  if (OnHide) OnHide();
}

void SubsetForm::QueryUnload() {
  ClearStatus(S_);
  S_.Doc.RuleMode = 0;
}

void SubsetForm::ContinueChecked() {
  ParserState& P = S_.Parser;
  const int arity = SubsetWindowOf(S_).SubsetArity;
  const std::string& U = SubsetWindowOf(S_).SubsetSetText;
  editor_.ParseMarked = true;  // the next typed character repaints the text black
  StatusLine.clear();
  Focus = FormFocus::None;

  // The subset's name: one variable.
  P.ExprText = TrimBlanks(SubsetName);
  ParseExpr(P);
  if (!P.ParseErr.empty() || P.Nodes.size() != 2 || P.Nodes[1].Rule != kAtom)
    return Refuse("Invalid subset name", FormFocus::NameBox);
  const std::string name = P.Nodes[1].Name;
  if (name == U) return Refuse("Name of subset cannot be " + U, FormFocus::NameBox);
  // The set itself must not mention the subset's name: the quantifier over
  // the subset would capture it.
  const ParseResult setParse = ParseText(U);
  if (!setParse.Err.empty()) return Refuse("Invalid set " + U, FormFocus::NameBox);
  if (Mentions(setParse.Nodes, name))
    return Refuse("Name of subset cannot appear in " + U, FormFocus::NameBox);

  // The bound variables of an element: one name, or arity + 1 distinct names.
  P.ExprText = BoundVars;
  ParseExpr(P);
  if (!P.ParseErr.empty() || !IsNameList(P.Nodes, arity + 1))
    return Refuse("Invalid list of bound variables", FormFocus::VarBox);
  std::vector<std::string> vars;
  for (int i = 1; i <= arity + 1; ++i) vars.push_back(P.Nodes[i].Name);
  for (const std::string& v : vars)
    if (v == U) return Refuse(U + " cannot be in list bound variables", FormFocus::VarBox);
  for (const std::string& v : vars)
    if (v == name) return Refuse("Name of subset '" + name + "'in list bound variables", FormFocus::VarBox);
  for (const std::string& v : vars)
    if (Mentions(setParse.Nodes, v))
      return Refuse("Bound variable '" + v + "' cannot appear in " + U, FormFocus::VarBox);
  const std::vector<NodeRec> varNodes = P.Nodes;

  // The selection criterion: a formula.
  if (!ParseExpression(P)) {
    Refuse(P.ParseErr, FormFocus::Expression);
    ClearStatusOnChange = false;
    PaintToken(P, box_, P.ParseErrPos);
    ClearStatusOnChange = true;
    return;
  }
  const NodeRec root = P.Nodes.back();
  if (!IsFormulaKind(root.Rule)) return Refuse("Expecting a logical expression", FormFocus::Expression);
  std::string crit = P.ExprText;
  const std::vector<TokenRec> critToks = P.Tokens;
  const std::vector<NodeRec> critNodes = P.Nodes;

  // Every free name of the criterion is a bound variable above, or is free
  // in an active line.
  for (size_t i = 1; i < critNodes.size(); ++i) {
    if (critNodes[i].Rule != kAtom) continue;
    const std::string& x = critNodes[i].Name;
    bool ok = false;
    for (size_t k = 1; k < varNodes.size() && !ok; ++k) ok = varNodes[k].Rule == kAtom && varNodes[k].Name == x;
    const int t = FirstTokenNamed(critToks, x);
    if (!ok && t > 0 && critToks[t].Bound) ok = true;
    if (!ok && InsertionLimit(S_.Doc) > 1 && x == name) ok = true;
    if (!ok) ok = ActiveLineWithFree(S_.Doc, x, InsertionLimit(S_.Doc)) > 0;
    if (!ok) {
      box_.SetSelStart(0);
      if (t > 0) {
        ClearStatusOnChange = false;
        PaintToken(P, box_, critToks[t].Position);
        ClearStatusOnChange = true;
      }
      return Refuse("Variable " + x + " not found in any previous active statement", FormFocus::Expression);
    }
  }

  // The criterion must not speak of the subset it defines.
  if (Mentions(critNodes, name)) {
    const int t = FirstTokenNamed(critToks, name);
    if (t > 0) {
      P.ParseErrPos = critToks[t].Position;
      ClearStatusOnChange = false;
      PaintToken(P, box_, critToks[t].Position);
      ClearStatusOnChange = true;
    }
    return Refuse("Invalid reference to name of subset '" + name + "'", FormFocus::Expression);
  }

  // The axiom.
  if (root.Rule == kLAnd || root.Rule == kLOr) crit = "[" + crit + "]";
  const std::string primes(static_cast<size_t>(arity), '\'');
  std::string text;
  std::string expected;  // the same statement with every part bracketed
  if (arity == 0) {
    const std::string& x = vars[0];
    text = "EXIST(" + name + "):[Set(" + name + ") & ALL(" + x + "):[" + x + "@" + name + " <=> [" + x + "@" +
           U + " & [" + crit + "]]]]";
    expected = "EXIST(" + name + "):[Set(" + name + ") & ALL(" + x + "):[[" + x + "@" + name + "] <=> [[" + x +
               "@(" + U + ")] & [" + crit + "]]]]";
  } else {
    std::string quants, tuple;
    for (size_t i = 0; i < vars.size(); ++i) {
      quants += "ALL(" + vars[i] + "):";
      tuple += (i ? "," : "") + vars[i];
    }
    text = "EXIST(" + name + "):[Set" + primes + "(" + name + ") & " + quants + "[(" + tuple + ")@" + name;
    text += text.size() <= 50 ? " " : "\r\n";
    text += "<=> [(" + tuple + ")@" + U + " & [" + crit + "]]]]";
    expected = "EXIST(" + name + "):[Set" + primes + "(" + name + ") & " + quants + "[[(" + tuple + ")@" + name +
               "] <=> [[(" + tuple + ")@(" + U + ")] & [" + crit + "]]]]";
  }
  const ParseResult want = ParseText(expected);
  const RewriteCheck check =
      want.Err.empty() ? CheckRewrite(S_, text, RootShape(want.Nodes)) : RewriteCheck::ParseError;
  if (check != RewriteCheck::Ok) {
    Refuse("Inconsistent usage of bound variables", FormFocus::Expression);
    box_.SetSelLength(0);
    return;
  }

  S_.Parser.ExprText = text;
  if (!PutWithUndo(S_)) {
    Refuse("Inconsistent usage of bound variables", FormFocus::Expression);
    return;
  }
  S_.Doc.RuleMode = 0;
  ClearStatus(S_);
  if (OnHide) OnHide();
}

}  // namespace qv
