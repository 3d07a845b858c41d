// Finds the program's manual and turns its path into a URL.
#include "files/helpfile.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qv {

namespace fs = std::filesystem;

std::string FindHelpIndex(const std::string& AppPath) {
  if (AppPath.empty()) return "";
  const fs::path app(AppPath);
  for (const fs::path& p : {app / "help" / "index.html", app / ".." / "share" / "quorvane" / "help" / "index.html"}) {
    std::error_code ec;
    if (fs::is_regular_file(p, ec)) return p.lexically_normal().string();
  }
  return "";
}

std::string FileUrl(const std::string& path) {
  std::error_code ec;
  fs::path abs = fs::absolute(path, ec);
  const std::string p = ec ? path : abs.string();
  std::string url = "file://";
  for (unsigned char c : p) {
    if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      url += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      url += hex;
    }
  }
  return url;
}

}  // namespace qv
