// Whole-file reads, crash-safe writes, and where the settings files live.
#include "files/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "document/state.h"

namespace qv {

namespace {

// Every open of a file (a folder is opened with O_DIRECTORY): no wait on a FIFO, no terminal made ours.
constexpr int kOpenFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

ReadableFile::~ReadableFile() {
  if (fd_ >= 0) ::close(fd_);
}

bool ReadableFile::Open(const std::string& Path, Links L) {
  if (fd_ >= 0 || Path.empty()) return false;
  // Looked at before it is opened, so that a FIFO or a device is never
  // opened at all, and again once open, in case the name changed hands.
  const bool follow = L == Links::Follow;
  struct stat st{};
  // Refusing links refuses a second name of the file too (a hard link).
  auto fits = [follow](const struct stat& s) { return S_ISREG(s.st_mode) && (follow || s.st_nlink == 1); };
  if ((follow ? ::stat(Path.c_str(), &st) : ::lstat(Path.c_str(), &st)) != 0 || !fits(st)) return false;
  const int fd = ::open(Path.c_str(), O_RDONLY | kOpenFlags | (follow ? 0 : O_NOFOLLOW));
  if (fd < 0) return false;
  if (::fstat(fd, &st) != 0 || !fits(st)) {
    ::close(fd);
    return false;
  }
  fd_ = fd;
  size_ = static_cast<size_t>(st.st_size);
  return true;
}

bool ReadableFile::ReadAt(size_t Offset, size_t Need, size_t Want, std::string& Out) {
  if (fd_ < 0 || Offset > size_ || Need > size_ - Offset) return false;
  // Read straight into Out: nothing passes through a buffer of its own.
  const size_t start = Out.size();
  const size_t until = std::min(std::max(Want, Need), size_ - Offset);
  Out.resize(start + until);
  size_t done = 0;
  while (done < until) {
    const ssize_t got = ::pread(fd_, Out.data() + start + done, until - done, static_cast<off_t>(Offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // an error, or the file got shorter
    done += static_cast<size_t>(got);
  }
  Out.resize(start + done);
  return done >= Need;
}

bool ReadFileBytes(const std::string& Path, std::string& Out, size_t MaxBytes, Links L) {
  Out.clear();
  ReadableFile f;
  if (!f.Open(Path, L)) return false;
  std::string data;
  const size_t n = std::min(f.Size(), MaxBytes);
  if (!f.ReadAt(0, n, n, data)) return false;
  Out = std::move(data);
  return true;
}

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// The names of fd's extended attributes; none on a file system without them.
bool AttributeNames(int fd, std::vector<std::string>& Names) {
  Names.clear();
  for (;;) {
    ssize_t n = ::flistxattr(fd, nullptr, 0);
    if (n < 0) return errno == ENOTSUP;
    std::string list(static_cast<size_t>(n), '\0');
    if (n > 0 && (n = ::flistxattr(fd, list.data(), list.size())) < 0) {
      if (errno == ERANGE) continue;  // grew in between
      return false;
    }
    for (size_t at = 0; at < static_cast<size_t>(n);) {
      const size_t end = list.find('\0', at);
      if (end == std::string::npos) break;
      if (end > at) Names.push_back(list.substr(at, end - at));
      at = end + 1;
    }
    return true;
  }
}

bool AttributeValue(int fd, const std::string& Name, std::string& Value) {
  for (;;) {
    ssize_t n = ::fgetxattr(fd, Name.c_str(), nullptr, 0);
    if (n < 0) return false;
    Value.assign(static_cast<size_t>(n), '\0');
    if (n > 0 && (n = ::fgetxattr(fd, Name.c_str(), Value.data(), Value.size())) < 0) {
      if (errno == ERANGE) continue;
      return false;
    }
    Value.resize(static_cast<size_t>(n));
    return true;
  }
}

// Gives To exactly the extended attributes of From (user attributes, the
// ACL in system.posix_acl_access, ...). False when one of them cannot be
// given or one that From lacks cannot be taken away.
bool CopyAttributes(int From, int To) {
  std::vector<std::string> names, theirs;
  if (!AttributeNames(From, names) || !AttributeNames(To, theirs)) return false;
  std::string value, present;
  for (const std::string& name : names) {
    if (!AttributeValue(From, name, value)) return false;
    if (::fsetxattr(To, name.c_str(), value.data(), value.size(), 0) != 0 &&
        !(AttributeValue(To, name, present) && present == value))
      return false;  // one the user may not set, unless it is already right
  }
  for (const std::string& name : theirs)
    if (std::find(names.begin(), names.end(), name) == names.end() && ::fremovexattr(To, name.c_str()) != 0 &&
        errno != ENODATA)
      return false;
  return true;
}

enum class TempWrite { Done, Failed, Unavailable };

std::function<void()>& BeforeRename() {
  static std::function<void()> hook;
  return hook;
}

// The old file a new one is to stand in for: its open descriptor (for its
// attributes), its status, and the name that must still lead to it.
struct Replaced {
  int fd;
  const struct stat& st;
};

// Writes Bytes into a new temporary file in Dir and renames it over Target.
// Replacing an old file, the new one gets its permission bits, group and
// extended attributes, and the rename happens only while Target still names
// that very file. Unavailable when no temporary file can be made there (a
// folder the user may not write, a read-only file system) or it cannot be
// given all that: nothing has been written then. Failed when the write
// itself failed or Target changed hands; the temporary file is gone and
// Target untouched either way.
TempWrite WriteBesideAndRename(const std::string& Dir, const std::string& Target, const std::string& Name,
                               const std::string& Bytes, mode_t Mode, const Replaced* Old) {
  // The temporary name says which file it belongs to, cut so that it never
  // exceeds the longest name the folder takes.
  std::string base = "." + Name;
  const long nameMax = ::pathconf(Dir.c_str(), _PC_NAME_MAX);
  const size_t maxLen = nameMax > 16 ? static_cast<size_t>(nameMax) : 255;
  if (base.size() + 7 > maxLen) base.resize(maxLen - 7);
  const std::string tmpl = Dir + "/" + base + ".XXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return TempWrite::Unavailable;
  const std::string tmp(name.data());
  // The group first: changing it may clear the set-group-ID bit, which the
  // mode then puts back; the attributes last, as an ACL goes with the mode.
  bool given = !Old || Old->st.st_gid == ::getegid() || ::fchown(fd, static_cast<uid_t>(-1), Old->st.st_gid) == 0;
  given = given && ::fchmod(fd, Mode) == 0;
  given = given && (!Old || CopyAttributes(Old->fd, fd));
  if (!given) {
    ::close(fd);
    ::unlink(tmp.c_str());
    return TempWrite::Unavailable;
  }
  bool ok = WriteAll(fd, Bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok && Old) {
    if (BeforeRename()) BeforeRename()();
    // Only the file that was opened is replaced, never one put in its place.
    struct stat now{};
    ok = ::lstat(Target.c_str(), &now) == 0 && SameFile(now, Old->st);
  }
  if (ok) ok = ::rename(tmp.c_str(), Target.c_str()) == 0;
  if (!ok) {
    ::unlink(tmp.c_str());
    return TempWrite::Failed;
  }
  // Make the rename itself durable.
  const int dfd = ::open(Dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return TempWrite::Done;
}

bool WriteAllAt(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

// Overwrites the open file fd with Bytes. The room for the new contents is
// claimed first, so that a full disk is found before one old byte changes;
// should a write still fail, the old contents (Old, when they could be read)
// are written back. Only a crash in the middle of the write itself can
// leave the file half written, which is why this is the way of last resort.
bool WriteInPlace(int fd, const std::string& Bytes, const std::string* Old, off_t OldSize) {
  if (static_cast<off_t>(Bytes.size()) > OldSize) {
    const int r = ::posix_fallocate(fd, 0, static_cast<off_t>(Bytes.size()));
    if (r != 0 && r != EOPNOTSUPP && r != EINVAL) {
      // Give back whatever part of the room was claimed.
      const bool shrunk = ::ftruncate(fd, OldSize) == 0;
      static_cast<void>(shrunk);
      return false;
    }
  }
  if (WriteAllAt(fd, Bytes) && ::fsync(fd) == 0 &&
      ::ftruncate(fd, static_cast<off_t>(Bytes.size())) == 0 && ::fsync(fd) == 0)
    return true;
  if (Old && WriteAllAt(fd, *Old) && ::ftruncate(fd, OldSize) == 0) ::fsync(fd);
  return false;
}

}  // namespace

namespace {

void SplitPath(const std::string& Path, std::string& Dir, std::string& Name) {
  const size_t slash = Path.rfind('/');
  Dir = slash == std::string::npos ? "." : slash == 0 ? "/" : Path.substr(0, slash);
  Name = slash == std::string::npos ? Path : Path.substr(slash + 1);
}

// Writes Bytes into the open regular file fd, whose status is St, reached
// through Path; Created tells that this save made it (empty) a moment ago.
bool ReplaceOpenFile(const std::string& Path, int fd, const struct stat& St, bool Readable, bool Created,
                     const std::string& Bytes) {
  // Where the file that the kernel reached lives: the name to rename over,
  // which must lead to that same file.
  char* real = ::realpath(Path.c_str(), nullptr);
  if (!real) return false;
  const std::string target(real);
  std::free(real);
  struct stat there{};
  if (::lstat(target.c_str(), &there) != 0 || !SameFile(there, St)) return false;
  std::string dir, name;
  SplitPath(target, dir, name);

  // Renaming a new file over the old one is safe against a crash at any
  // moment, but the new file is the user's own: use it only where nothing of
  // the old file is lost that way (its owner, group, attributes, other names).
  if (St.st_uid == ::geteuid() && St.st_nlink == 1) {
    const Replaced old{fd, St};
    const TempWrite r = WriteBesideAndRename(dir, target, name, Bytes, St.st_mode & 07777, &old);
    if (r != TempWrite::Unavailable) {
      if (r == TempWrite::Failed && Created) {
        struct stat now{};
        if (::lstat(target.c_str(), &now) == 0 && SameFile(now, St)) ::unlink(target.c_str());
      }
      return r == TempWrite::Done;
    }
  }

  // Written in place, as the user could.
  std::string old;
  bool haveOld = false;
  if (Readable) {
    old.reserve(static_cast<size_t>(St.st_size));
    char buf[1 << 16];
    haveOld = true;
    for (off_t at = 0;;) {
      const ssize_t got = ::pread(fd, buf, sizeof buf, at);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        haveOld = false;
        break;
      }
      if (got == 0) break;
      old.append(buf, static_cast<size_t>(got));
      at += got;
    }
  }
  return WriteInPlace(fd, Bytes, haveOld ? &old : nullptr, St.st_size);
}

}  // namespace

bool WriteFileReplacing(const std::string& Path, const std::string& Bytes) {
  if (Path.empty()) return false;
  // Anything but a regular file is refused before it is opened: a FIFO
  // would wait for a reader, a device may act on being opened.
  struct stat st{};
  bool created = false;
  int fd = -1;
  bool readable = true;
  if (::stat(Path.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode)) return false;
    // The kernel follows any link, with its protections, and says whether
    // the user may write the file: the same test as for a write in place.
    fd = ::open(Path.c_str(), O_RDWR | kOpenFlags);
    if (fd < 0 && errno == EACCES) {
      readable = false;
      fd = ::open(Path.c_str(), O_WRONLY | kOpenFlags);
    }
  } else {
    if (errno != ENOENT) return false;
    struct stat link{};
    if (::lstat(Path.c_str(), &link) != 0) {
      if (errno != ENOENT) return false;
      // A new file: written beside, then given its name, so that no
      // half-written file ever carries it. It gets the usual permissions
      // (0666 less the umask). Renaming never writes through a link that
      // appears meanwhile; it replaces the link.
      const mode_t mask = ::umask(0);
      ::umask(mask);
      std::string dir, name;
      SplitPath(Path, dir, name);
      if (name.empty()) return false;
      return WriteBesideAndRename(dir, Path, name, Bytes, 0666 & ~mask, nullptr) == TempWrite::Done;
    }
    if (!S_ISLNK(link.st_mode)) return false;
    // A link to a missing file: the kernel creates the file where it leads
    // (if it may follow it), and the save then fills it.
    fd = ::open(Path.c_str(), O_RDWR | O_CREAT | kOpenFlags, 0666);
    created = fd >= 0;
  }
  if (fd < 0) return false;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) ok = ReplaceOpenFile(Path, fd, st, readable, created, Bytes);
  return (::close(fd) == 0) && ok;
}

void SetBeforeRenameHook(std::function<void()> Hook) { BeforeRename() = std::move(Hook); }

std::string SettingsFile(const AppState& S, const char* Name) {
  const std::string& dir = S.Ui.SettingsPath.empty() ? S.Ui.AppPath : S.Ui.SettingsPath;
  if (dir.empty()) return Name;
  if (dir.back() == '/') return dir + Name;
  return dir + "/" + Name;
}

}  // namespace qv
