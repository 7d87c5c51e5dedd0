// Any text must read as some number (or 0), and rounding must either give a
// value in range or none at all.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Numbers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double value = kov::platform::LeadingNumber(text);
  if (const auto i = kov::platform::RoundToInteger(value)) {
    if (std::fabs(static_cast<double>(*i) - value) > 0.5) __builtin_trap();
  }
  if (const auto l = kov::platform::RoundToLong(value)) {
    if (std::fabs(static_cast<double>(*l) - value) > 0.5) __builtin_trap();
  }
  if (std::isfinite(value)) {
    // The text forms read back as the same number.
    if (kov::platform::LeadingNumber(kov::platform::PlainNumber(value)) != value) __builtin_trap();
    if (kov::platform::LeadingNumber(kov::platform::BlankNumber(value)) != value) __builtin_trap();
  }
  return 0;
}
