// The main window's handlers over a scripted host and in-memory boxes:
// start-up, Esc, Exit through the save-changes prompt, undo and redo, and the
// File menu with real proof files in a scratch folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "files/binformat.h"
#include "files/files_fixture.h"
#include "platform/commands.h"
#include "mainwindow/maincommands.h"

namespace qv {
namespace {

class MainCommandsTest : public FilesTest {
 protected:
  // Answers the save-changes prompt as the user would.
  void Answer(char a) {
    host.OnModal("SaveChanges", [this, a] {
      if (a == 'Y') SaveChangesYes(S);
      if (a == 'N') SaveChangesNo(S);
      if (a == 'C') SaveChangesCancel(S);
    });
  }
  void Changed(const ProofBuilder& b) {
    Load(b);
    S.Ui.ProofChanged = true;
  }
  static ProofBuilder TwoLines() {
    ProofBuilder b;
    b.Add("A", kRuleAxiom);
    b.Add("B", kRuleAxiom);
    return b;
  }
  int Shown(const std::string& form) const {
    return static_cast<int>(std::count(host.formsShown.begin(), host.formsShown.end(), form));
  }

  ProofWindowState W;
};

// ---- start-up ----

TEST(CmdLine, QuotesAreCutOnlyWhenTheyAreThere) {
  EXPECT_EQ(CmdLineProofPath({"prog"}), "");
  EXPECT_EQ(CmdLineProofPath({"prog", "\"/home/a/b.proof\""}), "/home/a/b.proof");
  EXPECT_EQ(CmdLineProofPath({"prog", "/home/a/b.proof"}), "/home/a/b.proof");
  EXPECT_EQ(CmdLineProofPath({"prog", "\""}), "");
  // A path with blanks given without quotes arrives in pieces.
  EXPECT_EQ(CmdLineProofPath({"prog", "/home/a/my", "proof.proof"}), "/home/a/my proof.proof");
  EXPECT_EQ(CmdLineProofPath({"prog", "'/x y.proof'"}), "/x y.proof");
}

TEST_F(MainCommandsTest, StartUpSetsTitleStatusAndTipFromSettings) {
  WriteBytes("UserOption.bin", std::string("\xff\xff", 2));
  Form_Load(S, W, {"prog"});
  EXPECT_EQ(host.WindowTitle(), " Quorvane 2.0  -  (Untitled)");
  EXPECT_EQ(status.Text(), "Press any key to continue");
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "");
  EXPECT_FALSE(host.ControlChecked("optShowTip"));
  EXPECT_EQ(host.beeps, 0);
  EXPECT_TRUE(host.messages.empty());

  WriteBytes("UserOption.bin", std::string("\0\0", 2));
  Form_Load(S, W, {"prog"});
  EXPECT_TRUE(host.ControlChecked("optShowTip"));
}

TEST_F(MainCommandsTest, StartUpWithoutASettingsFileWarnsAndSkipsTheRest) {
  std::filesystem::remove(dir / "UserOption.bin");
  host.windowTitle = " Quorvane 1.2";
  Form_Load(S, W, {"prog"});
  EXPECT_EQ(status.Text(), "WARNING: Unable to get Recent Files or Default Directory");
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(host.WindowTitle(), " Quorvane 1.2");

  // Without DefaultDir.bin the tip option is not read either.
  std::filesystem::remove(dir / "DefaultDir.bin");
  WriteBytes("UserOption.bin", std::string("\xff\xff", 2));
  host.SetControlChecked("optShowTip", true);
  Form_Load(S, W, {"prog"});
  EXPECT_EQ(host.beeps, 2);
  EXPECT_TRUE(host.ControlChecked("optShowTip"));
}

TEST_F(MainCommandsTest, StartUpWithADefaultFolderFileCutShortWarnsAndKeepsTheFolder) {
  // A right header, then a text of 20 characters of which 3 are there.
  WriteBytes("DefaultDir.bin", "Quorvane 1" + std::string("\0\0\x14\0abc", 7));
  WriteBytes("UserOption.bin", std::string("\xff\xff", 2));
  host.windowTitle = " Quorvane 1.2";
  host.SetControlChecked("optShowTip", true);
  S.Ui.DefaultDir = "/home/u/proofs";
  Form_Load(S, W, {"prog"});
  EXPECT_EQ(status.Text(), "WARNING: Unable to get Recent Files or Default Directory");
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Ui.DefaultDir, "/home/u/proofs");
  EXPECT_EQ(host.WindowTitle(), " Quorvane 1.2");
  EXPECT_TRUE(host.ControlChecked("optShowTip"));
}

