// The subset-axiom and induction windows on screen (offscreen): their
// notation menus, the Ctrl templates, and Continue putting the statement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "axioms/subset_qt.h"
#include "document/doc_fixture.h"
#include "platform/qt/qtrichbox.h"
#include "rules/rules.h"

namespace qv {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "subset_induction_ui_tests";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

class SubsetInductionUi : public DocTest {
 protected:
  SubsetInductionUi() { App(); }
  // Runs the dialog modally; Script acts on it once it is shown.
  template <class D>
  void Run(D& d, std::function<void()> Script) {
    QTimer::singleShot(0, [&d, Script] {
      Script();
      if (d.isVisible()) d.done(0);
    });
    d.RunModal();
  }
  static void Ctrl(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(w, &press);
  }
};

TEST_F(SubsetInductionUi, SubsetDialogPutsTheAxiom) {
  Put("Set(n)");
  Put("1@n");
  S.Doc.RuleMode = 18;
  S.Doc.RuleArg1 = 1;
  S.Ui.SubsetArity = 0;
  S.Ui.SubsetSetText = "n";
  S.Ui.SubsetCaption = "Subset Axiom, Line 1, Set(n)";
  S.Ui.SubsetLabel1 = "Enter bound variable for element of the subset:";
  SubsetDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("SelectExpression");
  ASSERT_NE(box, nullptr);
  std::string sumText, statusAfterBadName;
  Run(d, [&] {
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Subset Axiom, Line 1, Set(n)"));
    EXPECT_FALSE(d.findChild<QAction*>("optUnion")->isVisible());
    Ctrl(box, Qt::Key_S);
    sumText = box->Text();
    box->SetText("");
    d.findChild<QAction*>("optUniversal")->trigger();
    EXPECT_EQ(box->Text(), "ALL():");
    EXPECT_EQ(box->SelStart(), 4);
    box->SetText("a>1");
    d.findChild<QLineEdit*>("SubsetName")->setText("N");
    d.findChild<QLineEdit*>("BoundVars")->setText("a");
    d.findChild<QPushButton*>("cmdContinue")->click();
    statusAfterBadName = d.findChild<QLabel*>("StatusLine")->text().toStdString();
    d.findChild<QLineEdit*>("SubsetName")->setText("s");
    d.findChild<QPushButton*>("cmdContinue")->click();
  });
  EXPECT_EQ(sumText, "SUM( , , )");
  EXPECT_EQ(statusAfterBadName, "Invalid subset name");
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.Stmts[3].Rule, 18);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(SubsetInductionUi, InductionDialogPutsTheStatementAndCancelPutsNothing) {
  Put("Set(n)");
  Put("1@n");
  S.Ui.InductionKind = 1;
  S.Doc.RuleMode = 33;
  InductionDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("RTB");
  ASSERT_NE(box, nullptr);
  Run(d, [&] {
    EXPECT_TRUE(d.findChild<QAction*>("optUnion")->isVisible());
    d.findChild<QAction*>("optNot")->trigger();
    EXPECT_EQ(box->Text(), "_");
    box->SetText("a+1>a");
    d.findChild<QLineEdit*>("BoundVarTextBox")->setText(" a ");
    d.findChild<QPushButton*>("cmdContinue")->click();
  });
  ASSERT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.Stmts[3].Rule, 33);

  S.Doc.RuleMode = 33;
  Run(d, [&] {
    box->SetText("a>0");
    d.findChild<QLineEdit*>("BoundVarTextBox")->setText("a");
    d.findChild<QPushButton*>("cmdCancel")->click();
  });
  EXPECT_EQ(S.Doc.StmtCount, 3);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

}  // namespace
}  // namespace qv
