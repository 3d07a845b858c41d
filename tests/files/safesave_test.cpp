// Saving as the user who runs the program: a file that user may not write is
// never replaced, a writable one is saved wherever it can be written, its
// permission bits and symbolic links stay, and a failed write keeps the old
// contents. The saves run in a child process that, when the tests run as
// root, first becomes the unprivileged user nobody.
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "files/binformat.h"
#include "files/fileio.h"
#include "files_fixture.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

// What the child's SaveProof did, as its exit code.
constexpr int kSaved = 1;
constexpr int kWarned = 2;

class SafeSaveTest : public FilesTest {
 protected:
  SafeSaveTest() {
    Load(SampleProof(), "caption");
    expected = WriteProofBytes("caption", S.Doc);
    // The scratch folder must be passable by the unprivileged user.
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  }

  ~SafeSaveTest() override {
    // Open every folder again, so that the scratch folder can be removed.
    std::error_code ec;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
      if (e.is_directory() && !e.is_symlink()) ::chmod(e.path().c_str(), 0755);
  }

  static bool Root() { return ::geteuid() == 0; }

  // Hands a path to the user the child runs as (nothing to do when the
  // tests already run unprivileged: the child is the owner then).
  static void GiveToTester(const fs::path& p) {
    if (Root()) {
      ASSERT_EQ(::lchown(p.c_str(), kNobody, kNobody), 0) << p;
    }
  }

  // A folder the child may (Writable) or may not create files in.
  fs::path Folder(const std::string& name, bool Writable) {
    const fs::path f = dir / name;
    fs::create_directories(f);
    if (Writable) {
      GiveToTester(f);
      ::chmod(f.c_str(), 0755);
    } else {
      ::chmod(f.c_str(), 0555);
    }
    return f;
  }

  // A file with Contents and Mode, owned by the child's user when Mine.
  static void Make(const fs::path& p, const std::string& Contents, mode_t Mode, bool Mine = true) {
    ::chmod(p.parent_path().c_str(), 0755);  // the test itself may have to create it
    FILE* f = std::fopen(p.c_str(), "wb");
    ASSERT_NE(f, nullptr) << p;
    std::fwrite(Contents.data(), 1, Contents.size(), f);
    std::fclose(f);
    ASSERT_EQ(::chmod(p.c_str(), Mode), 0);
    if (Mine) GiveToTester(p);
  }

  // Runs SaveProof on ProofFileName = Path in a child process as the
  // unprivileged user, after Before (run in the child, already unprivileged).
  int SaveAsTester(const fs::path& Path, const std::function<void()>& Before = {}) {
    S.Ui.ProofFileName = Path.string();
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (Root() && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
        ::_exit(100);
      if (Before) Before();
      host.messages.clear();
      const bool saved = SaveProof(S);
      const bool warned = host.messages.size() == 1 && host.messages[0].text == "Unable to save file" &&
                          host.messages[0].title == "WARNING";
      ::_exit((saved ? kSaved : 0) | (warned ? kWarned : 0));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  static std::string Contents(const fs::path& p) {
    std::string b;
    ReadFileBytes(p.string(), b);
    return b;
  }
  static mode_t Mode(const fs::path& p) {
    struct stat st{};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
  }
  static ino_t Inode(const fs::path& p) {
    struct stat st{};
    ::stat(p.c_str(), &st);
    return st.st_ino;
  }
  // How many names Folder holds (a temporary file left behind adds one).
  static int Entries(const fs::path& Folder) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(Folder)) ++n;
    return n;
  }

  static std::string Attribute(const fs::path& p, const char* name) {
    char buf[256];
    const ssize_t n = ::getxattr(p.c_str(), name, buf, sizeof buf);
    return n < 0 ? "(none)" : std::string(buf, static_cast<size_t>(n));
  }

  std::string expected;
};

TEST_F(SafeSaveTest, FileTheUserMayNotWriteIsRefusedAndKept) {
  const fs::path f = Folder("mine", true);
  Make(f / "protected.proof", "protected contents", 0444);
  EXPECT_EQ(SaveAsTester(f / "protected.proof"), kWarned);
  EXPECT_EQ(Contents(f / "protected.proof"), "protected contents");
  EXPECT_EQ(Mode(f / "protected.proof"), 0444u);

  if (Root()) {  // someone else's file in the user's own folder
    Make(f / "theirs.proof", "their contents", 0644, false);
    EXPECT_EQ(SaveAsTester(f / "theirs.proof"), kWarned);
    EXPECT_EQ(Contents(f / "theirs.proof"), "their contents");
  }
  EXPECT_EQ(Entries(f), Root() ? 2 : 1);
}

