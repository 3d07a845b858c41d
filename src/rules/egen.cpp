// The E Gen rule and the logic of its Generalize window.
#include "rules/egen.h"

#include <exception>

#include "view/view.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

// The text of the group between the brackets Open and Close: from the first
// real token after Open to the last real token before Close, or just the
// inside when that stretch is itself one typed bracket pair. Start 0 when the
// group holds no text.
TermSpan GroupSpan(const std::vector<TokenRec>& Toks, int Open, int Close) {
  int a = Open;
  while (a <= Close && !IsRealToken(Toks[a])) ++a;
  int b = Close;
  while (b >= a && !IsRealToken(Toks[b])) --b;
  if (a > Close || b < a) return {};
  TermSpan sp;
  const std::string& t = Toks[a].Token;
  if ((t == "(" || t == "[") && Toks[a].TPtr == b) {
    sp.Start = Toks[a].Position + 1;
    sp.End = TokenLast(Toks[b]) - 1;
  } else {
    sp.Start = Toks[a].Position;
    sp.End = TokenLast(Toks[b]);
  }
  if (sp.End < sp.Start) return {};
  return sp;
}

int KindOfGroup(const std::vector<TokenRec>& Toks, const std::vector<NodeRec>& Nodes, int i) {
  const int node = Toks[i].DPtr;
  if (node < 1 || node >= static_cast<int>(Nodes.size())) return 0;
  return Nodes[node].Rule;
}

// Puts Text in place of Span (1-based) of Box, in the fixed font and Colour,
// so that a name never takes the symbol font of an element-of sign before it.
void ReplaceSpan(RichBox& Box, TermSpan Span, const std::string& Text, Rgb Colour) {
  Box.SetSelStart(Span.Start - 1);
  Box.SetSelLength(Span.End - Span.Start + 1);
  Box.SetSelText(Text);
  Box.SetSelStart(Span.Start - 1);
  Box.SetSelLength(static_cast<int32_t>(Text.size()));
  Box.SetSelFontName(kFixedFont);
  Box.SetSelColor(Colour);
  Box.SetSelStart(Span.Start - 1 + static_cast<int32_t>(Text.size()));
}

}  // namespace

std::vector<TermSpan> TermOccurrences(ParserState& P, const std::string& Text,
                                      const std::vector<TokenRec>& Toks,
                                      const std::vector<NodeRec>& Nodes, const std::string& Term,
                                      int RootKind) {
  std::vector<TermSpan> found;
  int c = LastIndex(Toks);
  while (c >= 1) {
    const int open = Toks[c].TPtr;
    if (open >= 1 && open < c && KindOfGroup(Toks, Nodes, c) == RootKind) {
      const TermSpan sp = GroupSpan(Toks, open, c);
      if (sp.Start > 0 && SameStmt(P, SpanText(Text, {sp.Start, sp.End}), Term)) {
        found.push_back(sp);
        c = open - 1;  // nothing inside an occurrence is another one
        continue;
      }
    }
    --c;
  }
  return found;
}

bool IsGeneralisation(ParserState& P, const std::string& Stmt, const std::string& Term,
                      const std::string& Var, const std::string& Result) {
  const ParseResult s = ParseText(Stmt);
  const ParseResult t = ParseText(Term);
  const ParseResult v = ParseText(Var);
  const ParseResult r = ParseText(Result);
  if (!s.Err.empty() || !t.Err.empty() || !v.Err.empty() || !r.Err.empty()) return false;
  if (v.Nodes.size() != 2 || v.Nodes[1].Rule != kAtom || v.Nodes[1].Name != Var) return false;
  const int termKind = t.Nodes.back().Rule;
  if (!IsSingleTermKind(termKind)) return false;
  // Every name of the term is free in the statement (a name is either bound
  // everywhere in a statement or nowhere), so no quantifier can capture it.
  for (size_t i = 1; i < t.Nodes.size(); ++i) {
    if (t.Nodes[i].Rule != kAtom) continue;
    for (size_t k = 1; k < s.Tokens.size(); ++k)
      if (s.Tokens[k].Bound && s.Tokens[k].Token == t.Nodes[i].Name) return false;
  }
  // Var stands free in the result, so the new quantifier binds every Var.
  int varNode = 0;
  for (size_t k = 1; k < r.Tokens.size(); ++k)
    if (r.Tokens[k].Bound && r.Tokens[k].Token == Var) return false;
  for (size_t i = 1; i < r.Nodes.size(); ++i)
    if (r.Nodes[i].Rule == kAtom && r.Nodes[i].Name == Var) varNode = static_cast<int>(i);
  // Putting the term back for Var gives the statement itself.
  if (ShapeWith(r.Nodes, varNode, RootShape(t.Nodes)) != RootShape(s.Nodes)) return false;
  const std::string resultShape = RootShape(r.Nodes);
  const std::string expected = NodeShape(kEXIST, "", NodeShape(kAtom, Var, ""), resultShape);
  P.ExprText = "EXIST(" + Var + "):[" + Result + "]";
  ParseExpr(P);
  return P.ParseErr.empty() && RootShape(P.Nodes) == expected;
}

