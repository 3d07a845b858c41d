// The files library's windows on Qt, offscreen: each wires its controls to
// the right answer.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "files/binformat.h"
#include "files/dialogs.h"
#include "files/install.h"
#include "files/print.h"
#include "files_fixture.h"
#include "platform/commands.h"
#include "platform/qt/qthost.h"
#include "support/qt_app.h"

namespace qv {
namespace {

class DialogsTest : public FilesTest {
 protected:
  static void SetUpTestSuite() { TestApp(); }
  // Runs Action on the next turn of the event loop (inside the modal exec).
  static void Soon(std::function<void()> Action) { QTimer::singleShot(0, qApp, std::move(Action)); }
};

TEST_F(DialogsTest, SaveChangesButtonsGiveTheirAnswers) {
  SaveChangesDialog d(S, nullptr);
  S.Ui.DialogCancelled = false;
  Soon([&] {
    EXPECT_EQ(d.FileNameLabel()->text(), "(Untitled file)");
    EXPECT_EQ(d.windowTitle(), "Save changes to current proof?");
    d.CancelButton()->click();
  });
  d.Ask();
  EXPECT_TRUE(S.Ui.DialogCancelled);
  EXPECT_FALSE(d.isVisible());

  // Closing the window (Esc) is Cancel too.
  S.Ui.DialogCancelled = false;
  Soon([&] { d.reject(); });
  d.Ask();
  EXPECT_TRUE(S.Ui.DialogCancelled);

  S.Ui.DialogCancelled = false;
  S.Ui.ProofFileName = Path("p.proof");
  Soon([&] {
    EXPECT_EQ(d.FileNameLabel()->text().toStdString(), Path("p.proof"));
    d.NoButton()->click();
  });
  d.Ask();
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_FALSE(std::filesystem::exists(dir / "p.proof"));

  Soon([&] { d.YesButton()->click(); });
  d.Ask();
  EXPECT_FALSE(S.Ui.DialogCancelled);
  EXPECT_TRUE(std::filesystem::exists(dir / "p.proof"));
}

TEST_F(DialogsTest, TipsCheckBoxWritesTheOption) {
  host.SetControlChecked("optShowTip", true);
  TipsDialog d(S, nullptr);
  EXPECT_TRUE(d.ShowTipsCheck()->isChecked());
  bool known = false;
  for (int k = 1; k <= kTipCount; ++k) known |= d.TipText()->text() == QString::fromLatin1(kTips[k]);
  EXPECT_TRUE(known);
  d.ShowTipsCheck()->click();
  EXPECT_FALSE(host.ControlChecked("optShowTip"));
  EXPECT_EQ(Bytes("UserOption.bin"), EncodeUserOption(-1));
}

TEST_F(DialogsTest, SplashClosesOnAnyKeyAndAboutOpensTheWebSite) {
  StartUpDialog splash(nullptr);
  Soon([&] {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&splash, &key);
  });
  EXPECT_EQ(splash.exec(), QDialog::Accepted);

  // No manual here: the build's web page, or, built without one, the
  // message that there is nothing to open.
  AboutDialog about(S, nullptr);
  about.OnlineButton()->click();
  if (*kQuorvaneWebSite) {
    EXPECT_EQ(host.openedUrls, (std::vector<std::string>{kQuorvaneWebSite}));
  } else {
    EXPECT_TRUE(host.openedUrls.empty());
    ASSERT_NE(host.LastMessage(), nullptr);
    EXPECT_EQ(host.LastMessage()->title, "WARNING");
  }
}

TEST_F(DialogsTest, InstallerRegistersEveryWindow) {
  CommandRegistry commands;
  InstallFilesForms(S, commands, nullptr);
  for (const char* form : {"SaveChanges", "StartUp", "AboutQuorvane", "Tips", "SelectDir"})
    EXPECT_TRUE(host.HasForm(form)) << form;
  host.dirAnswers = {"/srv/proofs"};
  host.ShowModal("SelectDir");
  EXPECT_EQ(S.Ui.DefaultDir, "/srv/proofs");
}

// A file name is shown as the file system spells it (UTF-8 here) wherever
// it appears, beside a caption that stays Latin-1; "&" is no access key and
// "@" no element-of sign in it.
TEST_F(DialogsTest, FileNamesShowAsTheFileSystemSpellsThem) {
  QMainWindow window;
  QAction* recent = window.menuBar()->addMenu("File")->addAction("File 1");
  recent->setObjectName("optFile1");
  QtHost qt(&window);
  S.host = &qt;
  Load(SampleProof(), "Caf\xe9");
  const std::string path = Path("Ωμέγα & co@home.proof");
  const QString shown = QString::fromUtf8(path.c_str());
  S.Ui.ProofFileName = path;
  SaveProofFile(S);
  S.host = &host;

  EXPECT_EQ(window.windowTitle(), QString::fromLatin1(" Caf\xe9  -  ") + shown);
  EXPECT_EQ(qt.WindowTitle(), " Caf\xe9  -  " + path);
  EXPECT_EQ(recent->text(), QString(shown).replace("&", "&&"));
  EXPECT_EQ(qt.ControlCaption("optFile1"), path);

  SaveChangesDialog prompt(S, nullptr);
  Soon([&] {
    EXPECT_EQ(prompt.FileNameLabel()->text(), shown);
    prompt.CancelButton()->click();
  });
  prompt.Ask();

  MemRichBox page;
  const int32_t fileName = BuildPrintText(S, 1, S.Doc.StmtCount, page);
  EXPECT_TRUE(SnapshotDocument(page.RichText(), fileName)->toPlainText().endsWith("\n" + shown));
}

}  // namespace
}  // namespace qv
