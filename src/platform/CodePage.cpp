#include "platform/CodePage.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace kov::platform {

#ifdef _WIN32
namespace {

std::string Convert(std::string_view text, UINT from, UINT to) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(from, 0, text.data(), n, nullptr, 0);
  std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), n, utf16.data(), wide);
  const int bytes = WideCharToMultiByte(to, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, utf16.data(), wide, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace

std::string ToSystemCodePage(std::string_view utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }

std::string FromSystemCodePage(std::string_view text) { return Convert(text, CP_ACP, CP_UTF8); }

#else

std::string ToSystemCodePage(std::string_view utf8) { return std::string(utf8); }

std::string FromSystemCodePage(std::string_view text) { return std::string(text); }

#endif

}  // namespace kov::platform
