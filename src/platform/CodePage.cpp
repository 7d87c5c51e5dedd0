#include "platform/CodePage.h"

#ifdef _WIN32
#include "platform/Utf16.h"
#endif

namespace kov::platform {

#ifdef _WIN32

std::string ToSystemCodePage(std::string_view utf8) { return FromUtf16(Utf16(utf8), Narrow::Ansi); }

std::string FromSystemCodePage(std::string_view text) {
  return FromUtf16(Utf16(text, Narrow::Ansi));
}

#else

std::string ToSystemCodePage(std::string_view utf8) { return std::string(utf8); }

std::string FromSystemCodePage(std::string_view text) { return std::string(text); }

#endif

}  // namespace kov::platform
