#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace kov::wfexport {

// A range given as "A:B"; either side may be left out.
struct Bounds {
  std::optional<double> low;
  std::optional<double> high;
};

struct Options {
  std::string input;
  std::optional<double> startMHz;
  std::string iniPath;
  std::string timesPath;  // --times; else the one beside the input, if any
  bool ignoreTimes = false;
  Bounds passes;
  Bounds freqMHz;
  std::string fromTime, toTime;  // as given; read once the run's times are known
  std::vector<double> trackMHz;
  std::string csvPath, summaryPath, waterfallPath, spectrumPath, peaksPath, trackCsvPath,
      reportPath;
  double threshold = -60.0;
  std::string range;  // "full", "50" or empty (the settings file, else full)
  std::optional<double> dbMin, dbMax;
  int width = 1600;
  int height = 1000;
  bool strict = false;
  bool quiet = false;

  // Whether any output is named; with none, the usual set goes beside the input.
  bool NamesAnOutput() const;
};

// The exit status for a command line refused, as for --help and its kin.
inline constexpr int kUsageStatus = 2;

// The options to run with, or the exit status when the program ends here: 0
// after --help, kUsageStatus for a command line it refuses (the reason
// written to err).
struct ParsedOptions {
  Options options;
  std::optional<int> exitStatus;
};

ParsedOptions ParseOptions(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kov::wfexport
