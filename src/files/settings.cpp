// The four settings files: recent files, text size, default folder and the
// start-up tip option, and where they live.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "files/binformat.h"
#include "files/fileio.h"
#include "files/files.h"
#include "files/filesinternal.h"
#include "view/view.h"

namespace qv {

namespace fs = std::filesystem;

namespace {

constexpr const char* kRecentFiles = "RecentFiles.bin";
constexpr const char* kFontSizeFile = "UserFontSize.bin";
constexpr const char* kDefaultDirFile = "DefaultDir.bin";
constexpr const char* kUserOptionFile = "UserOption.bin";

// More than any settings file holds (five paths at most); a huge file put
// in the place of one costs no more than this to read.
constexpr size_t kMaxSettingsBytes = size_t(1) << 20;

bool ReadSettings(const AppState& S, const char* Name, std::string& Bytes) {
  return ReadFileBytes(SettingsFile(S, Name), Bytes, kMaxSettingsBytes);
}

// The warning box; its answer does not matter here.
void ShowWarningBox(AppState& S, const std::string& Text) {
  if (!S.host) return;
  const bool kept = S.Ui.DialogCancelled;
  WarningBoxOf(S).Text = Text;
  if (!S.host->ShowModal("Warning")) FilesMessage(S, Text);
  S.Ui.DialogCancelled = kept;
}

void SetSizeChecks(AppState& S) {
  if (!S.host) return;
  S.host->SetControlChecked("optSmallText", S.Ui.FontSize == 10);
  S.host->SetControlChecked("optMediumText", S.Ui.FontSize == 12);
  S.host->SetControlChecked("optLargeText", S.Ui.FontSize != 10 && S.Ui.FontSize != 12);
}

// The user's home folder: $HOME, else the one the password database names.
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home && home[0] == '/') return home;
  std::string buf(16384, '\0');
  passwd pw{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &found) == 0 && found && found->pw_dir &&
      found->pw_dir[0] == '/')
    return found->pw_dir;
  return "";
}

// Makes each missing folder of Dir, for the user alone (0700). True when
// Dir itself was made now.
bool MakeFolders(const fs::path& Dir) {
  fs::path p;
  bool made = false;
  for (const fs::path& part : Dir) {
    if (part.empty()) continue;  // after a trailing '/'
    p /= part;
    made = ::mkdir(p.c_str(), 0700) == 0;
    if (!made && errno != EEXIST) return false;
  }
  return made;
}

}  // namespace

// ---------------------------------------------------------------- recent files

void AddRecentFile(AppState& S) {
  const std::string path = SettingsFile(S, kRecentFiles);
  std::string bytes;
  std::vector<std::string> list;
  bool ok = ReadSettings(S, kRecentFiles, bytes) && DecodeRecentFiles(bytes, list) != SettingsRead::Truncated;
  if (ok) {
    const std::string& name = S.Ui.ProofFileName;
    auto it = std::find(list.begin(), list.end(), name);
    if (it != list.end()) list.erase(it);
    list.insert(list.begin(), name);
    if (list.size() > static_cast<size_t>(kMaxRecentFiles)) list.resize(kMaxRecentFiles);
    ok = WriteFileReplacing(path, EncodeRecentFiles(list));
  }
  if (!ok) {
    if (S.host) S.host->SetWaitCursor(false);
    FilesMessage(S, "Unable to save recent file name");
  }
}

void LoadRecentFiles(AppState& S) {
  std::string bytes;
  std::vector<std::string> list;
  if (!ReadSettings(S, kRecentFiles, bytes) ||
      DecodeRecentFiles(bytes, list) == SettingsRead::Truncated) {
    ShowWarningBox(S, "Unable to find Recent Files");
    return;
  }
  if (list.empty() || !S.host) return;
  S.host->SetControlVisible("bar6", true);
  for (size_t k = 0; k < list.size(); ++k) {
    const std::string item = "optFile" + std::to_string(k + 1);
    S.host->SetFileItemCaption(item, list[k]);
    S.host->SetControlVisible(item, true);
  }
}

// ---------------------------------------------------------------- text size