// ---- The E Gen click ----

void ExistGenSelect(AppState& S) {
  int n = 0, f = 0, l = 0;
  SelectTokenRange(S, n, f, l);
  if (n == 0 || f == 0 || l == 0 || l < f) {
    Beep(S);
    if (S.View) S.View->SetSelLength(0);
    return;
  }
  // The term's text, cut from the text the tokens were read from.
  const std::vector<TokenRec>& toks = S.Parser.Tokens;
  const std::string term =
      WithoutTabs(SpanText(S.Parser.ExprText, {toks[f].Position, TokenLast(toks[l])}));
  S.Parser.ExprText = term;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    Beep(S);
    if (S.View) S.View->SetSelLength(0);
    return;
  }
  const std::vector<NodeRec>& nodes = S.Parser.Nodes;
  const int kind = nodes.back().Rule;
  if (!IsSingleTermKind(kind)) {
    Beep(S);
    return;
  }
  // Only a term whose names are all free in the statement can be generalised.
  const std::string& freeVars = S.Doc.Stmts[n].FreeVars;
  for (size_t i = 1; i < nodes.size(); ++i) {
    if (nodes[i].Rule == kAtom && !InList(freeVars, nodes[i].Name)) {
      Beep(S);
      return;
    }
  }
  EGenOf(S).EGenTerm = term;
  EGenOf(S).EGenTermNodes = nodes;
  S.Doc.RuleArg1 = n;
  S.Doc.RuleArg2 = 0;
  EGenOf(S).GeneralizeCaption =
      " Existential Generalization:  Line " + std::to_string(n) + ", '" + term + "'";
  ClearStatus(S);
  if (S.host) S.host->ShowModal(kGeneralizeForm);
  S.Doc.RuleMode = 0;
  ClearStatus(S);
  if (S.View) S.View->SetSelLength(0);
}

// ---- The generalize window ----

Generalize::Generalize(AppState& S, RichBox& Rtb) : S_(S), rtb_(Rtb) {}

void Generalize::Guarded(const std::function<void()>& Handler) {
  try {
    Handler();
  } catch (const std::exception&) {
    Beep(S_);
    StatusLine = kUnableMessage;
  }
}

void Generalize::Form_Activate() {
  Guarded([this] { ActivateSteps(); });
}

