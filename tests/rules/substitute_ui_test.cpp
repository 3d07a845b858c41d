// The Substitute rule through the real main window offscreen: the command,
// the two clicks, the Substitution dialog's buttons and Esc, and Undo.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <unistd.h>

#include "view/view.h"
#include "entry/forms_qt.h"
#include "mainwindow/mainwindow.h"
#include "support/app_ui_test.h"
#include "platform/host.h"
#include "platform/qt/qtrichbox.h"
#include "rules/substitute_qt.h"

namespace qv {
namespace {

class SubstituteUi : public AppUiTest {
 protected:
  SubstituteUi() : AppUiTest("subst-ui") {}

  void Premise(const std::string& text) {
    S->Parser.ExprText = text;
    S->Doc.RuleMode = kRulePremise;
    S->Doc.RuleArg1 = S->Doc.RuleArg2 = 0;
    ASSERT_TRUE(PutStmt(*S));
    S->Doc.RuleMode = 0;
  }
  // A click on the first Text in line k's formula as the view shows it.
  void ClickOn(int k, const std::string& Text) {
    const StmtRec& s = S->Doc.Stmts[k];
    const size_t at =
        S->Doc.ProofText.substr(s.StartStmt - 1, s.EndStmt - s.StartStmt + 1).find(Text);
    ASSERT_NE(at, std::string::npos);
    ClickAt(k, static_cast<int32_t>(at));
  }
  // Runs `act` on the Substitution window once it is up.
  static void WhenShown(std::function<void(SubstitutionDialog*)> act) {
    AppUiTest::WhenShown([act](QWidget* w) {
      auto* d = qobject_cast<SubstitutionDialog*>(w);
      if (!d) {
        ADD_FAILURE() << "no Substitution window";
        return;
      }
      act(d);
    });
  }
};

TEST_F(SubstituteUi, ClickThenSelectAllThenContinueAndUndo) {
  Premise("x = y");
  Premise("P(x) & Q(x)");
  const std::string before = S->Doc.ProofText;
  Command("optSubstitution");
  EXPECT_EQ(S->Doc.RuleMode, kRuleSubstitute);
  ClickOn(1, "y");
  WhenShown([](SubstitutionDialog* d) {
    EXPECT_EQ(d->windowTitle().toStdString(), "Substitute 'y', Line 2");
    EXPECT_FALSE(d->ContinueButton()->isEnabled());
    EXPECT_FALSE(d->ResetButton()->isEnabled());
    // A click on the first occurrence replaces it alone.
    d->StatementBox()->SetSelStart(2);
    emit d->StatementBox()->clicked();
    EXPECT_EQ(d->StatementBox()->Text(), "P(y) & Q(x)");
    EXPECT_TRUE(d->ContinueButton()->isEnabled());
    d->SelectAllButton()->click();
    EXPECT_EQ(d->StatementBox()->Text(), "P(y) & Q(y)");
    EXPECT_FALSE(d->SelectAllButton()->isEnabled());
    d->ContinueButton()->click();
  });
  ClickOn(2, "P");
  ASSERT_EQ(S->Doc.StmtCount, 3);
  EXPECT_EQ(Formula(3), "P(y) & Q(y)");
  EXPECT_EQ(RuleText(3), "Substitute, 1, 2");
  EXPECT_EQ(S->Doc.RuleMode, 0);

  Command("optUndo");
  EXPECT_EQ(S->Doc.StmtCount, 2);
  EXPECT_EQ(S->Doc.ProofText, before);
}

TEST_F(SubstituteUi, EscAddsNothingAndEndsTheRule) {
  Premise("x = y");
  Premise("P(x)");
  Command("optSubstitution");
  ClickOn(1, "y");
  WhenShown([](SubstitutionDialog* d) {
    d->SelectAllButton()->click();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d, &esc);
  });
  ClickOn(2, "P");
  EXPECT_EQ(S->Doc.StmtCount, 2);
  EXPECT_EQ(S->Doc.RuleMode, 0);
}

}  // namespace
}  // namespace qv
