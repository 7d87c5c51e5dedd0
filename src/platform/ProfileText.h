#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kov::platform {

// The longest value a profile read hands back: 255 bytes of buffer less the
// terminating NUL.
inline constexpr std::size_t kProfileValueMax = 254;

// One key of a profile file, and the value a write stores under it.
struct ProfileKey {
  std::string_view section;
  std::string_view key;
};
struct ProfileEntry {
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

// These functions take CR LF, LF and a lone CR as line ends, and pass over a
// UTF-8 byte-order mark at the start of the file. Each goes over the file's
// lines once, whatever the number of keys, and keeps none of them: the memory
// is that of the file and of the result.

// The value of one key in the bytes of a profile file, or no value when the
// section or key is absent. Names compare case-insensitively (ASCII), blanks
// around names and values are trimmed, a value in a pair of double or single
// quotes loses them, the first matching section and key win, and the value is
// cut to kProfileValueMax bytes.
std::optional<std::string> ReadProfileValue(std::string_view file, std::string_view section,
                                            std::string_view key);
// The values of several keys, in their order, read as ReadProfileValue reads.
std::vector<std::optional<std::string>> ReadProfileValues(std::string_view file,
                                                          std::span<const ProfileKey> keys);

// The bytes of the file with one key stored: the key's line is replaced (its
// line end kept), a new key goes after the last line of its section, a new
// section at the end of the file; every other line, and a byte-order mark,
// stays byte for byte. New lines end as the file's first line does, in CR LF
// when none has an end yet. A value is cut at its first line break.
std::string WriteProfileValue(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view value);
// The bytes of the file with the entries stored one after the other, as
// WriteProfileValue of each in turn would leave them (byte for byte, but in a
// file whose first line ends in a lone CR and a later one in LF, where each
// write would join a new line's CR to the LF after it).
std::string WriteProfileValues(std::string_view file, std::span<const ProfileEntry> entries);

}  // namespace kov::platform
