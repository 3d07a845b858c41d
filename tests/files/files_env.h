// An AppState on in-memory boxes and a scripted host, with a scratch folder
// of its own as program folder and settings folder (settings files and
// proofs), removed at the end.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "document/state.h"
#include "files/files.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"

namespace qv {

struct FilesEnv {
  FilesEnv() {
    static std::atomic<int> serial{0};
    dir = std::filesystem::temp_directory_path() /
          ("qv-files-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    S.Attach(&host, &view, &status, &work);
    S.Ui.AppPath = dir.string();
    S.Ui.SettingsPath = PrepareSettingsFolder(S.Ui.AppPath, "");
  }
  ~FilesEnv() { std::filesystem::remove_all(dir); }
  FilesEnv(const FilesEnv&) = delete;
  FilesEnv& operator=(const FilesEnv&) = delete;

  std::string Path(const std::string& name) const { return (dir / name).string(); }

  std::filesystem::path dir;
  FakeHost host;
  MemRichBox view, status, work;
  AppState S;
};

}  // namespace qv
