#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "ChunkFacts.h"
#include "FrequencyAxis.h"
#include "HotInline.h"
#include "NextLine.h"

namespace kov::wfexport {

// The level of a point line: none for "00". `exact` when it is a whole
// number small enough that sums of it come out the same in any order.
struct PointLevel {
  bool has = false;
  bool exact = true;
  double value = 0;
};

// A recording is read in chunks: chunk i holds the lines that start in
// [i x size, (i + 1) x size) of the file. Its window also holds the byte
// before (to see whether a line starts at the chunk's first byte) and enough
// bytes after to end its last line or to know that line too long.
struct ChunkSpan {
  std::uint64_t readBegin = 0, readEnd = 0;  // the window in the file
  std::uint64_t ownEnd = 0;                  // lines start before this
};

// No point line comes near this; a longer line is skipped without being held.
inline constexpr std::size_t kLongestLine = 4096;

// The stop byte after a window and the bytes NextLine reads past a line's
// start at once.
inline constexpr std::size_t kWindowPadding = 17;

ChunkSpan SpanOf(std::uint64_t chunk, std::uint64_t chunkBytes, std::uint64_t fileBytes);

// A chunk's window in memory: data[size] must be '\n', a stop for the
// scanner that belongs to no line, and the bytes up to data[size +
// kWindowPadding) readable.
struct ChunkWindow {
  const char* data = nullptr;
  std::size_t size = 0;
  std::size_t own = 0;  // lines start before data + own
  bool first = false;   // the file's first chunk: a line starts at data[0]
};

namespace scan {

inline bool Digit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Up to `most` digits as a whole number; false for none or more.
KOV_HOT_INLINE bool Digits(const char*& p, std::size_t most, std::uint32_t& value) {
  const char* const first = p;
  std::uint32_t v = 0;
  while (Digit(*p)) v = v * 10 + static_cast<std::uint32_t>(*p++ - '0');
  value = v;
  return p != first && static_cast<std::size_t>(p - first) <= most;
}

inline void Blanks(const char*& p) {
  while (*p == ' ') ++p;
}

// The usual point line: " 12,  345,-087 " CR LF (blanks anywhere the program
// may put them, no CR, "00"). The start of the next line, or nullptr for any
// other line: the exact reading then decides.
KOV_HOT_INLINE const char* UsualLine(const char* p, std::uint32_t& pass, std::uint32_t& point,
                                     PointLevel& level) {
  Blanks(p);
  if (!Digits(p, 5, pass) || *p++ != ',') return nullptr;
  Blanks(p);
  if (!Digits(p, 5, point) || *p++ != ',') return nullptr;
  if (p[0] == '0' && p[1] == '0' && (p[2] == '\n' || (p[2] == '\r' && p[3] == '\n'))) {
    level.has = false;
    return p + (p[2] == '\n' ? 3 : 4);
  }
  Blanks(p);
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  std::uint32_t whole = 0;
  if (!Digits(p, 9, whole)) return nullptr;
  Blanks(p);
  if (*p == '\r') ++p;
  if (*p != '\n') return nullptr;
  level.has = true;
  level.exact = whole <= (1u << 20);
  const auto signedWhole = static_cast<std::int32_t>(whole);
  level.value = negative ? -signedWhole : signedWhole;
  return p + 1;
}

// The level field of the instrument, "-087 " or "+003 ", or "00", with its
// line end: the start of the next line, or nullptr for any other.
KOV_HOT_INLINE const char* UsualLevel(const char* c, PointLevel& level) {
  if ((c[0] == '-' || c[0] == '+') && Digit(c[1]) && Digit(c[2]) && Digit(c[3]) && c[4] == ' ' &&
      c[5] == '\r' && c[6] == '\n') {
    const int whole = (c[1] - '0') * 100 + (c[2] - '0') * 10 + (c[3] - '0');
    level.has = true;
    level.value = c[0] == '-' ? -whole : whole;
    return c + 7;
  }
  if (c[0] == '0' && c[1] == '0' && c[2] == '\r' && c[3] == '\n') {
    level.has = false;
    return c + 4;
  }
  return nullptr;
}

// A line the usual reading did not take, read exactly as ParsePointLine
// reads it (and a line longer than kLongestLine, or a file's unfinished last
// line). The start of the next line; `end` when none starts before it.
const char* OtherLine(const char* line, const char* end, ChunkFacts& facts, bool& isPoint,
                      std::int32_t& pass, std::int32_t& point, PointLevel& level);

// Where the chunk's first line starts.
const char* FirstLine(const ChunkWindow& w);

inline bool Acceptable(std::int64_t pass, std::int64_t point) {
  return pass >= 1 && pass <= 32767 && point >= 1 && point <= FrequencyAxis::kMaxPoints;
}

}  // namespace scan

// Reads the lines that start in a chunk, hands every point line to
// take(pass, point, level) in the file's order and counts the rest.
template <class Take>
void ScanLines(const ChunkWindow& w, Take& take, ChunkFacts& out) {
  ChunkFacts facts;  // on this thread's stack, away from other threads' writes
  const char* p = scan::FirstLine(w);
  const char* const own = w.data + w.own;
  const char* const end = w.data + w.size;
  scan::NextLine expected;
  int unusual = 0;  // lines the program would have written otherwise
  while (p < own) {
    PointLevel level;
    if (expected.Matches(p)) {
      const char* next = scan::UsualLevel(p + expected.Length(), level);
      if (next != nullptr && next <= end) {
        facts.SamePass(expected.Point());
        take(expected.Pass(), expected.Point(), level);
        expected.Advance();
        p = next;
        continue;
      }
    }
    std::uint32_t pass = 0, point = 0;
    const char* next = scan::UsualLine(p, pass, point, level);
    if (next != nullptr && next <= end && static_cast<std::size_t>(next - p) <= kLongestLine + 1 &&
        scan::Acceptable(pass, point)) {
      const auto ps = static_cast<std::int32_t>(pass), pt = static_cast<std::int32_t>(point);
      facts.Point(ps, pt);
      take(ps, pt, level);
      if (unusual < 64 && !expected.After(p, pass, point)) ++unusual;
      p = next;
      continue;
    }
    bool isPoint = false;
    std::int32_t ps = 0, pt = 0;
    p = scan::OtherLine(p, end, facts, isPoint, ps, pt, level);
    if (isPoint) {
      expected.Forget();  // what it counts on follows the point line before
      take(ps, pt, level);
    }
  }
  out = std::move(facts);
}

}  // namespace kov::wfexport
