// wfdata-export: reads a recording, the waveform file WFdata.txt, and writes
// it as tables and pictures.
#include <iostream>

#include "Export.h"
#include "Interruption.h"
#include "Progress.h"
#include "platform/ProgramFolder.h"

int main(int argc, char** argv) {
  kov::wfexport::HandleInterruptions();
  const kov::wfexport::Surroundings surroundings{kov::wfexport::ErrorIsTerminal(),
                                                 kov::platform::ProgramFolder()};
  return kov::wfexport::Main(argc, argv, std::cout, std::cerr, surroundings);
}