void Generalize::ActivateSteps() {
  BoundVar.clear();
  BoundVarTextBoxEnabled = true;
  BoundVarLabelEnabled = true;
  StatementTextLabelEnabled = false;
  ContinueEnabled = false;
  ResetEnabled = false;
  SelectAllEnabled = false;
  StatusLine = "Enter bound variable";
  BoundVarText.clear();
  FocusOn = Focus::BoundVarBox;

  const DocState& d = S_.Doc;
  const int line = d.RuleArg1;
  if (line < 1 || line > d.StmtCount) throw RuleFailure("no statement to generalise");
  stmtText_ = StmtFormula(d, line);
  S_.Parser.ExprText = stmtText_;
  ParseExpr(S_.Parser);
  if (!S_.Parser.ParseErr.empty()) {
    Beep(S_);
    return;
  }
  SaveParse(S_);

  RichBox& wa = *S_.WorkArea;
  wa.SetText(stmtText_);
  ReformatWA(S_, kBlack);
  const int rootKind = EGenOf(S_).EGenTermNodes.back().Rule;
  for (const TermSpan& sp : TermOccurrences(S_.Parser, S_.Ui.SavedExprText, S_.Ui.SavedTokens,
                                            S_.Ui.SavedNodes, EGenOf(S_).EGenTerm, rootKind)) {
    wa.SetSelStart(sp.Start - 1);
    wa.SetSelLength(sp.End - sp.Start + 1);
    wa.SetSelColor(kEGenMarked);
    wa.SetSelBold(true);
  }
  wa.SetSelStart(0);
  saveRtb_ = wa.RichText();
  rtb_.SetRichText(saveRtb_);
  rtb_.SetSelStart(0);
}

void Generalize::BoundVarTextBox_Change() {
  StatementTextLabelEnabled = true;
  SelectAllEnabled = true;
  StatusLine = "Click on highlighted (blue) expression, or Select All";
}

bool Generalize::AcceptBoundVar() {
  auto refuse = [this](const std::string& message, bool focusBox) {
    Beep(S_);
    StatusLine = message;
    BoundVar.clear();
    if (focusBox) FocusOn = Focus::BoundVarBox;
    return false;
  };
  S_.Parser.ExprText = BoundVarText;
  ParseExpr(S_.Parser);
  const std::vector<NodeRec>& typed = S_.Parser.Nodes;
  if (!S_.Parser.ParseErr.empty() || typed.size() != 2 || typed[1].Rule != kAtom)
    return refuse("Invalid bound variable, syntax error", true);
  // The name itself: blanks typed around it are no part of it.
  BoundVar = typed[1].Name;

  S_.Parser.ExprText = ConvertEpsilon(rtb_);
  ParseExpr(S_.Parser);
  if (!S_.Parser.ParseErr.empty()) return refuse("PARSER ERROR: " + S_.Parser.ParseErr, false);
  // The variable may stand in the statement only when it is the term itself.
  const std::vector<NodeRec>& term = EGenOf(S_).EGenTermNodes;
  const bool termIsVar = term.size() == 2 && term[1].Rule == kAtom && term[1].Name == BoundVar;
  if (!termIsVar) {
    for (size_t i = 1; i < S_.Parser.Tokens.size(); ++i)
      if (S_.Parser.Tokens[i].Token == BoundVar)
        return refuse("Bound variable already occurs in statement", true);
  }
  BoundVarTextBoxEnabled = false;
  BoundVarLabelEnabled = false;
  return true;
}

bool Generalize::ParseBox() {
  S_.Parser.ExprText = ConvertEpsilon(rtb_);
  ParseExpr(S_.Parser);
  if (!S_.Parser.ParseErr.empty()) {
    StatusLine = "PARSER ERROR: " + S_.Parser.ParseErr;
    return false;
  }
  SaveParse(S_);
  return true;
}

void Generalize::RTB_Click() {
  Guarded([this] { ClickSteps(); });
}

void Generalize::ClickSteps() {
  if (!StatementTextLabelEnabled) {
    Beep(S_);
    return;
  }
  StatusLine = "Click on highlighted (blue) expression";
  if (BoundVar.empty() && !AcceptBoundVar()) return;
  ResetEnabled = true;
  if (!ParseBox()) return;
  const int p = rtb_.SelStart() + 1;
  const std::vector<TokenRec>& toks = S_.Ui.SavedTokens;
  const std::vector<NodeRec>& nodes = S_.Ui.SavedNodes;
  const int rootKind = EGenOf(S_).EGenTermNodes.back().Rule;
  // The outermost occurrence that holds the click.
  for (int i = 1; i <= LastIndex(toks); ++i) {
    const int close = toks[i].TPtr;
    if (!(i < close && close <= LastIndex(toks)) || KindOfGroup(toks, nodes, i) != rootKind) continue;
    const TermSpan sp = GroupSpan(toks, i, close);
    if (sp.Start == 0 || p < sp.Start || p > sp.End) continue;
    if (!SameStmt(S_.Parser, SpanText(S_.Ui.SavedExprText, {sp.Start, sp.End}), EGenOf(S_).EGenTerm))
      continue;
    ReplaceSpan(rtb_, sp, BoundVar, kEGenClicked);
    ContinueEnabled = true;
    ResetEnabled = true;
    return;
  }
  Beep(S_);
}