void LoadFontSize(AppState& S) {
  std::string bytes;
  int size = 12;
  bool found = ReadSettings(S, kFontSizeFile, bytes);
  SettingsRead r = found ? DecodeFontSize(bytes, size) : SettingsRead::Truncated;
  // A size no text could be drawn in is taken for a damaged file.
  if (r != SettingsRead::Ok || size < 6 || size > 72) size = 12;
  S.Ui.FontSize = size;
  S.Ui.SmallFontSize = size - 2;
  SetSizeChecks(S);
  if (!found || r == SettingsRead::Truncated) ShowWarningBox(S, "Unable to find Font Size Files");
}

void SaveFontSize(AppState& S) {
  if (!WriteFileReplacing(SettingsFile(S, kFontSizeFile), EncodeFontSize(S.Ui.FontSize))) {
    if (S.host) S.host->SetWaitCursor(false);
    FilesMessage(S, "Unable to save user font file");
  }
}

// ---------------------------------------------------------------- default folder, tip option

bool ReadDefaultDir(AppState& S) {
  std::string bytes;
  if (!ReadSettings(S, kDefaultDirFile, bytes)) return false;
  // A wrong tag only leaves the folder unset; a file that ends before its
  // folder does cannot be read, like a missing one.
  std::string dir;
  const SettingsRead r = DecodeDefaultDir(bytes, dir);
  if (r == SettingsRead::Truncated) return false;
  if (r == SettingsRead::Ok) S.Ui.DefaultDir = dir;
  return true;
}

bool ReadUserOption(AppState& S) {
  std::string bytes;
  int16_t value = 0;
  if (!ReadSettings(S, kUserOptionFile, bytes) || !DecodeUserOption(bytes, value)) return false;
  if (S.host) S.host->SetControlChecked("optShowTip", value == 0);
  return true;
}

bool WriteUserOption(AppState& S, bool ShowTip) {
  return WriteFileReplacing(SettingsFile(S, kUserOptionFile), EncodeUserOption(ShowTip ? 0 : -1));
}

void SelectDir(AppState& S) {
  if (!S.host) return;
  // The chooser stays up (opens again) until a folder is stored or the user
  // cancels it.
  for (;;) {
    const std::string dir = S.host->ChooseDirectory(" Select Default Directory", S.Ui.DefaultDir);
    if (dir.empty()) return;
    if (WriteFileReplacing(SettingsFile(S, kDefaultDirFile), EncodeDefaultDir(dir))) {
      S.Ui.DefaultDir = dir;
      return;
    }
    FilesBeep(S);
  }
}

// ---------------------------------------------------------------- settings folder

std::string UserSettingsFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  fs::path base;
  if (xdg && xdg[0] == '/') {
    base = xdg;
  } else {
    const std::string home = HomeFolder();
    // No home at all: a folder that never exists, so the settings read as
    // missing (with their warnings) and nothing is written anywhere.
    base = home.empty() ? fs::path("/nonexistent") : fs::path(home) / ".config";
  }
  return (base / "quorvane").lexically_normal().string();
}

std::string PrepareSettingsFolder(const std::string& Folder, const std::string& OldFolder) {
  const fs::path dir(Folder);
  // The settings of an earlier version are taken over when the folder is
  // new, that is at the first start only: a file deleted from the folder
  // later comes back with its default content, not the old one.
  const bool first = MakeFolders(dir);
  const std::pair<const char*, std::string> defaults[] = {
      {kRecentFiles, EncodeRecentFiles({})},
      {kFontSizeFile, EncodeFontSize(12)},
      {kDefaultDirFile, EncodeDefaultDir("")},
      {kUserOptionFile, EncodeUserOption(0)},
  };
  std::error_code same;
  const bool migrate = first && !OldFolder.empty() && !fs::equivalent(dir, OldFolder, same);
  for (const auto& [name, bytes] : defaults) {
    std::error_code ec;
    const fs::path file = dir / name;
    if (fs::exists(file, ec) || ec) continue;
    // A file kept in the program's folder by an earlier version is taken
    // over, the old one left where it is; only a regular file of one name,
    // never through a link (a program run as root from a folder another user
    // may write must not copy a file that user points it to).
    std::string old;
    if (migrate && ReadFileBytes((fs::path(OldFolder) / name).string(), old, kMaxSettingsBytes, Links::Refuse))
      WriteFileReplacing(file.string(), old);
    else
      WriteFileReplacing(file.string(), bytes);
  }
  return dir.string();
}

std::string ChooseSettingsPath(const std::string& AppPath) {
  return PrepareSettingsFolder(UserSettingsFolder(), AppPath);
}

}  // namespace qv
