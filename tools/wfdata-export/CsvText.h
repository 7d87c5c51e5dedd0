#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace kov::wfexport {

inline void AppendWhole(std::string& out, std::int64_t value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out.append(text, end);
}

// The shortest decimal text that reads back as the value, never with an
// exponent ("-87", "450.03125"); no "-0".
inline void AppendNumber(std::string& out, double value) {
  if (value == 0) value = 0;
  char text[512];  // a fixed-point double takes at most 309 digits before the point
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed).ptr;
  out.append(text, end);
}

// Rounded to hundredths first: for means, which rarely end.
inline void AppendHundredths(std::string& out, double value) {
  AppendNumber(out, std::round(value * 100) / 100);
}

}  // namespace kov::wfexport
