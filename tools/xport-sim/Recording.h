#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "LevelCodes.h"

namespace kov::sim {

// The bands of a waveform file, each with its passes in the order the file
// holds them, every point's level field kept as it was written, in two bytes.
class Recording {
 public:
  // 32 MiB of levels: 514 passes over the widest run, 102 bands.
  static constexpr std::size_t kMaxPoints = std::size_t{1} << 24;

  // The file read whole, or none with the reason: it cannot be read, a line
  // is not a point line or an empty one, a band is not 320 points of one pass
  // in order, or it holds no band or more than maxPoints points.
  static std::optional<Recording> Load(const std::string& path, std::string& error,
                                       std::size_t maxPoints = kMaxPoints);
  // The same from the file's bytes.
  static std::optional<Recording> Parse(std::string_view bytes, std::string& error,
                                        std::size_t maxPoints = kMaxPoints);

  // Passes of band n (1-based): 0 when the file has none.
  int Passes(int band) const;
  // Point k (1 to 320) of the band's pass (1 to Passes): its level text, or
  // none for "00".
  std::optional<std::string> Level(int band, int pass, int k) const;

 private:
  class Reader;

  std::map<std::int32_t, std::vector<std::uint16_t>> bands_;
  LevelCodes codes_;
};

}  // namespace kov::sim
