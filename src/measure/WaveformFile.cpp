#include "measure/WaveformFile.h"

#include <algorithm>
#include <charconv>

#include "platform/Numbers.h"

namespace kov::measure {
namespace {

void SkipBlanks(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

// A whole number of at most 9 digits at pos, optionally negative. The
// results go out through references, and the point line is built where it
// is returned: copies of small records just written stall the processor,
// and a recording has tens of millions of lines.
bool WholeNumber(std::string_view text, std::size_t& at, std::int32_t& number) {
  std::size_t pos = at;
  const bool negative = pos < text.size() && text[pos] == '-';
  if (negative) ++pos;
  const std::size_t first = pos;
  std::int32_t value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - first < 9) {
    value = value * 10 + (text[pos++] - '0');
  }
  at = pos;
  if (pos == first || (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')) return false;
  number = negative ? -value : value;
  return true;
}

// The level field without its blanks: a sign, digits and at most one point.
bool Level(std::string_view cell, double& value) {
  char number[32];
  std::size_t n = 0;
  for (char c : cell) {
    if (c == ' ') continue;
    if (n == sizeof number) return false;
    number[n++] = c;
  }
  std::size_t pos = 0;
  if (pos < n && (number[pos] == '-' || number[pos] == '+')) ++pos;
  const std::size_t digits = pos;
  int whole = 0;
  bool plain = true;
  for (; pos < n; ++pos) {
    if (number[pos] >= '0' && number[pos] <= '9') {
      if (pos - digits < 9) whole = whole * 10 + (number[pos] - '0');
      if (pos - digits >= 9) plain = false;
    } else if (number[pos] == '.') {
      plain = false;
    } else {
      return false;
    }
  }
  if (pos == digits) return false;
  if (plain) {
    value = number[0] == '-' ? -whole : whole;
    return true;
  }
  // Rare: a fraction or a very long number.
  const char* begin = number[0] == '+' ? number + 1 : number;
  const auto [end, ec] = std::from_chars(begin, number + n, value);
  return ec == std::errc() && end == number + n;
}

}  // namespace

void AppendPointLine(std::string& out, std::int16_t pass, std::int32_t point,
                     std::string_view cell) {
  out += platform::BlankNumber(pass);
  out += ", ";
  out += platform::BlankNumber(point);
  out += ',';
  out += cell;
  out += "\r\n";
}

std::optional<WaveformPoint> ParsePointLine(std::string_view line) {
  std::optional<WaveformPoint> point(std::in_place);
  WaveformPoint& p = *point;
  std::size_t pos = 0;
  SkipBlanks(line, pos);
  bool ok = WholeNumber(line, pos, p.pass) && pos < line.size() && line[pos++] == ',';
  SkipBlanks(line, pos);
  ok = ok && WholeNumber(line, pos, p.point) && pos < line.size() && line[pos++] == ',';
  const std::string_view cell = line.substr(std::min(pos, line.size()));
  p.cell = cell;
  double level = 0;
  if (ok && cell != kNoData) {
    ok = Level(cell, level);
    p.level = level;
  }
  if (!ok) point.reset();
  return point;
}

}  // namespace kov::measure