TEST(ProofWindowLayout, ControlsFollowTheWindowSizeAndKeepTheirPlaceWhenItIsTooSmall) {
  ProofLayout L;
  LayOutProofWindow(19320, 13650, L);
  EXPECT_EQ(L.view.left, 100);
  EXPECT_EQ(L.view.top, 360);
  EXPECT_EQ(L.view.width, 19320 - 350);
  EXPECT_EQ(L.view.height, 13650 - 1530);
  EXPECT_EQ(L.label.left, 19320 - 1020);
  EXPECT_EQ(L.label.top, 13650 - 1530 + 360);  // right under the view
  EXPECT_EQ(L.label.width, 735);
  EXPECT_EQ(L.status.left, 0);
  EXPECT_EQ(L.status.top, L.label.top);
  EXPECT_EQ(L.status.width, 19320 - 735 - 630);
  EXPECT_EQ(L.status.height, 255);

  // Too low for the view: it stays, and the row stays under it.
  const ProofLayout before = L;
  LayOutProofWindow(12000, 1500, L);
  EXPECT_EQ(L.view.width, before.view.width);
  EXPECT_EQ(L.view.height, before.view.height);
  EXPECT_EQ(L.label.left, 12000 - 1020);
  EXPECT_EQ(L.label.top, before.label.top);
  // Too narrow for anything but the view.
  LayOutProofWindow(1000, 5000, L);
  EXPECT_EQ(L.view.width, 650);
  EXPECT_EQ(L.label.left, 12000 - 1020);
  EXPECT_EQ(L.status.width, 12000 - 735 - 630);
}

TEST_F(MainCommandsTest, FirstActivationShowsSplashThenPromptThenOpensCommandLineFileOnce) {
  Load(SampleProof(), "Sample");
  S.Ui.ProofFileName = Path("sample.proof");
  ASSERT_TRUE(SaveProof(S));
  S.Doc = DocState{};
  S.Ui.ProofFileName.clear();

  Form_Load(S, W, {"prog", Path("sample.proof")});
  std::string statusDuringSplash;
  host.OnModal("StartUp", [&] {
    // The window is activated again when the splash closes.
    Form_Activate(S, W);
    statusDuringSplash = status.Text();
    EXPECT_EQ(S.Doc.StmtCount, 0) << "the file opens only after the splash";
  });
  Form_Activate(S, W);
  EXPECT_EQ(Shown("StartUp"), 1);
  EXPECT_EQ(statusDuringSplash, "Press any key to continue");
  EXPECT_EQ(S.Doc.StmtCount, 8);
  EXPECT_EQ(S.Ui.ProofFileName, Path("sample.proof"));
  EXPECT_EQ(host.WindowTitle(), " Sample  -  " + Path("sample.proof"));
  EXPECT_EQ(status.Text(), "Click Help** Button to start Tutorial");

  S.Doc = DocState{};
  Form_Activate(S, W);
  EXPECT_EQ(Shown("StartUp"), 1);
  EXPECT_EQ(S.Doc.StmtCount, 0) << "the command-line file is opened once";
}

