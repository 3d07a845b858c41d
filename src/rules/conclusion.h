// Pieces of the Conclusion rule that other code and tests reach directly.
#pragma once

#include "document/state.h"

namespace qv {

// Adds one leading TAB to every line of the blocks p..q and moves the
// positions of those blocks and of every later one; recomputes the view
// positions. Leaves the document invariants true.
void IndentSubproof(DocState& d, int p, int q);

}  // namespace qv