TEST_F(SafeSaveTest, WritableFileInAFolderTheUserMayNotWriteIsSavedInPlace) {
  const fs::path f = Folder("shared", false);
  // Longer than the new contents: nothing of it may be left at the end.
  Make(f / "p.proof", std::string(3000, 'x'), 0640);
  ::chmod(f.c_str(), 0555);
  const ino_t inode = Inode(f / "p.proof");
  EXPECT_EQ(SaveAsTester(f / "p.proof"), kSaved);
  EXPECT_EQ(Contents(f / "p.proof"), expected);
  EXPECT_EQ(Mode(f / "p.proof"), 0640u);
  EXPECT_EQ(Inode(f / "p.proof"), inode);
  EXPECT_EQ(Entries(f), 1);

  // A new file cannot be made there.
  EXPECT_EQ(SaveAsTester(f / "new.proof"), kWarned);
  EXPECT_FALSE(fs::exists(f / "new.proof"));
}

TEST_F(SafeSaveTest, FileWithTheLongestNameSaves) {
  const fs::path f = Folder("long", true);
  const std::string name = std::string(244, 'n') + ".proof";  // 250 characters
  Make(f / name, "old", 0600);
  EXPECT_EQ(SaveAsTester(f / name), kSaved);
  EXPECT_EQ(Contents(f / name), expected);
  EXPECT_EQ(Mode(f / name), 0600u);

  const std::string fresh = std::string(249, 'm') + "f";
  EXPECT_EQ(SaveAsTester(f / fresh), kSaved);
  EXPECT_EQ(Contents(f / fresh), expected);
  EXPECT_EQ(Entries(f), 2);
}

TEST_F(SafeSaveTest, SymbolicLinkIsWrittenThroughAndStaysALink) {
  const fs::path f = Folder("links", true);
  const fs::path real = Folder("links/real", true);
  Make(real / "target.proof", "old", 0604);
  fs::create_symlink("real/target.proof", f / "link.proof");  // relative to the link's folder
  GiveToTester(f / "link.proof");
  fs::create_symlink("link.proof", f / "chain.proof");
  GiveToTester(f / "chain.proof");

  EXPECT_EQ(SaveAsTester(f / "chain.proof"), kSaved);
  EXPECT_TRUE(fs::is_symlink(f / "chain.proof"));
  EXPECT_TRUE(fs::is_symlink(f / "link.proof"));
  EXPECT_EQ(fs::read_symlink(f / "link.proof"), "real/target.proof");
  EXPECT_EQ(Contents(real / "target.proof"), expected);
  EXPECT_EQ(Mode(real / "target.proof"), 0604u);
  EXPECT_EQ(Entries(f), 3);
  EXPECT_EQ(Entries(real), 1);

  // A link to a protected file does not get the file replaced either.
  ::chmod((real / "target.proof").c_str(), 0444);
  Load(SampleProof(), "other caption");
  EXPECT_EQ(SaveAsTester(f / "link.proof"), kWarned);
  EXPECT_EQ(Contents(real / "target.proof"), expected);
  EXPECT_TRUE(fs::is_symlink(f / "link.proof"));
}

// A write that runs out of room (here: the file-size limit) fails, says so
// and leaves the old contents, on both ways of saving.
TEST_F(SafeSaveTest, WriteThatRunsOutOfRoomKeepsTheOldFile) {
  const std::string old = "previous contents";
  auto limited = [] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny{};
    ::getrlimit(RLIMIT_FSIZE, &tiny);
    tiny.rlim_cur = 64;
    ::setrlimit(RLIMIT_FSIZE, &tiny);
  };
  const fs::path ro = Folder("full-ro", false);
  Make(ro / "p.proof", old, 0644);
  ::chmod(ro.c_str(), 0555);
  EXPECT_EQ(SaveAsTester(ro / "p.proof", limited), kWarned);
  EXPECT_EQ(Contents(ro / "p.proof"), old);
  EXPECT_EQ(Mode(ro / "p.proof"), 0644u);

  const fs::path rw = Folder("full-rw", true);
  Make(rw / "p.proof", old, 0644);
  EXPECT_EQ(SaveAsTester(rw / "p.proof", limited), kWarned);
  EXPECT_EQ(Contents(rw / "p.proof"), old);
  EXPECT_EQ(Entries(rw), 1);
}