// A FIFO stands where a file is expected on every road that reads one. A
// second after the test starts, a helper keeps opening the FIFO's other
// end, so that code waiting on it is freed and fails on time instead of
// hanging the suite.
TEST_F(MainCommandsTest, FifoInPlaceOfAFileIsRefusedAtOnceOnEveryRoad) {
  const auto start = std::chrono::steady_clock::now();
  std::atomic<bool> done{false};
  std::vector<std::string> fifos;
  std::thread freer([&] {
    while (!done && std::chrono::steady_clock::now() - start < std::chrono::seconds(1))
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    while (!done) {
      for (const std::string& f : fifos) {
        const int fd = ::open(f.c_str(), O_RDWR | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  auto fifo = [&](const std::string& name) {
    std::filesystem::remove(dir / name);
    EXPECT_EQ(::mkfifo(Path(name).c_str(), 0644), 0);
    fifos.push_back(Path(name));
  };
  auto goodSettings = [&] {
    WriteBytes("RecentFiles.bin", EncodeRecentFiles({Path("x.proof")}));
    WriteBytes("UserFontSize.bin", EncodeFontSize(12));
    WriteBytes("DefaultDir.bin", EncodeDefaultDir(""));
    WriteBytes("UserOption.bin", EncodeUserOption(0));
  };
  goodSettings();
  fifo("pipe.proof");

  // The command-line file, a name given in the Open dialog, a recent file.
  Form_Load(S, W, {"prog", Path("pipe.proof")});
  Form_Activate(S, W);
  EXPECT_EQ(status.Text(), "Open: Unable to open proof file");
  status.SetText("");
  host.fileAnswers.push_back(Path("pipe.proof"));
  optOpen_Click(S);
  EXPECT_EQ(status.Text(), "Open: Unable to open proof file");
  status.SetText("");
  host.SetControlCaption("optFile1", Path("pipe.proof"));
  optFile_Click(S, 1);
  EXPECT_EQ(status.Text(), "Open: Unable to open proof file");

  // Each settings file at start-up: its reader's warning, and start-up goes on.
  const std::pair<const char*, const char*> settings[] = {
      {"RecentFiles.bin", "Unable to find Recent Files"},
      {"UserFontSize.bin", "Unable to find Font Size Files"},
      {"DefaultDir.bin", "WARNING: Unable to get Recent Files or Default Directory"},
      {"UserOption.bin", "WARNING: Unable to get Recent Files or Default Directory"},
  };
  for (const auto& [file, warning] : settings) {
    goodSettings();
    fifo(file);
    host.messages.clear();
    status.SetText("");
    Form_Load(S, W, {"prog"});
    const std::vector<std::string> shown = host.MessageTexts();
    EXPECT_TRUE(status.Text() == warning || std::find(shown.begin(), shown.end(), warning) != shown.end())
        << file;
    std::filesystem::remove(dir / file);
  }
  done = true;
  freer.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(MainCommandsTest, CommandLineFileNamedRelativeToTheCurrentFolderIsKeptWhole) {
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  Form_Load(S, W, {"prog", "sub/../p.proof"});
  std::filesystem::current_path(cwd);
  EXPECT_EQ(W.CmdLineFile, Path("p.proof"));
}

TEST_F(MainCommandsTest, RefusedCommandLineFileLeavesTheProofUntitled) {
  WriteBytes("foreign.proof", "Not a proof at all");
  Form_Load(S, W, {"prog", Path("foreign.proof")});
  Form_Activate(S, W);
  EXPECT_EQ(status.Text(), "Open: Unable to open proof file");
  EXPECT_EQ(S.Ui.ProofFileName, "");
  // A later Save asks for a name instead of writing over the foreign file.
  host.fileAnswers.push_back("");
  optSave_Click(S);
  EXPECT_EQ(Bytes("foreign.proof"), "Not a proof at all");
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_TRUE(host.fileDialogs[0].save);
}

// ---- Esc ----

TEST_F(MainCommandsTest, EscDeselectsThenCancelsTheRuleThenExits) {
  Load(TwoLines());
  view.SetText(S.Doc.ProofText);
  view.SetSelStart(2);
  view.SetSelLength(3);
  S.Doc.RuleMode = kRuleJoin;
  MainWindowOf(S).FirstClickPending = false;
  status.SetText("Join: Click any active statement (2nd of 2)");

  Form_KeyPress(S, W, 27);
  RTB_KeyPress(S, W, 27);  // the same key reaches the view: ignored there
  EXPECT_EQ(view.SelLength(), 0);
  EXPECT_EQ(view.SelStart(), 2);
  EXPECT_EQ(S.Doc.RuleMode, kRuleJoin);

  Form_KeyPress(S, W, 27);
  RTB_KeyPress(S, W, 27);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_TRUE(MainWindowOf(S).FirstClickPending);
  EXPECT_EQ(status.Text(), "");
  EXPECT_FALSE(W.ExitRequested);

  Form_KeyPress(S, W, 27);
  EXPECT_TRUE(W.ExitRequested);
}

TEST_F(MainCommandsTest, EscEndsInsertModeOnlyWhileItWaitsForItsLine) {
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 0;
  host.SetControlChecked("optInsert", true);
  Form_KeyPress(S, W, 27);
  EXPECT_FALSE(S.Doc.InsertMode);
  EXPECT_FALSE(host.ControlChecked("optInsert"));
  EXPECT_FALSE(W.ExitRequested);

  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  Form_KeyPress(S, W, 27);
  EXPECT_TRUE(W.ExitRequested);
  EXPECT_TRUE(S.Doc.InsertMode);
}

// ---- Exit and the save-changes prompt ----

TEST_F(MainCommandsTest, ExitWithoutChangesAsksNothing) {
  int quits = 0;
  W.Quit = [&] { ++quits; };
  optExit_Click(S, W);
  EXPECT_TRUE(host.formsShown.empty());
  EXPECT_EQ(quits, 1);
}

TEST_F(MainCommandsTest, ExitPromptCancelKeepsTheWindowAndTheProof) {
  Changed(TwoLines());
  Answer('C');
  EXPECT_FALSE(Form_QueryUnload(S, W));
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(Shown("SaveChanges"), 1);
  EXPECT_FALSE(SaveChangesOf(S).OpenAfterSave);
}

TEST_F(MainCommandsTest, ExitPromptNoEndsWithoutSaving) {
  Changed(TwoLines());
  S.Ui.ProofFileName = Path("two.proof");
  Answer('N');
  EXPECT_TRUE(Form_QueryUnload(S, W));
  EXPECT_FALSE(std::filesystem::exists(dir / "two.proof"));
}

TEST_F(MainCommandsTest, ExitPromptYesSavesThenEnds) {
  Changed(TwoLines());
  S.Ui.ProofFileName = Path("two.proof");
  Answer('Y');
  optExit_Click(S, W);
  EXPECT_TRUE(W.ExitRequested);
  EXPECT_TRUE(std::filesystem::exists(dir / "two.proof"));
}

TEST_F(MainCommandsTest, ExitPromptYesWithAFailedSaveKeepsTheWindow) {
  Changed(TwoLines());
  S.Ui.ProofFileName = Path("missing-folder/two.proof");
  Answer('Y');
  optExit_Click(S, W);
  EXPECT_FALSE(W.ExitRequested);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Unable to save file"});
  EXPECT_TRUE(S.Ui.ProofChanged);
}

TEST_F(MainCommandsTest, NewAsksFirstAndCancelChangesNothing) {
  Changed(TwoLines());
  S.Ui.ProofFileName = Path("two.proof");
  host.SetWindowTitle(" Quorvane 2.0  -  " + Path("two.proof"));
  Answer('C');
  optNew_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Ui.ProofFileName, Path("two.proof"));
  EXPECT_EQ(host.WindowTitle(), " Quorvane 2.0  -  " + Path("two.proof"));

  Answer('N');
  optNew_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_EQ(S.Doc.ProofText, "");
  EXPECT_EQ(S.Ui.ProofFileName, "");
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(host.WindowTitle(), " Quorvane 2.0 - (Untitled)");
  EXPECT_FALSE(host.ControlEnabled("optUndo"));
  EXPECT_FALSE(host.ControlEnabled("cmdRedo"));
  EXPECT_FALSE(std::filesystem::exists(dir / "two.proof"));
}

// ---- undo and redo ----

TEST_F(MainCommandsTest, UndoAndRedoSwapStatesAndTheirEnabledStates) {
  ProofBuilder b = TwoLines();
  Load(b);
  BackUpUndo(S);
  EXPECT_TRUE(host.ControlEnabled("optUndo"));
  EXPECT_TRUE(host.ControlEnabled("cmdUndo"));
  EXPECT_FALSE(host.ControlEnabled("optRedo"));
  EXPECT_FALSE(host.ControlEnabled("cmdRedo"));
  b.Add("C", kRuleAxiom);
  S.Doc = b.d;
  S.Doc.Stmts[3].Highlight = true;
  const DocState after = S.Doc;
  const DocState before = TwoLines().d;

  optUndo_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Doc.ProofText, before.ProofText);
  EXPECT_FALSE(host.ControlEnabled("optUndo"));
  EXPECT_FALSE(host.ControlEnabled("cmdUndo"));
  EXPECT_TRUE(host.ControlEnabled("optRedo"));
  EXPECT_TRUE(host.ControlEnabled("cmdRedo"));
  EXPECT_EQ(view.SelStart(), view.TextLength());

  optRedo_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.ProofText, after.ProofText);
  EXPECT_TRUE(S.Doc.Stmts[3].Highlight);
  EXPECT_TRUE(host.ControlEnabled("optUndo"));
  EXPECT_FALSE(host.ControlEnabled("optRedo"));

  // The undo snapshot is still there: a second undo goes back again.
  optUndo_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Doc.ProofText, before.ProofText);
  EXPECT_EQ(host.beeps, 0);
}

TEST_F(MainCommandsTest, UndoClearsDeleteFlagsAndRecomputesTheIntroduction) {
  ProofBuilder b;
  b.Intro("Prove: B");
  b.Add("A", kRuleAxiom);
  Load(b);
  S.Doc.Stmts[1].DeleteFlag = true;
  BackUpUndo(S);
  S.Doc = TwoLines().d;
  optUndo_Click(S);
  EXPECT_FALSE(S.Doc.Stmts[1].DeleteFlag);
  EXPECT_EQ(S.Doc.IntroLen, 8);
}

TEST_F(MainCommandsTest, UndoMovesOrEndsInsertMode) {
  Load(TwoLines());
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 2;
  BackUpUndo(S);
  S.Doc.InsertLine = 3;
  optUndo_Click(S);
  EXPECT_EQ(S.Doc.InsertLine, 2);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "^ 2");
  const StmtRec& one = S.Doc.Stmts[1];
  EXPECT_EQ(view.SelStart(), one.EndRule - one.StartLine + one.ViewerStartLine);

  // A snapshot taken outside insert mode switches it off.
  S.Undo.InsertLine = 0;
  optUndo_Click(S);
  EXPECT_FALSE(S.Doc.InsertMode);
  EXPECT_EQ(S.Doc.InsertLine, 0);
  EXPECT_FALSE(host.ControlChecked("optInsert"));
  ASSERT_NE(host.LastMessage(), nullptr);
  EXPECT_EQ(host.LastMessage()->text, "Insert Mode switched OFF");
  EXPECT_EQ(host.LastMessage()->title, "WARNING");
}

TEST_F(MainCommandsTest, UndoWithoutASnapshotFailsAndOffersNoRedo) {
  Load(TwoLines());
  SetRedoEnabled(S, false);
  optUndo_Click(S);
  EXPECT_EQ(status.Text(), "Unable to complete Undo");
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(host.ControlEnabled("optRedo"));
  EXPECT_FALSE(host.ControlEnabled("cmdRedo"));
  EXPECT_EQ(S.Doc.StmtCount, 2);

  // After New the old proof's snapshots are never restored.
  BackUpUndo(S);
  Answer('N');
  optNew_Click(S);
  optUndo_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 0);
  optRedo_Click(S);
  EXPECT_EQ(status.Text(), "Unable to complete Redo");
  EXPECT_EQ(S.Doc.StmtCount, 0);
}

