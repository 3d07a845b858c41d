// Feeds arbitrary bytes to the proof-file reader and the settings readers.
// A file the reader accepts must satisfy the document invariants and come
// back identical after being written and read again.
//
// The proof-file reader also takes the road of a file the user opens: the
// bytes are written to a file on disk, followed by a hole of 0 to 63 MB
// (the low six bits of the last byte), so that a length can claim what only
// a sparse file holds. Read through the file's size and only as far as the
// records reach, it must agree with the reader of the bytes in memory, and
// read no further than one block past where it stopped.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "files/binformat.h"
#include "files/fileio.h"

using namespace qv;

namespace {

// How far past where it stopped a reader may have read: a block taken in
// ahead, after the length of a text it then refused.
constexpr size_t kReadAhead = (size_t(1) << 16) + 6;

// A file's reads, and the farthest byte they reached.
class WatchedFile : public ByteSource {
 public:
  explicit WatchedFile(ReadableFile& f) : f_(f) {}
  size_t Size() const override { return f_.Size(); }
  bool ReadAt(size_t Offset, size_t Need, size_t Want, std::string& Out) override {
    const size_t before = Out.size();
    const bool ok = f_.ReadAt(Offset, Need, Want, Out);
    farthest = std::max(farthest, Offset + (Out.size() - before));
    return ok;
  }
  size_t farthest = 0;

 private:
  ReadableFile& f_;
};

// The scratch file every input is written to, made once.
const std::string& ScratchPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string p = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz_files-XXXXXX";
    const int fd = ::mkstemp(p.data());
    if (fd < 0) std::abort();
    ::close(fd);
    return p;
  }();
  return path;
}

void WriteScratch(std::string_view bytes, size_t hole) {
  const int fd = ::open(ScratchPath().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) std::abort();
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<size_t>(n);
  }
  if (::ftruncate(fd, static_cast<off_t>(bytes.size() + hole)) != 0) std::abort();
  ::close(fd);
}

bool SameProof(const std::string& c1, const DocState& d1, const std::string& c2, const DocState& d2) {
  if (c1 != c2 || d1.ProofText != d2.ProofText || d1.StmtCount != d2.StmtCount || d1.IntroLen != d2.IntroLen)
    return false;
  for (int k = 1; k <= d1.StmtCount; ++k)
    if (!(d1.Stmts[k] == d2.Stmts[k])) return false;
  return true;
}

// An accepted proof keeps the invariants and reads back the same once written.
void CheckAccepted(const std::string& caption, const DocState& d) {
  if (!CheckDocInvariants(d).empty()) std::abort();
  std::string caption2;
  DocState d2;
  if (!ReadProofBytes(WriteProofBytes(caption, d), caption2, d2).empty()) std::abort();
  if (!SameProof(caption, d, caption2, d2)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  std::string caption;
  DocState d;
  const bool inMemory = ReadProofBytes(bytes, caption, d).empty();
  if (inMemory) CheckAccepted(caption, d);

  const size_t hole = size == 0 ? 0 : (static_cast<size_t>(data[size - 1] & 0x3F) << 20);
  WriteScratch(bytes, hole);
  ReadableFile file;
  if (!file.Open(ScratchPath())) std::abort();
  WatchedFile watched(file);
  ByteReader r(watched);
  std::string fileCaption;
  DocState fileDoc;
  const bool fromFile = ReadProofBytes(r, fileCaption, fileDoc).empty();
  // Bytes after the proof text are never read, and change nothing.
  if (inMemory && (!fromFile || !SameProof(caption, d, fileCaption, fileDoc))) std::abort();
  if (hole == 0 && fromFile != inMemory) std::abort();
  if (fromFile && !inMemory) CheckAccepted(fileCaption, fileDoc);
  if (watched.farthest > file.Size() - r.Remaining() + kReadAhead) std::abort();

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
