#include "files/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "document/state.h"

namespace qv {

bool ReadFileBytes(const std::string& Path, std::string& Out, size_t MaxBytes) {
  Out.clear();
  if (Path.empty()) return false;
  int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string data;
  if (st.st_size > 0) data.reserve(std::min<size_t>(static_cast<size_t>(st.st_size), MaxBytes));
  char buf[1 << 16];
  while (data.size() < MaxBytes) {
    size_t want = std::min(sizeof buf, MaxBytes - data.size());
    ssize_t got = ::read(fd, buf, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (got == 0) break;
    data.append(buf, static_cast<size_t>(got));
  }
  ::close(fd);
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

// The file a path names once every symbolic link in its last component is
// followed (a link to a link included). A link to a missing file gives the
// missing file's path, so that saving creates it where the link points.
bool FollowLinks(const std::string& Path, std::string& Out) {
  std::string p = Path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st{};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      Out = p;
      return true;
    }
    std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(p.c_str(), buf.data(), buf.size());
    if (n < 0 || static_cast<size_t>(n) >= buf.size()) return false;
    const std::string link(buf.data(), static_cast<size_t>(n));
    if (link.empty()) return false;
    // A relative link is relative to the folder that holds it.
    if (link.front() == '/') {
      p = link;
    } else {
      const size_t slash = p.rfind('/');
      p = (slash == std::string::npos ? std::string() : p.substr(0, slash + 1)) + link;
    }
  }
  return false;  // a loop of links
}

enum class TempWrite { Done, Failed, Unavailable };

// Writes Bytes into a new temporary file in Dir and renames it over Target.
// Unavailable when no temporary file can be made there (a folder the user
// may not write, a read-only file system) or it could not be given Mode and
// Group: nothing has been written then. Failed when the write itself failed;
// the temporary file is gone and Target untouched either way.
TempWrite WriteBesideAndRename(const std::string& Dir, const std::string& Target, const std::string& Name,
                               const std::string& Bytes, mode_t Mode, const gid_t* Group) {
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
  if (::fchmod(fd, Mode) != 0 || (Group && ::fchown(fd, static_cast<uid_t>(-1), *Group) != 0)) {
    ::close(fd);
    ::unlink(tmp.c_str());
    return TempWrite::Unavailable;
  }
  bool ok = WriteAll(fd, Bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
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

bool WriteFileReplacing(const std::string& Path, const std::string& Bytes) {
  if (Path.empty()) return false;
  std::string target;
  if (!FollowLinks(Path, target)) return false;
  const size_t slash = target.rfind('/');
  const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  if (name.empty()) return false;

  struct stat st{};
  if (::stat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) return false;
    // A new file: written beside, then given its name, so that no half-written
    // file ever carries it. It gets the usual permissions (0666 less the umask).
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return WriteBesideAndRename(dir, target, name, Bytes, 0666 & ~mask, nullptr) == TempWrite::Done;
  }
  if (!S_ISREG(st.st_mode)) return false;

  // Only a file the user may open for writing is ever replaced: the same
  // test the system makes for a write in place.
  bool readable = true;
  int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0 && errno == EACCES) {
    readable = false;
    fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
  }
  if (fd < 0) return false;

  // Renaming a new file over the old one is safe against a crash at any
  // moment, but the new file is the user's own: use it only where nothing of
  // the old file is lost that way (its owner, its group, its other names).
  if (st.st_uid == ::geteuid() && st.st_nlink == 1) {
    const gid_t group = st.st_gid;
    const TempWrite r = WriteBesideAndRename(dir, target, name, Bytes, st.st_mode & 07777,
                                             group == ::getegid() ? nullptr : &group);
    if (r != TempWrite::Unavailable) {
      ::close(fd);
      return r == TempWrite::Done;
    }
  }

  // No file can be made beside it: write in place, as the user could.
  std::string old;
  bool haveOld = false;
  if (readable) {
    old.reserve(static_cast<size_t>(st.st_size));
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
  const bool ok = WriteInPlace(fd, Bytes, haveOld ? &old : nullptr, st.st_size);
  return (::close(fd) == 0) && ok;
}

std::string SettingsFile(const AppState& S, const char* Name) {
  const std::string& dir = S.Ui.SettingsPath.empty() ? S.Ui.AppPath : S.Ui.SettingsPath;
  if (dir.empty()) return Name;
  if (dir.back() == '/') return dir + Name;
  return dir + "/" + Name;
}

}  // namespace qv