// ---- File menu ----

TEST_F(MainCommandsTest, SaveOpenRoundTripThroughTheDialogs) {
  CommandRegistry commands;
  RegisterMainCommands(S, W, commands);
  Changed(SampleProof());
  S.Ui.ProofCaption = "Sample";
  const DocState saved = S.Doc;

  host.fileAnswers.push_back(Path("sample.proof"));
  ASSERT_TRUE(commands.Run("optSave"));  // untitled: Save As
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_TRUE(host.fileDialogs[0].save);
  EXPECT_TRUE(host.fileDialogs[0].request.promptOverwrite);
  EXPECT_EQ(host.fileDialogs[0].request.filter, "Proofs (*.proof)|*.proof");
  EXPECT_EQ(host.fileDialogs[0].request.defaultExt, "proof");
  EXPECT_EQ(host.WindowTitle(), " Sample  -  " + Path("sample.proof"));
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(host.ControlCaption("optFile1"), Path("sample.proof"));
  EXPECT_TRUE(host.ControlVisible("bar6"));

  ASSERT_TRUE(commands.Run("optNew"));
  EXPECT_TRUE(host.formsShown.empty()) << "nothing unsaved: no prompt";
  EXPECT_EQ(S.Doc.StmtCount, 0);

  host.fileAnswers.push_back(Path("sample.proof"));
  ASSERT_TRUE(commands.Run("optOpen"));
  ASSERT_EQ(host.fileDialogs.size(), 2u);
  EXPECT_TRUE(host.fileDialogs[1].request.mustExist);
  EXPECT_EQ(S.Doc.ProofText, saved.ProofText);
  EXPECT_EQ(S.Doc.StmtCount, saved.StmtCount);
  EXPECT_EQ(S.Ui.ProofCaption, "Sample");
  EXPECT_EQ(view.SelStart(), 0);

  // Save on a named proof writes without a dialog.
  S.Ui.ProofChanged = true;
  ASSERT_TRUE(commands.Run("optSave"));
  EXPECT_EQ(host.fileDialogs.size(), 2u);
  EXPECT_FALSE(S.Ui.ProofChanged);
}

