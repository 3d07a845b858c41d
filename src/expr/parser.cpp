// The parse driver and the node builders: after the bracketing passes every
// bracket group stands for one node, built when its closing bracket is reached
// (inner groups close first, so operands always have smaller indexes).
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "expr/passes.h"

namespace qv {

namespace {

struct KindInfo {
  const char* name;
  const char* symbol;
  int16_t priority;
};

// Index = node kind. Smaller priority binds tighter.
constexpr KindInfo kKinds[30] = {
    {"", "", 0},
    {"Atom", "", 1},        {"Expo", "^", 4},       {"ANeg", "_", 5},
    {"Mult", "*", 6},       {"Div", "/", 6},        {"Add", "+", 7},
    {"Subt", "-", 7},       {"Ntuple", ",", 99},    {"Func", "", 1},
    {"EQ", "=", 12},        {"LT", "<", 13},        {"LE", "<=", 13},
    {"GT", ">", 13},        {"GE", ">=", 13},       {"LNeg", "~", 16},
    {"LAnd", "&", 17},      {"LOr", "|", 18},       {"Imply", "=>", 19},
    {"Iff", "<=>", 20},     {"ALL", "ALL", 16},     {"EXIST", "EXIST", 16},
    {"Elt", "@", 15},       {"SUM", "SUM", 1},      {"PROD", "PROD", 1},
    {"Prop", "", 1},        {"Pred", "", 1},        {"Intersection", "&&", 9},
    {"Union", "||", 10},    {"Complement", "`", 8},
};

int KindOf(std::vector<NodeRec>& Nodes, int node) { return NodeAt(Nodes, node).Rule; }

bool ValidNode(const std::vector<NodeRec>& Nodes, int node) {
  return node >= 1 && node <= LastIndex(Nodes);
}

// Appends a node and lets both brackets of the group stand for it.
void AppendNode(std::vector<TokenRec>& Toks, std::vector<NodeRec>& Nodes, int Close, int16_t Rule,
                int Ptr1, int Ptr2) {
  if (LastIndex(Nodes) >= kMaxTableIndex) throw ParseFault();
  NodeRec n;
  n.Rule = Rule;
  n.Ptr1 = static_cast<int16_t>(Ptr1);
  n.Ptr2 = static_cast<int16_t>(Ptr2);
  Nodes.push_back(std::move(n));
  const int16_t k = static_cast<int16_t>(LastIndex(Nodes));
  const int o = TokAt(Toks, Close).TPtr;
  TokAt(Toks, o).DPtr = k;
  TokAt(Toks, Close).DPtr = k;
}

void SetErr(std::string& Err, int16_t& ErrPos, std::string msg, int16_t pos) {
  Err = std::move(msg);
  ErrPos = pos;
}

struct BinaryOp {
  std::string_view text;
  int16_t kind;
};
constexpr BinaryOp kBinaryOps[] = {
    {"^", kExpo}, {"*", kMult}, {"/", kDiv},    {"+", kAdd},     {"-", kSubt}, {",", kNtuple},
    {"=", kEQ},   {"<", kLT},   {"<=", kLE},    {">", kGT},      {">=", kGE},  {"&", kLAnd},
    {"|", kLOr},  {"=>", kImply}, {"<=>", kIff}, {"@", kElt}};

// The node kind of a binary operator, 0 for any other token. Sixteen short
// texts: a scan compares fewer characters than hashing the token would read.
int16_t BinaryKind(std::string_view op) {
  for (const BinaryOp& b : kBinaryOps)
    if (SameText(op, b.text)) return b.kind;
  return 0;
}

}  // namespace

bool IsAlgebraicTermKind(int Kind) { return (Kind >= kAtom && Kind <= kSubt) || Kind == kFunc; }
bool IsAlgebraicKind(int Kind) { return Kind >= kAtom && Kind <= kFunc; }
bool IsLogicalKind(int Kind) { return (Kind >= kEQ && Kind <= kElt) || Kind == kProp || Kind == kPred; }
bool IsSingleTermKind(int Kind) {
  return IsAlgebraicTermKind(Kind) || Kind == kSUM || Kind == kPROD || (Kind >= kIntersection && Kind <= kComplement);
}

void FillKindTables(ParserState& P) {
  for (int k = kAtom; k <= kComplement; ++k) {
    P.NodeKindNames[static_cast<size_t>(k)] = kKinds[k].name;
    P.OpSymbol[static_cast<size_t>(k)] = kKinds[k].symbol;
    P.OpPriority[static_cast<size_t>(k)] = kKinds[k].priority;
  }
}

namespace {

// "_" and "~": the group is the operator followed by one operand group.
void BuildPrefixNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                     std::string& Err, int16_t& ErrPos, int16_t Kind, bool (*OperandOk)(int),
                     const char* NoOperand, const char* WrongOperand) {
  const int o = TokAt(Toks, Close).TPtr;
  const int16_t pos = TokAt(Toks, o + 1).Position;
  const int operand = TokAt(Toks, o + 2).DPtr;
  if (operand < 1) return SetErr(Err, ErrPos, NoOperand, pos);
  if (!OperandOk(KindOf(NodeList, operand))) return SetErr(Err, ErrPos, WrongOperand, pos);
  AppendNode(Toks, NodeList, Close, Kind, operand, 0);
}

}  // namespace

void BuildNegNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos) {
  BuildPrefixNode(Close, Toks, NodeList, Err, ErrPos, kANeg, IsAlgebraicKind,
                  "2. Expecting algebraic expression after _",
                  "1. Expecting algebraic expression or n-tuple after _");
}

void BuildNotNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos) {
  BuildPrefixNode(Close, Toks, NodeList, Err, ErrPos, kLNeg, IsLogicalKind,
                  "22. Expecting logical expression after ~",
                  "21. Expecting logicial expression after ~");
}

NameOccurrences::NameOccurrences(const std::vector<TokenRec>& Toks) {
  for (size_t i = 1; i < Toks.size(); ++i) {
    const std::string& t = Toks[i].Token;
    if (!t.empty() && IsLowerOrDigit(t[0])) at_[t].push_back(static_cast<int>(i));
  }
}

const std::vector<int>& NameOccurrences::Of(const std::string& Name) const {
  static const std::vector<int> kNone;
  auto it = at_.find(Name);
  return it == at_.end() ? kNone : it->second;
}

int NameOccurrences::FirstMixed(const std::vector<TokenRec>& Toks) const {
  int first = 0;
  for (const auto& [name, at] : at_) {
    const bool bound = Toks[static_cast<size_t>(at.front())].Bound;
    for (int i : at)
      if (Toks[static_cast<size_t>(i)].Bound != bound) {
        if (first == 0 || at.front() < first) first = at.front();
        break;
      }
  }
  return first;
}

void BuildQuantNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                    const NameOccurrences& Names, std::string& Err, int16_t& ErrPos) {
  const int o = TokAt(Toks, Close).TPtr;
  const TokenRec& quant = TokAt(Toks, o + 1);
  const int16_t pos = quant.Position;
  const int16_t kind = SameText(quant.Token, "ALL") ? kALL : kEXIST;
  auto badRhs = [&] { SetErr(Err, ErrPos, "3. Invalid expression on RHS of " + quant.Token, pos); };
  const int ub = LastIndex(Toks);
  if (ub < o + 2) return badRhs();
  const int var = TokAt(Toks, o + 2).DPtr;
  if (KindOf(NodeList, var) != kAtom) return SetErr(Err, ErrPos, "5. Expecting variable", pos);
  if (ub < o + 8) return badRhs();
  const int body = TokAt(Toks, o + 8).DPtr;
  if (body < 1 || !IsLogicalKind(KindOf(NodeList, body))) return badRhs();
  const std::string& x = NodeAt(NodeList, var).Name;
  // Mark the variable in its own brackets and every occurrence in the body,
  // in token order. One already marked belongs to an inner quantifier of the
  // same name. (The variable is an Atom, so its name is a lower-case name or
  // a numeral, the kind of token Names knows.)
  const std::vector<int>& at = Names.Of(x);
  for (auto it = std::lower_bound(at.begin(), at.end(), o); it != at.end() && *it <= Close; ++it) {
    TokenRec& t = TokAt(Toks, *it);
    if (t.Bound)
      return SetErr(Err, ErrPos, "4. Variable " + x + " already quantified within its scope.", pos);
    t.Bound = true;
  }
  AppendNode(Toks, NodeList, Close, kind, var, body);
}

void BuildFuncNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                   std::string& Err, int16_t& ErrPos) {
  const int o = TokAt(Toks, Close).TPtr;
  const TokenRec& name = TokAt(Toks, o + 2);
  const int fn = TokAt(Toks, o + 1).DPtr;
  const int arg = TokAt(Toks, o + 4).DPtr;
  if (!ValidNode(NodeList, fn) || !ValidNode(NodeList, arg) ||
      !IsAlgebraicKind(KindOf(NodeList, arg)))
    return SetErr(Err, ErrPos, "16. Expecting algebraic expression after " + name.Token,
                  name.Position);
  const int16_t kind = KindOf(NodeList, fn) == kAtom ? kFunc : kPred;
  AppendNode(Toks, NodeList, Close, kind, fn, arg);
}

void BuildBinaryNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                     std::string& Err, int16_t& ErrPos) {
  const int o = TokAt(Toks, Close).TPtr;
  const int k = TokAt(Toks, o + 1).TPtr + 1;
  const std::string& op = TokAt(Toks, k).Token;
  const int16_t pos = TokAt(Toks, k).Position;
  const int16_t kind = BinaryKind(op);
  if (kind == 0) return SetErr(Err, ErrPos, "7. Expecting binary operator", pos);
  // The operator as the messages name it; they are made only on a fault.
  const std::string_view d = SameText(op, "&") ? "&&" : SameText(op, "@") ? "<epsilon>" : std::string_view(op);
  auto fault = [&](std::string_view msg, std::string_view what) {
    SetErr(Err, ErrPos, std::string(msg).append(what), pos);
  };
  const int left = TokAt(Toks, k - 1).DPtr;
  const int right = TokAt(Toks, k + 1).DPtr;
  if (left == 0 || right == 0) return fault("8. Expecting expression on both sides of ", d);
  const int lk = KindOf(NodeList, left);
  const int rk = KindOf(NodeList, right);
  bool leftOk;
  std::string_view leftMsg;
  std::string_view leftWhat = d;
  bool rightOk;
  std::string_view rightMsg = "12. Expecting algebraic expression after ";
  switch (kind) {
    case kLAnd:
    case kLOr:
    case kImply:
    case kIff:
      leftOk = IsLogicalKind(lk);
      leftMsg = "11. Expecting logical expression before ";
      rightOk = IsLogicalKind(rk);
      rightMsg = "12. Expecting logical expression after ";
      break;
    case kNtuple:
      leftOk = IsAlgebraicKind(lk);
      leftMsg = "10. Expecting algebraic expression before ";
      rightOk = IsAlgebraicTermKind(rk);
      break;
    case kEQ:
      leftOk = IsAlgebraicTermKind(lk);
      leftMsg = "11. Expecting algebraic expression before = ";
      leftWhat = "";
      rightOk = IsAlgebraicTermKind(rk);
      break;
    case kElt: {
      // A tuple is an element only when written in its own typed round brackets.
      const TokenRec& before = TokAt(Toks, k - 1);
      leftOk = IsAlgebraicTermKind(lk) ||
               (lk == kNtuple && SameText(before.Token, ")") && before.Position > 0);
      leftMsg = "10. Expecting algebraic expression before ";
      rightOk = IsAlgebraicTermKind(rk);
      break;
    }
    default:  // arithmetic and order relations
      leftOk = IsAlgebraicTermKind(lk);
      leftMsg = "10. Expecting algebracic expression before ";
      rightOk = IsAlgebraicTermKind(rk);
      break;
  }
  if (!leftOk) return fault(leftMsg, leftWhat);
  if (!rightOk) return fault(rightMsg, d);
  AppendNode(Toks, NodeList, Close, kind, left, right);
}

