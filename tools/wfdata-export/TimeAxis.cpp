#include "TimeAxis.h"

#include <cstdio>

#include "measure/TimesFile.h"

namespace kov::wfexport {
namespace {

constexpr std::int64_t kSecond = 1000, kMinute = 60 * kSecond, kHour = 60 * kMinute,
                       kDay = 24 * kHour;

std::int64_t Step(std::int64_t span, int most) {
  constexpr std::int64_t kSteps[] = {
      kSecond, 2 * kSecond, 5 * kSecond, 10 * kSecond, 15 * kSecond, 30 * kSecond,
      kMinute, 2 * kMinute, 5 * kMinute, 10 * kMinute, 15 * kMinute, 30 * kMinute,
      kHour,   2 * kHour,   3 * kHour,   6 * kHour,    12 * kHour,   kDay};
  const std::int64_t wanted = span / std::max(most, 1);
  for (const std::int64_t step : kSteps) {
    if (step >= wanted) return step;
  }
  return (wanted + kDay - 1) / kDay * kDay;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b < 0 ? 1 : 0); }

// Where the passes reached `utc`: between the last pass before it and the
// first at or after it; none beyond the last.
std::optional<double> PlaceOf(const TimesTable& times, std::int32_t first, std::int32_t last,
                              std::int64_t utc) {
  std::optional<platform::WallTime> before;
  for (std::int32_t p = first; p <= last; ++p) {
    const auto t = times.PassTime(p);
    if (!t) return std::nullopt;
    if (t->utcMs >= utc) {
      if (!before || t->utcMs == before->utcMs) return p;
      return p - 1 + static_cast<double>(utc - before->utcMs) / (t->utcMs - before->utcMs);
    }
    before = t;
  }
  return std::nullopt;
}

}  // namespace

std::vector<TimeTick> TimeTicks(const TimesTable& times, std::int32_t firstPass,
                                std::int32_t lastPass, int most) {
  const auto start = times.PassTime(firstPass);
  if (!start) return {};
  std::int32_t last = lastPass;
  while (last > firstPass && !times.PassTime(last)) --last;
  const std::int64_t shift = std::int64_t{start->offsetMinutes} * kMinute;
  const std::int64_t from = start->utcMs + shift, to = times.PassTime(last)->utcMs + shift;
  const std::int64_t step = Step(to - from, most);
  std::vector<TimeTick> ticks;
  std::string lastDate;
  for (std::int64_t k = FloorDiv(from + step - 1, step); k * step <= to; ++k) {
    const platform::WallTime moment{k * step - shift, start->offsetMinutes};
    const auto place = PlaceOf(times, firstPass, last, moment.utcMs);
    if (!place) continue;
    const std::string iso = measure::IsoTime(moment);
    TimeTick tick{*place, iso.substr(11, step < kMinute ? 8 : 5), iso.substr(0, 10)};
    if (tick.date == lastDate) {
      tick.date.clear();
    } else {
      lastDate = tick.date;
    }
    ticks.push_back(std::move(tick));
  }
  return ticks;
}

std::string LocalText(platform::WallTime t) {
  std::string iso = measure::IsoTime(t);
  iso[10] = ' ';
  return iso.substr(0, 19);
}

std::string OffsetText(platform::WallTime t) { return "UTC" + measure::IsoTime(t).substr(23); }

std::string DurationText(std::int64_t ms) {
  const std::int64_t s = (ms < 0 ? 0 : ms) / 1000;
  char text[48];
  if (s >= 86400) {
    std::snprintf(text, sizeof text, "%lld d %lld:%02lld:%02lld", static_cast<long long>(s / 86400),
                  static_cast<long long>(s / 3600 % 24), static_cast<long long>(s / 60 % 60),
                  static_cast<long long>(s % 60));
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
  }
  return text;
}

}  // namespace kov::wfexport
