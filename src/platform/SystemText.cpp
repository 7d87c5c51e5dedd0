#include "platform/SystemText.h"

#include <algorithm>

namespace kov::platform {

std::optional<std::wstring> SystemText(
    const std::function<std::uint32_t(wchar_t* buffer, std::uint32_t size)>& call,
    std::uint32_t firstSize) {
  // Beyond the longest path the system takes (32767 units) by a margin.
  constexpr std::uint32_t kMaxSize = 1u << 16;
  std::wstring text(std::max<std::uint32_t>(firstSize, 1), L'\0');
  for (;;) {
    const auto size = static_cast<std::uint32_t>(text.size());
    const std::uint32_t n = call(text.data(), size);
    if (n == 0) return std::nullopt;
    if (n < size) {
      text.resize(n);
      return text;
    }
    if (size >= kMaxSize) return std::nullopt;
    text.assign(std::min(std::max(n, 2 * size), kMaxSize), L'\0');
  }
}

}  // namespace kov::platform