// A file put in place of the one being saved over, after the new contents
// are written and before they are renamed over it, is not replaced: the
// save fails and says so, and both files keep their contents.
TEST_F(SafeSaveTest, FileSwappedInBeforeTheRenameIsNotReplaced) {
  const fs::path f = Folder("swapped", true);
  Make(f / "p.proof", "old", 0644);
  auto swap = [f] {
    SetBeforeRenameHook([f] {
      std::rename((f / "p.proof").c_str(), (f / "moved.proof").c_str());
      std::ofstream(f / "p.proof") << "put in its place";
    });
  };
  EXPECT_EQ(SaveAsTester(f / "p.proof", swap), kWarned);
  EXPECT_EQ(Contents(f / "p.proof"), "put in its place");
  EXPECT_EQ(Contents(f / "moved.proof"), "old");
  EXPECT_EQ(Entries(f), 2);  // no temporary file left
}

// The file's extended attributes stay: a user attribute, and the ACL that
// lets a colleague (here the user daemon) write it. One the user may not
// give a new file (a security attribute, set by root) keeps the file where
// it is, written in place.
TEST_F(SafeSaveTest, SavingKeepsTheFilesExtendedAttributesAndAcl) {
  const fs::path f = Folder("attrs", true);
  Make(f / "p.proof", "old", 0644);
  if (::setxattr((f / "p.proof").c_str(), "user.origin", "kept", 4, 0) != 0)
    GTEST_SKIP() << "the file system takes no user attributes";
  auto le = [](uint32_t v, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  auto entry = [&](uint16_t tag, uint16_t perm, uint32_t id) { return le(tag, 2) + le(perm, 2) + le(id, 4); };
  const std::string acl = le(2, 4) + entry(0x01, 6, ~0u) + entry(0x02, 6, 1) + entry(0x04, 4, ~0u) +
                          entry(0x10, 6, ~0u) + entry(0x20, 4, ~0u);
  const bool haveAcl =
      ::setxattr((f / "p.proof").c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
  const std::string aclBefore = Attribute(f / "p.proof", "system.posix_acl_access");
  const mode_t mode = Mode(f / "p.proof");

  EXPECT_EQ(SaveAsTester(f / "p.proof"), kSaved);
  EXPECT_EQ(Contents(f / "p.proof"), expected);
  EXPECT_EQ(Attribute(f / "p.proof", "user.origin"), "kept");
  if (haveAcl) EXPECT_EQ(Attribute(f / "p.proof", "system.posix_acl_access"), aclBefore);
  EXPECT_EQ(Mode(f / "p.proof"), mode);
  EXPECT_EQ(Entries(f), 1);

  if (Root() && ::setxattr((f / "p.proof").c_str(), "security.qvtest", "label", 5, 0) == 0) {
    const ino_t inode = Inode(f / "p.proof");
    Load(SampleProof(), "in place");
    EXPECT_EQ(SaveAsTester(f / "p.proof"), kSaved);
    EXPECT_EQ(Contents(f / "p.proof"), WriteProofBytes("in place", S.Doc));
    EXPECT_EQ(Inode(f / "p.proof"), inode);
    EXPECT_EQ(Attribute(f / "p.proof", "security.qvtest"), "label");
    EXPECT_EQ(Attribute(f / "p.proof", "user.origin"), "kept");
  }
}

// Another user plants a link in a sticky, world-writable folder, leading to
// a file of the tester's. Where the kernel refuses to follow such links, the
// save does not follow it either: the tester's file stays as it was.
TEST_F(SafeSaveTest, LinkPlantedByAnotherUserInAStickyFolderIsNotFollowed) {
  std::ifstream setting("/proc/sys/fs/protected_symlinks");
  int protectedLinks = 0;
  if (!(setting >> protectedLinks) || protectedLinks == 0)
    GTEST_SKIP() << "the kernel follows links in sticky folders (fs.protected_symlinks is 0)";
  if (!Root()) GTEST_SKIP() << "planting a link as another user needs root";
  const fs::path mine = Folder("mine", true);
  Make(mine / "thesis.proof", "the tester's own work", 0644);
  const fs::path sticky = dir / "sticky";
  fs::create_directories(sticky);
  ASSERT_EQ(::chmod(sticky.c_str(), 01777), 0);
  fs::create_symlink(mine / "thesis.proof", sticky / "x.proof");
  constexpr uid_t kDaemon = 1;  // neither the tester nor the folder's owner
  ASSERT_EQ(::lchown((sticky / "x.proof").c_str(), kDaemon, kDaemon), 0);

  EXPECT_EQ(SaveAsTester(sticky / "x.proof"), kWarned);
  EXPECT_EQ(Contents(mine / "thesis.proof"), "the tester's own work");
  EXPECT_TRUE(fs::is_symlink(sticky / "x.proof"));
  EXPECT_EQ(Entries(mine), 1);
}

}  // namespace
}  // namespace qv
