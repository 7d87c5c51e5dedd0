#pragma once

#include <string>
#include <string_view>

namespace kov::win32 {

// The window's texts are UTF-16; the program's are UTF-8.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view utf16);

}  // namespace kov::win32
