#pragma once

#include <ostream>

#include "Options.h"

namespace kov::wfexport {

// The program: its command line, then the export; the exit status. Progress
// goes to err only when it is a terminal (`terminal`).
int Main(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool terminal);

// One export from one read of the waveform file: 0 done, 1 when the file, a
// setting or an output failed (nothing is then left under an output's name
// that was not complete), kUsageStatus for outputs that name one file twice.
int Export(const Options& options, std::ostream& err, bool terminal);

}  // namespace kov::wfexport
