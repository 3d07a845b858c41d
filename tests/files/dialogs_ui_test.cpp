// The files library's windows on Qt, offscreen: each wires its controls to
// the right answer.
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "files/binformat.h"
#include "files/dialogs.h"
#include "files/install.h"
#include "files_fixture.h"
#include "platform/commands.h"

namespace qv {
namespace {

class DialogsTest : public FilesTest {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "files_ui_tests";
    static char* argv[] = {name, nullptr};
    if (!qApp) new QApplication(argc, argv);
  }
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

  AboutDialog about(S, nullptr);
  about.OnlineButton()->click();
  EXPECT_EQ(host.openedUrls, (std::vector<std::string>{kQuorvaneWebSite}));
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

}  // namespace
}  // namespace qv
