// Writing comments and the Introduction into the proof, and the comment
// editor around it.
#include <gtest/gtest.h>

#include "document/doc_fixture.h"
#include "entry/comment.h"
#include "view/view.h"

namespace qv {
namespace {

class CommentTest : public DocTest {
 protected:
  CommentTest() : editor(S, box) { editor.OnHide = [this] { ++hides; }; }

  // Opens the editor on line n (0 = the Introduction), types text, Continue.
  void Write(int n, const std::string& text) {
    CommentEditorOf(S).EditingIntro = (n == 0);
    CommentEditorOf(S).CommentLine = n;
    editor.Activate();
    box.SetText(text);
    editor.Continue();
    Check();
  }
  std::string CommentOf(int k) const {
    const StmtRec& s = Line(k);
    return S.Doc.ProofText.substr(s.StartLine - 1, s.EndUserComment - s.StartLine + 1);
  }

  MemRichBox box;
  CommentEditor editor;
  int hides = 0;
};

TEST_F(CommentTest, ANewCommentTakesItsStatementsIndentation) {
  PutAxioms(3);
  Indent(2, 2);
  Indent(2, 2);
  const StmtRec before2 = Line(2), before3 = Line(3);
  Write(2, "a\r\nb");
  EXPECT_EQ(CommentOf(2), "\t\ta\r\n\t\tb");
  EXPECT_EQ(S.Doc.ProofText.substr(Line(2).EndUserComment, 4), "\r\n\r\n");
  EXPECT_EQ(Line(2).StartLine, before2.StartLine);
  EXPECT_EQ(Line(2).StartStmt, before2.StartStmt + 12);
  EXPECT_EQ(Line(3).StartLine, before3.StartLine + 12);
  EXPECT_EQ(Line(3).ViewerStartLine, before3.ViewerStartLine + 12);
  EXPECT_EQ(hides, 1);
  EXPECT_TRUE(S.Ui.ProofChanged);
  // The caret stands behind the rule text of the statement.
  EXPECT_EQ(view.SelStart(), Line(2).EndRule - Line(2).StartLine + Line(2).ViewerStartLine);
}

TEST_F(CommentTest, ReplaceAndDeleteMoveEveryLaterPosition) {
  PutAxioms(3);
  Write(2, "0123456789");
  const StmtRec with = Line(2), after = Line(3);
  Write(2, "abcd");
  EXPECT_EQ(CommentOf(2), "abcd");
  EXPECT_EQ(Line(2).StartLine, with.StartLine);
  EXPECT_EQ(Line(2).EndUserComment, with.StartLine + 3);
  EXPECT_EQ(Line(3).StartLine, after.StartLine - 6);
  const StmtRec short2 = Line(2), short3 = Line(3);
  Write(2, "   ");  // blanks only: deletes
  EXPECT_EQ(Line(2).EndUserComment, 0);
  EXPECT_EQ(Line(2).StartStmt, short2.StartStmt - 8);
  EXPECT_EQ(Line(3).StartLine, short3.StartLine - 8);
}

TEST_F(CommentTest, TrailingLineBreaksGoButABlankBeforeThemStays) {
  PutAxioms(1);
  Write(1, "x \r\n\r\n");
  EXPECT_EQ(CommentOf(1), "x ");
  Write(1, "\r\n\r\n");
  EXPECT_EQ(Line(1).EndUserComment, 0);
}

TEST_F(CommentTest, EmptyTextOnNothingChangesNothing) {
  PutAxioms(2);
  S.Ui.ProofChanged = false;
  const std::string before = S.Doc.ProofText;
  Write(1, "");
  Write(0, "");
  EXPECT_EQ(S.Doc.ProofText, before);
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(hides, 2);
}

TEST_F(CommentTest, IntroductionAddReplaceDelete) {
  PutAxioms(2);
  const StmtRec l2 = Line(2);
  Write(0, std::string(20, 'i'));
  EXPECT_EQ(S.Doc.IntroLen, 20);
  EXPECT_EQ(Line(2).StartLine, l2.StartLine + 24);
  EXPECT_EQ(Line(1).ViewerStartLine, 25);
  Write(0, std::string(25, 'j'));
  EXPECT_EQ(Line(2).StartLine, l2.StartLine + 29);
  Write(0, "");
  EXPECT_EQ(S.Doc.IntroLen, 0);
  EXPECT_EQ(Line(1).StartLine, 1);
  EXPECT_EQ(Line(2).StartLine, l2.StartLine);
  EXPECT_EQ(view.SelStart(), 0);
}

TEST_F(CommentTest, AnEmptyIntroductionInAnEmptyProofAndOneWrittenLater) {
  Write(0, "");
  EXPECT_EQ(S.Doc.ProofText, "\r\n\r\n");
  EXPECT_EQ(S.Doc.IntroLen, 0);
  EXPECT_TRUE(S.Ui.ProofChanged);
  PutAxioms(1);
  EXPECT_EQ(Line(1).StartLine, 5);
  EXPECT_EQ(Line(1).ViewerStartLine, 1);
  Write(0, "abc");
  EXPECT_EQ(Line(1).StartLine, 8);
  // The view shows the Introduction and its separator before line 1.
  EXPECT_EQ(Line(1).ViewerStartLine, 8);
}

TEST_F(CommentTest, HiddenStatementsKeepNoViewPosition) {
  PutAxioms(3);
  S.Doc.Stmts[2].Visible = false;
  RecomputeViewPositions(S.Doc);
  Write(1, "note");
  EXPECT_EQ(Line(2).ViewerStartLine, 0);
  EXPECT_EQ(Line(3).ViewerStartLine, Line(1).EndRule - Line(1).StartLine + 5 + 1);
}

TEST_F(CommentTest, OpeningShowsTheCommentWithoutTabsAndWithGlyphs) {
  PutAxioms(2);
  Indent(2, 2);
  Write(2, "x@s\r\ny");
  CommentEditorOf(S).EditingIntro = false;
  CommentEditorOf(S).CommentLine = 2;
  editor.Activate();
  EXPECT_EQ(editor.Caption, "Edit User Comment, Line 2");
  EXPECT_EQ(box.Text(), "xes\r\ny");
  EXPECT_EQ(box.FormatAt(1).font, kSymbolFont);
  EXPECT_EQ(box.FormatAt(0).color, kCommentBlue);
  EXPECT_EQ(box.SelStart(), 0);
  // Continue writes the "@" back.
  editor.Continue();
  EXPECT_EQ(CommentOf(2), "\tx@s\r\n\ty");

  CommentEditorOf(S).CommentLine = 1;
  editor.Activate();
  EXPECT_EQ(box.Text(), "");
  CommentEditorOf(S).EditingIntro = true;
  editor.Activate();
  EXPECT_EQ(editor.Caption, "Edit Introduction");
  EXPECT_EQ(box.Text(), "");
}

TEST_F(CommentTest, AHeadingReplacesTheSelectionAndCanBeUndone) {
  CommentEditorOf(S).EditingIntro = true;
  editor.Activate();
  box.SetText("old words");
  box.SetSelStart(0);
  box.SetSelLength(3);
  editor.InsertHeading(kHeadingProve);
  EXPECT_EQ(box.Text(), "Prove:  words");
  EXPECT_EQ(box.SelStart(), 7);
  EXPECT_TRUE(editor.Editor().UndoOn);
  editor.Editor().Undo();
  EXPECT_EQ(box.Text(), "old words");
}

TEST_F(CommentTest, CancelLeavesTheProofAlone) {
  PutAxioms(2);
  const std::string before = S.Doc.ProofText;
  ShowStatus(S, "something");
  CommentEditorOf(S).CommentLine = 1;
  CommentEditorOf(S).EditingIntro = false;
  editor.Activate();
  box.SetText("never written");
  EXPECT_TRUE(editor.FormKeyPress(27));
  EXPECT_EQ(S.Doc.ProofText, before);
  EXPECT_EQ(StatusText(S), "");
  EXPECT_EQ(hides, 1);
}

}  // namespace
}  // namespace qv
