#include "platform/SystemClock.h"

#include <chrono>
#include <clocale>
#include <cmath>
#include <ctime>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf16.h"
#endif

namespace kov::platform {

void SystemClock::Sleep(std::int32_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t SystemClock::MonotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

#ifdef _WIN32
namespace {

// FILETIMEs count 100 ns from 1601: 64 bits all the way, no time_t (which
// is 32 bits on some builds).
constexpr std::int64_t kUnixEpochMs = 11644473600000;

std::int64_t FileTimeMs(const FILETIME& t) {
  const auto ticks = (static_cast<std::int64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return ticks / 10000;
}

}  // namespace

WallTime WallTimeAt(std::int64_t utcMs) {
  const auto ticks = static_cast<std::uint64_t>(utcMs + kUnixEpochMs) * 10000;
  const FILETIME utc{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME utcParts{}, localParts{};
  FILETIME local = utc;
  if (FileTimeToSystemTime(&utc, &utcParts) &&
      SystemTimeToTzSpecificLocalTime(nullptr, &utcParts, &localParts)) {
    SystemTimeToFileTime(&localParts, &local);
  }
  // SYSTEMTIME keeps the milliseconds: the two differ by whole minutes.
  const auto offsetMinutes =
      static_cast<std::int32_t>(std::llround((FileTimeMs(local) - FileTimeMs(utc)) / 60000.0));
  return {utcMs, offsetMinutes};
}

WallTime SystemClock::Now() {
  FILETIME utc{};
  GetSystemTimeAsFileTime(&utc);
  return WallTimeAt(FileTimeMs(utc) - kUnixEpochMs);
}

std::string SystemClock::TimeOfDayText() {
  // The user's own time format ("hh" in it would be a 12-hour picture, so
  // none is given).
  wchar_t text[64];
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64);
  if (n <= 1) return {};
  return FromUtf16(std::wstring_view(text, static_cast<std::size_t>(n - 1)));
}
#else
WallTime WallTimeAt(std::int64_t utcMs) {
  const std::time_t seconds = static_cast<std::time_t>(utcMs / 1000 - (utcMs % 1000 < 0 ? 1 : 0));
  std::tm local{};
  localtime_r(&seconds, &local);
  return {utcMs, static_cast<std::int32_t>(local.tm_gmtoff / 60)};
}

WallTime SystemClock::Now() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return WallTimeAt(static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000);
}

std::string SystemClock::TimeOfDayText() {
  // The operator's own time format: the locale's, not the C default.
  static const bool localeSet = std::setlocale(LC_TIME, "") != nullptr;
  (void)localeSet;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, "%X", &local);
  return std::string(text, n);
}
#endif

}  // namespace kov::platform
