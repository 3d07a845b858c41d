// A test that drives the real program offscreen: one Application with its
// main window, its settings in a folder of its own, the splash muted, and the
// steps a user takes (a command, a click on a line, typing, answering the
// next modal window).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <unistd.h>

#include "document/document.h"
#include "mainwindow/mainwindow.h"
#include "platform/host.h"
#include "entry/forms_qt.h"
#include "platform/qt/qtrichbox.h"
#include "rules/inputbox_qt.h"
#include "support/qt_app.h"

namespace qv {

class AppUiTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TestApp(); }

  explicit AppUiTest(const std::string& folder) {
    static int serial = 0;
    dir = std::filesystem::temp_directory_path() /
          ("qv-" + folder + "-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(dir);
    // The settings go to the test's folder, never to the user's own.
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    app = std::make_unique<Application>(dir.string(), std::vector<std::string>{"quorvane"});
    S = &app->State();
    app->HostRef().RegisterForm("StartUp", [] {});
  }
  ~AppUiTest() override {
    app.reset();
    std::filesystem::remove_all(dir);
  }

  // A menu item or a toolbar button, as the user picks it.
  void Command(const char* name) {
    if (QAction* a = app->Window().findChild<QAction*>(QString::fromLatin1(name))) {
      a->trigger();
    } else {
      auto* b = app->Window().findChild<QPushButton*>(QString::fromLatin1(name));
      ASSERT_NE(b, nullptr) << name;
      b->click();
    }
    QApplication::processEvents();
  }

  // A click in the formula of line k, Offset characters from its start: the
  // caret goes there and the view reports the click.
  void ClickAt(int k, int32_t Offset = 0) {
    const StmtRec& s = S->Doc.Stmts[k];
    S->View->SetSelStart(s.StartStmt - s.StartLine + s.ViewerStartLine - 1 + Offset);
    emit app->Window().View()->clicked();
    QApplication::processEvents();
  }

  // Runs `act` once the next modal window is up; a window it leaves open is
  // closed and the test fails.
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
        ADD_FAILURE() << "window left open: " << left->windowTitle().toStdString();
        left->close();
      }
    });
  }

  // Each character sent to the box as a key press.
  static void Type(QWidget* box, const std::string& text) {
    for (char c : text) {
      const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar::fromLatin1(c)));
      QApplication::sendEvent(box, &press);
    }
  }

  static void Key(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }
  static void Press(QWidget* dialog, const char* button) {
    auto* b = dialog->findChild<QPushButton*>(QLatin1String(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
  }

  // Premise through the entry window.
  void Premise(const std::string& text) {
    WhenShown([text](QWidget* w) {
      auto* d = qobject_cast<TestParserDialog*>(w);
      ASSERT_NE(d, nullptr);
      Type(d->Box(), text);
      Press(d, "cmdContinue");
    });
    Command("optPremise");
  }

  // The input box's answer: each text typed and entered in turn.
  void AnswerBox(std::vector<std::string> texts, std::vector<std::string>* messages = nullptr,
                 std::string* caption = nullptr) {
    WhenShown([texts, messages, caption](QWidget* w) {
      auto* d = qobject_cast<InputBoxDialog*>(w);
      ASSERT_NE(d, nullptr);
      if (caption) *caption = d->windowTitle().toStdString();
      for (const std::string& t : texts) {
        d->TextBox()->clear();
        Type(d->TextBox(), t);
        Key(d->TextBox(), Qt::Key_Return);
        if (!d->isVisible()) return;
        if (messages) messages->push_back(d->MessageLabel()->text().toStdString());
      }
    });
  }

  // Line k's formula without its TABs, and its rule text.
  std::string Formula(int k) const { return StmtFormula(S->Doc, k); }
  std::string RuleText(int k) const {
    const StmtRec& s = S->Doc.Stmts[k];
    return S->Doc.ProofText.substr(s.StartRule - 1, s.EndRule - s.StartRule + 1);
  }

  std::filesystem::path dir;
  std::unique_ptr<Application> app;
  AppState* S = nullptr;
};

}  // namespace qv
