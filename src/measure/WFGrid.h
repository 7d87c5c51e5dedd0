#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kov::measure {

// The level texts of the pass in progress: band index 0 to 300, point index
// 0 to 320 (only bands below BandCount and points below 320 are used). A
// cell holds a level text as received ("-100 ") or "00" for no data.
class WFGrid {
 public:
  static constexpr int kBands = 301;
  static constexpr int kPoints = 321;

  WFGrid() : cells_(static_cast<std::size_t>(kBands) * kPoints) {}

  std::string& At(int band, int point) { return cells_[Index(band, point)]; }
  const std::string& At(int band, int point) const { return cells_[Index(band, point)]; }

 private:
  static std::size_t Index(int band, int point) {
    return static_cast<std::size_t>(band) * kPoints + static_cast<std::size_t>(point);
  }
  std::vector<std::string> cells_;
};

}  // namespace kov::measure
