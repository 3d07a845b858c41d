// The save-changes prompt's three answers and the open road after it.
#include "files/binformat.h"
#include "view/view.h"
#include "files_fixture.h"

namespace qv {
namespace {

class SaveChangesTest : public FilesTest {
 protected:
  SaveChangesTest() {
    Load(SampleProof(), "");
    S.Ui.ProofChanged = true;
    other.Add("Q", kRuleAxiom);
    EXPECT_TRUE(WriteFileReplacing(Path("other.proof"), WriteProofBytes("Other", other.d)));
  }
  // Answers the prompt with Button when it is shown.
  void Answer(void (*Button)(AppState&)) {
    host.OnModal("SaveChanges", [this, Button] {
      label = SaveChangesFileLabel(S);
      Button(S);
    });
  }
  ProofBuilder other;
  std::string label;
};

TEST_F(SaveChangesTest, YesSavesANamedProofUnderTheProofExtension) {
  S.Ui.ProofFileName = Path("notes.txt");
  Answer(SaveChangesYes);
  SaveChanges(S);
  EXPECT_EQ(label, Path("notes.txt"));
  EXPECT_EQ(host.beeps, 1);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Ui.ProofFileName, Path("notes.proof"));
  EXPECT_FALSE(S.Ui.ProofChanged);
  std::string caption;
  DocState d;
  EXPECT_EQ(ReadProofBytes(Bytes("notes.proof"), caption, d), "");
  EXPECT_FALSE(std::filesystem::exists(dir / "notes.txt"));
  EXPECT_TRUE(host.fileDialogs.empty());  // nothing there to replace: nothing to ask
}

// Saving "a.txt" as "a.proof" would replace a file the proof never was: the
// Save dialog proposes that name and asks before replacing it.
TEST_F(SaveChangesTest, YesAsksBeforeReplacingAnotherFileUnderTheProofName) {
  const std::string unrelated = Bytes("other.proof");
  S.Ui.ProofFileName = Path("other.txt");
  S.Ui.DefaultDir = dir.string();
  SaveChangesOf(S).OpenAfterSave = true;
  Answer(SaveChangesYes);
  host.fileAnswers = {""};
  SaveChanges(S);
  ASSERT_EQ(host.fileDialogs.size(), 1u);  // the Save dialog only: nothing is opened
  EXPECT_TRUE(host.fileDialogs[0].save);
  EXPECT_TRUE(host.fileDialogs[0].request.promptOverwrite);
  EXPECT_EQ(host.fileDialogs[0].request.fileName, Path("other.proof"));
  EXPECT_EQ(host.fileDialogs[0].request.filter, "Proofs (*.proof)|*.proof");
  // Cancelled: nothing is saved and the caller stays, changes and name kept.
  EXPECT_EQ(Bytes("other.proof"), unrelated);
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(S.Ui.ProofFileName, Path("other.txt"));
  EXPECT_TRUE(host.messages.empty());

  // Another name chosen in the dialog: saved there, the other file kept.
  SaveChangesOf(S).OpenAfterSave = false;
  host.fileAnswers = {Path("mine.proof")};
  SaveChanges(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Ui.ProofFileName, Path("mine.proof"));
  EXPECT_EQ(Bytes("mine.proof"), WriteProofBytes("", S.Doc));
  EXPECT_EQ(Bytes("other.proof"), unrelated);

  // The proof's own file under its own name is saved without a question.
  S.Ui.ProofChanged = true;
  SaveChanges(S);
  EXPECT_EQ(host.fileDialogs.size(), 2u);
  EXPECT_FALSE(S.Ui.ProofChanged);
}

TEST_F(SaveChangesTest, YesOnAnUntitledProofWithTheSaveDialogCancelledCountsAsNo) {
  Answer(SaveChangesYes);
  host.fileAnswers = {""};
  SaveChanges(S);
  EXPECT_EQ(label, "(Untitled file)");
  EXPECT_FALSE(S.Ui.DialogCancelled);  // the caller goes on (Exit ends the program)
  EXPECT_TRUE(S.Ui.ProofChanged);
  ASSERT_EQ(host.fileDialogs.size(), 1u);
  EXPECT_TRUE(host.fileDialogs[0].save);
  EXPECT_EQ(host.fileDialogs[0].request.filter, "Proofs (*.proof)|*.proof");
  EXPECT_TRUE(host.fileDialogs[0].request.promptOverwrite);
}

TEST_F(SaveChangesTest, YesThenOpensTheChosenFileWhenOpenRaisedThePrompt) {
  S.Ui.DefaultDir = dir.string();
  SaveChangesOf(S).OpenAfterSave = true;
  Answer(SaveChangesYes);
  host.fileAnswers = {Path("saved.proof"), Path("other.proof")};
  SaveChanges(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_TRUE(std::filesystem::exists(dir / "saved.proof"));
  EXPECT_EQ(S.Ui.ProofFileName, Path("other.proof"));
  EXPECT_EQ(S.Doc.ProofText, other.d.ProofText);
  EXPECT_EQ(S.Ui.ProofCaption, "Other");
  ASSERT_EQ(host.fileDialogs.size(), 2u);
  EXPECT_TRUE(host.fileDialogs[1].request.mustExist);
  EXPECT_EQ(host.fileDialogs[1].request.initialDir, dir.string());
}

TEST_F(SaveChangesTest, AFailedSaveKeepsTheCallerWhereItWas) {
  S.Ui.ProofFileName = Path("missing folder/p.proof");
  SaveChangesOf(S).OpenAfterSave = true;
  Answer(SaveChangesYes);
  SaveChanges(S);
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(host.MessageTexts(), (std::vector<std::string>{"Unable to save file"}));
  EXPECT_TRUE(host.fileDialogs.empty());  // nothing opened
}

TEST_F(SaveChangesTest, NoOpensWithoutSaving) {
  const std::string before = S.Doc.ProofText;
  S.Ui.ProofFileName = Path("mine.proof");
  SaveChangesOf(S).OpenAfterSave = true;
  Answer(SaveChangesNo);
  host.fileAnswers = {Path("other.proof")};
  SaveChanges(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_FALSE(std::filesystem::exists(dir / "mine.proof"));
  EXPECT_EQ(S.Doc.ProofText, other.d.ProofText);
  EXPECT_NE(S.Doc.ProofText, before);
  EXPECT_FALSE(S.Ui.ProofChanged);

  // Without OpenAfterSave (New, Exit) No just lets the caller go on.
  S.Ui.ProofChanged = true;
  SaveChangesOf(S).OpenAfterSave = false;
  SaveChanges(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(host.fileDialogs.size(), 1u);
}

TEST_F(SaveChangesTest, CancelChangesNothing) {
  const DocState before = S.Doc;
  SaveChangesOf(S).OpenAfterSave = true;
  Answer(SaveChangesCancel);
  SaveChanges(S);
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Doc.ProofText, before.ProofText);
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_TRUE(host.fileDialogs.empty());
}

TEST_F(SaveChangesTest, RecentFileOpensAfterTheAnswerWithoutADialog) {
  SaveChangesOf(S).OpenAfterSave = true;
  SaveChangesOf(S).OpenFromRecent = true;
  SaveChangesOf(S).PendingOpenFile = Path("other.proof");
  Answer(SaveChangesNo);
  SaveChanges(S);
  EXPECT_FALSE(SaveChangesOf(S).OpenFromRecent);
  EXPECT_TRUE(host.fileDialogs.empty());
  EXPECT_EQ(S.Ui.ProofFileName, Path("other.proof"));
  EXPECT_EQ(S.Doc.StmtCount, 1);
}

TEST_F(SaveChangesTest, RefusedFileGivesBackTheOpenProofsName) {
  WriteBytes("bad.proof", "Quorvane 1\x05");
  S.Ui.ProofFileName = Path("mine.proof");
  SaveChangesOf(S).OpenFromRecent = true;
  SaveChangesOf(S).PendingOpenFile = Path("bad.proof");
  OpenProofFile(S);
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Ui.ProofFileName, Path("mine.proof"));
  EXPECT_EQ(StatusText(S), "Open: Unable to open proof file");

  // A cancelled Open dialog is quiet and leaves the proof its name.
  S.Ui.DialogCancelled = false;
  OpenProofFile(S);
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_EQ(S.Ui.ProofFileName, Path("mine.proof"));
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{});
}

TEST_F(SaveChangesTest, WithoutAPromptNothingIsLost) {
  SaveChanges(S);  // no form registered
  EXPECT_TRUE(S.Ui.DialogCancelled);
}

}  // namespace
}  // namespace qv
