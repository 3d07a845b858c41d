// The connective rewriting rules: Iff-And, Imply-And, Imply-Or, Contra,
// DeMorgan and Sym. The user clicks an operator; only that operator with its
// two operands is rewritten into an equivalent form, and the rest of the
// statement stays character for character. Every result is parsed and
// compared with the statement it is meant to be before anything is put.
#include <string>
#include <vector>

#include "document/document.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

// The clicked operator with the shapes of the statement's nodes.
struct ClickedOp : ClickedToken {
  std::string Op;
  std::vector<std::string> Shapes;
};

bool ClickOperator(AppState& S, ClickedOp& c) {
  if (!ClickToken(S, c)) return false;
  c.Shapes = NodeShapes(c.Nodes);
  c.Op = c.Toks[c.K].Token;
  S.Ui.SavedExprText = c.T;
  S.Doc.RuleArg1 = c.Line;
  S.Doc.RuleArg2 = 0;
  return true;
}

// The application of the clicked binary operator with its operand texts and
// shapes; false when the click is not on one.
struct Operands {
  int Node = 0;
  TextSpan Left, Right;
  std::string P, Q;  // operand texts
  std::string A, B;  // operand shapes
};
bool FindOperands(const ClickedOp& c, Operands& o) {
  o.Node = OperatorNode(c.Toks, c.Nodes, c.K);
  if (o.Node == 0) return false;
  o.Left = OperatorLeftSpan(c.Toks, c.K);
  o.Right = OperatorRightSpan(c.Toks, c.K);
  o.P = SpanText(c.T, o.Left);
  o.Q = SpanText(c.T, o.Right);
  o.A = c.Shapes[c.Nodes[o.Node].Ptr1];
  o.B = c.Shapes[c.Nodes[o.Node].Ptr2];
  return true;
}

std::string Neg(const std::string& a) { return NodeShape(kLNeg, "", a); }
std::string Bin(int kind, const std::string& a, const std::string& b) {
  return NodeShape(kind, "", a, b);
}

// Replaces the stretch First..Last of the statement by Rewritten and puts
// the result when it is the statement with node Replaced standing for Shape.
void Finish(AppState& S, const ClickedOp& c, int First, int Last, const std::string& Rewritten,
            int Replaced, const std::string& Shape, OnResultError OnError) {
  PutRewrite(S, c.Line, c.T.substr(0, First - 1) + Rewritten + c.T.substr(Last),
             ShapeWith(c.Nodes, Replaced, Shape), OnError);
}

// The common road of the rules that rewrite one binary operator: Accepted
// pairs each operator text with the node kind it must apply, and Make builds
// the new text and its shape.
template <typename MakeFn>
void RewriteOperator(AppState& S, const std::vector<std::pair<std::string, int>>& Accepted,
                     OnResultError OnError, MakeFn Make) {
  ClickedOp c;
  if (!ClickOperator(S, c)) return;
  int kind = 0;
  for (const auto& [op, k] : Accepted)
    if (c.Op == op) kind = k;
  Operands o;
  if (kind == 0 || !FindOperands(c, o) ||
      c.Nodes[o.Node].Rule != kind) {
    Beep(S);
    return;
  }
  std::string text, shape;
  Make(c.Op, o, text, shape);
  Finish(S, c, o.Left.Start, o.Right.End, text, o.Node, shape, OnError);
}

std::string Br(const std::string& s) { return "[" + s + "]"; }

// The one-line form below 50 by the rule's measure, else the form with a
// line break before the second half.
std::string Broken(bool OneLine, const std::string& First, const std::string& Second) {
  return OneLine ? First + Second : First + "\r\n" + Second;
}

// Iff-And on the "&" of [A=>B]&[B=>A]: both operands are implications, each
// the other turned round.
void IffFromConjunction(AppState& S, const ClickedOp& c) {
  const int last = LastIndex(c.Toks);
  const int k = c.K;
  const int node = OperatorNode(c.Toks, c.Nodes, k);
  if (node == 0 || c.Nodes[node].Rule != kLAnd || k + 1 > last) {
    Beep(S);
    return;
  }
  const TokenRec& before = c.Toks[k - 1];
  const TokenRec& after = c.Toks[k + 1];
  const int leftOpen = before.TPtr;
  const int rightClose = after.TPtr;
  const int left = c.Nodes[node].Ptr1;
  const int right = c.Nodes[node].Ptr2;
  if (c.Nodes[left].Rule != kImply || c.Nodes[right].Rule != kImply || leftOpen < 1 ||
      leftOpen >= k - 1 || rightClose <= k + 1 || rightClose > last ||
      !IsRealToken(c.Toks[leftOpen]) || !IsRealToken(c.Toks[rightClose])) {
    Beep(S);
    return;
  }
  const std::string a1 =
      SpanText(c.T, ForwardNodeSpanIn(c.Toks, c.Nodes[left].Ptr1, leftOpen, k - 1));
  const std::string b1 =
      SpanText(c.T, BackwardNodeSpanIn(c.Toks, c.Nodes[left].Ptr2, leftOpen, k - 1));
  const std::string a2 =
      SpanText(c.T, ForwardNodeSpanIn(c.Toks, c.Nodes[right].Ptr1, k + 1, rightClose));
  const std::string b2 =
      SpanText(c.T, BackwardNodeSpanIn(c.Toks, c.Nodes[right].Ptr2, k + 1, rightClose));
  if (!SameStmt(S.Parser, a1, b2) || !SameStmt(S.Parser, b1, a2)) {
    Beep(S);
    return;
  }
  const int s = c.Toks[leftOpen].Position;
  const int e = TokenLast(c.Toks[rightClose]);
  const int m = static_cast<int>(a1.size()) + s + static_cast<int>(b1.size()) +
                static_cast<int>(c.T.size()) - e;
  const std::string text = Broken(m < 50, "[" + Br(a1), "<=>" + Br(b1) + "]");
  const std::string shape =
      Bin(kIff, c.Shapes[c.Nodes[left].Ptr1], c.Shapes[c.Nodes[left].Ptr2]);
  Finish(S, c, s, e, text, node, shape, OnResultError::Silent);
}

}  // namespace

