// One QApplication for a whole test executable, on the offscreen platform
// unless the environment names another. Made on first use and kept to the
// end of the process, so no widget of a test outlives it.
#pragma once

#include <QApplication>

namespace qv {

inline QApplication& TestApp() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "quorvane";
  static char* argv[] = {name, nullptr};
  if (!QApplication::instance()) new QApplication(argc, argv);
  return *static_cast<QApplication*>(QApplication::instance());
}

}  // namespace qv
