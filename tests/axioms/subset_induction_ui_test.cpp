// The subset-axiom and induction windows on screen (offscreen): their
// notation menus, the Ctrl templates, and Continue putting the statement.
#include <gtest/gtest.h>

#include <QApplication>
#include <QAction>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "axioms/subset_qt.h"
#include "document/doc_fixture.h"
#include "platform/qt/qtrichbox.h"
#include "expr/expr.h"
#include "rules/rules.h"
#include "support/qt_app.h"
#include "support/window_events.h"
#include "view/view.h"

namespace qv {
namespace {

class SubsetInductionUi : public DocTest {
 protected:
  SubsetInductionUi() { TestApp(); }
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
  // Each character typed into the box as a key press.
  static void Type(QWidget* box, const std::string& text) {
    for (char c : text) {
      const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar::fromLatin1(c)));
      QApplication::sendEvent(box, &press);
    }
  }
  // Lets the event loop run what is queued (the box shows its edits then).
  static void Settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }
  static std::string Label(QWidget* d) {
    return d->findChild<QLabel*>("StatusLine")->text().toStdString();
  }
  // The Set statement of line 1 clicked for the subset rule.
  void ArmSubset() {
    Put("Set(n)");
    Put("1@n");
    S.Doc.RuleMode = 18;
    S.Doc.RuleArg1 = 1;
    SubsetWindowOf(S).SubsetArity = 0;
    SubsetWindowOf(S).SubsetSetText = "n";
    SubsetWindowOf(S).SubsetCaption = "Subset Axiom, Line 1, Set(n)";
    SubsetWindowOf(S).SubsetLabel1 = "Enter bound variable for element of the subset:";
  }
  void ArmInduction() {
    Put("Set(n)");
    Put("1@n");
    InductionWindowOf(S).InductionKind = 1;
    S.Doc.RuleMode = 33;
  }
  static void Press(QWidget* viewport, Qt::MouseButton b, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), b, b, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), b, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
  }
};

TEST_F(SubsetInductionUi, SubsetDialogPutsTheAxiom) {
  ArmSubset();
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
  ArmInduction();
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

// Continue's refusals, read from the label once the event loop has shown the
// box's repaint (the criterion black, the offending token red).
TEST_F(SubsetInductionUi, SubsetRefusalsStayInTheMessageLine) {
  ArmSubset();
  SubsetDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("SelectExpression");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a>z", "Variable z not found in any previous active statement"},
      {"a@s", "Invalid reference to name of subset 's'"},
      {"a+1", "Expecting a logical expression"},
      {"a>", ParseText("a>").Err},
      {"", ParseText("").Err},
      {"EXIST(a):a@n", "Inconsistent usage of bound variables"},
  };
  std::vector<std::string> shown;
  int beeps = 0;
  Run(d, [&] {
    for (const auto& c : cases) {
      d.findChild<QLineEdit*>("SubsetName")->setText("s");
      d.findChild<QLineEdit*>("BoundVars")->setText("a");
      box->SetText(c.first);
      box->setFocus();
      Settle();
      beeps = host.beeps;
      d.findChild<QPushButton*>("cmdContinue")->click();
      EXPECT_EQ(host.beeps, beeps + 1) << c.first;
      Settle();
      shown.push_back(Label(&d));
    }
  });
  ASSERT_EQ(shown.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_FALSE(cases[i].second.empty());
    EXPECT_EQ(shown[i], cases[i].second) << "criterion " << cases[i].first;
  }
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

TEST_F(SubsetInductionUi, InductionRefusalsStayInTheMessageLine) {
  ArmInduction();
  InductionDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("RTB");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a>z", "Variable 'z' not found in an axiom or active premise"},
      {"a+1", "Expecting a logical expression"},
      {"a>", ParseText("a>").Err},
      {"ALL(a):a>1", "Invalid bound variable"},
  };
  std::vector<std::string> shown;
  Run(d, [&] {
    for (const auto& c : cases) {
      d.findChild<QLineEdit*>("BoundVarTextBox")->setText("a");
      box->SetText(c.first);
      box->setFocus();
      Settle();
      d.findChild<QPushButton*>("cmdContinue")->click();
      Settle();
      shown.push_back(Label(&d));
    }
  });
  ASSERT_EQ(shown.size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) EXPECT_EQ(shown[i], cases[i].second) << cases[i].first;
  EXPECT_EQ(S.Doc.StmtCount, 2);
}

