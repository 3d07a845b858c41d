// The " a b " variable lists of a statement (FreeVars, ScopedVars,
// FlagVars): a blank before and after every name.
#include <string>
#include <vector>

#include "document/document.h"
#include "document/internal.h"

namespace qv {

namespace {

// Appends Name to a list in list form (List is " " or " a b ... ").
void AddToVarList(std::string& List, const std::string& Name) {
  if (List.empty()) List = " ";
  if (!InList(List, Name)) List += Name + " ";
}

}  // namespace

std::vector<std::string> VarListNames(const std::string& List) {
  std::vector<std::string> names;
  ForEachVarName(List, [&](std::string_view Name) { names.emplace_back(Name); });
  return names;
}

RecordedVars RecordVarLists(const std::vector<TokenRec>& Tokens, const std::vector<NodeRec>& Nodes,
                            const std::function<bool(const std::string&)>& InScope) {
  RecordedVars out;
  // Free variables: an Atom counts when its first occurrence is free.
  std::string free = " ";
  for (size_t i = 1; i < Nodes.size(); ++i) {
    if (Nodes[i].Rule != kAtom) continue;
    const std::string& name = Nodes[i].Name;
    for (size_t t = 1; t < Tokens.size(); ++t) {
      if (Tokens[t].Token != name) continue;
      if (!Tokens[t].Bound) AddToVarList(free, name);
      break;
    }
  }
  out.Free = free == " " ? "" : free;
  // Scope of every free occurrence: a name right after the "(" the parser
  // puts before each Atom.
  std::string scoped = " ";
  for (size_t t = 1; t + 1 < Tokens.size(); ++t) {
    const TokenRec& open = Tokens[t];
    if (open.Token != "(" || open.DPtr < 1 || open.DPtr >= static_cast<int>(Nodes.size()) ||
        Nodes[open.DPtr].Rule != kAtom)
      continue;
    const TokenRec& var = Tokens[t + 1];
    if (var.Token == "(" || var.Bound) continue;
    if (InScope(var.Token)) AddToVarList(scoped, var.Token);
    ++t;
  }
  out.Scoped = scoped == " " ? "" : scoped;
  return out;
}

bool InList(const std::string& List, std::string_view Name) {
  // The same as finding " Name " but without building that string: this runs
  // for every variable of every statement the redraw colours. No name is
  // empty, so the empty name is in no list.
  if (Name.empty() || List.size() < Name.size() + 2) return false;
  for (size_t pos = List.find(Name, 1); pos != std::string::npos; pos = List.find(Name, pos + 1)) {
    if (List[pos - 1] == ' ' && pos + Name.size() < List.size() && List[pos + Name.size()] == ' ')
      return true;
  }
  return false;
}

}  // namespace qv