namespace {

// Every operator the passes look for, one bit each.
constexpr std::string_view kPassOperators[] = {"^",  "_",  "*", "/",  "+",   "-",   ",",
                                               "=",  "<",  ">", "<=", ">=",  "@",   "&",
                                               "|",  "=>", "<=>", "ALL", "EXIST", "~"};

constexpr uint32_t OperatorBit(std::string_view tok) {
  if (tok.empty()) return 0;
  // Most tokens are names and brackets: their first character tells they
  // are none of the operators.
  switch (tok[0]) {
    case '^': case '_': case '*': case '/': case '+': case '-': case ',': case '=': case '<':
    case '>': case '@': case '&': case '|': case 'A': case 'E': case '~':
      break;
    default:
      return 0;
  }
  for (size_t i = 0; i < std::size(kPassOperators); ++i)
    if (SameText(tok, kPassOperators[i])) return uint32_t{1} << i;
  return 0;
}

struct Pass {
  constexpr Pass(std::string_view Op1, std::string_view Op2, int Kind, bool LeftToRight)
      : op1(Op1), op2(Op2), kind(Kind), leftToRight(LeftToRight), ops(OperatorBit(Op1) | OperatorBit(Op2)) {}
  std::string_view op1;
  std::string_view op2;
  int kind;
  bool leftToRight;
  uint32_t ops;  // the bits of op1 and op2
};

// The operator passes after the names and applications, tightest first; the
// quantifiers and "~" are bracketed between "@" and "&".
constexpr Pass kPassesBeforePrefix[] = {
    {"^", "", kOpInfix, true},   {"_", "", kOpPrefix, false}, {"*", "/", kOpInfix, true},
    {"+", "-", kOpInfix, true},  {",", "", kOpInfix, true},   {"=", "", kOpInfix, true},
    {"<", ">", kOpInfix, true},  {"<=", ">=", kOpInfix, true}, {"@", "", kOpInfix, true},
};
constexpr uint32_t kPrefixOps = OperatorBit("ALL") | OperatorBit("EXIST") | OperatorBit("~");
constexpr Pass kPassesAfterPrefix[] = {
    {"&", "", kOpInfix, true},
    {"|", "", kOpInfix, true},
    {"=>", "", kOpInfix, true},
    {"<=>", "", kOpInfix, true},
};

// Every operator has its own bit (the first-character test lets each of
// them through), and so every pass has one: a pass without would never run.
constexpr bool EveryPassOperatorHasABit() {
  for (size_t i = 0; i < std::size(kPassOperators); ++i)
    if (OperatorBit(kPassOperators[i]) != uint32_t{1} << i) return false;
  for (const Pass& p : kPassesBeforePrefix)
    if (OperatorBit(p.op1) == 0 || (!p.op2.empty() && OperatorBit(p.op2) == 0)) return false;
  for (const Pass& p : kPassesAfterPrefix)
    if (OperatorBit(p.op1) == 0 || (!p.op2.empty() && OperatorBit(p.op2) == 0)) return false;
  return true;
}
static_assert(EveryPassOperatorHasABit());

// Which of the passes' operators stand among the tokens. A pass acts on, or
// refuses, only a token equal to one of its operators, and the passes add
// nothing but brackets and change no token's text: a pass none of whose
// operators is here would scan the whole list and do nothing, so it is not
// run. Most statements use a few of the fourteen operator passes.
class OperatorsPresent {
 public:
  explicit OperatorsPresent(const std::vector<TokenRec>& Toks) {
    for (size_t i = 1; i < Toks.size(); ++i) bits_ |= OperatorBit(Toks[i].Token);
  }
  bool Any(uint32_t Ops) const { return (bits_ & Ops) != 0; }

