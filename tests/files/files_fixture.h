// A fresh AppState on in-memory boxes and a scripted host, and a scratch
// folder that holds the settings files and the proofs a test writes.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "document/document.h"
#include "files/fileio.h"
#include "files/files.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"
#include "files/proof_builder.h"

namespace qv {

class FilesTest : public ::testing::Test {
 protected:
  FilesTest() {
    static std::atomic<int> serial{0};
    dir = std::filesystem::temp_directory_path() /
          ("qv-files-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    S.host = &host;
    S.View = &view;
    S.StatusLine = &status;
    S.WorkArea = &work;
    S.Ui.AppPath = dir.string();
    S.Ui.SettingsPath = ChooseSettingsPath(S.Ui.AppPath);
  }
  ~FilesTest() override { std::filesystem::remove_all(dir); }

  std::string Path(const std::string& name) const { return (dir / name).string(); }

  std::string Bytes(const std::string& name) const {
    std::string b;
    ReadFileBytes(Path(name), b);
    return b;
  }

  void WriteBytes(const std::string& name, const std::string& b) const {
    ASSERT_TRUE(WriteFileReplacing(Path(name), b));
  }

  void Load(const ProofBuilder& b, const std::string& caption = "") {
    ASSERT_EQ(CheckDocInvariants(b.d), "");
    S.Doc = b.d;
    S.Ui.ProofCaption = caption;
  }

  std::filesystem::path dir;
  FakeHost host;
  MemRichBox view, status, work;
  AppState S;
};

}  // namespace qv
