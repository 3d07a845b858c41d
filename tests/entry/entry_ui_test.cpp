// The entry, comment and warning windows on screen (offscreen): keys typed
// into their boxes, their buttons, Esc and the close box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "document/doc_fixture.h"
#include "entry/forms_qt.h"
#include "entry/install.h"
#include "platform/commands.h"
#include "mainwindow/rulecommands.h"
#include "support/qt_app.h"
#include "view/view.h"
#include "platform/qt/qtrichbox.h"

namespace qv {
namespace {

class EntryUi : public DocTest {
 protected:
  EntryUi() {
    TestApp();
    InstallEntryForms(S, commands, nullptr);
  }
  ~EntryUi() override {
    // The windows belong to this test's state; menus die with their window.
    QList<QPointer<QDialog>> dialogs;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<QDialog*>(w)) dialogs.append(d);
    for (const QPointer<QDialog>& d : dialogs) delete d.data();
  }

  template <class T>
  static T* Dialog(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->objectName() == QLatin1String(name)) return qobject_cast<T*>(w);
    return nullptr;
  }
  static void Type(QWidget* box, const std::string& text) {
    for (char c : text) {
      const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar::fromLatin1(c)));
      QApplication::sendEvent(box, &press);
    }
  }
  static void Key(QWidget* box, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(box, &press);
  }
  static void Click(QWidget* dialog, const char* button) {
    auto* b = dialog->findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
  }
  // Runs `act` once the next modal window is up; closes it if `act` left it open.
  void WhenShown(std::function<void()> act) {
    QTimer::singleShot(0, [act] {
      act();
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->done(0);
    });
  }

  CommandRegistry commands;
};

TEST_F(EntryUi, APremiseTypedAndContinuedIsAdded) {
  WhenShown([] {
    auto* d = Dialog<TestParserDialog>("TestParser");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Premise Rule: Enter a premise"));
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("StatusLine"))->text(),
              QStringLiteral("Suggestion: Use letters a-j for bound variables"));
    Type(d->Box(), "x=y");
    Click(d, "cmdContinue");
    EXPECT_FALSE(d->isVisible());
  });
  optPremise_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(Formula(1), "x=y");
  EXPECT_EQ(Line(1).Rule, kRulePremise);
  EXPECT_EQ(S.Doc.RuleMode, 0);
  Check();
}

TEST_F(EntryUi, AFailedCheckKeepsTheWindowOpenUntilCancel) {
  WhenShown([this] {
    auto* d = Dialog<TestParserDialog>("TestParser");
    ASSERT_NE(d, nullptr);
    Type(d->Box(), "x=");
    Click(d, "cmdContinue");
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(d->findChild<QLabel*>(QStringLiteral("StatusLine"))->text(), QString());
    EXPECT_GE(host.beeps, 1);
    Click(d, "cmdCancel");
    EXPECT_FALSE(d->isVisible());
  });
  optPremise_Click(S);
  EXPECT_EQ(S.Parser.ParseErr, "Cancelled");
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_FALSE(S.Ui.ProofChanged);
}

TEST_F(EntryUi, EscAndTheCloseBoxAbandonTheEntry) {
  WhenShown([] {
    auto* d = Dialog<TestParserDialog>("TestParser");
    ASSERT_NE(d, nullptr);
    Type(d->Box(), "x=y");
    Key(d->Box(), Qt::Key_Escape);
    EXPECT_FALSE(d->isVisible());
  });
  optPremise_Click(S);
  EXPECT_EQ(S.Doc.StmtCount, 0);

  WhenShown([] {
    auto* d = Dialog<TestParserDialog>("TestParser");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Box()->Text(), "");  // every opening starts empty
    Type(d->Box(), "x=y");
    d->close();
  });
  optPremise_Click(S);
  EXPECT_EQ(S.Parser.ParseErr, "Cancelled");
  EXPECT_EQ(S.Doc.StmtCount, 0);
  EXPECT_EQ(S.Doc.RuleMode, 0);
}

