// Quant: the clicked quantifier turns into the other one between two
// negations, ALL(x):P into ~EXIST(x):~P and EXIST(x):P into ~ALL(x):~P,
// wherever it stands in the statement.
#include <string>
#include <vector>

#include "document/document.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {

void QuantSwitch(AppState& S) {
  ClickedToken c;
  if (!ClickToken(S, c)) return;
  const std::vector<TokenRec>& toks = c.Toks;
  const std::vector<NodeRec>& nodes = c.Nodes;
  const int k = c.K;
  const int last = LastIndex(toks);
  const std::string& word = toks[k].Token;
  if (word != "ALL" && word != "EXIST") {
    Beep(S);
    return;
  }
  // The quantifier reads keyword, its variable in two bracket pairs, then
  // the ":" six tokens on; its application's inserted bracket opens just
  // before the keyword.
  const int colon = k + 6;
  const int q = k >= 2 ? toks[k - 1].DPtr : 0;
  if (colon > last || toks[colon].Token != ":" || !IsRealToken(toks[colon]) || q < 1 ||
      q >= static_cast<int>(nodes.size()) ||
      nodes[q].Rule != (word == "ALL" ? kALL : kEXIST)) {
    Beep(S);
    return;
  }

  const bool all = word == "ALL";
  const int p = toks[k].Position;
  const int colonPos = toks[colon].Position;
  const std::string variable = SpanText(c.T, {p + static_cast<int>(word.size()), colonPos});
  const std::string switched = c.T.substr(0, p - 1) + (all ? "~EXIST" : "~ALL") + variable +
                               "~" + c.T.substr(colonPos);

  const std::vector<std::string> shapes = NodeShapes(nodes);
  const std::string expected = ShapeWith(
      nodes, q,
      NodeShape(kLNeg, "",
                NodeShape(all ? kEXIST : kALL, "", shapes[nodes[q].Ptr1],
                          NodeShape(kLNeg, "", shapes[nodes[q].Ptr2]))));
  PutRewrite(S, c.Line, switched, expected, OnResultError::Keep);
}

}  // namespace qv
