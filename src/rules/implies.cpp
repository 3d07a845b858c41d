// Implies, Iff and Or: one click rewrites a whole active statement by its
// root connective into an equivalent form of other connectives, and back:
//   Implies  P=>Q        <->  ~[[P]&~[Q]]
//   Iff      P<=>Q       <->  [[P]=>[Q]]&[[Q]=>[P]]
//   Or       P|Q         <->  ~[~[P]&~[Q]]
// Every result is parsed and compared with the statement it is meant to be
// before anything is put.
#include <string>
#include <vector>

#include "view/view.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

// The clicked statement with its parse and the shapes of its nodes.
struct Clicked {
  int Line = 0;
  std::string T;
  std::vector<TokenRec> Toks;
  std::vector<NodeRec> Nodes;
  std::vector<std::string> Shapes;
  int Root = 0;

  int Kind(int n) const { return n >= 1 && n < static_cast<int>(Nodes.size()) ? Nodes[n].Rule : 0; }
  int Left(int n) const { return Nodes[n].Ptr1; }
  int Right(int n) const { return Nodes[n].Ptr2; }
  // The typed text of node n's sub-expression.
  std::string Text(int n) const { return SpanText(T, ForwardNodeSpan(Toks, n)); }
  // The operands of the root: the left one is found from its first token and
  // the right one from its last, so a name that stands in both is cut from
  // its own place.
  std::string RootLeft() const { return SpanText(T, ForwardNodeSpan(Toks, Left(Root))); }
  std::string RootRight() const { return SpanText(T, BackwardNodeSpan(Toks, Right(Root))); }
};

bool ClickStatement(AppState& S, Clicked& c) {
  std::string text;
  GetActiveStmt(S, c.Line, text);
  if (c.Line == 0) {
    Beep(S);
    return false;
  }
  S.Doc.RuleArg1 = c.Line;
  S.Doc.RuleArg2 = 0;
  S.Parser.ExprText = text;
  ParseExpr(S.Parser);
  if (!S.Parser.ParseErr.empty()) {
    ShowStatus(S, "SYSTEM ERROR: UNABLE TO PARSE TEXT");
    Beep(S);
    return false;
  }
  c.T = text;
  c.Toks = S.Parser.Tokens;
  c.Nodes = S.Parser.Nodes;
  c.Shapes = NodeShapes(c.Nodes);
  c.Root = LastIndex(c.Nodes);
  return true;
}

std::string Neg(const std::string& a) { return NodeShape(kLNeg, "", a); }
std::string Bin(int Kind, const std::string& a, const std::string& b) {
  return NodeShape(Kind, "", a, b);
}

int Len(const std::string& s) { return static_cast<int>(s.size()); }

// The whole text on one line, or broken before the second part.
std::string Lines(bool OneLine, const std::string& First, const std::string& Second) {
  return OneLine ? First + Second : First + "\r\n" + Second;
}

// The statement is replaced whole; the new text must parse to Shape.
void Finish(AppState& S, const Clicked& c, const std::string& Text, const std::string& Shape) {
  PutRewrite(S, c.Line, Text, Shape, OnResultError::Silent);
}

}  // namespace

void ImpliesOp(AppState& S) {
  Clicked c;
  if (!ClickStatement(S, c)) return;
  const int root = c.Root;
  if (c.Kind(root) == kImply) {
    const std::string p = c.RootLeft(), q = c.RootRight();
    Finish(S, c, Lines(Len(p) + Len(q) < 50, "~[[" + p + "]", "&~[" + q + "]]"),
           Neg(Bin(kLAnd, c.Shapes[c.Left(root)], Neg(c.Shapes[c.Right(root)]))));
    return;
  }
  // ~[P & ~Q]
  const int conj = c.Left(root);
  if (c.Kind(root) == kLNeg && c.Kind(conj) == kLAnd && c.Kind(c.Right(conj)) == kLNeg) {
    const int pn = c.Left(conj), qn = c.Left(c.Right(conj));
    const std::string p = c.Text(pn), q = c.Text(qn);
    Finish(S, c, Lines(Len(p) + Len(q) < 50, "[" + p + "]", "=>[" + q + "]"),
           Bin(kImply, c.Shapes[pn], c.Shapes[qn]));
    return;
  }
  Beep(S);
}

void OrOp(AppState& S) {
  Clicked c;
  if (!ClickStatement(S, c)) return;
  const int root = c.Root;
  if (c.Kind(root) == kLOr) {
    const std::string p = c.RootLeft(), q = c.RootRight();
    Finish(S, c, Lines(Len(p) + Len(q) < 50, "~[~[" + p + "]", "&~[" + q + "]]"),
           Neg(Bin(kLAnd, Neg(c.Shapes[c.Left(root)]), Neg(c.Shapes[c.Right(root)]))));
    return;
  }
  // ~[~P & ~Q]
  const int conj = c.Left(root);
  if (c.Kind(root) == kLNeg && c.Kind(conj) == kLAnd && c.Kind(c.Left(conj)) == kLNeg &&
      c.Kind(c.Right(conj)) == kLNeg) {
    const int pn = c.Left(c.Left(conj)), qn = c.Left(c.Right(conj));
    Finish(S, c, "[" + c.Text(pn) + "]|[" + c.Text(qn) + "]",
           Bin(kLOr, c.Shapes[pn], c.Shapes[qn]));
    return;
  }
  Beep(S);
}

void IffOp(AppState& S) {
  Clicked c;
  if (!ClickStatement(S, c)) return;
  const int root = c.Root;
  const std::string a = c.Shapes[c.Left(root)], b = c.Shapes[c.Right(root)];
  if (c.Kind(root) == kIff) {
    // Each operand stands twice, so the line is broken at half the length.
    const std::string p = c.RootLeft(), q = c.RootRight();
    Finish(S, c,
           Lines(Len(p) + Len(q) < 25, "[[" + p + "]=>[" + q + "]]", "&[[" + q + "]=>[" + p + "]]"),
           Bin(kLAnd, Bin(kImply, a, b), Bin(kImply, b, a)));
    return;
  }
  // [P1=>Q1]&[P2=>Q2] with P2 = Q1 and Q2 = P1 up to the names of bound
  // variables. Each operand text is checked to stand for its node before the
  // texts are compared.
  const int l = c.Left(root), r = c.Right(root);
  if (c.Kind(root) != kLAnd || c.Kind(l) != kImply || c.Kind(r) != kImply) {
    Beep(S);
    return;
  }
  std::string p1, q1, p2, q2;
  auto take = [&](int n, std::string& out) {
    return OperandTextOf(c.T, ForwardNodeSpan(c.Toks, n), c.Shapes[n], out);
  };
  if (!take(c.Left(l), p1) || !take(c.Right(l), q1) || !take(c.Left(r), p2) ||
      !take(c.Right(r), q2) || !SameStmt(S.Parser, p1, q2) || !SameStmt(S.Parser, p2, q1)) {
    Beep(S);
    return;
  }
  Finish(S, c, Lines(Len(p1) + Len(q1) <= 49, "[" + p1 + "]", "<=>[" + q1 + "]"),
         Bin(kIff, c.Shapes[c.Left(l)], c.Shapes[c.Right(l)]));
}

}  // namespace qv
