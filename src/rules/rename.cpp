// Rename and Reorder: the leading universal bound variables of a clicked
// statement are renamed or put in another order through the input box.
#include <string>

#include "view/view.h"
#include "rules/frame.h"
#include "rules/inputbox.h"
#include "rules/rules.h"

namespace qv {
namespace {

// Finds the clicked ALL statement and collects its leading universal
// variables into BoundVarNames; false (after a beep or a message) when the
// click cannot be used.
bool CollectPrefix(AppState& S, int& n) {
  n = ClickedCitedStatement(S, OnParseError::End);
  if (n == 0) return false;
  const std::vector<NodeRec>& nodes = S.Parser.Nodes;
  const int last = LastIndex(nodes);
  if (last < 1 || nodes[last].Rule != kALL || nodes[last].Ptr1 != 1) {
    Beep(S);
    return false;
  }
  InputBoxState& ui = InputBoxOf(S);
  ui.BoundVarNames.assign(1, std::string{});
  ui.BoundVarNames.push_back(nodes[1].Name);
  ui.NumBoundVars = 1;
  // The k-th quantifier of the prefix is node last - k + 1; it belongs to the
  // prefix only when it binds the k-th name, so a repeated variable such as
  // ALL(x):ALL(x): ends the prefix instead of listing another name.
  for (int i = 2; last - i + 1 >= 1; ++i) {
    const NodeRec& q = nodes[last - i + 1];
    if (q.Rule != kALL || q.Ptr1 != i) break;
    ui.BoundVarNames.push_back(nodes[i].Name);
    ++ui.NumBoundVars;
  }
  return true;
}

}  // namespace

void Rename(AppState& S) {
  int n = 0;
  if (!CollectPrefix(S, n)) return;
  InputBoxState& ui = InputBoxOf(S);
  std::string list;
  for (int k = 1; k <= ui.NumBoundVars; ++k) list += (k > 1 ? ", " : "") + ui.BoundVarNames[k];
  SaveParse(S);
  ui.Caption = "Rename Universal Bound Variables, Line " + std::to_string(n) + ":  " + list;
  ui.Label1 = ui.NumBoundVars < 2
                           ? "Enter name of bound variable"
                           : "Enter names of " + std::to_string(ui.NumBoundVars) +
                                 " bound variables, separated by commas";
  ui.Text1 = list;
  ui.Label2 = "";
  ShowInputBox(S);
  ClearStatus(S);
}

void Reorder(AppState& S) {
  int n = 0;
  if (!CollectPrefix(S, n)) return;
  InputBoxState& ui = InputBoxOf(S);
  if (ui.NumBoundVars < 2) {
    Beep(S);
    return;
  }
  std::string prefix;
  for (int k = 1; k <= ui.NumBoundVars; ++k) prefix += "ALL(" + ui.BoundVarNames[k] + "):";
  SaveParse(S);
  ui.Caption = "Reorder Quantifiers, Line " + std::to_string(n) + ":  " + prefix;
  ui.Label1 = "Rearrange quantifiers with Cut and Paste (Right Click)";
  ui.Text1 = prefix;
  ui.Label2 = "";
  ShowInputBox(S);
  ClearStatus(S);
}

}  // namespace qv
