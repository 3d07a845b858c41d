// The Help button on the real window, offscreen: the manual found beside the
// program (as `make run` has it) or in an installed layout, shown in the help
// window with its links, back and find. QV_MANUAL_SHOTS=<folder> also saves
// the manual's pictures of the windows there.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <cstdlib>
#include <filesystem>

#include "files/helpfile.h"
#include "platform/qt/helpwindow.h"
#include "support/app_ui_test.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class HelpUi : public AppUiTest {
 protected:
  HelpUi() : AppUiTest("help-ui") {}

  HelpWindow* Help() { return app->Window().findChild<HelpWindow*>(QStringLiteral("HelpWindow")); }
  static void Click(QWidget* w, const char* button) {
    auto* b = w->findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
    QApplication::processEvents();
  }
  static std::string Title(HelpWindow* h) { return h->Browser()->documentTitle().toStdString(); }
};

TEST_F(HelpUi, HelpButtonShowsTheManualBesideTheProgramWithLinksBackAndFind) {
  fs::create_directory_symlink(QV_HELP_DIR, dir / "help");
  Command("cmdHelp");
  HelpWindow* h = Help();
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(h->isVisible());
  EXPECT_EQ(Title(h), "Quorvane User Manual and Tutorial");

  // A link, back to the contents and forward again.
  h->Browser()->setSource(QUrl(QStringLiteral("tutorial1.html")));
  QApplication::processEvents();
  EXPECT_EQ(Title(h), "Tutorial 1: Your first proof");
  Click(h, "cmdBack");
  EXPECT_EQ(Title(h), "Quorvane User Manual and Tutorial");
  Click(h, "cmdForward");
  EXPECT_EQ(Title(h), "Tutorial 1: Your first proof");

  // Find in page: the next match is selected; a word the page lacks is said.
  h->FindBox()->setText(QStringLiteral("Conclusion"));
  Click(h, "cmdFindNext");
  EXPECT_EQ(h->Browser()->textCursor().selectedText().toStdString(), "Conclusion");
  h->FindBox()->setText(QStringLiteral("zebra"));
  Click(h, "cmdFindNext");
  EXPECT_EQ(h->FindLabel()->text().toStdString(), "Not found");
  Click(h, "cmdContents");
  EXPECT_EQ(Title(h), "Quorvane User Manual and Tutorial");
}

// Run by the install check with the staging prefix: the installed program's
// folder finds the manual installed under share, and Help shows it.
TEST_F(HelpUi, InstalledProgramFindsItsManual) {
  const char* prefix = std::getenv("QV_INSTALLED_PREFIX");
  if (!prefix) GTEST_SKIP() << "run by the install check";
  const fs::path bin = fs::path(prefix) / "bin";
  ASSERT_TRUE(fs::exists(bin / "quorvane"));
  EXPECT_EQ(FindHelpIndex(bin.string()),
            (fs::path(prefix) / "share" / "quorvane" / "help" / "index.html").lexically_normal().string());
  S->Ui.AppPath = bin.string();
  Command("optUserManual");
  ASSERT_NE(Help(), nullptr);
  EXPECT_EQ(Title(Help()), "Quorvane User Manual and Tutorial");
}

// Not a check: with QV_MANUAL_SHOTS set, saves the main window with Tutorial
// 1's proof and the help window as PNG pictures into that folder, and the
// main window at the software centre's 16:9 size (desktop/screenshots).
TEST_F(HelpUi, Pictures) {
  const char* out = std::getenv("QV_MANUAL_SHOTS");
  if (!out) GTEST_SKIP() << "QV_MANUAL_SHOTS=<folder> saves the manual's pictures";
  app->Window().resize(720, 420);
  Premise("P(x) & Q(x)");
  Command("cmdSplit");
  ClickAt(1);
  Command("cmdJoin");
  ClickAt(3);
  ClickAt(2);
  AnswerBox({"a"});
  Command("cmdConclusion");
  ASSERT_EQ(S->Doc.StmtCount, 5);
  QApplication::processEvents();
  EXPECT_TRUE(app->Window().grab().save(QString::fromLocal8Bit(out) + "/tutorial1.png"));
  app->Window().resize(1280, 720);
  Command("optLargeText");
  QApplication::processEvents();
  EXPECT_TRUE(app->Window().grab().save(QString::fromLocal8Bit(out) + "/main-window.png"));
  Command("optMediumText");

  fs::create_directory_symlink(QV_HELP_DIR, dir / "help");
  Command("cmdHelp");
  ASSERT_NE(Help(), nullptr);
  Help()->resize(760, 520);
  QApplication::processEvents();
  EXPECT_TRUE(Help()->grab().save(QString::fromLocal8Bit(out) + "/help-window.png"));
}

}  // namespace
}  // namespace qv
