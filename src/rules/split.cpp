// Split: a clicked conjunction A & B & C gives the statements A, B and C.
#include <string>
#include <vector>

#include "document/document.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {

void Split(AppState& S) {
  const int line = ClickedStatement(S, OnParseError::End);
  if (line == 0) return;
  const std::vector<NodeRec> nodes = S.Parser.Nodes;
  const std::vector<TokenRec> tokens = S.Parser.Tokens;
  const std::string stmt = S.Parser.ExprText;
  int node = LastIndex(nodes);
  if (node < 1 || nodes[node].Rule != kLAnd) {
    Beep(S);
    return;
  }

  // Conjuncts right to left along the chain of left operands; a conjunction
  // standing as a right operand stays whole.
  std::vector<std::string> conjuncts;
  while (nodes[node].Rule == kLAnd) {
    conjuncts.push_back(SpanText(stmt, BackwardNodeSpan(tokens, nodes[node].Ptr2)));
    node = nodes[node].Ptr1;
    if (node < 1 || node >= static_cast<int>(nodes.size())) throw RuleFailure("bad conjunction");
  }
  conjuncts.push_back(SpanText(stmt, ForwardNodeSpan(tokens, node)));

  // Every conjunct must parse before the proof is touched, so a bad late
  // conjunct never leaves the earlier ones put.
  std::vector<std::string> texts(conjuncts.rbegin(), conjuncts.rend());
  for (const std::string& c : texts) {
    S.Parser.ExprText = c;
    ParseExpr(S.Parser);
    if (!S.Parser.ParseErr.empty()) {
      PostParseError(S);
      return;
    }
  }

  S.Doc.RuleArg1 = line;
  S.Doc.RuleArg2 = 0;
  if (PutStatements(S, texts)) EndRule(S);
}

}  // namespace qv
