// The settings files: recent files, text size, default folder, tip option,
// and where they are kept.
#include <cstdlib>

#include "files/binformat.h"
#include "files_fixture.h"
#include "view/view.h"

namespace qv {
namespace {

std::vector<std::string> RecentList(const std::string& bytes) {
  std::vector<std::string> list;
  DecodeRecentFiles(bytes, list);
  return list;
}

TEST_F(FilesTest, FirstStartCreatesDefaultSettingsThatReadWithoutWarnings) {
  for (const char* f : {"RecentFiles.bin", "UserFontSize.bin", "DefaultDir.bin", "UserOption.bin"})
    EXPECT_TRUE(std::filesystem::exists(dir / f)) << f;
  LoadFontSize(S);
  LoadRecentFiles(S);
  EXPECT_TRUE(ReadDefaultDir(S));
  EXPECT_TRUE(ReadUserOption(S));
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(S.Ui.FontSize, 12);
  EXPECT_TRUE(host.ControlChecked("optMediumText"));
  EXPECT_EQ(S.Ui.DefaultDir, "");
  EXPECT_TRUE(host.ControlChecked("optShowTip"));
  // An existing file is never overwritten by the defaults.
  WriteBytes("UserFontSize.bin", EncodeFontSize(14));
  PrepareSettingsFolder(S.Ui.SettingsPath, "");
  EXPECT_EQ(Bytes("UserFontSize.bin"), EncodeFontSize(14));
}

// The environment variable Name set to Value (unset when null) while the
// object lives.
class ScopedEnv {
 public:
  ScopedEnv(const char* Name, const char* Value) : name_(Name) {
    const char* old = std::getenv(Name);
    had_ = old != nullptr;
    if (had_) saved_ = old;
    if (Value)
      setenv(Name, Value, 1);
    else
      unsetenv(Name);
  }
  ~ScopedEnv() {
    if (had_)
      setenv(name_, saved_.c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  bool had_ = false;
  std::string saved_;
};

class ConfigHome : public ScopedEnv {
 public:
  explicit ConfigHome(const char* Value) : ScopedEnv("XDG_CONFIG_HOME", Value) {}
};

// The settings folder is $XDG_CONFIG_HOME/quorvane when that variable holds
// an absolute path, else ~/.config/quorvane (a relative one is ignored, as
// the XDG rules have it), whatever the program's folder, which is left as it
// was.
TEST_F(FilesTest, SettingsGoToAnAbsoluteXdgConfigHomeElseToHomeNeverBesideTheProgram) {
  namespace fs = std::filesystem;
  const fs::path bin = dir / "bin";
  fs::create_directories(bin);
  const std::string home = (dir / "home").string();
  ScopedEnv homeVar("HOME", home.c_str());
  {
    const std::string config = (dir / "config").string();
    ConfigHome xdg(config.c_str());
    EXPECT_EQ(ChooseSettingsPath(bin.string()), config + "/quorvane");
  }
  for (const char* relative : {"config", "./config", ""}) {
    ConfigHome xdg(relative);
    EXPECT_EQ(UserSettingsFolder(), home + "/.config/quorvane") << relative;
  }
  ConfigHome unset(nullptr);
  const std::string chosen = ChooseSettingsPath(bin.string());
  EXPECT_EQ(chosen, home + "/.config/quorvane");
  EXPECT_TRUE(fs::is_regular_file(chosen + "/UserOption.bin"));
  EXPECT_TRUE(fs::is_empty(bin));
}

// A program installed in a folder the user may write (~/.local/bin) keeps
// the settings in the config folder, takes over the files an earlier
// version left beside it once, and never writes there.
TEST_F(FilesTest, WritableProgramFolderKeepsNothingAndItsOldSettingsAreTakenOverOnce) {
  namespace fs = std::filesystem;
  const fs::path bin = dir / "bin";
  fs::create_directories(bin);
  const std::string oldList = EncodeRecentFiles({"/p/old.proof", "/p/older.proof"});
  WriteBytes("bin/RecentFiles.bin", oldList);
  WriteBytes("bin/UserFontSize.bin", EncodeFontSize(14));
  const std::string config = (dir / "config").string();
  ConfigHome home(config.c_str());
  const std::string chosen = ChooseSettingsPath(bin.string());
  EXPECT_EQ(chosen, config + "/quorvane");
  EXPECT_EQ(fs::status(config + "/quorvane").permissions() & fs::perms::all, fs::perms::owner_all);

  S.Ui.AppPath = bin.string();
  S.Ui.SettingsPath = chosen;
  LoadFontSize(S);
  EXPECT_EQ(S.Ui.FontSize, 14);
  S.Ui.ProofFileName = "/p/new.proof";
  AddRecentFile(S);
  EXPECT_EQ(RecentList(Bytes("config/quorvane/RecentFiles.bin")),
            (std::vector<std::string>{"/p/new.proof", "/p/old.proof", "/p/older.proof"}));
  EXPECT_TRUE(ReadDefaultDir(S));
  EXPECT_TRUE(ReadUserOption(S));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.formsShown.empty());

  // The program's folder holds what it held; a later start reads only the
  // config folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(bin), fs::directory_iterator()), 2);
  EXPECT_EQ(Bytes("bin/RecentFiles.bin"), oldList);
  ChooseSettingsPath(bin.string());
  EXPECT_EQ(RecentList(Bytes("config/quorvane/RecentFiles.bin"))[0], "/p/new.proof");
  // Deleting the files returns the first-start defaults, not the old files.
  fs::remove(dir / "config/quorvane/RecentFiles.bin");
  fs::remove(dir / "config/quorvane/UserFontSize.bin");
  ChooseSettingsPath(bin.string());
  EXPECT_EQ(Bytes("config/quorvane/RecentFiles.bin"), EncodeRecentFiles({}));
  EXPECT_EQ(Bytes("config/quorvane/UserFontSize.bin"), EncodeFontSize(12));

  // Without XDG_CONFIG_HOME the folder is ~/.config/quorvane.
  ConfigHome unset(nullptr);
  if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
    EXPECT_EQ(UserSettingsFolder(), (fs::path(h) / ".config" / "quorvane").lexically_normal().string());
  }
}

// A program run as root from a folder another user may write takes over
// only the regular files there, never what a link in it leads to.
TEST_F(FilesTest, OldSettingsAreTakenOverFromRegularFilesNeverThroughALink) {
  namespace fs = std::filesystem;
  const fs::path bin = dir / "bin";
  fs::create_directories(bin);
  WriteBytes("secret", EncodeRecentFiles({"/root/secret.proof"}));
  fs::create_symlink(dir / "secret", bin / "RecentFiles.bin");
  WriteBytes("size", EncodeFontSize(14));
  fs::create_hard_link(dir / "size", bin / "UserFontSize.bin");
  WriteBytes("bin/UserOption.bin", EncodeUserOption(-1));
  const std::string config = (dir / "config").string();
  ConfigHome home(config.c_str());
  ChooseSettingsPath(bin.string());
  EXPECT_EQ(Bytes("config/quorvane/RecentFiles.bin"), EncodeRecentFiles({}));
  EXPECT_EQ(Bytes("config/quorvane/UserFontSize.bin"), EncodeFontSize(12));
  EXPECT_EQ(Bytes("config/quorvane/UserOption.bin"), EncodeUserOption(-1));
}

TEST_F(FilesTest, RecentFilesKeepFiveMostRecentFirstWithoutDuplicates) {
  auto add = [&](const std::string& p) {
    S.Ui.ProofFileName = p;
    AddRecentFile(S);
  };
  add("/p/a.proof");
  add("/p/a.proof");
  EXPECT_EQ(RecentList(Bytes("RecentFiles.bin")), (std::vector<std::string>{"/p/a.proof"}));
  for (const char* p : {"/p/b.proof", "/p/c.proof", "/p/d.proof", "/p/e.proof", "/p/f.proof"}) add(p);
  EXPECT_EQ(RecentList(Bytes("RecentFiles.bin")),
            (std::vector<std::string>{"/p/f.proof", "/p/e.proof", "/p/d.proof", "/p/c.proof", "/p/b.proof"}));
  add("/p/d.proof");  // the third moves to the front
  EXPECT_EQ(RecentList(Bytes("RecentFiles.bin")),
            (std::vector<std::string>{"/p/d.proof", "/p/f.proof", "/p/e.proof", "/p/c.proof", "/p/b.proof"}));
  add("/p/D.proof");  // another letter case is another file
  EXPECT_EQ(RecentList(Bytes("RecentFiles.bin"))[0], "/p/D.proof");
  EXPECT_EQ(RecentList(Bytes("RecentFiles.bin")).size(), 5u);
  EXPECT_TRUE(host.messages.empty());

  LoadRecentFiles(S);
  EXPECT_TRUE(host.ControlVisible("bar6"));
  EXPECT_EQ(host.ControlCaption("optFile1"), "/p/D.proof");
  EXPECT_EQ(host.ControlCaption("optFile5"), "/p/c.proof");
}

TEST_F(FilesTest, RecentFilesWithAForeignHeaderStartAfresh) {
  WriteBytes("RecentFiles.bin", "Quorvane 1" + std::string("\x09\x00", 2));  // 9 entries claimed
  S.Ui.ProofFileName = "/x.proof";
  AddRecentFile(S);
  EXPECT_EQ(RecentList(Bytes("RecentFiles.bin")), (std::vector<std::string>{"/x.proof"}));
}

TEST_F(FilesTest, MissingRecentFilesAreReported) {
  std::filesystem::remove(dir / "RecentFiles.bin");
  std::string shown;
  host.OnModal("Warning", [&] { shown = WarningBoxOf(S).Text; S.Ui.DialogCancelled = true; });
  LoadRecentFiles(S);
  EXPECT_EQ(shown, "Unable to find Recent Files");
  EXPECT_FALSE(S.Ui.DialogCancelled);  // the box's answer does not count
  S.Ui.ProofFileName = "/x.proof";
  AddRecentFile(S);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Unable to save recent file name");
  EXPECT_EQ(host.messages[0].title, "WARNING");
}

TEST_F(FilesTest, FontSizeFileSetsSizesAndCheckMarks) {
  struct Case {
    std::string bytes;
    int size;
    const char* checked;
  };
  const Case cases[] = {
      {EncodeFontSize(10), 10, "optSmallText"},
      {EncodeFontSize(14), 14, "optLargeText"},
      {EncodeFontSize(16), 16, "optLargeText"},
      {EncodeFontSize(0), 12, "optMediumText"},  // no text can be drawn that small
      {"Elsewhere!" + std::string("\x0e\x00", 2), 12, "optMediumText"},
  };
  for (const Case& c : cases) {
    WriteBytes("UserFontSize.bin", c.bytes);
    LoadFontSize(S);
    EXPECT_EQ(S.Ui.FontSize, c.size);
    EXPECT_EQ(S.Ui.SmallFontSize, c.size - 2);
    for (const char* item : {"optSmallText", "optMediumText", "optLargeText"})
      EXPECT_EQ(host.ControlChecked(item), std::string(item) == c.checked) << c.size << " " << item;
  }
  EXPECT_TRUE(host.formsShown.empty());

  std::filesystem::remove(dir / "UserFontSize.bin");
  LoadFontSize(S);
  EXPECT_EQ(S.Ui.FontSize, 12);
  EXPECT_EQ(WarningBoxOf(S).Text, "Unable to find Font Size Files");

  S.Ui.FontSize = 14;
  SaveFontSize(S);
  EXPECT_EQ(Bytes("UserFontSize.bin"), EncodeFontSize(14));
}

TEST_F(FilesTest, DefaultFolderChosenStoredAndReadBack) {
  host.dirAnswers = {"/home/u/proofs"};
  SelectDir(S);
  EXPECT_EQ(S.Ui.DefaultDir, "/home/u/proofs");
  EXPECT_EQ(host.dirDialogs.size(), 1u);
  S.Ui.DefaultDir.clear();
  EXPECT_TRUE(ReadDefaultDir(S));
  EXPECT_EQ(S.Ui.DefaultDir, "/home/u/proofs");

  SelectDir(S);  // cancelled: nothing changes
  EXPECT_EQ(S.Ui.DefaultDir, "/home/u/proofs");
  EXPECT_EQ(Bytes("DefaultDir.bin"), EncodeDefaultDir("/home/u/proofs"));

  WriteBytes("DefaultDir.bin", "QUORVANE 1" + std::string("\0\0\x03\0abc", 7));
  S.Ui.DefaultDir.clear();
  EXPECT_TRUE(ReadDefaultDir(S));
  EXPECT_EQ(S.Ui.DefaultDir, "");
  std::filesystem::remove(dir / "DefaultDir.bin");
  EXPECT_FALSE(ReadDefaultDir(S));
}

TEST_F(FilesTest, TipOptionFollowsUserOptionFile) {
  WriteBytes("UserOption.bin", EncodeUserOption(-1));
  host.SetControlChecked("optShowTip", true);
  EXPECT_TRUE(ReadUserOption(S));
  EXPECT_FALSE(host.ControlChecked("optShowTip"));

  TipsCheckClicked(S, true);
  EXPECT_EQ(Bytes("UserOption.bin"), EncodeUserOption(0));
  EXPECT_TRUE(host.ControlChecked("optShowTip"));
  TipsCheckClicked(S, false);
  EXPECT_EQ(Bytes("UserOption.bin"), std::string("\xff\xff", 2));
  EXPECT_FALSE(host.ControlChecked("optShowTip"));

  std::filesystem::remove(dir / "UserOption.bin");
  EXPECT_FALSE(ReadUserOption(S));
}

TEST(Tips, EveryIndexIsATip) {
  for (int i = 0; i < 200; ++i) {
    int k = RandomTipIndex();
    ASSERT_GE(k, 1);
    ASSERT_LE(k, kTipCount);
  }
  EXPECT_STREQ(kTips[2], "Use an Introduction to keep your overall objective visible at all times.");
}

}  // namespace
}  // namespace qv
