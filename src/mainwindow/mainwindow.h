// The main window "Proof" and the application object that owns the shared
// state, the host, the window and the command registry.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/state.h"
#include "platform/commands.h"
#include "mainwindow/maincommands.h"
#include "platform/qt/qtproofview.h"

class QLabel;
class QMenu;
class QPushButton;

namespace qv {

class Host;
class InputGate;
class QtHost;
class QtRichBox;


// The main window: menus, toolbar, proof view, status line and insert-line
// label. Every menu item and button runs the command registered under its
// name; the window's own events go to the handlers of maincommands.h.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  MainWindow(AppState& state, ProofWindowState& win, CommandRegistry& commands,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  QtProofView* View() const { return view_; }
  QtRichBox* Status() const { return status_; }
  QtRichBox* WorkArea() const { return workArea_; }
  QMenu* EditMenu() const { return editMenu_; }

  // Runs the command registered under a control's name; beeps when none is.
  void RunCommand(const std::string& name);
  // Runs an event handler; a failure it leaves unhandled is reported.
  void Guarded(const std::function<void()>& handler);
  // Runs an event handler now, or after the handler that runs and the input
  // that waits (InputGate), so that no handler runs inside another.
  void Dispatch(std::function<void()> handler);
  // Runs an event handler from the event loop, after what waits before it.
  void Later(std::function<void()> handler);
  InputGate& Gate() { return *gate_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* obj, QEvent* e) override;

 private:
  void BuildMenus();
  void BuildToolbar(QWidget* central);
  void LayOut();
  void WatchKeys(QWidget* w);

  AppState& S;
  ProofWindowState& W;
  CommandRegistry& commands_;
  QWidget* central_ = nullptr;
  QtProofView* view_ = nullptr;
  QtRichBox* status_ = nullptr;
  QtRichBox* workArea_ = nullptr;
  QLabel* insertLineLabel_ = nullptr;
  QMenu* editMenu_ = nullptr;
  std::unique_ptr<InputGate> gate_;
};

// Owns the shared state and the main window for the life of the program.
class Application {
 public:
  // appPath: the program's folder; args: the command line (args[0] the program).
  explicit Application(const std::string& appPath, const std::vector<std::string>& args = {});
  ~Application();
  AppState& State() { return state_; }
  MainWindow& Window() { return *window_; }
  CommandRegistry& Commands() { return commands_; }
  ProofWindowState& WindowState() { return win_; }
  Host& HostRef();

 private:
  AppState state_;
  ProofWindowState win_;
  CommandRegistry commands_;
  std::unique_ptr<QtHost> host_;  // outlives the window, whose last events may still use it
  std::unique_ptr<MainWindow> window_;
};

}  // namespace qv
