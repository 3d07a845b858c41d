// The Find window on screen (offscreen): keys in its search box and when it
// takes the proof view's selection as the search string.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QRadioButton>
#include <QWidget>
#include <memory>

#include "document/doc_fixture.h"
#include "mainwindow/find.h"
#include "platform/qt/qtrichbox.h"

namespace qv {
namespace {

class FindUi : public DocTest {
 protected:
  FindUi() {
    Put("x=y", kRuleAxiom);
    Put("y=z", kRuleAxiom);
    owner = std::make_unique<QWidget>();
    owner->show();
    open = FindWindowOpener(S, F, owner.get());
  }
  ~FindUi() override { owner.reset(); }

  // The Find command: the window is shown and made the active one.
  QDialog* Open() {
    open();
    Settle();
    auto* d = owner->findChild<QDialog*>(QString::fromLatin1(kFindFormName));
    if (d) box = d->findChild<QtRichBox*>(QStringLiteral("SearchStringTextBox"));
    return d;
  }
  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  void SelectInView(int k, int32_t length) {
    const StmtRec& s = Line(k);
    view.SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1);
    view.SetSelLength(length);
  }
  void Key(int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    Settle();
  }

  std::shared_ptr<FindState> F = std::make_shared<FindState>();
  std::unique_ptr<QWidget> owner;
  std::function<void()> open;
  QtRichBox* box = nullptr;
};

TEST_F(FindUi, EveryKeyTypedInTheSearchBoxClearsTheHeading) {
  QDialog* d = Open();
  ASSERT_NE(d, nullptr);
  auto* define = d->findChild<QRadioButton*>(QStringLiteral("optDefine"));
  for (auto [key, text] : {std::pair{Qt::Key_Backspace, QStringLiteral("\b")}, std::pair{Qt::Key_Q, QStringLiteral("q")}}) {
    define->click();
    Settle();
    ASSERT_TRUE(define->isChecked());
    EXPECT_EQ(box->Text(), "Define:");
    box->SetSelStart(box->TextLength());
    Key(key, text);
    EXPECT_FALSE(define->isChecked()) << text.toStdString();
  }
  EXPECT_EQ(box->Text(), "Define:q");
}

// A search string typed but not yet run survives a visit to another
// program; the Find command, and a switch from the program's own main
// window, take the view's selection again.
TEST_F(FindUi, OnlyTheProgramRefillsTheSearchBox) {
  SelectInView(1, 3);
  QDialog* d = Open();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(box->Text(), "x=y");
  box->SetText("typed");
  Settle();

  QApplication::setActiveWindow(nullptr);  // the user goes to another program
  Settle();
  QApplication::setActiveWindow(d);  // and comes back to the Find window
  Settle();
  EXPECT_EQ(box->Text(), "typed");

  SelectInView(2, 3);
  QApplication::setActiveWindow(owner.get());
  Settle();
  QApplication::setActiveWindow(d);
  Settle();
  EXPECT_EQ(box->Text(), "y=z");

  box->SetText("typed again");
  SelectInView(1, 3);
  QApplication::setActiveWindow(owner.get());  // Edit > Find in the main window
  open();
  Settle();
  EXPECT_EQ(box->Text(), "x=y");
}

}  // namespace
}  // namespace qv
