// The parser as it was before the bracketing passes were rewritten to run in
// linear time: the former implementation of the passes and the
// parse driver, kept unchanged as the oracle of the equivalence test. It is
// compiled only into that test. Do not fix or tidy this file: its worth is that
// it stays what the old parser did, faults included.
#include "expr/reference_parser.h"

#include <stdexcept>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qv::reference {

namespace {

struct ParseFault : std::runtime_error {
  ParseFault() : std::runtime_error("Unable to parse expression") {}
};

constexpr const char* kUnableToParse = "Unable to parse expression";
constexpr int kOpUnused = 0;
constexpr int kOpPrefix = 1;
constexpr int kOpInfix = 2;

TokenRec& TokAt(std::vector<TokenRec>& Toks, int i) {
  if (i < 0 || i >= static_cast<int>(Toks.size())) throw ParseFault();
  return Toks[static_cast<size_t>(i)];
}
NodeRec& NodeAt(std::vector<NodeRec>& Nodes, int i) {
  if (i < 0 || i >= static_cast<int>(Nodes.size())) throw ParseFault();
  return Nodes[static_cast<size_t>(i)];
}
int UpperBound(const std::vector<TokenRec>& Toks) { return static_cast<int>(Toks.size()) - 1; }
int UpperBound(const std::vector<NodeRec>& Nodes) { return static_cast<int>(Nodes.size()) - 1; }
bool IsOpenBracket(const std::string& t) { return t == "(" || t == "["; }
bool IsCloseBracket(const std::string& t) { return t == ")" || t == "]"; }
bool IsLowerOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'); }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsAlgebraicTermKind(int Kind) { return (Kind >= 1 && Kind <= 7) || Kind == kFunc; }
bool IsAlgebraicKind(int Kind) { return Kind >= 1 && Kind <= 9; }
bool IsLogicalKind(int Kind) { return (Kind >= 10 && Kind <= 22) || Kind == kProp || Kind == kPred; }

// The tokeniser was not changed by the rewrite, so the oracle uses the real
// one (TokenizeExpr); only the passes and the driver are kept here.

// ---- former bracketing.cpp

namespace {

TokenRec NewBracket(const char* text, int partner) {
  TokenRec t;
  t.Token = text;
  t.TPtr = static_cast<int16_t>(partner);
  return t;
}

// "<epsilon>" stands for the element-of sign in the messages about operands.
std::string OpForRhsMessage(const std::string& op) { return op == "@" ? "<epsilon>" : op; }

}  // namespace

void FormerWrapTokens(std::vector<TokenRec>& Toks, int a, int F) {
  const int ub = UpperBound(Toks);
  if (a < 1 || F < a || F > ub) throw ParseFault();
  if (ub + 2 > kMaxTableIndex) throw ParseFault();
  auto renumber = [a, F](TokenRec& t) {
    if (t.TPtr > F) t.TPtr = static_cast<int16_t>(t.TPtr + 2);
    else if (t.TPtr >= a) t.TPtr = static_cast<int16_t>(t.TPtr + 1);
  };
  // One sweep from the top: tokens after F move two places up, tokens a..F
  // one place, and every partner index is shifted the same way.
  Toks.resize(static_cast<size_t>(ub) + 3);
  TokenRec* t = Toks.data();
  for (int j = ub; j > F; --j) {
    renumber(t[j]);
    t[j + 2] = std::move(t[j]);
  }
  t[F + 2] = NewBracket(")", a);
  for (int j = F; j >= a; --j) {
    renumber(t[j]);
    t[j + 1] = std::move(t[j]);
  }
  t[a] = NewBracket("(", F + 2);
  for (int j = 1; j < a; ++j) renumber(t[j]);
}

void FormerBracketAtoms(std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList, std::string& Err) {
  // Name -> node, for names already in NodeList (the first node of that name).
  std::unordered_map<std::string, int> known;
  for (int k = UpperBound(NodeList); k >= 1; --k) {
    const NodeRec& n = NodeList[static_cast<size_t>(k)];
    if (n.Rule == kAtom || n.Rule == kProp) known[n.Name] = k;
  }
  int i = 1;
  while (i <= UpperBound(Toks)) {
    const std::string tok = TokAt(Toks, i).Token;
    int16_t kind = 0;
    if (!tok.empty() && IsLowerOrDigit(tok[0])) kind = kAtom;
    else if (!tok.empty() && IsUpper(tok[0]) && tok != "ALL" && tok != "EXIST") kind = kProp;
    if (kind == 0) {
      ++i;
      continue;
    }
    int k;
    auto it = known.find(tok);
    const bool isNew = it == known.end();
    if (isNew) k = UpperBound(NodeList) + 1;
    else k = it->second;
    if (k > kMaxTableIndex) throw ParseFault();
    FormerWrapTokens(Toks, i, i);
    Toks[static_cast<size_t>(i)].DPtr = static_cast<int16_t>(k);
    Toks[static_cast<size_t>(i + 2)].DPtr = static_cast<int16_t>(k);
    if (isNew) {
      NodeRec n;
      n.Rule = kind;
      n.Name = tok;
      NodeList.push_back(std::move(n));
      known.emplace(tok, k);
    }
    i += 3;
  }
}

void FormerBracketApplications(std::vector<TokenRec>& Toks) {
  int i = 1;
  while (i <= UpperBound(Toks)) {
    const std::string& tok = TokAt(Toks, i).Token;
    const bool isName = !tok.empty() && tok != "ALL" && tok != "EXIST" &&
                        (IsLowerOrDigit(tok[0]) || IsUpper(tok[0]));
    if (isName && i + 2 < UpperBound(Toks)) {
      const TokenRec& arg = TokAt(Toks, i + 2);
      if (arg.Token == "(" && arg.Position > 0) {
        FormerWrapTokens(Toks, i - 1, arg.TPtr);
        i += 2;
        continue;
      }
    }
    ++i;
  }
}

void FormerBracketBinaryOps(std::vector<TokenRec>& Toks, const std::string& Op1, int Op1Kind,
                      const std::string& Op2, int Op2Kind, bool LeftToRight, std::string& Err,
                      int16_t& ErrPos) {
  int b = LeftToRight ? 1 : UpperBound(Toks);
  for (;;) {
    if (b < 1 || b > UpperBound(Toks)) return;  // empty list
    const std::string op = Toks[static_cast<size_t>(b)].Token;
    int kind = kOpUnused;
    if (op == Op1) kind = Op1Kind;
    else if (!Op2.empty() && op == Op2) kind = Op2Kind;
    if (kind == kOpUnused) {
      if (LeftToRight) {
        if (b >= UpperBound(Toks)) return;
        ++b;
      } else {
        if (b < 2) return;
        --b;
      }
      continue;
    }
    const int16_t pos = Toks[static_cast<size_t>(b)].Position;
    int a = b;
    if (kind == kOpInfix) {
      if (b < 2) {
        Err = "29. No expression on LHS of " + op;
        ErrPos = pos;
        return;
      }
      const TokenRec& left = TokAt(Toks, b - 1);
      if (!IsCloseBracket(left.Token)) {
        Err = "28. Invalid expression on LHS of " + op;
        ErrPos = pos;
        return;
      }
      a = left.TPtr;
    }
    if (b >= UpperBound(Toks)) {
      Err = "31. No expression on RHS of " + OpForRhsMessage(op);
      ErrPos = pos;
      return;
    }
    const TokenRec& right = TokAt(Toks, b + 1);
    if (!IsOpenBracket(right.Token)) {
      Err = "30. Invalid expression on RHS of " + OpForRhsMessage(op);
      ErrPos = pos;
      return;
    }
    FormerWrapTokens(Toks, a, right.TPtr);
    if (LeftToRight) {
      if (UpperBound(Toks) < b + 2) return;
      b += 2;
    }
    // Right to left: b now holds the token that stood before the operator.
  }
}

void FormerBracketPrefixOps(const std::string& Quant1, const std::string& Quant2,
                      const std::string& NotOp, std::vector<TokenRec>& Toks, std::string& Err,
                      int16_t& ErrPos) {
  for (int index = UpperBound(Toks); index >= 1; --index) {
    const TokenRec& t = TokAt(Toks, index);
    const int16_t pos = t.Position;
    if (t.Token == Quant1 || t.Token == Quant2) {
      static const char* kBadRhs = "15. Invalid expression on RHS of quantifier";
      if (UpperBound(Toks) < index + 1) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      // The variable must stand in its own typed brackets: ALL(x):body.
      // Anything else would send the fixed offsets of the quantifier layout
      // into the wrong tokens.
      const TokenRec& varOpen = TokAt(Toks, index + 1);
      if (IsCloseBracket(varOpen.Token)) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      if (!IsOpenBracket(varOpen.Token) || varOpen.Position == 0) {
        Err = "5. Expecting variable";
        ErrPos = pos;
        return;
      }
      const int v = varOpen.TPtr;
      if (UpperBound(Toks) < v + 2) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      // The body is the group after the ":" that follows the variable group.
      // Another token in the place of the ":" (such as "`" or "&&", which no
      // pass handles) would otherwise be read as if it were the ":".
      const TokenRec& bodyOpen = TokAt(Toks, v + 2);
      if (TokAt(Toks, v + 1).Token != ":" || !IsOpenBracket(bodyOpen.Token)) {
        Err = kBadRhs;
        ErrPos = pos;
        return;
      }
      FormerWrapTokens(Toks, index, bodyOpen.TPtr);
    } else if (t.Token == NotOp) {
      if (UpperBound(Toks) < index + 2) {
        Err = "15. Expecting logical expression on RHS of ~";
        ErrPos = pos;
        return;
      }
      const TokenRec& operand = TokAt(Toks, index + 1);
      if (!IsOpenBracket(operand.Token)) {
        Err = "14. Expecting logical expression on RHS of ~";
        ErrPos = pos;
        return;
      }
      FormerWrapTokens(Toks, index, operand.TPtr);
    }
  }
}

// ---- former parser.cpp

namespace {

int KindOf(std::vector<NodeRec>& Nodes, int node) { return NodeAt(Nodes, node).Rule; }

bool ValidNode(const std::vector<NodeRec>& Nodes, int node) {
  return node >= 1 && node <= UpperBound(Nodes);
}

// Appends a node and lets both brackets of the group stand for it.
void AppendNode(std::vector<TokenRec>& Toks, std::vector<NodeRec>& Nodes, int Close, int16_t Rule,
                int Ptr1, int Ptr2) {
  if (UpperBound(Nodes) >= kMaxTableIndex) throw ParseFault();
  NodeRec n;
  n.Rule = Rule;
  n.Ptr1 = static_cast<int16_t>(Ptr1);
  n.Ptr2 = static_cast<int16_t>(Ptr2);
  Nodes.push_back(std::move(n));
  const int16_t k = static_cast<int16_t>(UpperBound(Nodes));
  const int o = TokAt(Toks, Close).TPtr;
  TokAt(Toks, o).DPtr = k;
  TokAt(Toks, Close).DPtr = k;
}

void SetErr(std::string& Err, int16_t& ErrPos, std::string msg, int16_t pos) {
  Err = std::move(msg);
  ErrPos = pos;
}

int16_t BinaryKind(const std::string& op) {
  static const std::unordered_map<std::string, int16_t> kOps = {
      {"^", kExpo}, {"*", kMult}, {"/", kDiv},  {"+", kAdd},    {"-", kSubt},  {",", kNtuple},
      {"=", kEQ},   {"<", kLT},   {"<=", kLE},  {">", kGT},     {">=", kGE},   {"&", kLAnd},
      {"|", kLOr},  {"=>", kImply}, {"<=>", kIff}, {"@", kElt}};
  auto it = kOps.find(op);
  return it == kOps.end() ? 0 : it->second;
}

}  // namespace

namespace {

// "_" and "~": the group is the operator followed by one operand group.
void FormerBuildPrefixNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
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

void FormerBuildNegNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos) {
  FormerBuildPrefixNode(Close, Toks, NodeList, Err, ErrPos, kANeg, IsAlgebraicKind,
                  "2. Expecting algebraic expression after _",
                  "1. Expecting algebraic expression or n-tuple after _");
}

void FormerBuildNotNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                  std::string& Err, int16_t& ErrPos) {
  FormerBuildPrefixNode(Close, Toks, NodeList, Err, ErrPos, kLNeg, IsLogicalKind,
                  "22. Expecting logical expression after ~",
                  "21. Expecting logicial expression after ~");
}

void FormerBuildQuantNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                    std::string& Err, int16_t& ErrPos) {
  const int o = TokAt(Toks, Close).TPtr;
  const std::string q = TokAt(Toks, o + 1).Token;
  const int16_t pos = TokAt(Toks, o + 1).Position;
  const int16_t kind = q == "ALL" ? kALL : kEXIST;
  const std::string badRhs = "3. Invalid expression on RHS of " + q;
  const int ub = UpperBound(Toks);
  if (ub < o + 2) return SetErr(Err, ErrPos, badRhs, pos);
  const int var = TokAt(Toks, o + 2).DPtr;
  if (KindOf(NodeList, var) != kAtom) return SetErr(Err, ErrPos, "5. Expecting variable", pos);
  if (ub < o + 8) return SetErr(Err, ErrPos, badRhs, pos);
  const int body = TokAt(Toks, o + 8).DPtr;
  if (body < 1 || !IsLogicalKind(KindOf(NodeList, body))) return SetErr(Err, ErrPos, badRhs, pos);
  const std::string x = NodeAt(NodeList, var).Name;
  // Mark the variable in its own brackets and every occurrence in the body.
  // One already marked belongs to an inner quantifier of the same name.
  for (int i = o; i <= Close; ++i) {
    TokenRec& t = TokAt(Toks, i);
    if (t.Token != x) continue;
    if (t.Bound)
      return SetErr(Err, ErrPos, "4. Variable " + x + " already quantified within its scope.", pos);
    t.Bound = true;
  }
  AppendNode(Toks, NodeList, Close, kind, var, body);
}

void FormerBuildFuncNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
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

void FormerBuildBinaryNode(int Close, std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList,
                     std::string& Err, int16_t& ErrPos) {
  const int o = TokAt(Toks, Close).TPtr;
  const int k = TokAt(Toks, o + 1).TPtr + 1;
  const std::string op = TokAt(Toks, k).Token;
  const int16_t pos = TokAt(Toks, k).Position;
  const int16_t kind = BinaryKind(op);
  if (kind == 0) return SetErr(Err, ErrPos, "7. Expecting binary operator", pos);
  const std::string d = op == "&" ? "&&" : op == "@" ? "<epsilon>" : op;
  const int left = TokAt(Toks, k - 1).DPtr;
  const int right = TokAt(Toks, k + 1).DPtr;
  if (left == 0 || right == 0)
    return SetErr(Err, ErrPos, "8. Expecting expression on both sides of " + d, pos);
  const int lk = KindOf(NodeList, left);
  const int rk = KindOf(NodeList, right);
  bool leftOk;
  std::string leftMsg;
  bool rightOk;
  std::string rightMsg = "12. Expecting algebraic expression after " + d;
  switch (kind) {
    case kLAnd:
    case kLOr:
    case kImply:
    case kIff:
      leftOk = IsLogicalKind(lk);
      leftMsg = "11. Expecting logical expression before " + d;
      rightOk = IsLogicalKind(rk);
      rightMsg = "12. Expecting logical expression after " + d;
      break;
    case kNtuple:
      leftOk = IsAlgebraicKind(lk);
      leftMsg = "10. Expecting algebraic expression before " + d;
      rightOk = IsAlgebraicTermKind(rk);
      break;
    case kEQ:
      leftOk = IsAlgebraicTermKind(lk);
      leftMsg = "11. Expecting algebraic expression before = ";
      rightOk = IsAlgebraicTermKind(rk);
      break;
    case kElt: {
      // A tuple is an element only when written in its own typed round brackets.
      const TokenRec& before = TokAt(Toks, k - 1);
      leftOk = IsAlgebraicTermKind(lk) ||
               (lk == kNtuple && before.Token == ")" && before.Position > 0);
      leftMsg = "10. Expecting algebraic expression before " + d;
      rightOk = IsAlgebraicTermKind(rk);
      break;
    }
    default:  // arithmetic and order relations
      leftOk = IsAlgebraicTermKind(lk);
      leftMsg = "10. Expecting algebracic expression before " + d;
      rightOk = IsAlgebraicTermKind(rk);
      break;
  }
  if (!leftOk) return SetErr(Err, ErrPos, leftMsg, pos);
  if (!rightOk) return SetErr(Err, ErrPos, rightMsg, pos);
  AppendNode(Toks, NodeList, Close, kind, left, right);
}

