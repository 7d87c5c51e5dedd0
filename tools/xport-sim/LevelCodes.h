#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kov::sim {

// Level texts in two bytes each. A sign, three digits and a blank ("-087 ",
// "+005 ") and "00" are coded directly; any other text is kept once in a
// table, as it was.
class LevelCodes {
 public:
  static constexpr std::uint16_t kNoData = 0;

  // No code when the table of other texts is full.
  std::optional<std::uint16_t> Encode(std::string_view cell);
  // The text of the code, or none for "00".
  std::optional<std::string> Decode(std::uint16_t code) const;

 private:
  std::vector<std::string> others_;
  std::unordered_map<std::string, std::uint16_t> index_;
};

}  // namespace kov::sim
