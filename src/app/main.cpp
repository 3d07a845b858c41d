// The program's entry point: builds the application object and runs the event loop.
#include <QApplication>
#include <string>
#include <vector>

#include "mainwindow/mainwindow.h"
#include "platform/memory.h"

int main(int argc, char** argv) {
  qv::KeepFreedMemory();
  QApplication qapp(argc, argv);
  // The proof path stays in the bytes the shell gave, as file names are kept.
  std::vector<std::string> args(argv, argv + argc);
  qv::Application app(QCoreApplication::applicationDirPath().toLocal8Bit().toStdString(), args);
  app.Window().showMaximized();
  return qapp.exec();
}
