#include "files/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "document/state.h"

namespace qv {

namespace fs = std::filesystem;

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

}  // namespace

bool WriteFileReplacing(const std::string& Path, const std::string& Bytes) {
  if (Path.empty()) return false;
  std::error_code ec;
  fs::path target(Path);
  // Replace the file a link points at, not the link.
  if (fs::is_symlink(target, ec)) {
    fs::path real = fs::weakly_canonical(target, ec);
    if (ec) return false;
    target = real;
  }
  if (fs::is_directory(target, ec)) return false;
  fs::path dir = target.parent_path();
  if (dir.empty()) dir = ".";

  std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  const std::string tmp(name.data());

  // Keep the permissions of the file being replaced; a new file gets the
  // usual ones (0666 less the umask).
  struct stat st{};
  mode_t mode;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }

  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, Bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(tmp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  // Make the rename itself durable.
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

std::string SettingsFile(const AppState& S, const char* Name) {
  const std::string& dir = S.Ui.SettingsPath.empty() ? S.Ui.AppPath : S.Ui.SettingsPath;
  if (dir.empty()) return Name;
  if (dir.back() == '/') return dir + Name;
  return dir + "/" + Name;
}

}  // namespace qv
