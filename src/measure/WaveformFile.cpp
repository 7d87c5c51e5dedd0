#include "measure/WaveformFile.h"

#include <charconv>

#include "platform/Numbers.h"

namespace kov::measure {
namespace {

void SkipBlanks(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
}

// A whole number of at most 9 digits at pos, optionally negative.
std::optional<std::int32_t> WholeNumber(std::string_view text, std::size_t& pos) {
  const bool negative = pos < text.size() && text[pos] == '-';
  if (negative) ++pos;
  const std::size_t first = pos;
  std::int32_t value = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - first < 9) {
    value = value * 10 + (text[pos++] - '0');
  }
  if (pos == first || (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

// The level field without its blanks: a sign, digits and at most one point.
std::optional<double> Level(std::string_view cell) {
  char number[32];
  std::size_t n = 0;
  for (char c : cell) {
    if (c == ' ') continue;
    if (n == sizeof number) return std::nullopt;
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
      return std::nullopt;
    }
  }
  if (pos == digits) return std::nullopt;
  if (plain) return number[0] == '-' ? -whole : whole;
  // Rare: a fraction or a very long number.
  const char* begin = number[0] == '+' ? number + 1 : number;
  double value = 0;
  const auto [end, ec] = std::from_chars(begin, number + n, value);
  if (ec != std::errc() || end != number + n) return std::nullopt;
  return value;
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
  std::size_t pos = 0;
  SkipBlanks(line, pos);
  const auto pass = WholeNumber(line, pos);
  if (!pass || pos >= line.size() || line[pos++] != ',') return std::nullopt;
  SkipBlanks(line, pos);
  const auto point = WholeNumber(line, pos);
  if (!point || pos >= line.size() || line[pos++] != ',') return std::nullopt;
  const std::string_view cell = line.substr(pos);
  if (cell == kNoData) return WaveformPoint{*pass, *point, std::nullopt, std::string(cell)};
  const auto level = Level(cell);
  if (!level) return std::nullopt;
  return WaveformPoint{*pass, *point, level, std::string(cell)};
}

}  // namespace kov::measure
