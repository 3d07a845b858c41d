// A fresh AppState on in-memory boxes and a scripted host, and a scratch
// folder that holds the settings files and the proofs a test writes.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "document/document.h"
#include "files/fileio.h"
#include "files/files.h"
#include "files/files_env.h"
#include "files/proof_builder.h"

namespace qv {

class FilesTest : public ::testing::Test, protected FilesEnv {
 protected:

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

};

}  // namespace qv
