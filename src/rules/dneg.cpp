// Rem DNeg: a double negation ~~X clicked at its outer "~" becomes X, with
// the written brackets that enclose the inner negation removed too.
#include <algorithm>
#include <string>
#include <vector>

#include "document/document.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {

void RemDNeg(AppState& S) {
  ClickedToken c;
  if (!ClickToken(S, c)) return;
  const int k = c.K;
  const std::vector<TokenRec>& toks = c.Toks;
  const std::vector<NodeRec>& nodes = c.Nodes;
  const int last = LastIndex(toks);
  if (toks[k].Token != "~" || k < 2 || k + 1 > last) {
    Beep(S);
    return;
  }
  // The clicked "~" must be the outer one: its operand is a negation.
  const int n = toks[k - 1].DPtr;
  if (n < 2 || n >= static_cast<int>(nodes.size()) || nodes[n].Rule != kLNeg ||
      nodes[n].Ptr1 != n - 1 || nodes[n - 1].Rule != kLNeg) {
    Beep(S);
    return;
  }

  // Positions to delete, right to left: the written closing brackets of the
  // outer operand, the inner "~", then the written opening brackets before
  // the inner negation and the clicked "~" itself.
  std::vector<int> cut;  // token indices
  auto inRange = [&](int i) {
    if (i < 1 || i > last) throw RuleFailure("double negation outside the statement");
    return i;
  };
  int m = inRange(toks[k + 1].TPtr);
  while (IsRealToken(toks[m])) {
    cut.push_back(m);
    m = inRange(m - 1);
  }
  const int open = inRange(toks[m].TPtr);
  if (toks[inRange(open + 1)].Token != "~") throw RuleFailure("inner negation not found");
  cut.push_back(open + 1);
  for (int j = inRange(open - 1); IsRealToken(toks[j]); j = inRange(j - 1)) cut.push_back(j);

  std::string result = c.T;
  int previous = static_cast<int>(result.size()) + 1;
  for (int i : cut) {
    const TokenRec& t = toks[i];
    if (!IsRealToken(t) || t.Position >= previous) throw RuleFailure("deletions out of order");
    result.erase(t.Position - 1, t.Token.size());
    previous = t.Position;
  }

  const std::string expected =
      ShapeWith(nodes, n, NodeShapes(nodes)[nodes[n - 1].Ptr1]);
  PutRewrite(S, c.Line, result, expected, OnResultError::End);
}

}  // namespace qv
