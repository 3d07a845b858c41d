// The Subset rule: a click on a statement Set(U), Set'(U), Set''(U) ...
// opens the subset-axiom window, which asks for the subset's name, the bound
// variables of an element and the selection criterion, and puts the axiom.
#include <string>

#include "view/view.h"
#include "expr/expr.h"
#include "platform/host.h"
#include "rules/frame.h"
#include "rules/rules.h"

namespace qv {
namespace {

// The shape of node N of a parse.
std::string NodeShapeOf(const std::vector<NodeRec>& Nodes, int N) { return NodeShapes(Nodes)[N]; }

}  // namespace

void SubsetRule(AppState& S) {
  const int line = ClickedStatement(S, OnParseError::Keep);
  if (line == 0) return;
  S.Doc.RuleArg2 = 0;
  S.Doc.RuleArg1 = line;
  const std::vector<NodeRec> nodes = S.Parser.Nodes;
  const int last = LastIndex(nodes);
  if (last < 2 || nodes[last].Rule != kPred || !IsSingleTermKind(nodes[last - 1].Rule)) return Beep(S);
  const std::string& name = nodes[1].Name;
  if (name.size() < 3 || name.compare(0, 3, "Set") != 0) return Beep(S);
  int arity = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (name[i] != '\'') return Beep(S);
    ++arity;
  }
  const std::string text = S.Parser.ExprText;
  // The set is the text between the parenthesis after the name and the
  // statement's last character. The axiom is built from this text, so it
  // must stand for the predicate's argument itself; a statement written
  // otherwise (blanks around the parenthesis) falls back to the text between
  // the first "(" after the name and the last ")".
  const std::string want = NodeShapeOf(nodes, last - 1);
  auto standsForArgument = [&want](const std::string& u) {
    if (u.empty()) return false;
    const ParseResult r = ParseText(u);
    return r.Err.empty() && RootShape(r.Nodes) == want;
  };
  const int from = arity + 4;  // 0-based start of the argument
  std::string set;
  if (static_cast<int>(text.size()) > from + 1) set = text.substr(from, text.size() - (from + 1));
  if (!standsForArgument(set)) {
    const size_t open = text.find('(', name.size());
    const size_t close = text.rfind(')');
    set = (open != std::string::npos && close != std::string::npos && close > open)
              ? TrimBlanks(text.substr(open + 1, close - open - 1))
              : std::string();
    if (!standsForArgument(set)) return Beep(S);
  }
  SubsetWindowOf(S).SubsetArity = arity;
  SubsetWindowOf(S).SubsetSetText = set;

  SubsetWindowOf(S).SubsetCaption = "Subset Axiom, Line " + std::to_string(line) + ", " + text;
  SubsetWindowOf(S).SubsetLabel1 = arity != 0 ? "List " + std::to_string(arity + 1) +
                                       " bound variables (separated by commas) for element of subset:"
                                 : "Enter bound variable for element of the subset:";
  ClearStatus(S);
  if (S.host) S.host->ShowModal("SubsetFrm");
}

}  // namespace qv
