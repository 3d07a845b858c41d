// E Gen through the real main window offscreen: the command, a click on a
// variable, the generalize window's controls, and one Undo.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

#include "document/document.h"
#include "entry/forms_qt.h"
#include "mainwindow/mainwindow.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"
#include "rules/egen_qt.h"

namespace qv {
namespace {

int argc = 1;
char arg0[] = "quorvane";
char* argv[] = {arg0, nullptr};

class EGenUi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QApplication::instance()) new QApplication(argc, argv);
  }
  EGenUi() {
    dir = std::filesystem::temp_directory_path() / ("qv-egen-ui-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    app = std::make_unique<Application>(dir.string(), std::vector<std::string>{"quorvane"});
    S = &app->State();
    app->HostRef().RegisterForm("StartUp", [] {});
  }
  ~EGenUi() override {
    app.reset();
    std::filesystem::remove_all(dir);
  }
  void Command(const char* name) {
    QAction* a = app->Window().findChild<QAction*>(QString::fromLatin1(name));
    ASSERT_NE(a, nullptr) << name;
    a->trigger();
    QApplication::processEvents();
  }
  // Runs `act` on the next modal window once it is up.
  static void WhenShown(std::function<void(QWidget*)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act, triesLeft] {
      QWidget* w = QApplication::activeModalWidget();
      if (!w) {
        if (triesLeft > 0) WhenShown(act, triesLeft - 1);
        else ADD_FAILURE() << "no modal window";
        return;
      }
      act(w);
      if (QWidget* left = QApplication::activeModalWidget()) {
        ADD_FAILURE() << "window left open";
        left->close();
      }
    });
  }
  static void Type(QWidget* box, const std::string& text) {
    for (char c : text) {
      const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar::fromLatin1(c)));
      QApplication::sendEvent(box, &press);
    }
  }
  std::string Formula(int k) const {
    const StmtRec& s = S->Doc.Stmts[k];
    return S->Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1);
  }

  std::filesystem::path dir;
  std::unique_ptr<Application> app;
  AppState* S = nullptr;
};

TEST_F(EGenUi, GeneraliseAClickedVariableThenUndo) {
  WhenShown([](QWidget* w) {
    auto* d = qobject_cast<TestParserDialog*>(w);
    ASSERT_NE(d, nullptr);
    Type(d->Box(), "x<y");
    d->findChild<QPushButton*>("cmdContinue")->click();
  });
  Command("optPremise");
  ASSERT_EQ(S->Doc.StmtCount, 1);

  std::string caption, status;
  bool continueBefore = true;
  WhenShown([&](QWidget* w) {
    auto* d = qobject_cast<GeneralizeDialog*>(w);
    ASSERT_NE(d, nullptr);
    caption = d->windowTitle().toStdString();
    continueBefore = d->ContinueButton()->isEnabled();
    Type(d->BoundVarBox(), "a");
    status = d->Status()->text().toStdString();
    d->SelectAllButton()->click();
    EXPECT_FALSE(d->BoundVarBox()->isEnabled());
    d->ContinueButton()->click();
  });
  Command("optEGen");
  const StmtRec& s = S->Doc.Stmts[1];
  S->View->SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1);
  emit app->Window().View()->clicked();
  QApplication::processEvents();

  EXPECT_EQ(caption, " Existential Generalization:  Line 1, 'x'");
  EXPECT_FALSE(continueBefore);
  EXPECT_EQ(status, "Click on highlighted (blue) expression, or Select All");
  ASSERT_EQ(S->Doc.StmtCount, 2);
  EXPECT_EQ(Formula(2), "EXIST(a):a<y");
  EXPECT_EQ(S->Doc.Stmts[2].Rule, kRuleEGen);
  EXPECT_EQ(S->Doc.RuleMode, 0);
  Command("optUndo");
  EXPECT_EQ(S->Doc.StmtCount, 1);
}

}  // namespace
}  // namespace qv
