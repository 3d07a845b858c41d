// The main window "Proof" and the application object that owns the shared state.
#pragma once

#include <QMainWindow>
#include <memory>

#include "document/state.h"

namespace qv {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(AppState& state, QWidget* parent = nullptr);

 private:
  AppState& S;
};

// Owns the shared state and the main window for the life of the program.
class Application {
 public:
  explicit Application(const std::string& appPath);
  ~Application();
  AppState& State() { return state_; }
  MainWindow& Window() { return *window_; }

 private:
  AppState state_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace qv
