#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "LineScanner.h"

namespace kov::wfexport {

struct ReadSettings {
  std::string name;  // of the file in messages
  bool strict = false;
  // Ends the read once a second pass begins: what the first holds.
  bool firstPassOnly = false;
  // Called after each chunk, with the bytes read so far and the file's size
  // (0 when unknown).
  std::function<void(std::uint64_t, std::uint64_t)> progress;
  // Bytes of a chunk and threads reading at once; 0 for the usual (a few
  // megabytes; the machine's cores). A stream is read by one thread.
  std::uint64_t chunkBytes = 0;
  unsigned threads = 0;
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

// Adds up the chunks' facts in the file's order: line numbers run on from
// chunk to chunk, so the skipped lines are reported as a reader of the
// whole file would (the first few, to err, with their line numbers).
class ReadTally {
 public:
  ReadTally(const ReadSettings& settings, std::ostream& err, ReadReport& report)
      : settings_(settings), err_(err), report_(report) {}

  // The next chunk's; false when the read ends with it.
  bool Add(const ChunkFacts& facts);

 private:
  bool Report(const SkippedLine& line, std::int64_t number);
  void Lead(const ChunkFacts& facts);

  const ReadSettings& settings_;
  std::ostream& err_;
  ReadReport& report_;
  std::int32_t firstPass_ = 0, firstPassHigh_ = 0;
};

}  // namespace kov::wfexport
