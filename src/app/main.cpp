#include <QApplication>

#include "mainwindow/mainwindow.h"

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  qv::Application app(QCoreApplication::applicationDirPath().toStdString());
  app.Window().showMaximized();
  return qapp.exec();
}
