// The former parser, kept as the oracle of the equivalence test (see
// reference_parser.cpp). Only that test links it.
#pragma once

#include <string>

#include "expr/expr.h"

namespace qv::reference {

// The former ParseText: tokens, nodes, message and position of one parse.
ParseResult ParseText(const std::string& Text);

}  // namespace qv::reference
