#include "mainwindow/mainwindow.h"

namespace qv {

MainWindow::MainWindow(AppState& state, QWidget* parent) : QMainWindow(parent), S(state) {
  setWindowTitle(QStringLiteral(" Quorvane 2.0  -  (Untitled)"));
}

Application::Application(const std::string& appPath) {
  state_.Ui.AppPath = appPath;
  window_ = std::make_unique<MainWindow>(state_);
}

Application::~Application() = default;

}  // namespace qv
