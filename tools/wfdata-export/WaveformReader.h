#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "PointSink.h"

namespace kov::wfexport {

struct ReadSettings {
  std::string name;  // of the file in messages
  bool strict = false;
  // Ends the read once a second pass begins: what the first holds.
  bool firstPassOnly = false;
  // Called after each piece read, with the bytes read so far and the file's
  // size (0 when unknown).
  std::function<void(std::uint64_t, std::uint64_t)> progress;
};

// What a read found, beyond the points it handed on.
struct ReadReport {
  std::string error;  // the file could not be opened or read
  std::uint64_t bytes = 0;
  std::int64_t lines = 0;  // whole lines
  std::int64_t pointLines = 0;
  std::int64_t skipped = 0;       // lines that are no point line
  bool stoppedAtSkipped = false;  // strict: the first one ended the read
  // Where the file ends: bytes after the last line end, whether its last
  // line was a point line (the program ends each band with an empty line),
  // and the pass and point of the last point line.
  std::uint64_t partialBytes = 0;
  bool endsInBand = false;
  std::int32_t lastPass = 0;
  std::int32_t lastPoint = 0;
  // The highest point of the first pass, once a later pass has begun.
  std::int32_t pointsPerPass = 0;
  // Over all point lines: the highest point, the lowest and highest pass.
  std::int32_t highestPoint = 0;
  std::int32_t lowestPass = 0, highestPass = 0;
};

// Reads the waveform file from start to end in pieces, in constant memory,
// and hands each point line to the sink. Lines that are no point line (and
// pass or point numbers the program cannot write) are skipped and counted,
// the first few reported to err with their line numbers; with `strict` the
// first one ends the read. Bytes after the last line end are left unread.
ReadReport ReadWaveformFile(const std::string& path, PointSink& sink, const ReadSettings& settings,
                            std::ostream& err);

}  // namespace kov::wfexport
