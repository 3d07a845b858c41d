// Whole-file reads and crash-safe writes, and where the settings files live.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "files/binformat.h"

namespace qv {

struct AppState;

// Whether a read may go through a link: a symbolic link at the path itself,
// or a file that has other names too (a hard link).
enum class Links { Follow, Refuse };

// A regular file opened for reading, its bytes read as a ByteReader needs
// them. Anything else at the path (a FIFO, socket, device or folder) is
// refused at once and never waited on.
class ReadableFile : public ByteSource {
 public:
  ReadableFile() = default;
  ~ReadableFile() override;
  ReadableFile(const ReadableFile&) = delete;
  ReadableFile& operator=(const ReadableFile&) = delete;

  // False when the path names no regular file the user may read, or, with
  // Links::Refuse, when it names a symbolic link (whatever it leads to) or a
  // file with more than one name (a hard link).
  bool Open(const std::string& Path, Links L = Links::Follow);
  size_t Size() const override { return size_; }
  bool ReadAt(size_t Offset, size_t Need, size_t Want, std::string& Out) override;

 private:
  int fd_ = -1;
  size_t size_ = 0;
};

// Reads at most MaxBytes of the file into Out. False when the file cannot be
// opened or read (missing, not a regular file, no permission, a link with
// Links::Refuse).
bool ReadFileBytes(const std::string& Path, std::string& Out, size_t MaxBytes = size_t(1) << 30,
                   Links L = Links::Follow);

// Writes Bytes as the whole new content of Path:
//  - the kernel follows a symbolic link at Path as it does for any open (so
//    it refuses a link another user planted in a sticky folder), and only
//    the file that this open reached is written; the link stays;
//  - anything but a regular file, and an existing file that the user may not
//    open for writing, is never written (false, nothing touched);
//  - a new file, or an existing file of the user's own with no other name, is
//    written into a temporary file beside it, flushed to disk and renamed
//    over it, with the old file's permission bits, group and extended
//    attributes (ACLs included), so no half-written file ever carries its
//    name;
//  - a file owned by someone else or with other names, or one whose group or
//    an attribute the new file cannot be given, or one in a folder where no
//    file can be made, is written in place: the room for the new contents is
//    claimed first, and should the write still fail the old contents are
//    written back. A reader may see such a file half written meanwhile.
// False after any failure, with the old contents kept.
bool WriteFileReplacing(const std::string& Path, const std::string& Bytes);

// For tests: Hook runs when a save has written the new contents beside a
// file it replaces, right before it checks that the name still leads to
// the file it opened and renames the new one over it (an empty Hook: none).
void SetBeforeRenameHook(std::function<void()> Hook);

// The path of one of the settings files (DefaultDir.bin, ...): in
// S.Ui.SettingsPath, or in S.Ui.AppPath while no settings folder is set.
std::string SettingsFile(const AppState& S, const char* Name);

}  // namespace qv
