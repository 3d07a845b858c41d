// The View menu's filters and text sizes, insert mode and the Introduction
// command, over in-memory boxes and a scripted host.
#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "document/doc_fixture.h"
#include "entry/comment.h"
#include "files/files.h"
#include "platform/commands.h"
#include "mainwindow/dispatch.h"
#include "mainwindow/viewcommands.h"
#include "view/view.h"

namespace qv {
namespace {

class ViewCommandsTest : public DocTest {
 protected:
  // 1, 2 highlighted Axioms; 3 Join; 4 Premise; 5 highlighted line inside
  // its sub-proof; 6 its Conclusion; 7 Join.
  void BuildProof() {
    PutAxioms(2);
    Put("P1 & P2", kRuleJoin, 1, 2);
    Put("Q", kRulePremise);
    Put("Q & P1", kRuleJoin, 4, 1);
    S.Doc.Stmts[5].Highlight = true;
    Close(4, "Q => Q & P1");
    Put("P2 & P1", kRuleJoin, 2, 1);
  }
  std::string Shown() const {
    std::string v;
    for (int k = 1; k <= S.Doc.StmtCount; ++k) v += "01"[Line(k).Visible];
    return v;
  }
};

TEST_F(ViewCommandsTest, FiltersHideClosedBlocksWholeAndShowConclusions) {
  BuildProof();
  S.Doc.Stmts[2].Visible = false;  // hidden and highlighted: Hide leaves it hidden
  RecomputeViewPositions(S.Doc);
  optHideDetails_Click(S);
  Check();
  EXPECT_EQ(Shown(), "1000001");
  EXPECT_EQ(view.SelStart(), view.TextLength());

  // From the hidden Conclusion back to line 1; the closed block stays shut.
  optShowLastDetails_Click(S);
  Check();
  EXPECT_EQ(Shown(), "1110011");
  EXPECT_EQ(view.SelStart(), 0);

  S.Doc.Stmts[6].Visible = false;
  S.Doc.Stmts[5].Visible = true;
  optShowDetails_Click(S);
  Check();
  EXPECT_EQ(Shown(), "1110011");

  optShowHighlights_Click(S);
  Check();
  EXPECT_EQ(Shown(), "1101110");
  EXPECT_FALSE(S.Ui.ProofChanged);

  // Fully visible: Show Last Active only beeps.
  optShowAllStmts_Click(S);
  const auto before = S.Doc.Stmts;
  const int redraws = host.waitCursorChanges;
  optShowLastDetails_Click(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(S.Doc.Stmts, before);
  EXPECT_EQ(host.waitCursorChanges, redraws);
}

TEST_F(ViewCommandsTest, HideAllDetailsInInsertModeKeepsTheLineBeforeTheInsertLine) {
  PutAxioms(1);
  for (int i = 0; i < 5; ++i) Put("P1 & P1", kRuleJoin, 1, 1);
  S.Doc.InsertMode = true;
  S.Doc.InsertLine = 5;
  optHideDetails_Click(S);
  Check();
  EXPECT_EQ(Shown(), "100101");
  EXPECT_EQ(view.SelStart(), Line(4).EndRule - Line(4).StartLine + Line(4).ViewerStartLine);

  S.Doc = DocState{};  // no last line to keep: a failure for the window to report
  EXPECT_THROW(optHideDetails_Click(S), std::runtime_error);
}

TEST_F(ViewCommandsTest, ShowAllStmtsAfterAnEmptiedIntroductionKeepsViewPositions) {
  // The CR LF CR LF that an emptied Introduction leaves is not in the view.
  WriteCommentText(S, true, 0, "");
  PutAxioms(2);
  ASSERT_EQ(Line(1).StartLine, 5);
  S.Doc.Stmts[1].Visible = false;
  RecomputeViewPositions(S.Doc);
  optShowAllStmts_Click(S);
  Check();
  EXPECT_EQ(Line(1).ViewerStartLine, 1);
  EXPECT_EQ(view.Text(), S.Doc.ProofText.substr(4));
}

TEST_F(ViewCommandsTest, TextSizeRedrawsOnlyAShownProofAndIsStored) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / "viewcommands_size";
  std::filesystem::create_directories(dir);
  S.Ui.SettingsPath = dir.string();
  optLargeText_Click(S);  // empty view: stored, not redrawn
  EXPECT_EQ(host.waitCursorChanges, 0);
  PutAxioms(1);
  optSmallText_Click(S);
  view.SetSelStart(0);
  view.SetSelLength(1);
  EXPECT_EQ(view.SelFontSize(), 10);
  EXPECT_FALSE(host.ControlChecked("optLargeText"));
  LoadFontSize(S);
  EXPECT_EQ(S.Ui.FontSize, 10);
  std::filesystem::remove_all(dir);
}

TEST_F(ViewCommandsTest, InsertModeAndIntroductionThroughTheirMenuCommands) {
  CommandRegistry commands;
  RegisterViewCommands(S, commands);
  PutAxioms(3);
  commands.Run("optInsert");
  EXPECT_EQ(S.Doc.RuleMode, kRuleSetInsertMode);
  EXPECT_EQ(StatusText(S), "Insert Mode: Click insert line for an ACTIVE statement");
  CaretAt(2, Line(2).StartStmt);
  RTB_Click(S);
  EXPECT_TRUE(S.Doc.InsertMode);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "^2");
  ShowStatus(S, "kept");
  commands.Run("optInsert");
  EXPECT_FALSE(S.Doc.InsertMode || host.ControlChecked("optInsert"));
  EXPECT_EQ(S.Doc.InsertLine, 0);
  EXPECT_EQ(host.ControlCaption("InsertLineLabel"), "");
  EXPECT_EQ(StatusText(S), "kept");

  std::string caption;
  host.OnModal("Comment", [&] { caption = CommentEditorOf(S).EditingIntro ? CommentEditorOf(S).CommentCaption : ""; });
  commands.Run("optIntro");
  EXPECT_EQ(caption, "Edit Introduction");
  host.ClearModalScript("Comment");  // no editor to open: a failure
  EXPECT_THROW(optIntro_Click(S), std::runtime_error);
}

}  // namespace
}  // namespace qv