namespace {

struct Pass {
  const char* op1;
  const char* op2;
  int kind;
  bool leftToRight;
};

// The operator passes after the names and applications, tightest first; the
// quantifiers and "~" are bracketed between "@" and "&".
constexpr Pass kPassesBeforePrefix[] = {
    {"^", "", kOpInfix, true},   {"_", "", kOpPrefix, false}, {"*", "/", kOpInfix, true},
    {"+", "-", kOpInfix, true},  {",", "", kOpInfix, true},   {"=", "", kOpInfix, true},
    {"<", ">", kOpInfix, true},  {"<=", ">=", kOpInfix, true}, {"@", "", kOpInfix, true},
};
constexpr Pass kPassesAfterPrefix[] = {
    {"&", "", kOpInfix, true},
    {"|", "", kOpInfix, true},
    {"=>", "", kOpInfix, true},
    {"<=>", "", kOpInfix, true},
};

void FormerRunPasses(ParseResult& R) {
  FormerBracketAtoms(R.Tokens, R.Nodes, R.Err);
  if (!R.Err.empty()) return;
  FormerBracketApplications(R.Tokens);
  for (const Pass& p : kPassesBeforePrefix) {
    FormerBracketBinaryOps(R.Tokens, p.op1, p.kind, p.op2, *p.op2 ? p.kind : kOpUnused, p.leftToRight,
                     R.Err, R.ErrPos);
    if (!R.Err.empty()) return;
  }
  FormerBracketPrefixOps("ALL", "EXIST", "~", R.Tokens, R.Err, R.ErrPos);
  if (!R.Err.empty()) return;
  for (const Pass& p : kPassesAfterPrefix) {
    FormerBracketBinaryOps(R.Tokens, p.op1, p.kind, p.op2, kOpUnused, p.leftToRight, R.Err, R.ErrPos);
    if (!R.Err.empty()) return;
  }
}

void FormerBuildNodes(ParseResult& R) {
  std::vector<TokenRec>& T = R.Tokens;
  const int last = UpperBound(T);
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
    if (first == "_") {
      FormerBuildNegNode(i, T, R.Nodes, R.Err, R.ErrPos);
    } else if (first == "~") {
      FormerBuildNotNode(i, T, R.Nodes, R.Err, R.ErrPos);
    } else if (first == "ALL" || first == "EXIST") {
      FormerBuildQuantNode(i, T, R.Nodes, R.Err, R.ErrPos);
    } else {
      const int head = TokAt(T, o + 1).DPtr;
      if (!ValidNode(R.Nodes, head) || o + 4 > last) {
        R.Err = "25. Expected algebraic expression";
        R.ErrPos = 0;
        return;
      }
      const TokenRec& arg = TokAt(T, o + 4);
      const int headKind = KindOf(R.Nodes, head);
      if (arg.Token == "(" && arg.Position > 0 && arg.DPtr > 0 &&
          (headKind == kAtom || headKind == kProp))
        FormerBuildFuncNode(i, T, R.Nodes, R.Err, R.ErrPos);
      else
        FormerBuildBinaryNode(i, T, R.Nodes, R.Err, R.ErrPos);
    }
    if (!R.Err.empty()) return;
  }
}

