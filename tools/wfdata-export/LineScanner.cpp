#include "LineScanner.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "measure/WaveformFile.h"

namespace kov::wfexport {
namespace {

const char* Find(const char* from, const char* end, std::size_t most) {
  const auto room = static_cast<std::size_t>(end - from);
  return static_cast<const char*>(std::memchr(from, '\n', std::min(room, most)));
}

}  // namespace

ChunkSpan SpanOf(std::uint64_t chunk, std::uint64_t chunkBytes, std::uint64_t fileBytes) {
  const std::uint64_t ownBegin = chunk * chunkBytes;
  ChunkSpan span;
  span.ownEnd = std::min(fileBytes, ownBegin + chunkBytes);
  span.readBegin = chunk == 0 ? 0 : ownBegin - 1;
  span.readEnd = std::min(fileBytes, span.ownEnd + kLongestLine + 1);
  return span;
}

namespace scan {

const char* FirstLine(const ChunkWindow& w) {
  if (w.first) return w.data;
  // A line starts after each line end; the byte before the chunk's own is
  // in the window for that.
  const char* nl = Find(w.data, w.data + w.own - 1, w.own - 1);
  return nl == nullptr ? w.data + w.own : nl + 1;
}

const char* OtherLine(const char* line, const char* end, ChunkFacts& facts, bool& isPoint,
                      std::int32_t& pass, std::int32_t& point, PointLevel& level) {
  const auto room = static_cast<std::size_t>(end - line);
  const char* nl = Find(line, end, kLongestLine + 1);
  if (nl == nullptr && room <= kLongestLine) {
    // Only at the file's end, as a window reaches that far past its chunk:
    // the file was cut inside a line, which is left unread.
    facts.partialBytes = room;
    return end;
  }
  if (nl == nullptr) {
    ++facts.lines;
    facts.Skip(line, room);
    const char* after = Find(line + kLongestLine + 1, end, room);
    return after == nullptr ? end : after + 1;
  }
  std::string_view text(line, static_cast<std::size_t>(nl - line));
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (text.empty()) {
    facts.Empty();
    return nl + 1;
  }
  const auto parsed = measure::ParsePointLine(text);
  if (!parsed || !Acceptable(parsed->pass, parsed->point)) {
    ++facts.lines;
    facts.Skip(text.data(), text.size());
    return nl + 1;
  }
  isPoint = true;
  pass = parsed->pass;
  point = parsed->point;
  facts.Point(pass, point);
  level.has = parsed->level.has_value();
  level.value = parsed->level.value_or(0);
  level.exact = std::trunc(level.value) == level.value && std::fabs(level.value) <= (1 << 20);
  return nl + 1;
}

}  // namespace scan
}  // namespace kov::wfexport
