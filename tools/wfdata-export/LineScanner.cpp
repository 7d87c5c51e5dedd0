#include "LineScanner.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "measure/WaveformFile.h"

namespace kov::wfexport {
namespace {

// The line as a C-like quoted text, cut to a readable length.
std::string Quoted(std::string_view line) {
  constexpr std::size_t kShown = 60;
  std::string text = "\"";
  for (char c : line.substr(0, kShown)) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\') {
      text += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
      text += escaped;
    }
  }
  text += line.size() > kShown ? "\"..." : "\"";
  return text;
}

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

void ChunkFacts::Skip(const char* begin, std::size_t length) {
  ++skipped;
  if (firstSkipped.size() < static_cast<std::size_t>(kReported)) {
    firstSkipped.push_back({lines, Quoted(std::string_view(begin, length))});
  }
}

namespace scan {

void NextLine::Expect(std::uint32_t pass, std::uint32_t point) {
  length_ = 0;
  if (pass > 32767 || point > static_cast<std::uint32_t>(FrequencyAxis::kMaxPoints)) return;
  pass_ = pass;
  point_ = point;
  char text[sizeof words_] = {};
  char* at = text;
  *at++ = ' ';
  at = std::to_chars(at, text + sizeof text, pass).ptr;
  at = std::copy_n(",  ", 3, at);
  at = std::to_chars(at, text + sizeof text, point).ptr;
  *at++ = ',';
  length_ = static_cast<std::size_t>(at - text);
  unsigned char mask[sizeof words_] = {};
  std::memset(mask, 0xFF, length_);
  std::memcpy(words_, text, sizeof words_);
  std::memcpy(masks_, mask, sizeof masks_);
  const std::size_t digit = length_ - 2;  // the point's last
  digitWord_ = digit / 8;
  const auto inWord = static_cast<int>(digit % 8);
  digitShift_ = 8 * (std::endian::native == std::endian::little ? inWord : 7 - inWord);
}

// A 9 rolls over into the digit before it; a point with one digit more is
// written anew.
void NextLine::Carry() {
  char text[sizeof words_];
  std::memcpy(text, words_, sizeof text);
  std::size_t digit = length_ - 2;
  while (text[digit] == '9') text[digit--] = '0';
  if (text[digit] == ' ' || point_ >= static_cast<std::uint32_t>(FrequencyAxis::kMaxPoints)) {
    Expect(pass_, point_ + 1);
    return;
  }
  ++text[digit];
  ++point_;
  std::memcpy(words_, text, sizeof words_);
}

bool NextLine::After(const char* line, std::uint32_t pass, std::uint32_t point) {
  Expect(pass, point);
  if (!Matches(line)) {
    length_ = 0;
    return false;
  }
  Advance();
  return true;
}

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
