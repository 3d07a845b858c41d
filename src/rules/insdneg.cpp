// Ins DNeg: "~~" is written just before the clicked token, so the bracket
// group that begins there becomes its double negation: P & Q clicked at P
// gives ~~P & Q.
#include <string>
#include <vector>

#include "document/document.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {

void InsDNeg(AppState& S) {
  ClickedToken c;
  if (!ClickToken(S, c)) return;
  const TokenRec& t = c.Toks[c.K];
  if (!IsRealToken(t) || t.Position > static_cast<int>(c.T.size())) {
    Beep(S);
    return;
  }
  std::string result = c.T;
  result.insert(static_cast<size_t>(t.Position - 1), "~~");

  // An insertion that does not parse, or one that parses to anything but
  // the statement with one of its formulas doubly negated, only beeps and
  // leaves the rule armed for another click.
  const ParseResult r = ParseText(result);
  if (!r.Err.empty()) {
    Beep(S);
    return;
  }
  const std::string got = RootShape(r.Nodes);
  const std::vector<std::string> shapes = NodeShapes(c.Nodes);
  for (size_t n = 1; n < c.Nodes.size(); ++n) {
    if (!IsFormulaKind(c.Nodes[n].Rule)) continue;
    const std::string expected = ShapeWith(
        c.Nodes, static_cast<int>(n), NodeShape(kLNeg, "", NodeShape(kLNeg, "", shapes[n])));
    if (expected == got) {
      PutRewrite(S, c.Line, result, expected, OnResultError::Silent);
      return;
    }
  }
  Beep(S);
}

}  // namespace qv
