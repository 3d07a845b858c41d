// The " a b " variable lists of a statement (FreeVars, ScopedVars,
// FlagVars): a blank before and after every name.
#include <string>
#include <vector>

#include "document/document.h"

namespace qv {

std::vector<std::string> VarListNames(const std::string& List) {
  std::vector<std::string> names;
  ForEachVarName(List, [&](std::string_view Name) { names.emplace_back(Name); });
  return names;
}

bool InList(const std::string& List, const std::string& Name) {
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
