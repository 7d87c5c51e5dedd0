#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "Options.h"

namespace kov::wfexport {

// Where the program runs: progress goes to err only on a terminal, and the
// usual set of outputs may take the settings file beside the program.
struct Surroundings {
  bool terminal = false;
  std::string programFolder;  // "" for none
  // How a file is read: bytes a chunk and threads; 0 for the usual.
  std::uint64_t chunkBytes = 0;
  unsigned threads = 0;
};

// The program: its command line, then the export; the exit status.
int Main(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
         const Surroundings& surroundings);

// One export from one read of the waveform file: 0 done, 1 when the file, a
// setting or an output failed (nothing is then left under an output's name
// that was not complete), kUsageStatus for files it refuses to write (an
// output that is an input or another output) or a start it cannot find.
// The outputs of the usual set are listed on out.
int Export(const Options& options, std::ostream& out, std::ostream& err,
           const Surroundings& surroundings);

}  // namespace kov::wfexport
