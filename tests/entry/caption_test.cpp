// The caption editor: its logic on an in-memory box, and its window
// (offscreen) opened by the Caption command.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "document/doc_fixture.h"
#include "entry/caption.h"
#include "platform/commands.h"
#include "platform/qt/qtrichbox.h"
#include "view/view.h"

namespace qv {
namespace {

class CaptionTest : public DocTest {
 protected:
  CaptionTest() : editor(S, box) {
    editor.OnHide = [this] { ++hides; };
  }
  // Opens the editor on `caption`, types `typed` over the box and presses Continue.
  void Edit(const std::string& typed) {
    editor.Activate();
    box.SetText(typed);
    editor.Continue();
  }

  MemRichBox box;
  CaptionEditor editor;
  int hides = 0;
};

TEST_F(CaptionTest, TheTitleFollowsCaptionAndFileName) {
  EXPECT_EQ(CaptionTitle("Lemma 2", "/p/a.proof"), " Lemma 2  -  /p/a.proof");
  EXPECT_EQ(CaptionTitle("Lemma 2", ""), " Lemma 2 - (Untitled)");
  EXPECT_EQ(CaptionTitle("", "/p/a.proof"), " Quorvane 2.0  -  /p/a.proof");
  EXPECT_EQ(CaptionTitle("", ""), " Quorvane 2.0  -  (Untitled)");
}

TEST_F(CaptionTest, ActivationLoadsTheCaptionInTheProofTextSize) {
  S.Ui.ProofCaption = "Old";
  S.Ui.FontSize = 14;
  box.SetText("left over from last time");
  editor.Activate();
  EXPECT_EQ(box.Text(), "Old");
  box.SetSelStart(0);
  box.SetSelLength(3);
  EXPECT_EQ(box.SelFontSize(), 14);
  EXPECT_FALSE(box.SelBold());
  EXPECT_EQ(box.SelColor(), kBlack);
  // Text typed into the emptied box takes the same size.
  editor.Clear();
  box.SetSelText("typed");
  box.SetSelStart(0);
  box.SetSelLength(5);
  EXPECT_EQ(box.SelFontSize(), 14);
}

TEST_F(CaptionTest, ContinueTrimsTheEndsSetsTitleAndMarksTheProofChanged) {
  S.Ui.ProofFileName = "/home/u/sets.proof";
  Edit("  Cantor's   theorem \r\n");
  EXPECT_EQ(S.Ui.ProofCaption, "Cantor's   theorem");  // inner blanks kept
  EXPECT_EQ(host.windowTitle, " Cantor's   theorem  -  /home/u/sets.proof");
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(hides, 1);
  EXPECT_FALSE(S.Undo.Valid);  // no undo snapshot for a caption

  // Blanks only empty the caption; the title falls back to the program's name.
  S.Ui.ProofChanged = false;
  Edit("   ");
  EXPECT_EQ(S.Ui.ProofCaption, "");
  EXPECT_EQ(host.windowTitle, " Quorvane 2.0  -  /home/u/sets.proof");
  EXPECT_TRUE(S.Ui.ProofChanged);
}

TEST_F(CaptionTest, AnUnchangedCaptionLeavesTheProofUnchanged) {
  S.Ui.ProofCaption = "Same";
  Edit(" Same ");
  EXPECT_FALSE(S.Ui.ProofChanged);
  EXPECT_EQ(host.windowTitle, " Same - (Untitled)");
}

TEST_F(CaptionTest, ClearThenCancelAndEscChangeNothing) {
  S.Ui.ProofCaption = "Keep";
  host.windowTitle = "title before";
  editor.Activate();
  editor.Clear();
  EXPECT_EQ(box.Text(), "");
  editor.Cancel();
  EXPECT_EQ(hides, 1);

  editor.Activate();
  EXPECT_EQ(box.Text(), "Keep");  // a cancelled text does not survive
  box.SetText("typed");
  EXPECT_FALSE(editor.FormKeyPress('a'));
  EXPECT_TRUE(editor.FormKeyPress(27));
  EXPECT_EQ(hides, 2);
  EXPECT_EQ(S.Ui.ProofCaption, "Keep");
  EXPECT_EQ(host.windowTitle, "title before");
  EXPECT_FALSE(S.Ui.ProofChanged);
}

TEST_F(CaptionTest, ALineBreakThatReachedTheBoxBecomesABlank) {
  Edit("Part one\r\npart two\rthree\nfour");
  EXPECT_EQ(S.Ui.ProofCaption, "Part one part two three four");
  EXPECT_EQ(host.windowTitle, " Part one part two three four - (Untitled)");
}

TEST_F(CaptionTest, OnlyCtrlRAndEnterAreKeptFromTheBox) {
  EXPECT_TRUE(CaptionEditor::DiscardKey(13, false, false, false));
  EXPECT_TRUE(CaptionEditor::DiscardKey(13, false, true, false));
  EXPECT_TRUE(CaptionEditor::DiscardKey('R', true, false, false));
  EXPECT_FALSE(CaptionEditor::DiscardKey('R', true, true, false));
  EXPECT_FALSE(CaptionEditor::DiscardKey('R', false, false, false));
  EXPECT_FALSE(CaptionEditor::DiscardKey('E', true, false, false));
}

TEST_F(CaptionTest, TheCommandReportsAMissingWindow) {
  optCaption_Click(S);
  EXPECT_EQ(host.beeps, 1);
  EXPECT_EQ(status.Text(), "Unable to process request");
}

// ---- the window, offscreen

QApplication& App() {
  static int argc = 1;
  static char name[] = "entry_caption_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class CaptionUi : public DocTest {
 protected:
  CaptionUi() {
    App();
    InstallCaptionForm(S, commands, nullptr);
  }
  ~CaptionUi() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String(kCaptionFormName)) delete w;
  }
  static QDialog* Window() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String(kCaptionFormName)) return qobject_cast<QDialog*>(w);
    return nullptr;
  }
  // Runs `act` once the window is up; closes it if `act` left it open.
  static void WhenShown(std::function<void(QDialog*, QtRichBox*)> act) {
    QTimer::singleShot(0, [act] {
      QDialog* d = Window();
      ASSERT_NE(d, nullptr);
      act(d, d->findChild<QtRichBox*>(QStringLiteral("RTB")));
      if (d->isVisible()) d->done(0);
    });
  }
  static void Click(QDialog* d, const char* name) { d->findChild<QPushButton*>(QLatin1String(name))->click(); }

  CommandRegistry commands;
};

