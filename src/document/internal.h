// Helpers that the document library's own sources share and no other
// library may include (the layering test refuses this header outside
// src/document; see docs/ARCHITECTURE.md).
#pragma once

#include <algorithm>
#include <string_view>

#include "document/document.h"

namespace qv {

// Calls Each with each name of a " a b " variable list, in list order,
// without copying them (VarListNames in document.h gives copies).
template <class EachName>
void ForEachVarName(std::string_view List, EachName Each) {
  size_t from = 0;
  while (from < List.size()) {
    const size_t blank = std::min(List.find(' ', from), List.size());
    if (blank > from) Each(List.substr(from, blank - from));
    from = blank + 1;
  }
}

}  // namespace qv
