// A monkey on the real main window, offscreen: a seeded random run of real
// input (clicks, double clicks and right clicks on the proof view queued as
// the window system queues them, keys, menu commands, toolbar buttons) with
// every modal window answered at random, and, while the Find window is open,
// input for it too (typing, its buttons and options, Esc, its close box, and
// switches between it and the main window). Whenever nothing is running, the
// document must be well formed, the view must show exactly its visible
// blocks, and Undo followed by Redo must give the same document back.
//
// The short fixed-seed run is part of the test suite. Longer runs:
//   QV_MONKEY_EVENTS=N      events in all (default 3000)
//   QV_MONKEY_MINUTES=M     run for M minutes instead
//   QV_MONKEY_SEED=S        first seed (each sequence takes the next one)
//   QV_MONKEY_SEQUENCE=N    events per sequence, each on a fresh program (default 150)
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "document/document.h"
#include "mainwindow/inputgate.h"
#include "mainwindow/maincommands.h"
#include "mainwindow/mainwindow.h"
#include "platform/fakehost.h"
#include "platform/host.h"
#include "platform/memrichbox.h"
#include "support/qt_app.h"
#include "support/queued_input.h"

namespace qv {
namespace {

long EnvLong(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

double EnvDouble(const char* name, double fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtod(v, nullptr) : fallback;
}

// What the view must show: the Introduction and the blocks of the visible
// statements, with the element-of sign as its glyph letter and the tag of a
// Conclusion whose premise block is hidden turned to the collapsed one.
std::string ExpectedView(const DocState& d) {
  const std::string& T = d.ProofText;
  std::string v;
  if (d.IntroLen > 0) v = T.substr(0, static_cast<size_t>(d.IntroLen) + 4);
  for (int k = 1; k <= d.StmtCount; ++k) {
    const StmtRec& s = d.Stmts[k];
    if (!s.Visible) continue;
    std::string block = T.substr(static_cast<size_t>(s.StartLine - 1),
                                 static_cast<size_t>(s.EndRule - s.StartLine + 5));
    if (s.Rule == kRuleConclusion && s.Arg1 >= 1 && s.Arg1 <= d.StmtCount && !d.Stmts[s.Arg1].Visible)
      block[static_cast<size_t>(s.StartRule - s.StartLine)] = '5';
    v += block;
  }
  for (char& c : v)
    if (c == '@') c = 'e';
  return v;
}

// Undo then Redo on a copy of the document (with a fake host, so that no
// window opens): "" when it gives the same statements and text back.
std::string UndoRedoRoundTrip(const AppState& real) {
  if (!real.Undo.Valid) return "";
  AppState c;
  FakeHost host;
  MemRichBox view, status, work;
  c.Attach(&host, &view, &status, &work);
  c.Doc = real.Doc;
  c.Undo = real.Undo;
  c.Redo = real.Redo;
  c.Ui.FontSize = real.Ui.FontSize;
  c.Ui.SmallFontSize = real.Ui.SmallFontSize;
  optUndo_Click(c);
  optRedo_Click(c);
  if (c.Doc.ProofText != real.Doc.ProofText) return "proof text differs after Undo and Redo";
  if (c.Doc.StmtCount != real.Doc.StmtCount) return "statement count differs after Undo and Redo";
  for (int k = 1; k <= real.Doc.StmtCount; ++k)
    if (!(c.Doc.Stmts[k] == real.Doc.Stmts[k]))
      return "line " + std::to_string(k) + " differs after Undo and Redo";
  return "";
}

// Everything that must hold while no handler runs; "" when it does.
std::string CheckState(const AppState& S) {
  const DocState& d = S.Doc;
  std::string why = CheckDocInvariants(d);
  if (!why.empty()) return why;
  for (int k = 1; k <= d.StmtCount; ++k)
    if (d.Stmts[k].Rule < 1 || d.Stmts[k].Rule > 54)
      return "line " + std::to_string(k) + " has rule code " + std::to_string(d.Stmts[k].Rule);
  if (S.View && S.View->Text() != ExpectedView(d)) return "the view does not show the visible blocks";
  return UndoRedoRoundTrip(S);
}

const char* const kFormulas[] = {
    "P & Q", "ALL(x):P(x)", "P => Q", "~P", "x=x", "EXIST(a):a@S", "P | Q", "A & B & C",
    "ALL(a):ALL(b):[a@n & b@n => a+b@n]", "x+1=y", "P & Q &", "ALL(x", "((", "x@", "=>", "", "Q",
};

// Commands left out: the ones that reach outside the program (browser,
// printer).
bool Offered(const std::string& name) {
  for (const char* n : {"optPrint", "optQuorvaneOnlline", "optDebug"})
    if (name == n) return false;
  return !name.empty();
}

class Monkey {
 public:
  Monkey(uint64_t seed, long events, const std::filesystem::path& dir)
      : rng_(seed), seed_(seed), budget_(events), dir_(dir) {}

  // Runs one sequence on a fresh program; returns the events it took.
  long Run() {
    std::filesystem::create_directories(dir_);
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    app_ = std::make_unique<Application>(dir_.string(), std::vector<std::string>{"quorvane"});
    S_ = &app_->State();
    app_->HostRef().RegisterForm("StartUp", [] {});
    app_->WindowState().Quit = [] {};
    top_ = &app_->Window();
    ShowActive(top_);
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [this] { Step(); });
    QEventLoop loop;
    loop_ = &loop;
    lastProgress_.start();
    timer.start();
    loop.exec();
    timer.stop();
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
    app_.reset();
    std::filesystem::remove_all(dir_);
    return events_;
  }

  bool Failed() const { return !failure_.empty(); }
  int MaxStmts() const { return maxStmts_; }
  const std::string& Failure() const { return failure_; }

 private:
  // One tick of the monkey: answer the open modal window or menu, or, when
  // nothing runs, check the state and give the main window the next input.
  void Step() {
    if (inStep_ || !loop_) return;
    inStep_ = true;
    StepOnce();
    inStep_ = false;
  }

  void StepOnce() {
    if (!settled_) {
      if (lastProgress_.elapsed() > 30000) Fail("no progress for 30 s");
      return;
    }
    if (QWidget* popup = QApplication::activePopupWidget()) {
      AnswerMenu(qobject_cast<QMenu*>(popup), popup);
      return;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
      AnswerModal(modal);
      return;
    }
    answering_ = nullptr;  // a window shown again later is answered afresh
    if (!app_->Window().Gate().Idle()) {
      if (lastProgress_.elapsed() > 30000) Fail("a handler did not end for 30 s");
      return;
    }
    const std::string why = CheckState(*S_);
    if (!why.empty()) {
      Fail(why);
      return;
    }
    maxStmts_ = std::max(maxStmts_, S_->Doc.StmtCount);
    if (events_ >= budget_ || app_->WindowState().ExitRequested) {
      Finish();
      return;
    }
    auto* find = top_->findChild<QDialog*>(QStringLiteral("Find"));
    if (find && find->isVisible() && find->windowHandle() && Chance(35))
      FindInput(find);
    else
      MainInput();
  }

  void Fail(const std::string& why) {
    std::string log;
    for (const std::string& l : log_) log += "\n  " + l;
    failure_ = "seed " + std::to_string(seed_) + ", event " + std::to_string(events_) + ": " +
               why + "\nlast input:" + log;
    Finish();
  }

  void Finish() {
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
    if (QWidget* p = QApplication::activePopupWidget()) p->close();
    if (loop_) loop_->quit();
    loop_ = nullptr;
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  bool Chance(int percent) { return Pick(100) < percent; }

  void Note(const std::string& what) {
    ++events_;
    log_.push_back(std::to_string(events_) + " " + what);
    if (log_.size() > 25) log_.pop_front();
    if (std::getenv("QV_MONKEY_TRACE")) std::fprintf(stderr, "%s\n", log_.back().c_str());
    lastProgress_.start();
  }

  // The events posted so far must have been handled before the next tick
  // acts: a call queued behind them marks the moment.
  void Settle() {
    settled_ = false;
    QMetaObject::invokeMethod(
        &marker_, [this] { settled_ = true; }, Qt::QueuedConnection);
  }

  // A caret position of the view worth clicking: a line's number, formula
  // or rule text, or anywhere.
  int32_t Target() {
    const DocState& d = S_->Doc;
    std::vector<int> visible;
    for (int k = 1; k <= d.StmtCount; ++k)
      if (d.Stmts[k].Visible) visible.push_back(k);
    const int32_t len = S_->View->TextLength();
    if (visible.empty() || Chance(20)) return len > 0 ? Pick(len + 1) : 0;
    const StmtRec& s = d.Stmts[visible[Pick(static_cast<int>(visible.size()))]];
    const int32_t off = s.ViewerStartLine - s.StartLine;  // text position -> 1-based view
    const int32_t depth = s.StartRule - s.EndStmt - 4;
    switch (Pick(4)) {
      case 0: return (s.EndUserComment > 0 ? s.EndUserComment + 5 : s.StartLine) + depth + off - 1;
      case 1: return s.StartStmt + off - 1 + Pick(std::max(1, s.EndStmt - s.StartStmt + 1));
      case 2: return s.StartRule + off - 1 + Pick(std::max(1, s.EndRule - s.StartRule + 1));
      default: return s.StartLine + off - 1;
    }
  }

  void MainInput() {
    const int r = Pick(100);
    if (r < 40) {
      const int32_t caret = Target();
      const QPoint at = PointAtCaret(top_, app_->Window().View(), caret);
      const int kind = Pick(100);
      if (kind < 60) {
        PostClick(top_, at);
        Note("click at " + std::to_string(caret));
      } else if (kind < 80) {
        PostDoubleClick(top_, at);
        Note("double click at " + std::to_string(caret));
      } else if (kind < 90) {
        PostClick(top_, at);
        const int32_t second = Target();
        PostClick(top_, PointAtCaret(top_, app_->Window().View(), second));
        Note("two clicks queued at " + std::to_string(caret) + " and " + std::to_string(second));
      } else {
        PostClick(top_, at, Qt::RightButton);
        Note("right click at " + std::to_string(caret));
      }
    } else if (r < 60) {
      struct K {
        int key;
        Qt::KeyboardModifiers mods;
        const char* name;
      };
      static const K keys[] = {
          {Qt::Key_Escape, Qt::NoModifier, "Esc"}, {Qt::Key_F2, Qt::NoModifier, "F2"},
          {Qt::Key_F3, Qt::NoModifier, "F3"},      {Qt::Key_F4, Qt::NoModifier, "F4"},
          {Qt::Key_F5, Qt::NoModifier, "F5"},      {Qt::Key_F6, Qt::NoModifier, "F6"},
          {Qt::Key_F7, Qt::NoModifier, "F7"},      {Qt::Key_F8, Qt::NoModifier, "F8"},
          {Qt::Key_F9, Qt::NoModifier, "F9"},      {Qt::Key_F10, Qt::NoModifier, "F10"},
          {Qt::Key_F11, Qt::NoModifier, "F11"},    {Qt::Key_F12, Qt::NoModifier, "F12"},
          {Qt::Key_Delete, Qt::NoModifier, "Delete"}, {Qt::Key_Z, Qt::ControlModifier, "Ctrl+Z"},
          {Qt::Key_Y, Qt::ControlModifier, "Ctrl+Y"}, {Qt::Key_C, Qt::ControlModifier, "Ctrl+C"},
      };
      const K& k = keys[Pick(static_cast<int>(std::size(keys)))];
      PostKey(top_, k.key, k.mods, k.key == Qt::Key_Escape ? QStringLiteral("\x1b") : QString());
      Note(std::string("key ") + k.name);
    } else if (r < 85) {
      std::vector<QAction*> offered;
      for (QAction* a : top_->findChildren<QAction*>()) {
        const std::string name = a->objectName().toStdString();
        if (Offered(name) && !a->menu() && !a->isSeparator() && a->isVisible() && a->isEnabled())
          offered.push_back(a);
      }
      if (offered.empty()) return;
      QAction* a = offered[Pick(static_cast<int>(offered.size()))];
      Note("command " + a->objectName().toStdString());
      // Triggered from the event loop, as a menu click would: a modal window
      // it opens must not run inside this tick (a timer does not fire again
      // inside its own slot).
      QMetaObject::invokeMethod(a, "trigger", Qt::QueuedConnection);
    } else {
      std::vector<QPushButton*> buttons;
      for (QPushButton* b : top_->findChildren<QPushButton*>())
        if (b->isVisible() && b->isEnabled() && b->objectName() != "cmdHelp") buttons.push_back(b);
      if (buttons.empty()) return;
      QPushButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
      PostClick(top_, b->mapTo(top_, b->rect().center()));
      Note("button " + b->objectName().toStdString());
    }
    Settle();
  }

  // Input for the Find window, which is not modal: it reaches the window as
  // the window system would send it, and waits in the gate like the main
  // window's.
  void FindInput(QDialog* find) {
    const int r = Pick(100);
    if (r < 35) {
      static const char* const texts[] = {"P", "Q", "x", "@", "&", "=>", "1", "Prove:", "zz"};
      const std::string text = texts[Pick(static_cast<int>(std::size(texts)))];
      for (char c : text) {
        const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : static_cast<unsigned char>(c);
        PostKey(find, key, Qt::NoModifier, QString(QChar::fromLatin1(c)));
      }
      const bool enter = Chance(60);
      if (enter) PostKey(find, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
      Note("types \"" + text + "\"" + (enter ? " and Enter" : "") + " in Find");
    } else if (r < 70) {
      std::vector<QAbstractButton*> buttons;
      for (QAbstractButton* b : find->findChildren<QAbstractButton*>())
        if (b->isVisible() && b->isEnabled()) buttons.push_back(b);
      if (buttons.empty()) return;
      QAbstractButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
      PostClick(find, b->mapTo(find, b->rect().center()));
      Note("presses " + b->objectName().toStdString() + " in Find");
    } else if (r < 80) {
      PostKey(find, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
      Note("Esc in Find");
    } else if (r < 88) {
      QCoreApplication::postEvent(find->windowHandle(), new QCloseEvent);
      Note("close box of Find");
    } else {
      // A switch between the windows: the Find window's activation takes
      // the view's selection.
      QWidget* to = Chance(50) ? static_cast<QWidget*>(find) : top_;
      QPointer<QWidget> w(to);
      QMetaObject::invokeMethod(
          &marker_, [w] { if (w && w->isVisible()) QApplication::setActiveWindow(w); }, Qt::QueuedConnection);
      Note(to == top_ ? "switches to the main window" : "switches to Find");
    }
    Settle();
  }

  // Input for a modal window or menu is handed to it from the event loop
  // while it is still the one that is up: a window that its own code has
  // closed meanwhile gets nothing, as with real input.
  void Answer(QWidget* window, std::function<void(QWindow*)> send) {
    QPointer<QWidget> w(window);
    QMetaObject::invokeMethod(
        &marker_,
        [w, send] {
          if (!w || !w->isVisible() || !w->windowHandle()) return;
          if (QApplication::activeModalWidget() != w && QApplication::activePopupWidget() != w) return;
          send(w->windowHandle());
        },
        Qt::QueuedConnection);
  }
  static void SendKey(QWindow* w, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
  }
  static void SendClick(QWindow* w, QPoint at) {
    const QPointF g = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), g, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QCoreApplication::sendEvent(w, &release);
  }
  void AnswerEsc(QWidget* window) {
    Answer(window, [](QWindow* w) { SendKey(w, Qt::Key_Escape, QStringLiteral("\x1b")); });
  }
  void AnswerClick(QWidget* window, QPoint at) {
    Answer(window, [at](QWindow* w) { SendClick(w, at); });
  }

  void AnswerModal(QWidget* modal) {
    if (modal != answering_) {
      answering_ = modal;
      answers_ = 0;
    }
    const std::string title = modal->windowTitle().toStdString();
    // A window that its answers do not close is closed, as the user would give up.
    if (++answers_ > 12) {
      Note("closes \"" + title + "\"");
      if (auto* d = qobject_cast<QDialog*>(modal)) d->reject();
      else modal->close();
      Settle();
      return;
    }
    const bool fileDialog = qobject_cast<QFileDialog*>(modal) != nullptr;
    const int r = fileDialog ? Pick(2) * 3 : Pick(100) % 4;
    if (r == 0) {
      AnswerEsc(modal);
      Note("Esc in \"" + title + "\"");
    } else if (r == 1) {
      const std::string text = kFormulas[Pick(static_cast<int>(std::size(kFormulas)))];
      const bool enter = Chance(75);
      QPointer<QWidget> m(modal);
      Answer(modal, [m, text, enter](QWindow* w) {
        if (auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget())) line->clear();
        for (char c : text) {
          if (!m || !m->isVisible() || QApplication::activeModalWidget() != m) return;
          const int key = (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : static_cast<unsigned char>(c);
          SendKey(w, key, QString(QChar::fromLatin1(c)));
        }
        if (enter && m && m->isVisible() && QApplication::activeModalWidget() == m)
          SendKey(w, Qt::Key_Return, QStringLiteral("\r"));
      });
      Note("types \"" + text + "\" in \"" + title + "\"");
    } else {
      // A button: Continue or Cancel when the window has them, else any.
      std::vector<QPushButton*> buttons;
      for (QPushButton* b : modal->findChildren<QPushButton*>()) {
        if (!b->isVisible() || !b->isEnabled() || b->window() != modal) continue;
        const QString n = b->objectName();
        if (fileDialog && !b->text().contains("Cancel")) continue;
        if (r == 2 && n != "cmdContinue" && n != "cmdCancel" && !n.isEmpty() && Chance(50)) continue;
        buttons.push_back(b);
      }
      if (buttons.empty()) {
        AnswerEsc(modal);
        Note("Esc in \"" + title + "\"");
      } else {
        QPushButton* b = buttons[Pick(static_cast<int>(buttons.size()))];
        AnswerClick(modal, b->mapTo(modal, b->rect().center()));
        Note("presses " + b->text().toStdString() + " in \"" + title + "\"");
      }
    }
    Settle();
  }

  void AnswerMenu(QMenu* menu, QWidget* popup) {
    std::vector<QAction*> items;
    if (menu)
      for (QAction* a : menu->actions())
        if (a->isVisible() && a->isEnabled() && !a->isSeparator() && Offered(a->objectName().toStdString()))
          items.push_back(a);
    if (!menu || items.empty() || Chance(40)) {
      AnswerEsc(popup);
      Note("Esc in a menu");
    } else {
      QAction* a = items[Pick(static_cast<int>(items.size()))];
      AnswerClick(popup, menu->actionGeometry(a).center());
      Note("menu item " + a->objectName().toStdString());
    }
    Settle();
  }

  std::mt19937_64 rng_;
  uint64_t seed_;
  long budget_;
  std::filesystem::path dir_;
  std::unique_ptr<Application> app_;
  AppState* S_ = nullptr;
  QWidget* top_ = nullptr;
  QEventLoop* loop_ = nullptr;
  QObject marker_;
  QElapsedTimer lastProgress_;
  bool settled_ = true;
  bool inStep_ = false;
  long events_ = 0;
  QWidget* answering_ = nullptr;
  int answers_ = 0;
  std::deque<std::string> log_;
  std::string failure_;
  int maxStmts_ = 0;
};

TEST(Monkey, RandomInputKeepsTheProofWellFormed) {
  TestApp();

  const long total = EnvLong("QV_MONKEY_EVENTS", 3000);
  const double minutes = EnvDouble("QV_MONKEY_MINUTES", 0);
  const long perSequence = std::max(1L, EnvLong("QV_MONKEY_SEQUENCE", 150));
  uint64_t seed = static_cast<uint64_t>(EnvLong("QV_MONKEY_SEED", 20261209));
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] {
    return std::chrono::duration<double, std::ratio<60>>(std::chrono::steady_clock::now() - start).count();
  };
  long events = 0, sequences = 0;
  int longest = 0;
  while (minutes > 0 ? elapsed() < minutes : events < total) {
    const long budget = minutes > 0 ? perSequence : std::min(perSequence, total - events);
    const auto dir = std::filesystem::temp_directory_path() /
                     ("qv-monkey-" + std::to_string(::getpid()) + "-" + std::to_string(sequences));
    Monkey m(seed, budget, dir);
    events += m.Run();
    ++sequences;
    longest = std::max(longest, m.MaxStmts());
    ASSERT_FALSE(m.Failed()) << m.Failure();
    ++seed;
  }
  std::printf("monkey: %ld events in %ld sequences, %.1f minutes, seeds from %ld, longest proof %d lines\n",
              events, sequences, elapsed(), EnvLong("QV_MONKEY_SEED", 20261209), longest);
}

}  // namespace
}  // namespace qv
