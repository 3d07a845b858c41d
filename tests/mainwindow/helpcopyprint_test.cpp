// Help, web page, about, tip option, copy, clipboard format and the Print
// command's proposed range, over in-memory boxes and a scripted host.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "view/view.h"
#include "files/fileio.h"
#include "files/files_env.h"
#include "files/proof_builder.h"
#include "platform/commands.h"
#include "mainwindow/helpcopyprint.h"
#include "files/print.h"

namespace qv {
namespace {

class HelpCommandsTest : public ::testing::Test, protected FilesEnv {
 protected:
  HelpCommandsTest() { RegisterHelpCommands(S, commands); }

  void Run(const std::string& name) { ASSERT_TRUE(commands.Run(name)) << name; }

  // SampleProof drawn in the view: lines 1, 7 and 8 shown, 2..6 hidden.
  void ShowSample() {
    S.Doc = SampleProof().d;
    ResetFonts(S);
  }
  // The range the Print command hands to the print window for a selection.
  std::pair<std::string, std::string> Proposed(int32_t start, int32_t length) {
    view.SetSelStart(start);
    view.SetSelLength(length);
    std::pair<std::string, std::string> got{"?", "?"};
    host.OnModal("PrintProof", [&] { got = {PrintProofOf(S).Text1, PrintProofOf(S).Text2}; });
    Run("optPrint");
    return got;
  }
  // 0-based caret of the first character of line k in the view, and of the
  // character just after its rule text.
  int32_t ViewStart(int k) const { return S.Doc.Stmts[k].ViewerStartLine - 1; }
  int32_t ViewEnd(int k) const {
    const StmtRec& s = S.Doc.Stmts[k];
    return s.EndRule - s.StartLine + s.ViewerStartLine;
  }

