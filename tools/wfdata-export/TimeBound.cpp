#include "TimeBound.h"

#include <string>

#include "measure/TimesFile.h"

namespace kov::wfexport {
namespace {

bool Digits(std::string_view text, std::size_t pos, std::size_t count) {
  if (pos + count > text.size()) return false;
  for (std::size_t i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// "HH:MM", "HH:MM:SS" or "HH:MM:SS.f" to "ff", as "HH:MM:SS.fff"; the rest
// of the text (the offset) stays in `rest`.
std::optional<std::string> Clock(std::string_view text, std::string_view& rest) {
  if (!Digits(text, 0, 2) || text.size() < 5 || text[2] != ':' || !Digits(text, 3, 2)) {
    return std::nullopt;
  }
  std::string clock(text.substr(0, 5));
  std::size_t used = 5;
  if (text.size() >= 8 && text[5] == ':' && Digits(text, 6, 2)) {
    clock += text.substr(5, 3);
    used = 8;
    std::size_t digits = 0;
    if (text.size() > 9 && text[8] == '.') {
      while (digits < 3 && Digits(text, 9 + digits, 1)) ++digits;
      if (digits == 0) return std::nullopt;
    }
    clock +=
        "." + std::string(digits > 0 ? text.substr(9, digits) : "") + std::string(3 - digits, '0');
    used += digits > 0 ? digits + 1 : 0;
  } else {
    clock += ":00.000";
  }
  rest = text.substr(used);
  return clock;
}

}  // namespace

std::optional<platform::WallTime> ReadTimeBound(std::string_view text, platform::WallTime run) {
  const std::string runText = measure::IsoTime(run);  // 2026-12-08T20:48:28.123+09:00
  std::string date = runText.substr(0, 10);
  std::string_view rest = text;
  if (text.size() >= 10 && Digits(text, 0, 4) && text[4] == '-') {
    date = std::string(text.substr(0, 10));
    rest = text.substr(10);
    if (rest.empty()) return measure::ParseIsoTime(date + "T00:00:00.000" + runText.substr(23));
    if (rest.front() != 'T' && rest.front() != ' ') return std::nullopt;
    rest.remove_prefix(1);
  }
  const auto clock = Clock(rest, rest);
  if (!clock) return std::nullopt;
  std::string offset(rest);
  if (offset.empty()) offset = runText.substr(23);
  if (offset == "Z") offset = "+00:00";
  return measure::ParseIsoTime(date + "T" + *clock + offset);
}

}  // namespace kov::wfexport
