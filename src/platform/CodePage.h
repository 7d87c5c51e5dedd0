#pragma once

#include <string>
#include <string_view>

namespace kov::platform {

// Texts inside the program are UTF-8. What leaves it for the settings file
// or the socket is in the system's ANSI code page on Windows (CP932 on a
// Japanese system), as the program has always written them; elsewhere the
// system's texts are UTF-8 already and nothing changes. Characters the code
// page lacks become its default character.
std::string ToSystemCodePage(std::string_view utf8);
std::string FromSystemCodePage(std::string_view text);

}  // namespace kov::platform
