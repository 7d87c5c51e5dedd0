// wfdata-export: reads a recording, the waveform file WFdata.txt, and writes
// it as tables and pictures.
#include <iostream>

#include "ConsoleWindow.h"
#include "Export.h"
#include "Interruption.h"
#include "Progress.h"
#include "platform/ProgramFolder.h"

int main(int argc, char** argv) {
  namespace wfexport = kov::wfexport;
  wfexport::HandleInterruptions();
  const bool ownWindow = wfexport::OwnConsoleWindow();
  const wfexport::Surroundings surroundings{wfexport::ErrorIsTerminal(),
                                            kov::platform::ProgramFolder()};
  const int status = wfexport::Main(argc, argv, std::cout, std::cerr, surroundings);
  if (ownWindow) {
    std::cout.flush();
    wfexport::WaitForEnter(status, argc < 2);
  }
  return status;
}
