#include "platform/SystemClock.h"

#include <chrono>
#include <clocale>
#include <ctime>
#include <thread>

#ifdef _WIN32
#include <windows.h>
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
std::string SystemClock::TimeOfDayText() {
  // The user's own time format ("hh" in it would be a 12-hour picture, so
  // none is given).
  wchar_t text[64];
  const int n = GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, text, 64);
  if (n <= 1) return {};
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, n - 1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, n - 1, utf8.data(), bytes, nullptr, nullptr);
  return utf8;
}
#else
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