TEST_F(CaptionUi, TheMenuCommandEditsTheCaptionThroughTheWindow) {
  S.Ui.ProofCaption = "First";
  WhenShown([](QDialog* d, QtRichBox* box) {
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Edit Caption Line"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Text(), "First");
    box->SetText(" Second ");
    Click(d, "Continue");
    EXPECT_FALSE(d->isVisible());
  });
  ASSERT_TRUE(commands.Run("optCaption"));
  EXPECT_EQ(S.Ui.ProofCaption, "Second");
  EXPECT_TRUE(S.Ui.ProofChanged);
  EXPECT_EQ(host.windowTitle, " Second - (Untitled)");

  // Esc in the box cancels; the window reopens on the stored caption.
  WhenShown([](QDialog* d, QtRichBox* box) {
    EXPECT_EQ(box->Text(), "Second");
    box->SetText("Third");
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(box, &esc);
    EXPECT_FALSE(d->isVisible());
  });
  ASSERT_TRUE(commands.Run("optCaption"));
  EXPECT_EQ(S.Ui.ProofCaption, "Second");
}

TEST_F(CaptionUi, EnterInTheBoxAddsNoLineBreak) {
  S.Ui.ProofCaption = "AB";
  WhenShown([](QDialog* d, QtRichBox* box) {
    box->SetSelStart(1);
    for (auto [key, mods] : {std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier},
                             std::pair{Qt::Key_Return, Qt::ShiftModifier}}) {
      QKeyEvent enter(QEvent::KeyPress, key, mods, QStringLiteral("\r"));
      QApplication::sendEvent(box, &enter);
    }
    QApplication::processEvents();
    EXPECT_EQ(box->Text(), "AB");
    Click(d, "Continue");
  });
  ASSERT_TRUE(commands.Run("optCaption"));
  EXPECT_EQ(S.Ui.ProofCaption, "AB");
  EXPECT_EQ(host.windowTitle, " AB - (Untitled)");
}

}  // namespace
}  // namespace qv
