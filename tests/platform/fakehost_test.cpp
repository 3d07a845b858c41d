#include <gtest/gtest.h>

#include "platform/fakehost.h"

namespace qv {
namespace {

TEST(FakeHost, MessagesAreRecordedAndAnsweredFromTheQueue) {
  FakeHost h;
  h.AnswerMessages({MsgResult::No, MsgResult::Cancel});
  EXPECT_EQ(h.MessageBox("Save changes?", "WARNING", MsgButtons::YesNoCancel, MsgIcon::Warning, 1),
            MsgResult::No);
  EXPECT_EQ(h.MessageBox("Again?", "", MsgButtons::YesNoCancel, MsgIcon::None, 1), MsgResult::Cancel);
  // With the queue empty the default button answers.
  EXPECT_EQ(h.MessageBox("a", "", MsgButtons::YesNoCancel, MsgIcon::None, 2), MsgResult::No);
  EXPECT_EQ(h.MessageBox("b", "", MsgButtons::OkCancel, MsgIcon::None, 2), MsgResult::Cancel);
  EXPECT_EQ(h.MessageBox("c", "", MsgButtons::Ok, MsgIcon::None, 3), MsgResult::Ok);
  ASSERT_EQ(h.messages.size(), 5u);
  EXPECT_EQ(h.messages[0].title, "WARNING");
  EXPECT_EQ(h.messages[0].icon, MsgIcon::Warning);
  EXPECT_EQ(h.messages[0].answer, MsgResult::No);
  EXPECT_EQ(h.MessageTexts().back(), "c");
}

TEST(FakeHost, ScriptedModalFormTakesPrecedence) {
  FakeHost h;
  int registered = 0, scripted = 0;
  h.RegisterForm("TestParser", [&] { ++registered; });
  EXPECT_TRUE(h.ShowModal("TestParser"));
  h.OnModal("TestParser", [&] {
    ++scripted;
    // A script may open another form, and may replace itself while running.
    EXPECT_FALSE(h.ShowModal("Unknown"));
    h.ClearModalScript("TestParser");
  });
  EXPECT_TRUE(h.ShowModal("TestParser"));
  EXPECT_TRUE(h.ShowModal("TestParser"));
  EXPECT_EQ(registered, 2);
  EXPECT_EQ(scripted, 1);
  EXPECT_EQ(h.formsShown,
            (std::vector<std::string>{"TestParser", "TestParser", "Unknown", "TestParser"}));
}

TEST(FakeHost, DialogsControlsAndClipboard) {
  FakeHost h;
  h.fileAnswers = {"/tmp/a.proof"};
  FileDialogRequest req;
  req.filter = "Proofs (*.proof)|*.proof";
  EXPECT_EQ(h.OpenFileDialog(req), "/tmp/a.proof");
  EXPECT_EQ(h.SaveFileDialog(req), "");  // nothing scripted: cancelled
  ASSERT_EQ(h.fileDialogs.size(), 2u);
  EXPECT_TRUE(h.fileDialogs[1].save);
  EXPECT_EQ(h.fileDialogs[1].request.filter, req.filter);

  EXPECT_TRUE(h.ControlEnabled("optUndo"));
  EXPECT_TRUE(h.ControlVisible("optUndo"));
  EXPECT_FALSE(h.ControlChecked("optRichTextMode"));
  h.SetControlEnabled("optUndo", false);
  h.SetControlChecked("optRichTextMode", true);
  h.SetControlCaption("InsertLineLabel", "Insert before 3");
  EXPECT_FALSE(h.ControlEnabled("optUndo"));
  EXPECT_TRUE(h.ControlChecked("optRichTextMode"));
  EXPECT_EQ(h.ControlCaption("InsertLineLabel"), "Insert before 3");

  h.SetClipboard("a @ b", "rich");
  EXPECT_EQ(h.ClipboardText(), "a @ b");
  EXPECT_EQ(h.ClipboardRich(), "rich");
  h.SetWaitCursor(true);
  h.SetWaitCursor(true);
  h.SetWaitCursor(false);
  EXPECT_FALSE(h.waitCursor);
  EXPECT_EQ(h.waitCursorChanges, 2);
}

}  // namespace
}  // namespace qv