void Generalize::cmdSelectAll_Click() {
  Guarded([this] { SelectAllSteps(); });
}

void Generalize::SelectAllSteps() {
  StatusLine = "Click on highlighted (blue) expression";
  if (BoundVar.empty() && !AcceptBoundVar()) return;
  ResetEnabled = true;
  if (!ParseBox()) return;
  const int rootKind = EGenOf(S_).EGenTermNodes.back().Rule;
  // Right to left, so the spans still to come keep their places.
  for (const TermSpan& sp : TermOccurrences(S_.Parser, S_.Ui.SavedExprText, S_.Ui.SavedTokens,
                                            S_.Ui.SavedNodes, EGenOf(S_).EGenTerm, rootKind))
    ReplaceSpan(rtb_, sp, BoundVar, kEGenAllReplaced);
  ContinueEnabled = true;
  ResetEnabled = true;
  SelectAllEnabled = false;
  StatementTextLabelEnabled = false;
  rtb_.SetSelStart(0);
  StatusLine.clear();
  FocusOn = Focus::Statement;
}

void Generalize::cmdReset_Click() {
  Guarded([this] {
    rtb_.SetRichText(saveRtb_);
    rtb_.SetSelStart(0);
    BoundVar.clear();
    BoundVarText.clear();
    BoundVarTextBoxEnabled = true;
    BoundVarLabelEnabled = true;
    ContinueEnabled = false;
    ResetEnabled = false;
    SelectAllEnabled = false;
    StatusLine = "Enter bound variable";
    FocusOn = Focus::BoundVarBox;
  });
}

void Generalize::cmdContinue_Click() {
  Guarded([this] { ContinueSteps(); });
}

void Generalize::ContinueSteps() {
  auto parseError = [this] {
    Beep(S_);
    StatusLine = "PARSER ERROR: " + S_.Parser.ParseErr;
    FocusOn = Focus::Statement;
  };
  if (BoundVar.empty()) {
    Beep(S_);
    return;
  }
  const std::string result = ConvertEpsilon(rtb_);
  S_.Parser.ExprText = result;
  ParseExpr(S_.Parser);
  if (!S_.Parser.ParseErr.empty()) return parseError();
  const std::string text = "EXIST(" + BoundVar + "):[" + result + "]";
  S_.Parser.ExprText = text;
  ParseExpr(S_.Parser);
  if (!S_.Parser.ParseErr.empty()) return parseError();
  // Whatever the box holds, only a true generalisation of the statement is put.
  if (!IsGeneralisation(S_.Parser, stmtText_, EGenOf(S_).EGenTerm, BoundVar, result)) {
    Beep(S_);
    StatusLine = kUnableMessage;
    return;
  }
  S_.Parser.ExprText = text;
  S_.Doc.RuleMode = kRuleEGen;
  S_.Doc.RuleArg2 = 0;
  if (!PutWithUndo(S_)) {
    Beep(S_);
    StatusLine = S_.Parser.ParseErr.empty() ? kUnableMessage
                                            : "PARSER ERROR: " + S_.Parser.ParseErr;
    return;
  }
  Hide();
  ClearStatus(S_);
  S_.Doc.RuleMode = 0;
}

void Generalize::cmdCancel_Click() {
  S_.Doc.RuleMode = 0;
  Hide();
  ClearStatus(S_);
}

bool Generalize::Form_KeyPress(char KeyAscii) {
  if (KeyAscii != 27) return false;
  cmdCancel_Click();
  return true;
}

void Generalize::Form_QueryUnload() { S_.Doc.RuleMode = 0; }

void Generalize::Hide() {
  if (OnHide) OnHide();
}

}  // namespace qv
