// Comparison of two statements up to the names of their bound variables:
// every quantified variable is renamed after the quantifier's order of
// appearance, the renamed text is parsed again, and the node tables compared.
#include <vector>

#include "expr/passes.h"

namespace qv {

namespace {

bool IsPrefixPlusDigits(const std::string& tok, const std::string& prefix) {
  if (tok.size() <= prefix.size() || tok.compare(0, prefix.size(), prefix) != 0) return false;
  for (size_t i = prefix.size(); i < tok.size(); ++i)
    if (tok[i] < '0' || tok[i] > '9') return false;
  return true;
}

// The canonical names are the prefix followed by a number. The usual prefix is
// "v#"; when either text already uses a name of that form, more "#" are added
// until no typed name can be mistaken for a renamed variable.
std::string CanonicalPrefix(const std::string& A, const std::string& B) {
  std::vector<std::string> names;
  for (const std::string* text : {&A, &B}) {
    std::vector<TokenRec> toks;
    std::string err;
    int16_t pos = 0;
    TokenizeExpr(*text, toks, err, pos);
    for (size_t i = 1; i < toks.size(); ++i)
      if (!toks[i].Token.empty() && IsLowerOrDigit(toks[i].Token[0]))
        names.push_back(toks[i].Token);
  }
  std::string prefix = "v#";
  for (;;) {
    bool clash = false;
    for (const std::string& n : names)
      if (IsPrefixPlusDigits(n, prefix)) {
        clash = true;
        break;
      }
    if (!clash) return prefix;
    prefix += '#';
  }
}

// Parses Text into P, renames its bound variables, parses the renamed text and
// hands back its node table. False when either parse fails.
bool CanonicalNodes(ParserState& P, const std::string& Text, const std::string& prefix,
                    std::vector<NodeRec>& out) {
  P.ExprText = Text;
  ParseExpr(P);
  if (!P.ParseErr.empty()) return false;
  std::vector<TokenRec>& T = P.Tokens;
  try {
    int k = 0;
    for (int idx = 1; idx <= LastIndex(T); ++idx) {
      if (!IsQuantifier(T[static_cast<size_t>(idx)].Token)) continue;
      // Layout: Q "(" "(" x ")" ")" ":" body-group
      ++k;
      const std::string name = prefix + std::to_string(k);
      const std::string x = TokAt(T, idx + 3).Token;
      TokAt(T, idx + 3).Token = name;
      const int bodyClose = TokAt(T, idx + 7).TPtr;
      for (int i = idx + 8; i <= bodyClose; ++i)
        if (TokAt(T, i).Token == x) TokAt(T, i).Token = name;
    }
  } catch (const ParseFault&) {
    return false;
  }
  std::string canonical;
  for (size_t i = 1; i < T.size(); ++i)
    if (T[i].Position > 0) canonical += T[i].Token;
  P.ExprText = canonical;
  ParseExpr(P);
  if (!P.ParseErr.empty()) return false;
  out = P.Nodes;
  return true;
}

}  // namespace

bool SameStmt(ParserState& P, const std::string& ARef, const std::string& BRef) {
  // Copies: a caller may pass P.ExprText itself, which the parses overwrite.
  const std::string A = ARef;
  const std::string B = BRef;
  const std::string prefix = CanonicalPrefix(A, B);
  std::vector<NodeRec> nodesA;
  std::vector<NodeRec> nodesB;
  if (!CanonicalNodes(P, A, prefix, nodesA)) return false;
  if (!CanonicalNodes(P, B, prefix, nodesB)) return false;
  if (nodesA.size() != nodesB.size()) return false;
  for (size_t i = 1; i < nodesA.size(); ++i) {
    const NodeRec& a = nodesA[i];
    const NodeRec& b = nodesB[i];
    if (a.Name != b.Name || a.Ptr1 != b.Ptr1 || a.Ptr2 != b.Ptr2 || a.Rule != b.Rule) return false;
  }
  return true;
}

}  // namespace qv
