#include <QApplication>
#include <csignal>

#include "platform/IniProfileFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "qt/QtWindow.h"

int main(int argc, char** argv) {
  // A file-size limit must fail the write that crosses it, which the program
  // reports and undoes, instead of killing the program mid-line.
  std::signal(SIGXFSZ, SIG_IGN);
  QApplication app(argc, argv);
  kov::platform::SystemSockets sockets;
  kov::platform::SystemClock clock;
  kov::platform::SystemTextFiles textFiles;
  kov::platform::IniProfileFiles profileFiles;
  kov::qt::QtWindow form(kov::window::HostWorld{sockets, clock, textFiles, profileFiles,
                                                kov::platform::ProgramFolder()});
  if (!form.Load()) return 0;
  form.show();
  return app.exec();
}
