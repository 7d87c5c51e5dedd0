#pragma once

#include <string>
#include <string_view>

namespace kov::sim {

// Bytes from a peer or a file as printable ASCII, C-escaped: \r, \n, \\ and
// \xHH for every other byte below 0x20 or from 0x7F. Nothing is lost, a NUL
// included, and nothing reaches a terminal as a control byte.
std::string Escaped(std::string_view bytes);

}  // namespace kov::sim