// A lower-case name or numeral must be either bound everywhere or free
// everywhere; the first token of a mixed name is reported.
void FormerCheckBoundUsage(ParseResult& R) {
  std::unordered_map<std::string, unsigned> usage;  // bit 1: bound seen, bit 2: free seen
  for (size_t i = 1; i < R.Tokens.size(); ++i) {
    const TokenRec& t = R.Tokens[i];
    if (!t.Token.empty() && IsLowerOrDigit(t.Token[0])) usage[t.Token] |= t.Bound ? 1u : 2u;
  }
  for (size_t i = 1; i < R.Tokens.size(); ++i) {
    const TokenRec& t = R.Tokens[i];
    if (!t.Token.empty() && IsLowerOrDigit(t.Token[0]) && usage[t.Token] == 3u) {
      R.Err = "27. Inconsistent usage of variable " + t.Token;
      R.ErrPos = t.Position;
      return;
    }
  }
}

}  // namespace

}  // namespace

ParseResult ParseText(const std::string& Text) {
  ParseResult R;
  try {
    qv::TokenizeExpr(Text, R.Tokens, R.Err, R.ErrPos);
    if (!R.Err.empty()) return R;
    FormerRunPasses(R);
    if (!R.Err.empty()) return R;
    const int last = UpperBound(R.Tokens);
    if (last > 1 && R.Tokens[1].TPtr != last) {
      R.Err = "23. Expecting expression. May be a missing operator.";
      R.ErrPos = 0;
      return R;
    }
    FormerBuildNodes(R);
    if (!R.Err.empty()) return R;
    if (UpperBound(R.Nodes) < 1) {
      R.Err = "26. Expecting expression.";
      R.ErrPos = 0;
      return R;
    }
    FormerCheckBoundUsage(R);
  } catch (...) {
    R.Err = kUnableToParse;
    R.ErrPos = 0;
  }
  return R;
}

}  // namespace qv::reference
