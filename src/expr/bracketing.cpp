// The bracketing passes. Precedence and associativity come only from the order
// of the passes and the direction each one scans: every operator application
// gets its own pair of inserted brackets (Position 0), so that the node
// builders can read the tree off the bracket structure.
#include <unordered_map>

#include "expr/passes.h"

namespace qv {

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

void WrapTokens(std::vector<TokenRec>& Toks, int a, int F) {
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

void BracketAtoms(std::vector<TokenRec>& Toks, std::vector<NodeRec>& NodeList, std::string& Err) {
  // Name -> its node, for the names met so far.
  std::unordered_map<std::string, int> known;
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
    WrapTokens(Toks, i, i);
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

void BracketApplications(std::vector<TokenRec>& Toks) {
  int i = 1;
  while (i <= UpperBound(Toks)) {
    const std::string& tok = TokAt(Toks, i).Token;
    const bool isName = !tok.empty() && tok != "ALL" && tok != "EXIST" &&
                        (IsLowerOrDigit(tok[0]) || IsUpper(tok[0]));
    if (isName && i + 2 < UpperBound(Toks)) {
      const TokenRec& arg = TokAt(Toks, i + 2);
      if (arg.Token == "(" && arg.Position > 0) {
        WrapTokens(Toks, i - 1, arg.TPtr);
        i += 2;
        continue;
      }
    }
    ++i;
  }
}

void BracketBinaryOps(std::vector<TokenRec>& Toks, const std::string& Op1, int Op1Kind,
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
    WrapTokens(Toks, a, right.TPtr);
    if (LeftToRight) {
      if (UpperBound(Toks) < b + 2) return;
      b += 2;
    }
    // Right to left: b now holds the token that stood before the operator.
  }
}

void BracketPrefixOps(const std::string& Quant1, const std::string& Quant2,
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
      WrapTokens(Toks, index, bodyOpen.TPtr);
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
      WrapTokens(Toks, index, operand.TPtr);
    }
  }
}

}  // namespace qv