// An edit after a refusal is a change of the criterion: the message goes.
TEST_F(SubsetInductionUi, TypingAfterARefusalEmptiesTheMessageLine) {
  ArmSubset();
  SubsetDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("SelectExpression");
  std::string before, after;
  Run(d, [&] {
    d.findChild<QLineEdit*>("SubsetName")->setText("s");
    d.findChild<QLineEdit*>("BoundVars")->setText("a");
    box->SetText("a>z");
    box->setFocus();
    d.findChild<QPushButton*>("cmdContinue")->click();
    Settle();
    before = Label(&d);
    Type(box, "1");
    Settle();
    after = Label(&d);
  });
  EXPECT_EQ(before, "Variable z not found in any previous active statement");
  EXPECT_EQ(after, "");
}

// After a refusal the criterion is selected or a token is red; the next
// character removes the mark and goes in at the caret, replacing nothing.
TEST_F(SubsetInductionUi, TypingAfterTheMarkInsertsAtTheCaret) {
  ArmSubset();
  SubsetDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("SelectExpression");
  std::string whole, token;
  Rgb colour = 1;
  Run(d, [&] {
    d.findChild<QLineEdit*>("SubsetName")->setText("s");
    d.findChild<QLineEdit*>("BoundVars")->setText("a");
    box->SetText("a+1");
    box->setFocus();
    d.findChild<QPushButton*>("cmdContinue")->click();  // "Expecting a logical expression"
    Settle();
    Type(box, "x");
    Settle();
    whole = box->Text();
    box->SetText("a>z");
    d.findChild<QPushButton*>("cmdContinue")->click();  // z painted red, caret before it
    Settle();
    Type(box, "y");
    Settle();
    token = box->Text();
    box->SetSelStart(0);
    box->SetSelLength(box->TextLength());
    colour = box->SelColor();
  });
  EXPECT_EQ(whole, "xa+1");
  EXPECT_EQ(token, "a>yz");
  EXPECT_EQ(colour, kBlack);
}

TEST_F(SubsetInductionUi, TheAtKeyGivesTheGlyphAndABlankInBothWindows) {
  ArmSubset();
  SubsetDialog subset(S, nullptr);
  InductionDialog induction(S, nullptr);
  for (QDialog* d : {static_cast<QDialog*>(&subset), static_cast<QDialog*>(&induction)}) {
    auto* box = d->findChild<QtRichBox*>(d == &subset ? "SelectExpression" : "RTB");
    std::string text, plain, glyphFont, blankFont;
    int caret = -1;
    auto script = [&] {
      box->setFocus();
      Type(box, "x@");
      Settle();
      text = box->Text();
      caret = box->SelStart();
      plain = ConvertEpsilon(*box);
      box->SetSelStart(1);
      box->SetSelLength(1);
      glyphFont = box->SelFontName();
      box->SetSelStart(2);
      box->SetSelLength(1);
      blankFont = box->SelFontName();
    };
    if (d == &subset) Run(subset, script);
    else Run(induction, script);
    EXPECT_EQ(text, "xe ") << d->objectName().toStdString();
    EXPECT_EQ(caret, 2);
    EXPECT_EQ(plain, "x@ ");
    EXPECT_EQ(glyphFont, kSymbolFont);
    EXPECT_EQ(blankFont, kEditorFont);
  }
}

