// Byte-level layout of the proof file and the settings files. Pure C++: no
// file system, no windows, so the tests and the fuzzer drive it directly.
//
// Numbers are little-endian two's complement, packed without padding. A text
// is a 2-byte unsigned length followed by that many 8-bit characters. Texts
// of 65,535 characters or more (a long ProofText) write 0xFFFF as the 2-byte
// length and the real length as 4 bytes right after it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/state.h"

namespace qv {

// The 10-character tag that opens the proof file and three settings files.
inline constexpr std::string_view kFileTag = "Quorvane 1";
// Length prefix that announces a 4-byte length.
inline constexpr uint16_t kLongTextMark = 0xFFFF;
// The longest text a proof file holds: its proof text, which a long proof
// makes long. Positions are 32-bit: a proof text well inside that range
// keeps every sum of positions from overflowing. Every other text has a
// bound of its own, by what it holds (a caption line, a name, a list of a
// statement's names). The writer refuses a text longer than its bound (so
// what it writes opens again), and the reader refuses one before taking in
// any of its bytes.
inline constexpr size_t kMaxFileText = INT32_MAX / 4;

class ByteWriter {
 public:
  // Text throws std::length_error for a text longer than MaxLen.
  void I16(int16_t v);
  void I32(int32_t v);
  void Bool16(bool b) { I16(b ? -1 : 0); }
  void Text(std::string_view s, size_t MaxLen = kMaxFileText);
  void Header(int16_t count);  // tag + count
  const std::string& Bytes() const { return out_; }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// Bytes a ByteReader takes in as it needs them (a file): Size() is what the
// source holds in all; ReadAt appends to Out the bytes from Offset on, at
// least Need of them and at most Want (the source may give less than Want),
// false when Need cannot be had.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t Size() const = 0;
  virtual bool ReadAt(size_t Offset, size_t Need, size_t Want, std::string& Out) = 0;
};

// Reads from a byte range, or from a source no further than the reads reach;
// every read checks what is left and fails (leaving the reader where it was)
// when the bytes run out, before it takes any of them in. From a source it
// keeps only a block of bytes not yet read, and a long text goes from the
// source straight into the string that takes it.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : in_(bytes), size_(bytes.size()) {}
  explicit ByteReader(ByteSource& source) : src_(&source), size_(source.Size()) {}
  bool I16(int16_t& v);
  bool I32(int32_t& v);
  bool Bool16(bool& v);  // any nonzero value is true
  // A text of at most MaxLen characters.
  bool Text(std::string& s, size_t MaxLen = SIZE_MAX);
  // Reads the tag and count; TagOk tells whether the tag was "Quorvane 1".
  bool Header(bool& TagOk, int16_t& Count);
  size_t Remaining() const { return size_ - pos_; }

 private:
  // The next n bytes are at hand in in_.
  bool Have(size_t n);
  // The byte at pos_ + i.
  char At(size_t i) const { return in_[pos_ - at_ + i]; }

  std::string_view in_;  // the input's bytes from at_ on that are at hand
  ByteSource* src_ = nullptr;
  std::string buf_;  // from a source: the bytes taken in, from at_ on
  size_t at_ = 0;
  size_t size_ = 0;
  size_t pos_ = 0;
};

// ---- Proof file ----

// The bytes of a proof file for the caption and the document's statements
// and text.
std::string WriteProofBytes(const std::string& Caption, const DocState& d);

// Reads a proof file into Caption and d (ProofText, Stmts, StmtCount,
// IntroLen), with closed subproofs collapsed and the view positions rebuilt.
// Returns "" on success, else what is wrong with the file; on failure the
// outputs hold nothing useful and the caller keeps its own document.
// Bytes after the proof text are ignored, and never read from a source; a
// count or length that promises more than the rest holds is refused before
// anything is taken in for it.
std::string ReadProofBytes(ByteReader& r, std::string& Caption, DocState& d);
inline std::string ReadProofBytes(std::string_view bytes, std::string& Caption, DocState& d) {
  ByteReader r(bytes);
  return ReadProofBytes(r, Caption, d);
}

// ---- Settings files ----

enum class SettingsRead { Ok, BadHeader, Truncated };

// RecentFiles.bin: header (count 1..5), then the paths, most recent first.
inline constexpr int kMaxRecentFiles = 5;
std::string EncodeRecentFiles(const std::vector<std::string>& paths);
// Ok: Paths holds the list. BadHeader: wrong tag or a count outside 1..5
// (Paths empty). Truncated: the file ends inside the list.
SettingsRead DecodeRecentFiles(std::string_view bytes, std::vector<std::string>& Paths);

// UserFontSize.bin: header only, the count being the font size.
std::string EncodeFontSize(int FontSize);
SettingsRead DecodeFontSize(std::string_view bytes, int& FontSize);

// DefaultDir.bin: header (count 0, never read), then the folder as one text.
std::string EncodeDefaultDir(const std::string& Dir);
SettingsRead DecodeDefaultDir(std::string_view bytes, std::string& Dir);

// UserOption.bin: one 16-bit number, no header; 0 = show the tip on start-up.
std::string EncodeUserOption(int16_t Value);
bool DecodeUserOption(std::string_view bytes, int16_t& Value);

}  // namespace qv
