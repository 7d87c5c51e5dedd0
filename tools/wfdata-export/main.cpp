// wfdata-export: reads a recording, the waveform file WFdata.txt, and writes
// it as tables and pictures.
#include <iostream>

#include "Export.h"
#include "Interruption.h"
#include "Progress.h"

int main(int argc, char** argv) {
  kov::wfexport::HandleInterruptions();
  return kov::wfexport::Main(argc, argv, std::cout, std::cerr, kov::wfexport::ErrorIsTerminal());
}
