#include "platform/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kov::platform {
namespace {

bool Skipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// A whole number after "&H" or "&O", read as unsigned: the prefixes are for
// hand-typed constants, never a reason to turn a large value negative.
double RadixNumber(const std::string& text, std::size_t pos, int radix) {
  double value = 0;
  for (; pos < text.size() && DigitValue(text[pos]) < radix; ++pos) {
    value = value * radix + DigitValue(text[pos]);
  }
  return value;
}

// For a number text that does not fit a double: whether it is too large
// (rather than too small). Its decimal magnitude, the place of the first
// non-zero digit plus the exponent, is far from 0 either way.
bool TooLarge(const std::string& number) {
  const std::size_t ePos = number.find('e');
  const std::string_view mantissa = std::string_view(number).substr(0, ePos);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_of("123456789");
  if (first == std::string_view::npos) return false;
  long long magnitude = first < point ? static_cast<long long>(point - first)
                                      : -static_cast<long long>(first - point - 1);
  if (ePos != std::string::npos) {
    long long exponent = 0;
    std::size_t i = ePos + 1;
    const bool minus = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    // Saturate: an exponent of many digits must not overflow the count.
    for (; i < number.size() && exponent < 100000000; ++i)
      exponent = exponent * 10 + (number[i] - '0');
    magnitude += minus ? -exponent : exponent;
  }
  return magnitude > 0;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with at most one ".", copied to `number`; false when no digit came.
bool TakeMantissa(const std::string& s, std::size_t& pos, std::string& number) {
  bool digits = false;
  for (; pos < s.size() && IsDigit(s[pos]); ++pos) {
    number.push_back(s[pos]);
    digits = true;
  }
  if (pos < s.size() && s[pos] == '.') {
    number.push_back('.');
    for (++pos; pos < s.size() && IsDigit(s[pos]); ++pos) {
      number.push_back(s[pos]);
      digits = true;
    }
  }
  return digits;
}

// An exponent ("E" or "D", a sign, digits) appended as from_chars reads it
// ("e"); none when no digit follows.
void TakeExponent(const std::string& s, std::size_t pos, std::string& number) {
  if (pos >= s.size() || (s[pos] != 'E' && s[pos] != 'e' && s[pos] != 'D' && s[pos] != 'd')) return;
  std::string exponent = "e";
  std::size_t e = pos + 1;
  if (e < s.size() && (s[e] == '+' || s[e] == '-')) exponent.push_back(s[e++]);
  if (e >= s.size() || !IsDigit(s[e])) return;
  for (; e < s.size() && IsDigit(s[e]); ++e) exponent.push_back(s[e]);
  number += exponent;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text) {
    if (!Skipped(c)) s.push_back(c);
  }

  if (s.size() >= 2 && s[0] == '&') {
    if (s[1] == 'H' || s[1] == 'h') return RadixNumber(s, 2, 16);
    if (s[1] == 'O' || s[1] == 'o') return RadixNumber(s, 2, 8);
    return 0;
  }

  std::size_t pos = 0;
  bool negative = false;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    negative = s[pos] == '-';
    ++pos;
  }
  std::string number;
  if (!TakeMantissa(s, pos, number)) return 0;
  TakeExponent(s, pos, number);

  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too large gives infinity (which no destination accepts); too small, 0.
    value = TooLarge(number) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

std::optional<std::int16_t> RoundToInteger(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);  // ties to even in the default mode
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<std::int16_t>(r);
}

std::optional<std::int32_t> RoundToLong(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const double r = std::nearbyint(value);
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(r);
}

std::string PlainNumber(double value) {
  if (value == 0) value = 0;  // no "-0"
  // Positional digits across every magnitude an operator can type (a start
  // of 100000 MHz reads "100000", not "1e+05"); an exponent only far out.
  const double magnitude = std::fabs(value);
  const bool positional = value == 0 || (magnitude >= 1e-5 && magnitude < 1e15);
  char text[64];
  const auto result = positional
                          ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed)
                          : std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string BlankNumber(double value) {
  std::string text = PlainNumber(value);
  if (text[0] != '-') text.insert(text.begin(), ' ');
  return text;
}

}  // namespace kov::platform