 private:
  uint32_t bits_ = 0;
};

void RunChainPasses(TokenChain& C, const OperatorsPresent& Ops, ParseResult& R) {
  BracketAtoms(C, R.Nodes);
  BracketApplications(C);
  for (const Pass& p : kPassesBeforePrefix) {
    if (!Ops.Any(p.ops)) continue;
    BracketBinaryOps(C, p.op1, p.kind, p.op2, p.op2.empty() ? kOpUnused : p.kind, p.leftToRight, R.Err,
                     R.ErrPos);
    if (!R.Err.empty()) return;
  }
  if (Ops.Any(kPrefixOps)) {
    BracketPrefixOps("ALL", "EXIST", "~", C, R.Err, R.ErrPos);
    if (!R.Err.empty()) return;
  }
  for (const Pass& p : kPassesAfterPrefix) {
    if (!Ops.Any(p.ops)) continue;
    BracketBinaryOps(C, p.op1, p.kind, p.op2, kOpUnused, p.leftToRight, R.Err, R.ErrPos);
    if (!R.Err.empty()) return;
  }
}

// The passes work on a chain; the table gets it back however they end, a
// fault included, since a failed parse hands on the tokens as far as it got.
void RunPasses(ParseResult& R) {
  const OperatorsPresent ops(R.Tokens);
  TokenChain C(std::move(R.Tokens));
  try {
    RunChainPasses(C, ops, R);
  } catch (...) {
    std::move(C).WriteTo(R.Tokens);
    throw;
  }
  std::move(C).WriteTo(R.Tokens);
}

// Names: made at the first quantifier, so left empty when there is none.
void BuildNodes(ParseResult& R, std::optional<NameOccurrences>& names) {
  std::vector<TokenRec>& T = R.Tokens;
  const int last = LastIndex(T);
  for (int i = 1; i <= last; ++i) {
    if (!IsCloseBracket(T[static_cast<size_t>(i)].Token)) continue;
    const int o = T[static_cast<size_t>(i)].TPtr;
    if (i == o + 1) {
      R.Err = "24. Empty brackets. Expecting expression.";
      R.ErrPos = TokAt(T, i - 1).Position;
      return;
    }
    const TokenRec& prev = TokAt(T, i - 1);
    if (IsCloseBracket(prev.Token) && prev.TPtr == o + 1) {
      // Redundant brackets around one inner group stand for its node.
      const int16_t inner = prev.DPtr;
      TokAt(T, i).DPtr = inner;
      TokAt(T, o).DPtr = inner;
      continue;
    }
    if (T[static_cast<size_t>(i)].DPtr >= 1) continue;  // a name group
    const std::string& first = TokAt(T, o + 1).Token;
    if (SameText(first, "_")) {
      BuildNegNode(i, T, R.Nodes, R.Err, R.ErrPos);
    } else if (SameText(first, "~")) {
      BuildNotNode(i, T, R.Nodes, R.Err, R.ErrPos);
    } else if (IsQuantifier(first)) {
      if (!names) names.emplace(T);
      BuildQuantNode(i, T, R.Nodes, *names, R.Err, R.ErrPos);
    } else {
      const int head = TokAt(T, o + 1).DPtr;
      if (!ValidNode(R.Nodes, head) || o + 4 > last) {
        R.Err = "25. Expected algebraic expression";
        R.ErrPos = 0;
        return;
      }
      const TokenRec& arg = TokAt(T, o + 4);
      const int headKind = KindOf(R.Nodes, head);
      if (SameText(arg.Token, "(") && arg.Position > 0 && arg.DPtr > 0 &&
          (headKind == kAtom || headKind == kProp))
        BuildFuncNode(i, T, R.Nodes, R.Err, R.ErrPos);
      else
        BuildBinaryNode(i, T, R.Nodes, R.Err, R.ErrPos);
    }
    if (!R.Err.empty()) return;
  }
}

// A lower-case name or numeral must be either bound everywhere or free
// everywhere; the first token of a mixed name is reported. Names is what
// BuildNodes made: only a quantifier marks tokens bound, so without one no
// name is mixed.
void CheckBoundUsage(ParseResult& R, const std::optional<NameOccurrences>& Names) {
  if (!Names) return;
  const int first = Names->FirstMixed(R.Tokens);
  if (first == 0) return;
  const TokenRec& t = R.Tokens[static_cast<size_t>(first)];
  R.Err = "27. Inconsistent usage of variable " + t.Token;
  R.ErrPos = t.Position;
}

}  // namespace

ParseResult ParseText(const std::string& Text) {
  ParseResult R;
  try {
    TokenizeExpr(Text, R.Tokens, R.Err, R.ErrPos);
    if (!R.Err.empty()) return R;
    RunPasses(R);
    if (!R.Err.empty()) return R;
    const int last = LastIndex(R.Tokens);
    if (last > 1 && R.Tokens[1].TPtr != last) {
      R.Err = "23. Expecting expression. May be a missing operator.";
      R.ErrPos = 0;
      return R;
    }
    std::optional<NameOccurrences> names;
    BuildNodes(R, names);
    if (!R.Err.empty()) return R;
    if (LastIndex(R.Nodes) < 1) {
      R.Err = "26. Expecting expression.";
      R.ErrPos = 0;
      return R;
    }
    CheckBoundUsage(R, names);
  } catch (...) {
    R.Err = kUnableToParse;
    R.ErrPos = 0;
  }
  return R;
}

void ParseExpr(ParserState& P) {
  FillKindTables(P);
  ParseResult R = ParseText(P.ExprText);
  P.Tokens = std::move(R.Tokens);
  P.Nodes = std::move(R.Nodes);
  P.ParseErr = std::move(R.Err);
  P.ParseErrPos = R.ErrPos;
}

}  // namespace qv
