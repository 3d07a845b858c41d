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
#include "support/app_ui_test.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"
#include "rules/egen_qt.h"

namespace qv {
namespace {

class EGenUi : public AppUiTest {
 protected:
  EGenUi() : AppUiTest("egen-ui") {}
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
