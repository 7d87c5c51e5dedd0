#include "platform/SystemClock.h"

#include <chrono>
#include <clocale>
#include <ctime>
#include <thread>

namespace kov::platform {

void SystemClock::Sleep(std::int32_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::int64_t SystemClock::MonotonicMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string SystemClock::TimeOfDayText() {
  // The operator's own time format: the locale's, not the C default.
  static const bool localeSet = std::setlocale(LC_TIME, "") != nullptr;
  (void)localeSet;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, "%X", &local);
  return std::string(text, n);
}

}  // namespace kov::platform