TEST_F(EntryUi, TheAtKeyAndCtrlKeysInTheBox) {
  WhenShown([] {
    auto* d = Dialog<TestParserDialog>("TestParser");
    ASSERT_NE(d, nullptr);
    Type(d->Box(), "x@s");
    EXPECT_EQ(d->Box()->Text(), "xes");
    d->Box()->SetSelStart(1);
    d->Box()->SetSelLength(1);
    EXPECT_EQ(d->Box()->SelFontName(), kSymbolFont);
    d->Box()->SetSelStart(3);
    Key(d->Box(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(d->Box()->Text(), "xesALL():");
    Click(d, "cmdContinue");  // "xesALL():" does not parse: stays open
    EXPECT_TRUE(d->isVisible());
    Click(d, "cmdClear");
    Type(d->Box(), "x@s");
    Click(d, "cmdContinue");
    EXPECT_FALSE(d->isVisible());
  });
  optPremise_Click(S);
  ASSERT_EQ(S.Doc.StmtCount, 1);
  EXPECT_EQ(Formula(1), "x @ s");
}

TEST_F(EntryUi, DeleteAndShiftDeleteTakeTheUndoSnapshotAndLeaveTheClipboard) {
  WhenShown([] {
    auto* d = Dialog<TestParserDialog>("TestParser");
    ASSERT_NE(d, nullptr);
    auto* undo = d->findChild<QPushButton*>(QStringLiteral("CmdUndo"));
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    Type(d->Box(), "abc");
    d->Box()->SetSelStart(0);
    // The key as the desktop delivers it, with its DEL text.
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QString(QChar(0x7f)));
    QApplication::sendEvent(d->Box(), &del);
    EXPECT_EQ(d->Box()->Text(), "bc");
    EXPECT_TRUE(undo->isEnabled());
    QKeyEvent shiftDel(QEvent::KeyPress, Qt::Key_Delete, Qt::ShiftModifier, QString(QChar(0x7f)));
    QApplication::sendEvent(d->Box(), &shiftDel);
    EXPECT_EQ(d->Box()->Text(), "c");
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    Click(d, "CmdUndo");
    EXPECT_EQ(d->Box()->Text(), "bc");
    Click(d, "cmdCancel");
  });
  optPremise_Click(S);
}

TEST_F(EntryUi, TabOrderOfTheCommentWindow) {
  CommentEditorOf(S).EditingIntro = true;
  WhenShown([] {
    auto* d = Dialog<CommentDialog>("Comment");
    ASSERT_NE(d, nullptr);
    QStringList names;
    QWidget* w = d->findChild<QWidget*>(QStringLiteral("Continue"));
    for (int i = 0; i < 200 && names.size() < 14; ++i, w = w->nextInFocusChain())
      if (!w->objectName().isEmpty() && !names.contains(w->objectName()) && w->focusPolicy() != Qt::NoFocus &&
          !qobject_cast<QMenuBar*>(w))
        names << w->objectName();
    EXPECT_EQ(names.join(QLatin1Char(' ')).toStdString(),
              "Continue cmdClear Cancel CommentBox cmdUndo cmdDefine cmdProve cmdSufficient "
              "cmdAsRequired cmdRedo cmdCut cmdCopy cmdPaste cmdDelete");
  });
  host.ShowModal("Comment");
}

TEST_F(EntryUi, TheCommentWindowWritesTheIntroduction) {
  PutAxioms(1);
  CommentEditorOf(S).EditingIntro = true;
  WhenShown([] {
    auto* d = Dialog<CommentDialog>("Comment");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Edit Introduction"));
    Click(d, "cmdProve");
    Type(d->Box(), "P1");
    Click(d, "Continue");
    EXPECT_FALSE(d->isVisible());
  });
  host.ShowModal("Comment");
  EXPECT_EQ(S.Doc.ProofText.substr(0, S.Doc.IntroLen), "Prove: P1");
  Check();

  const std::string before = S.Doc.ProofText;
  WhenShown([] {
    auto* d = Dialog<CommentDialog>("Comment");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Box()->Text(), "Prove: P1");
    Type(d->Box(), "changed");
    Key(d->Box(), Qt::Key_Escape);
  });
  host.ShowModal("Comment");
  EXPECT_EQ(S.Doc.ProofText, before);
}

TEST_F(EntryUi, TheWarningBoxAnswersThroughDialogCancelled) {
  PutAxioms(2);
  Put("P1 & P2", kRuleJoin, 1, 2);
  ResetFonts(S);
  auto clickLine1 = [this] { CaretAt(1, Line(1).StartStmt); };
  WhenShown([] {
    auto* d = Dialog<WarningDialog>("Warning");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->findChild<QLabel*>(QStringLiteral("Label"))->text(),
              QStringLiteral("This deletition will result in  1 other statement(s) being deleted."));
    Click(d, "cmdCancel");
  });
  clickLine1();
  DeleteAllRef(S);
  EXPECT_EQ(S.Doc.StmtCount, 3);

  WhenShown([] {
    auto* d = Dialog<WarningDialog>("Warning");
    ASSERT_NE(d, nullptr);
    d->close();
  });
  clickLine1();
  DeleteAllRef(S);
  EXPECT_EQ(S.Doc.StmtCount, 3);

  WhenShown([] {
    auto* d = Dialog<WarningDialog>("Warning");
    ASSERT_NE(d, nullptr);
    // Enter on the focused Continue button goes on.
    Key(d->findChild<QPushButton*>(QStringLiteral("cmdContinue")), Qt::Key_Return);
    EXPECT_FALSE(d->isVisible());
  });
  clickLine1();
  DeleteAllRef(S);
  EXPECT_EQ(S.Doc.StmtCount, 1);
  Check();
}

}  // namespace
}  // namespace qv
