// Feeds arbitrary bytes to the proof-file reader and the settings readers.
// A file the reader accepts must satisfy the document invariants and come
// back identical after being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "files/binformat.h"

using namespace qv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::string caption;
  DocState d;
  if (ReadProofBytes(bytes, caption, d).empty()) {
    if (!CheckDocInvariants(d).empty()) std::abort();
    std::string caption2;
    DocState d2;
    if (!ReadProofBytes(WriteProofBytes(caption, d), caption2, d2).empty()) std::abort();
    if (caption2 != caption || d2.ProofText != d.ProofText || d2.StmtCount != d.StmtCount ||
        d2.IntroLen != d.IntroLen)
      std::abort();
    for (int k = 1; k <= d.StmtCount; ++k)
      if (!(d2.Stmts[k] == d.Stmts[k])) std::abort();
  }

  std::vector<std::string> paths;
  DecodeRecentFiles(bytes, paths);
  if (paths.size() > static_cast<size_t>(kMaxRecentFiles)) std::abort();
  int fontSize = 0;
  DecodeFontSize(bytes, fontSize);
  std::string dir;
  DecodeDefaultDir(bytes, dir);
  int16_t option = 0;
  DecodeUserOption(bytes, option);
  return 0;
}
