#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

namespace kov::sim {

struct Options {
  int port = 10001;
  std::string logPath;
  int replyDelayMs = 0;
  int chunkBytes = 0;
  int chunkGapMs = 0;
  int entries = 320;
  bool silent = false;
  bool answerRepeatOnly = false;
  bool noMarker = false;
  int closeAfter = 0;
  std::string cfReply;
  std::uint32_t seed = 1;
  // Replay: the waveform file to play back, and its run's start in MHz.
  std::string replayPath;
  int startMHz = 0;
};

// The options to run with, or the exit status when the program ends here: 0
// after --help, 2 for a command line it refuses (the reason written to err).
struct ParsedOptions {
  Options options;
  std::optional<int> exitStatus;
};

ParsedOptions ParseOptions(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace kov::sim
