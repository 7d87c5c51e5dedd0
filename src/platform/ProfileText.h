#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kov::platform {

// The longest value a profile read hands back: 255 bytes of buffer less the
// terminating NUL.
inline constexpr std::size_t kProfileValueMax = 254;

// Both functions take CR LF, LF and a lone CR as line ends, and pass over a
// UTF-8 byte-order mark at the start of the file.

// The value of one key in the bytes of a profile file, or no value when the
// section or key is absent. Names compare case-insensitively (ASCII), blanks
// around names and values are trimmed, a value in a pair of double or single
// quotes loses them, the first matching section and key win, and the value is
// cut to kProfileValueMax bytes.
std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key);

// The bytes of the file with one key stored: the key's line is replaced (its
// line end kept), a new key goes after the last line of its section, a new
// section at the end of the file; every other line, and a byte-order mark,
// stays byte for byte. New lines end as the file's first line does, in CR LF
// when none has an end yet. A value is cut at its first line break.
std::string WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value);

}  // namespace kov::platform