void ImplyAnd(AppState& S) {
  RewriteOperator(S, {{"=>", kImply}, {"&", kLAnd}}, OnResultError::Keep,
                  [](const std::string& op, const Operands& o, std::string& t, std::string& sh) {
                    const bool imply = op == "=>";
                    t = "~[" + Br(o.P) + (imply ? " & " : " => ") + "~" + Br(o.Q) + "]";
                    sh = Neg(Bin(imply ? kLAnd : kImply, o.A, Neg(o.B)));
                  });
}

void ImplyOr(AppState& S) {
  RewriteOperator(S, {{"=>", kImply}, {"|", kLOr}}, OnResultError::Keep,
                  [](const std::string& op, const Operands& o, std::string& t, std::string& sh) {
                    const bool imply = op == "=>";
                    t = "[~" + Br(o.P) + (imply ? " | " : " => ") + Br(o.Q) + "]";
                    sh = Bin(imply ? kLOr : kImply, Neg(o.A), o.B);
                  });
}

void Contrapositive(AppState& S) {
  RewriteOperator(S, {{"=>", kImply}}, OnResultError::End,
                  [](const std::string&, const Operands& o, std::string& t, std::string& sh) {
                    t = "~" + Br(o.Q) + " => ~" + Br(o.P);
                    sh = Bin(kImply, Neg(o.B), Neg(o.A));
                  });
}

void DeMorgan(AppState& S) {
  RewriteOperator(S, {{"&", kLAnd}, {"|", kLOr}}, OnResultError::End,
                  [](const std::string& op, const Operands& o, std::string& t, std::string& sh) {
                    const bool conj = op == "&";
                    t = "~[~" + Br(o.P) + (conj ? " | " : " & ") + "~" + Br(o.Q) + "]";
                    sh = Neg(Bin(conj ? kLOr : kLAnd, Neg(o.A), Neg(o.B)));
                  });
}

void SymmetryRule(AppState& S) {
  ClickedOp c;
  if (!ClickOperator(S, c)) return;
  Operands o;
  if (c.Op != "=" || !FindOperands(c, o) || c.Nodes[o.Node].Rule != kEQ) {
    Beep(S);
    return;
  }
  // An operand rooted in a looser connective keeps its meaning in brackets.
  auto side = [&](const std::string& text, int node) {
    const int kind = c.Nodes[node].Rule;
    return kind == kLAnd || kind == kLOr || kind == kIff ? Br(text) : text;
  };
  const NodeRec& eq = c.Nodes[o.Node];
  Finish(S, c, o.Left.Start, o.Right.End, side(o.Q, eq.Ptr2) + "=" + side(o.P, eq.Ptr1), o.Node,
         Bin(kEQ, o.B, o.A), OnResultError::Keep);
}

void IffSplit(AppState& S) {
  ClickedOp c;
  if (!ClickOperator(S, c)) return;
  if (c.Op == "&") {
    IffFromConjunction(S, c);
    return;
  }
  Operands o;
  if (c.Op != "<=>" || !FindOperands(c, o) || c.Nodes[o.Node].Rule != kIff) {
    Beep(S);
    return;
  }
  const int p = static_cast<int>(o.P.size());
  const int q = static_cast<int>(o.Q.size());
  const int measure =
      2 * ((p + 2) + (q + 2)) + o.Left.Start + static_cast<int>(c.T.size()) - o.Right.End;
  const std::string text = Broken(measure < 50, "[[" + Br(o.P) + "=>" + Br(o.Q) + "]",
                                  "&[" + Br(o.Q) + "=>" + Br(o.P) + "]]");
  Finish(S, c, o.Left.Start, o.Right.End, text, o.Node,
         Bin(kLAnd, Bin(kImply, o.A, o.B), Bin(kImply, o.B, o.A)), OnResultError::Silent);
}

}  // namespace qv