// The induction window's Delete item does not test the selection: with
// nothing selected it changes no text, does not beep and turns Undo on.
TEST_F(SubsetInductionUi, InductionDeleteWithNothingSelectedTurnsUndoOn) {
  ArmInduction();
  InductionDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("RTB");
  auto* undo = d.findChild<QAction*>("optUndo");
  bool undoBefore = true, undoAfter = false;
  std::string text;
  int beeps = -1;
  Run(d, [&] {
    box->setFocus();
    Type(box, "a>1");
    box->SetSelStart(1);
    undoBefore = undo->isEnabled();
    const int b = host.beeps;
    d.findChild<QAction*>("optDelete")->trigger();
    beeps = host.beeps - b;
    undoAfter = undo->isEnabled();
    text = box->Text();
  });
  EXPECT_FALSE(undoBefore);
  EXPECT_TRUE(undoAfter);
  EXPECT_EQ(beeps, 0);
  EXPECT_EQ(text, "a>1");
}

// Shift+Insert and the middle button paste through the editor's Paste, each
// with its own undo snapshot.
TEST_F(SubsetInductionUi, EveryPasteTakesItsOwnUndoSnapshot) {
  ArmSubset();
  host.clipboardText = "ab";
  QGuiApplication::clipboard()->setText(QStringLiteral("ab"));
  SubsetDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("SelectExpression");
  auto* undo = d.findChild<QAction*>("optUndo");
  std::string threePastes, afterUndo, afterMiddle, afterSecondUndo;
  Run(d, [&] {
    box->setFocus();
    for (int i = 0; i < 3; ++i) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
      QApplication::sendEvent(box, &press);
    }
    Settle();
    threePastes = box->Text();
    undo->trigger();
    afterUndo = box->Text();
    box->SetSelStart(0);
    Settle();
    Press(box->viewport(), Qt::MiddleButton, QPoint(2, 2));
    Settle();
    afterMiddle = box->Text();
    undo->trigger();
    afterSecondUndo = box->Text();
  });
  EXPECT_EQ(threePastes, "ababab");
  EXPECT_EQ(afterUndo, "abab");
  EXPECT_EQ(afterMiddle, "ababab");
  EXPECT_EQ(afterSecondUndo, "abab");
}

// The Edit keys are shortcuts of the window: they work with the focus on a
// button too, and in the box each key runs its command once.
TEST_F(SubsetInductionUi, EditKeysAreShortcutsOfTheWindow) {
  ArmSubset();
  host.clipboardText = "";
  SubsetDialog d(S, nullptr);
  auto* box = d.findChild<QtRichBox*>("SelectExpression");
  std::string cut, clip, undone, pasted, pastedOnce, copied;
  bool active = false;
  Run(d, [&] {
    active = ActivateWindowOf(&d);
    box->SetText("a>1");
    box->SetSelStart(0);
    box->SetSelLength(2);
    QWidget* button = d.findChild<QPushButton*>("cmdCopy");
    button->setFocus();
    Settle();
    WindowKey(button, Qt::Key_X, Qt::ControlModifier);
    cut = box->Text();
    clip = host.clipboardText;
    WindowKey(button, Qt::Key_Z, Qt::ControlModifier);
    undone = box->Text();
    box->SetSelStart(3);
    WindowKey(button, Qt::Key_V, Qt::ControlModifier);
    pasted = box->Text();
    box->setFocus();
    box->SetSelStart(0);
    Settle();
    WindowKey(box, Qt::Key_V, Qt::ControlModifier);
    pastedOnce = box->Text();
    box->SetSelStart(0);
    box->SetSelLength(1);
    host.clipboardText.clear();
    button->setFocus();
    WindowKey(button, Qt::Key_C, Qt::ControlModifier);
    copied = host.clipboardText;
  });
  ASSERT_TRUE(active);
  EXPECT_EQ(cut, "1");
  EXPECT_EQ(clip, "a>");
  EXPECT_EQ(undone, "a>1");
  EXPECT_EQ(pasted, "a>1a>");
  EXPECT_EQ(pastedOnce, "a>a>1a>");
  EXPECT_EQ(copied, "a");
}

}  // namespace
}  // namespace qv