TEST_F(MainCommandsTest, OpenCancelledOrRefusedKeepsTheProofAndItsName) {
  Load(TwoLines());
  S.Ui.ProofFileName = Path("two.proof");
  host.fileAnswers.push_back("");
  optOpen_Click(S);
  EXPECT_EQ(S.Ui.ProofFileName, Path("two.proof"));
  EXPECT_EQ(status.Text(), "");
  EXPECT_EQ(host.beeps, 0);

  WriteBytes("damaged.proof", std::string("Quorvane 1\x05\x00", 12));
  host.fileAnswers.push_back(Path("damaged.proof"));
  optOpen_Click(S);
  EXPECT_EQ(status.Text(), "Open: Unable to open proof file");
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_EQ(S.Ui.ProofFileName, Path("two.proof"));
}

// The prompt's No opens the Open dialog itself; its Cancel keeps the name as
// the File menu's Open does.
TEST_F(MainCommandsTest, OpenDialogCancelledAfterThePromptKeepsTheProofAndItsName) {
  Changed(TwoLines());
  S.Ui.ProofFileName = Path("two.proof");
  const std::string before = S.Doc.ProofText;
  Answer('N');
  host.fileAnswers.push_back("");
  optOpen_Click(S);
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_FALSE(host.fileDialogs[0].save);
  EXPECT_EQ(S.Ui.ProofFileName, Path("two.proof"));
  EXPECT_EQ(S.Doc.ProofText, before);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(status.Text(), "");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(MainCommandsTest, OpenWithChangesLetsThePromptSaveAndOpen) {
  Load(SampleProof());
  S.Ui.ProofFileName = Path("sample.proof");
  ASSERT_TRUE(SaveProof(S));

  Changed(TwoLines());
  S.Ui.ProofFileName = Path("two.txt");
  Answer('Y');
  host.fileAnswers.push_back(Path("sample.proof"));
  S.Doc.RuleMode = kRuleSplit;
  optOpen_Click(S);
  EXPECT_TRUE(std::filesystem::exists(dir / "two.proof")) << "Yes saves first";
  EXPECT_EQ(S.Doc.StmtCount, 8);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  EXPECT_EQ(view.SelStart(), 0);

  // A recent file with unsaved changes opens after No, without a dialog.
  ASSERT_TRUE(host.ControlVisible("optFile1"));
  ASSERT_EQ(host.ControlCaption("optFile1"), Path("sample.proof"));
  ASSERT_EQ(host.ControlCaption("optFile2"), Path("two.proof"));
  Changed(TwoLines());
  Answer('N');
  const size_t dialogs = host.fileDialogs.size();
  optFile_Click(S, 2);
  EXPECT_EQ(host.fileDialogs.size(), dialogs);
  EXPECT_EQ(S.Ui.ProofFileName, Path("two.proof"));
  EXPECT_EQ(S.Doc.StmtCount, 2);
  EXPECT_FALSE(SaveChangesOf(S).OpenFromRecent);
  EXPECT_EQ(host.ControlCaption("optFile1"), Path("two.proof"));
}

TEST_F(MainCommandsTest, SaveAsProposesTheDialogNameWithTheProofExtension) {
  Load(TwoLines());
  auto proposal = [&](const std::string& last) {
    MainWindowOf(S).DialogFileName = last;
    host.fileAnswers.push_back("");  // cancel: quiet
    optSaveAs_Click(S);
    return host.fileDialogs.back().request.fileName;
  };
  EXPECT_EQ(proposal("/home/ann.lee/proofs/first.txt"), "/home/ann.lee/proofs/first.proof");
  EXPECT_EQ(proposal(""), "");
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(S.Ui.ProofFileName, "");
}

}  // namespace
}  // namespace qv
