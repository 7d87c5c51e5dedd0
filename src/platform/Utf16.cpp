#include "platform/Utf16.h"

#include <windows.h>

namespace kov::platform {
namespace {

UINT CodePage(Narrow narrow) { return narrow == Narrow::Utf8 ? CP_UTF8 : CP_ACP; }

}  // namespace

std::wstring Utf16(std::string_view text, Narrow from) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(CodePage(from), 0, text.data(), n, nullptr, 0);
  std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(CodePage(from), 0, text.data(), n, utf16.data(), wide);
  return utf16;
}

std::string FromUtf16(std::wstring_view text, Narrow to) {
  if (text.empty()) return {};
  const int n = static_cast<int>(text.size());
  const int bytes =
      WideCharToMultiByte(CodePage(to), 0, text.data(), n, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CodePage(to), 0, text.data(), n, narrow.data(), bytes, nullptr, nullptr);
  return narrow;
}

}  // namespace kov::platform
