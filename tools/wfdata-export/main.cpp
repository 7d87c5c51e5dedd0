// wfdata-export: reads a recording, the waveform file WFdata.txt, and writes
// it as tables and pictures.
#include "ConsoleWindow.h"
#include "Export.h"
#include "Interruption.h"
#include "Progress.h"
#include "platform/Console.h"
#include "platform/ProgramFolder.h"

#ifdef _WIN32
#include "platform/Arguments.h"
#endif

namespace {

int Run(int argc, const char* const* argv) {
  namespace wfexport = kov::wfexport;
  using kov::platform::Console;
  wfexport::HandleInterruptions();
  const bool ownWindow = wfexport::OwnConsoleWindow();
  const wfexport::Surroundings surroundings{wfexport::ErrorIsTerminal(),
                                            kov::platform::ProgramFolder()};
  Console out(Console::Stream::Output), err(Console::Stream::Error);
  const int status = wfexport::Main(argc, argv, out, err, surroundings);
  out.flush();
  if (ownWindow) wfexport::WaitForEnter(status, argc < 2);
  return status;
}

}  // namespace

#ifdef _WIN32
// Wide, so that a path in any script arrives whole (linked with -municode).
int wmain(int argc, wchar_t** argv) {
  const kov::platform::Arguments arguments(argc, argv);
  return Run(arguments.Count(), arguments.Values());
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
