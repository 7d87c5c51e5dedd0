#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kov::wfexport {

// Skipped lines reported one by one; the rest are counted.
inline constexpr std::int64_t kReported = 5;

struct SkippedLine {
  std::int64_t line = 0;  // within its chunk, from 1
  std::string text;       // quoted, cut to a readable length
};

// What one chunk's lines tell about the file, beyond its points. Merged in
// the file's order (ReadTally).
struct ChunkFacts {
  std::int64_t lines = 0;  // whole lines that start in the chunk
  std::int64_t pointLines = 0;
  std::int64_t skipped = 0;
  std::vector<SkippedLine> firstSkipped;  // at most kReported
  // The last line that was empty or a point line: an empty line ends a band.
  enum class Last : std::uint8_t { kNone, kEmpty, kPoint } last = Last::kNone;
  std::int32_t lastPass = 0, lastPoint = 0;
  // The pass of the first point line, the highest point of the lines of
  // that pass before another pass begins, and whether one began.
  std::int32_t leadPass = 0, leadHigh = 0;
  bool leadEnded = false;
  std::int32_t highestPoint = 0, lowestPass = 0, highestPass = 0;
  std::uint64_t partialBytes = 0;  // after the last line end, in the file's last chunk

  void Empty() {
    ++lines;
    last = Last::kEmpty;
  }
  void Point(std::int32_t pass, std::int32_t point) {
    ++lines;
    ++pointLines;
    last = Last::kPoint;
    lastPass = pass;
    lastPoint = point;
    if (pointLines == 1) leadPass = lowestPass = pass;
    if (!leadEnded) {
      if (pass == leadPass) {
        if (point > leadHigh) leadHigh = point;
      } else {
        leadEnded = true;
      }
    }
    if (point > highestPoint) highestPoint = point;
    if (pass < lowestPass) lowestPass = pass;
    if (pass > highestPass) highestPass = pass;
  }
  // A point line of the pass of the point line before it.
  void SamePass(std::int32_t point) {
    ++lines;
    ++pointLines;
    last = Last::kPoint;
    lastPoint = point;
    if (!leadEnded && point > leadHigh) leadHigh = point;
    if (point > highestPoint) highestPoint = point;
  }
  void Skip(const char* begin, std::size_t length);
};

}  // namespace kov::wfexport
