// A proof written to the bytes of a proof file and read back: every proof
// the program makes must open again.
#pragma once

#include <string>

#include "document/state.h"
#include "files/binformat.h"

namespace qv {

// "" when the file of d reads back, else the reader's reason for refusing it.
inline std::string ReopenRefusal(const DocState& d) {
  std::string caption;
  DocState back;
  return ReadProofBytes(WriteProofBytes("", d), caption, back);
}

}  // namespace qv
