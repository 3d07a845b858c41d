// The formula editor: notation, the element-of key, Ctrl keys and the
// one-level undo.
#include <gtest/gtest.h>

#include "entry/editor.h"
#include "platform/fakehost.h"
#include "platform/memrichbox.h"

namespace qv {
namespace {

class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : ed(S, box, EditorKind::Entry), comment(S, other, EditorKind::Comment) {
    S.Attach(&host, &view, &status, &work);
  }
  void Type(const std::string& s) {
    for (char c : s)
      if (ed.KeyPress(c)) box.SetSelText(std::string(1, c));
  }

  FakeHost host;
  MemRichBox box, other, work, view, status;
  AppState S;
  ExprEditor ed;
  ExprEditor comment;
};

TEST_F(EditorTest, TheAtKeyGivesTheGlyphAndTypingGoesOnInTheFixedFont) {
  Type("@x");
  EXPECT_EQ(box.Text(), "ex");
  EXPECT_EQ(box.FormatAt(0).font, kSymbolFont);
  EXPECT_EQ(box.FormatAt(1).font, kEditorFont);
  EXPECT_EQ(box.SelStart(), 2);
}

TEST_F(EditorTest, NotationAndGlyphReplaceTheSelection) {
  box.SetText("abcdef");
  box.SetSelStart(2);
  box.SetSelLength(2);
  ed.Notation("=>", 2);
  EXPECT_EQ(box.Text(), "ab=>ef");
  EXPECT_EQ(box.SelStart(), 4);
  box.SetSelStart(0);
  box.SetSelLength(2);
  Type("@");
  EXPECT_EQ(box.Text(), "e=>ef");
  EXPECT_EQ(box.FormatAt(0).font, kSymbolFont);
  EXPECT_EQ(box.SelStart(), 1);
}

TEST_F(EditorTest, TemplatesPutTheCaretInsideTheirBrackets) {
  EXPECT_TRUE(ed.KeyDown('A', kModCtrl));
  EXPECT_EQ(box.Text(), "ALL():");
  EXPECT_EQ(box.SelStart(), 4);
  box.SetText("");
  EXPECT_TRUE(ed.KeyDown('S', kModCtrl));
  EXPECT_EQ(box.Text(), "SUM(,,):");
  EXPECT_EQ(box.SelStart(), 4);
  // Other Ctrl keys are taken from the box and do nothing.
  EXPECT_TRUE(ed.KeyDown('Y', kModCtrl));
  EXPECT_EQ(box.Text(), "SUM(,,):");
  // Ctrl with Shift is not taken.
  EXPECT_FALSE(ed.KeyDown('A', kModCtrl | kModShift));
}

TEST_F(EditorTest, UndoRedoAfterCut) {
  box.SetText("x=y");
  box.SetSelStart(1);
  box.SetSelLength(2);
  ed.Cut();
  EXPECT_EQ(box.Text(), "x");
  EXPECT_EQ(host.clipboardText, "=y");
  EXPECT_TRUE(ed.UndoOn);
  ed.Undo();
  EXPECT_EQ(box.Text(), "x=y");
  EXPECT_FALSE(ed.UndoOn);
  EXPECT_TRUE(ed.RedoOn);
  ed.Redo();
  EXPECT_EQ(box.Text(), "x");
  ed.Undo();
  EXPECT_EQ(box.Text(), "x=y");
}

TEST_F(EditorTest, CtrlZFollowsTheUndoStateAndNeverBringsAnotherBoxsText) {
  other.SetText("comment text");
  comment.Clear();  // the comment editor's snapshot is the shared undo text
  box.SetText("x=y");
  ed.KeyDown('Z', kModCtrl);
  EXPECT_EQ(box.Text(), "x=y");
  // Typing turns Undo off; Ctrl+Z then does nothing either.
  box.SetSelStart(3);
  ed.Delete();  // nothing selected: a beep only
  EXPECT_EQ(host.beeps, 1);
  ed.KeyDown(kKeyDelete, 0);  // the Delete key takes a snapshot
  EXPECT_TRUE(ed.UndoOn);
  Type("z");
  EXPECT_FALSE(ed.UndoOn);
  ed.KeyDown('Z', kModCtrl);
  EXPECT_EQ(box.Text(), "x=yz");
}

TEST_F(EditorTest, ClearOnAnEmptyBoxCanBeUndone) {
  ed.Clear();
  EXPECT_TRUE(ed.UndoOn);
  ed.Undo();
  EXPECT_EQ(box.Text(), "");
}

TEST_F(EditorTest, TypingAfterAMarkedCheckRepaintsTheTextBlack) {
  box.SetText("x=y &");
  box.SetSelStart(4);
  box.SetSelLength(1);
  box.SetSelColor(RgbOf(255, 0, 0));
  box.SetSelStart(4);
  ed.ParseMarked = true;
  Type("P");
  EXPECT_FALSE(ed.ParseMarked);
  EXPECT_EQ(box.FormatAt(5).color, kBlack);
  EXPECT_EQ(box.Text(), "x=y P&");
}

TEST_F(EditorTest, CommentEditorTextIsBlueAndItsGlyphKeepsABlank) {
  other.SetText("");
  EXPECT_FALSE(comment.KeyPress('@'));
  EXPECT_EQ(other.Text(), "e ");
  EXPECT_EQ(other.FormatAt(0).font, kSymbolFont);
  EXPECT_EQ(other.FormatAt(1).font, kEditorFont);
  EXPECT_EQ(other.SelStart(), 1);
  comment.InsertALL();
  EXPECT_TRUE(comment.UndoOn);
  EXPECT_EQ(other.FormatAt(1).color, kCommentBlue);
}

}  // namespace
}  // namespace qv
