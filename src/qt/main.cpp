#include <QApplication>
#include <csignal>

#include "qt/QtWindow.h"
#include "window/SystemWorld.h"

int main(int argc, char** argv) {
  // A file-size limit must fail the write that crosses it, which the program
  // reports and undoes, instead of killing the program mid-line.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  kov::window::SystemWorld system;
  kov::qt::QtWindow form(system.World());
  if (!form.Load()) return 0;
  form.show();
  return app.exec();
}
