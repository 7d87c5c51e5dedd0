#pragma once

// Windows only: the system's wide texts.
#ifdef _WIN32
#include <string>
#include <string_view>

namespace kov::platform {

// The code page of a narrow text: the program's own UTF-8, or the system's
// ANSI code page (CP932 on a Japanese system) of the narrow file and
// console calls.
enum class Narrow { Utf8, Ansi };

// The Windows API's wide calls take UTF-16. Invalid input becomes the
// replacement character (U+FFFD, or the code page's default character).
std::wstring Utf16(std::string_view text, Narrow from = Narrow::Utf8);
std::string FromUtf16(std::wstring_view text, Narrow to = Narrow::Utf8);

}  // namespace kov::platform
#endif