  CommandRegistry commands;
};

constexpr const char* kNothingToOpen =
    "There is nothing to open: no manual was found beside the program, and it was built without a web address.";

TEST_F(HelpCommandsTest, HelpOpensTheManualBesideTheProgramOrSaysItIsMissing) {
  // No manual: the message, and for "Quorvane Online" the build's web page,
  // or, built without one, the message that there is neither.
  ShowStatus(S, "old");
  Run("cmdHelp");
  EXPECT_TRUE(host.openedHelp.empty());
  ASSERT_NE(host.LastMessage(), nullptr);
  EXPECT_EQ(host.LastMessage()->text, "Help file \"Quorvane.chm\" not found");
  EXPECT_EQ(host.LastMessage()->title, "SYSTEM ERROR");
  EXPECT_EQ(StatusText(S), "");
  Run("optQuorvaneOnlline");
  if (*kQuorvaneWebSite) {
    EXPECT_EQ(host.openedUrls, std::vector<std::string>{kQuorvaneWebSite});
  } else {
    EXPECT_TRUE(host.openedUrls.empty());
    EXPECT_EQ(host.LastMessage()->text, kNothingToOpen);
    host.messages.pop_back();
  }
  host.openedUrls.clear();

  // The manual beside the program: shown, and a viewer that fails still
  // gets the message.
  std::filesystem::create_directories(dir / "help");
  ASSERT_TRUE(WriteFileReplacing(Path("help/index.html"), "<html></html>"));
  host.helpAvailable = true;
  Run("optUserManual");
  ASSERT_EQ(host.openedHelp.size(), 1u);
  EXPECT_EQ(host.openedHelp[0], (dir / "help" / "index.html").string());
  EXPECT_EQ(host.messages.size(), 1u);
  host.helpAvailable = false;
  Run("cmdHelp");
  EXPECT_EQ(host.messages.size(), 2u);
  Run("optQuorvaneOnlline");
  EXPECT_EQ(host.openedUrls.back(), "file://" + (dir / "help" / "index.html").string());

  host.RegisterForm("AboutQuorvane", [] {});
  Run("optAbout");
  EXPECT_EQ(host.formsShown, std::vector<std::string>{"AboutQuorvane"});
}

// "Quorvane Online" opens the manual when there is one, else the web page the
// build was given, and says so when there is neither; the about window's
// button puts the web page first.
TEST_F(HelpCommandsTest, QuorvaneOnlineOpensTheManualOrTheWebPageOrSaysThereIsNeither) {
  const std::string site = "https://proofs.example.org/";
  OpenQuorvaneOnline(S, "", true);
  EXPECT_TRUE(host.openedUrls.empty());
  ASSERT_NE(host.LastMessage(), nullptr);
  EXPECT_EQ(host.LastMessage()->text, kNothingToOpen);
  EXPECT_EQ(host.LastMessage()->title, "WARNING");
  OpenQuorvaneOnline(S, site, true);
  OpenQuorvaneOnline(S, site, false);
  std::filesystem::create_directories(dir / "help");
  ASSERT_TRUE(WriteFileReplacing(Path("help/index.html"), "<html></html>"));
  const std::string manual = "file://" + (dir / "help" / "index.html").string();
  OpenQuorvaneOnline(S, "", false);
  OpenQuorvaneOnline(S, site, true);
  OpenQuorvaneOnline(S, site, false);
  EXPECT_EQ(host.openedUrls, (std::vector<std::string>{site, site, manual, manual, site}));
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(HelpCommandsTest, ShowTipTogglesTheCheckAndTheStoredOption) {
  host.SetControlChecked("optShowTip", true);
  const std::string file = S.Ui.SettingsPath + "/UserOption.bin";
  std::string bytes;
  Run("optShowTip");
  EXPECT_FALSE(host.ControlChecked("optShowTip"));
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, std::string("\xff\xff", 2));
  Run("optShowTip");
  EXPECT_TRUE(host.ControlChecked("optShowTip"));
  ASSERT_TRUE(ReadFileBytes(file, bytes));
  EXPECT_EQ(bytes, std::string("\0\0", 2));

  // An unwritable settings folder: reported; the check mark still changes.
  S.Ui.SettingsPath = Path("missing/folder");
  Run("optShowTip");
  EXPECT_FALSE(host.ControlChecked("optShowTip"));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(StatusText(S), "Unable to process request");
}

TEST_F(HelpCommandsTest, RichTextModeDecidesWhatCopyPutsOnTheClipboard) {
  host.SetControlChecked("optRichTextMode", true);
  view.SetText("1\tx@n");
  view.SetSelStart(2);
  view.SetSelLength(3);
  Run("optRichTextMode");
  EXPECT_FALSE(host.ControlChecked("optRichTextMode"));
  Run("optCopy");
  EXPECT_EQ(host.clipboardText, "x@n");
  EXPECT_EQ(host.clipboardRich, "");
  Run("optRichTextMode");
  Run("optCopy");
  EXPECT_NE(host.clipboardRich, "");
}

TEST_F(HelpCommandsTest, PrintProposesAllLinesOrThoseTheSelectionTouches) {
  ShowSample();
  EXPECT_EQ(Proposed(0, 0), (std::pair<std::string, std::string>{" 1", " 8"}));
  // Inside one statement: that statement alone.
  EXPECT_EQ(Proposed(ViewStart(7) + 2, 3), (std::pair<std::string, std::string>{" 7", " 7"}));
  // From the Introduction into line 7.
  EXPECT_EQ(Proposed(0, ViewStart(7) + 2), (std::pair<std::string, std::string>{" 1", " 7"}));
  // Ending just after line 1's rule text, in the gap: the last line stays.
  EXPECT_EQ(Proposed(ViewStart(1), ViewEnd(1) - ViewStart(1)),
            (std::pair<std::string, std::string>{" 1", " 8"}));
}

TEST_F(HelpCommandsTest, PrintWithNothingOrOnlyAnIntroduction) {
  Run("optPrint");
  EXPECT_EQ(StatusText(S), "Print:  Nothing to print");
  EXPECT_TRUE(host.formsShown.empty());

  ProofBuilder b;
  b.Intro("Prove: P");
  S.Doc = b.d;
  ResetFonts(S);
  EXPECT_EQ(Proposed(0, 0), (std::pair<std::string, std::string>{" 1", " 0"}));

  // No print window to show: the failure goes to the window's guard.
  host.ClearModalScript("PrintProof");
  EXPECT_THROW(optPrint_Click(S), std::exception);
}

TEST(HelpCommandsRegistry, KeepsCommandsRegisteredBefore) {
  AppState S;
  CommandRegistry commands;
  int ran = 0;
  commands.Add("optCopy", [&] { ++ran; });
  RegisterHelpCommands(S, commands);
  commands.Run("optCopy");
  EXPECT_EQ(ran, 1);
  for (const char* name : {"cmdHelp", "optUserManual", "optQuorvaneOnlline", "optAbout", "optShowTip",
                           "optRichTextMode", "optPrint"})
    EXPECT_TRUE(commands.Has(name)) << name;
}

}  // namespace
}  // namespace qv
