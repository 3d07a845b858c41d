// Cases: from a disjunction P1 | P2 | ... | Pn (first click) and a
// conjunction of implications [P1=>Q] & [P2=>Q] & ... & [Pn=>Q] (second
// click) the rule adds Q, citing both lines. The disjuncts must match the
// antecedents one for one and in order (up to the names of bound variables),
// and every consequent must be the same Q.
#include <string>
#include <vector>

#include "view/view.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

int KindOf(const std::vector<NodeRec>& Nodes, int n) {
  return n >= 1 && n < static_cast<int>(Nodes.size()) ? Nodes[n].Rule : 0;
}

// The text of the sub-expression of node Node, without the one pair of
// written brackets that may enclose it: the operand of [P1=>Q] is P1=>Q. A
// second pair, as in [[P1=>Q]], stays, so the text is always a whole group.
TextSpan SubExprSpan(const std::vector<TokenRec>& Toks, int Node) {
  int first = 0;
  for (int i = 1; i < static_cast<int>(Toks.size()) && first == 0; ++i)
    if (Toks[i].DPtr == Node) first = i;
  if (first > 0 && IsRealToken(Toks[first]) && Toks[first].Token == "[" &&
      Toks[first].TPtr > first + 1)
    return ForwardNodeSpanIn(Toks, Node, first + 1, Toks[first].TPtr - 1);
  return ForwardNodeSpan(Toks, Node);
}

// One operand of a parsed statement: its text, checked to stand for its node.
struct Operand {
  int Node = 0;
  std::string Text;
};

bool TakeOperand(const std::string& Text, const std::vector<TokenRec>& Toks,
                 const std::vector<std::string>& Shapes, int Node, std::vector<Operand>& List) {
  Operand o;
  o.Node = Node;
  if (!OperandTextOf(Text, SubExprSpan(Toks, Node), Shapes[Node], o.Text)) return false;
  List.push_back(o);
  return true;
}

void FirstClick(AppState& S, bool& FirstClickPending) {
  int line = 0;
  std::string text;
  GetActiveStmt(S, line, text);
  if (line == 0) {
    Beep(S);
    return;
  }
  S.Doc.RuleArg1 = line;
  S.Parser.ExprText = text;
  ParseExpr(S.Parser);
  // A disjunction that does not parse is refused like any other wrong shape.
  if (!S.Parser.ParseErr.empty() || KindOf(S.Parser.Nodes, LastIndex(S.Parser.Nodes)) != kLOr) {
    Beep(S);
    return;
  }
  SaveParse(S);
  FirstClickPending = false;
  ShowStatus(S, "Cases: Click any active AND-statement of the form [P1=>Q] & [P2=>Q] & [P3=>Q] ...");
}

// The disjuncts of the kept OR statement, right to left: the chain of left
// operands is followed, so [A | B] | D gives D, B, A, while a disjunction
// standing as a right operand stays whole.
bool Disjuncts(const AppState& S, std::vector<Operand>& List) {
  const std::string& text = S.Ui.SavedExprText;
  const auto& toks = S.Ui.SavedTokens;
  const auto& nodes = S.Ui.SavedNodes;
  int n = LastIndex(nodes);
  if (KindOf(nodes, n) != kLOr) throw RuleFailure("no kept disjunction");
  const std::vector<std::string> shapes = NodeShapes(nodes);
  for (;;) {
    if (!TakeOperand(text, toks, shapes, nodes[n].Ptr2, List)) return false;
    if (KindOf(nodes, nodes[n].Ptr1) != kLOr) break;
    n = nodes[n].Ptr1;
  }
  return TakeOperand(text, toks, shapes, nodes[n].Ptr1, List);
}

// The implications of the clicked conjunction, right to left, split into
// antecedents and consequents. The statement itself must be a conjunction:
// [A=>C] | [B=>C] or [A=>C] => [B=>C] also have implications as operands,
// but do not give C from A | B.
bool Implications(const std::string& Text, const std::vector<TokenRec>& Toks,
                  const std::vector<NodeRec>& Nodes, std::vector<Operand>& Antecedents,
                  std::vector<Operand>& Consequents) {
  int n = LastIndex(Nodes);
  if (KindOf(Nodes, n) != kLAnd) return false;
  const std::vector<std::string> shapes = NodeShapes(Nodes);
  auto take = [&](int implication) {
    return KindOf(Nodes, implication) == kImply &&
           TakeOperand(Text, Toks, shapes, Nodes[implication].Ptr1, Antecedents) &&
           TakeOperand(Text, Toks, shapes, Nodes[implication].Ptr2, Consequents);
  };
  for (;;) {
    if (!take(Nodes[n].Ptr2)) return false;
    if (KindOf(Nodes, Nodes[n].Ptr1) != kLAnd) break;
    n = Nodes[n].Ptr1;
  }
  return take(Nodes[n].Ptr1);
}

void SecondClick(AppState& S) {
  // Every failure below leaves the rule waiting for another conjunction.
  const int line = ClickedStatement(S, OnParseError::Keep);
  if (line == 0) return;
  const std::string text = S.Parser.ExprText;
  const std::vector<TokenRec> toks = S.Parser.Tokens;
  const std::vector<NodeRec> nodes = S.Parser.Nodes;

  std::vector<Operand> disjuncts, antecedents, consequents;
  bool ok = Disjuncts(S, disjuncts) &&
            Implications(text, toks, nodes, antecedents, consequents) &&
            disjuncts.size() == antecedents.size();
  for (size_t i = 1; ok && i < consequents.size(); ++i)
    ok = SameStmt(S.Parser, consequents[i].Text, consequents[0].Text);
  for (size_t j = 0; ok && j < disjuncts.size(); ++j)
    ok = SameStmt(S.Parser, disjuncts[j].Text, antecedents[j].Text);
  // The new statement is the rightmost consequent, exactly as it stands.
  ok = ok && CheckRewrite(S, consequents[0].Text, NodeShapes(nodes)[consequents[0].Node]) ==
                 RewriteCheck::Ok;
  if (!ok) {
    Beep(S);
    return;
  }
  S.Doc.RuleArg2 = line;
  if (PutWithUndo(S)) EndRule(S);
}

}  // namespace

void Cases(AppState& S, bool& FirstClickPending) {
  if (FirstClickPending) {
    FirstClick(S, FirstClickPending);
  } else {
    SecondClick(S);
  }
}

}  // namespace qv
