#include "measure/TimesFile.h"

#include <charconv>
#include <cstdio>

#include "platform/Numbers.h"

namespace kov::measure {
namespace {

constexpr std::int64_t kMsPerDay = 86400000;

struct Civil {
  std::int64_t year;
  int month, day;
};

// The proleptic Gregorian calendar in whole numbers, so that no time_t (32
// bits on some builds) stands between a moment and its date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

Civil CivilFromDays(std::int64_t z) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

struct LocalParts {
  Civil date;
  int hour, minute, second, ms;
};

LocalParts Local(platform::WallTime t) {
  const std::int64_t local = t.utcMs + std::int64_t{t.offsetMinutes} * 60000;
  const std::int64_t days = FloorDiv(local, kMsPerDay);
  const auto inDay = static_cast<int>(local - days * kMsPerDay);
  return {CivilFromDays(days), inDay / 3600000, inDay / 60000 % 60, inDay / 1000 % 60,
          inDay % 1000};
}

// Exactly `width` digits at `pos`.
std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t width) {
  if (pos + width > text.size()) return std::nullopt;
  int value = 0;
  for (std::size_t i = pos; i < pos + width; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// A whole number of 1 to 9 digits, no sign, no blank.
std::optional<std::int32_t> Whole(std::string_view text) {
  if (text.empty() || text.size() > 9 || text.front() < '0' || text.front() > '9') {
    return std::nullopt;
  }
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsLeap(std::int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(std::int64_t y, int m) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

}  // namespace

std::string IsoTime(platform::WallTime t) {
  const LocalParts p = Local(t);
  const int offset = t.offsetMinutes < 0 ? -t.offsetMinutes : t.offsetMinutes;
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d",
                static_cast<long long>(p.date.year), p.date.month, p.date.day, p.hour, p.minute,
                p.second, p.ms, t.offsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
  return text;
}

std::optional<platform::WallTime> ParseIsoTime(std::string_view s) {
  // 2026-12-08T20:48:28.123+09:00
  if (s.size() != 29 || s[4] != '-' || s[7] != '-' || s[10] != 'T' || s[13] != ':' ||
      s[16] != ':' || s[19] != '.' || (s[23] != '+' && s[23] != '-') || s[26] != ':') {
    return std::nullopt;
  }
  const auto year = Digits(s, 0, 4), month = Digits(s, 5, 2), day = Digits(s, 8, 2);
  const auto hour = Digits(s, 11, 2), minute = Digits(s, 14, 2), second = Digits(s, 17, 2);
  const auto ms = Digits(s, 20, 3), offH = Digits(s, 24, 2), offM = Digits(s, 27, 2);
  if (!year || !month || !day || !hour || !minute || !second || !ms || !offH || !offM) {
    return std::nullopt;
  }
  if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) || *hour > 23 ||
      *minute > 59 || *second > 59 || *offH > 23 || *offM > 59) {
    return std::nullopt;
  }
  const int offset = (s[23] == '-' ? -1 : 1) * (*offH * 60 + *offM);
  const std::int64_t local = DaysFromCivil(*year, *month, *day) * kMsPerDay +
                             ((*hour * 60 + *minute) * 60 + *second) * std::int64_t{1000} + *ms;
  return platform::WallTime{local - std::int64_t{offset} * 60000, offset};
}

std::string StampText(platform::WallTime t) {
  const LocalParts p = Local(t);
  char text[32];
  std::snprintf(text, sizeof text, "%04lld%02d%02d-%02d%02d%02d",
                static_cast<long long>(p.date.year), p.date.month, p.date.day, p.hour, p.minute,
                p.second);
  return text;
}

void AppendTimesLine(std::string& out, const BandTime& band) {
  out += std::to_string(band.pass);
  out += ',';
  out += std::to_string(band.band);
  out += ',';
  out += platform::PlainNumber(band.centerMHz);
  out += ',';
  out += IsoTime(band.time);
  out += "\r\n";
}

std::optional<BandTime> ParseTimesLine(std::string_view line) {
  std::string_view fields[4];
  for (int i = 0; i < 3; ++i) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    fields[i] = line.substr(0, comma);
    line.remove_prefix(comma + 1);
  }
  fields[3] = line;
  BandTime band;
  const auto pass = Whole(fields[0]), number = Whole(fields[1]);
  const auto time = ParseIsoTime(fields[3]);
  const std::string_view center = fields[2];
  const auto [end, ec] = std::from_chars(center.data(), center.data() + center.size(),
                                         band.centerMHz, std::chars_format::fixed);
  if (!pass || !number || !time || center.empty() || ec != std::errc() ||
      end != center.data() + center.size()) {
    return std::nullopt;
  }
  band.pass = *pass;
  band.band = *number;
  band.time = *time;
  return band;
}

std::string TimesFileName(std::string_view name) {
  constexpr std::string_view kHead = "WFdata", kTail = ".txt";
  if (name.size() < kHead.size() + kTail.size() || name.substr(0, kHead.size()) != kHead ||
      name.substr(name.size() - kTail.size()) != kTail) {
    return {};
  }
  const std::string_view middle =
      name.substr(kHead.size(), name.size() - kHead.size() - kTail.size());
  if (!middle.empty() && middle.front() != '-') return {};
  return "WFtime" + std::string(middle) + ".csv";
}

}  // namespace kov::measure
