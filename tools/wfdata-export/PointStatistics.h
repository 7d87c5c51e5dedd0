#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace kov::wfexport {

// One point over all passes read.
struct PointStats {
  std::uint32_t lines = 0;     // passes that hold the point, with data or "00"
  std::uint32_t withData = 0;  // of those, passes with a level
  std::uint32_t above = 0;     // of those, passes above the threshold
  double min = std::numeric_limits<double>::infinity();
  double max = -std::numeric_limits<double>::infinity();
  double sum = 0;
};

// The level statistics of every point of a range, for the summary and the
// spectrum picture.
class PointStatistics {
 public:
  PointStatistics(std::int32_t firstPoint, std::int32_t lastPoint, double threshold);

  void Add(std::int32_t point, const std::optional<double>& level) {
    PointStats& s = points_[static_cast<std::size_t>(point - firstPoint_)];
    ++s.lines;
    if (!level) return;
    const double l = *level;
    ++s.withData;
    if (l > threshold_) ++s.above;
    if (l < s.min) s.min = l;
    if (l > s.max) s.max = l;
    s.sum += l;
  }

  // Another's points, gathered from other passes or other parts of the
  // file. The sums come out as one sum in the file's order would only when
  // every level is a small whole number.
  void Merge(const PointStatistics& other);
  // The sum of a point's levels again, as one reader in the file's order
  // adds them (ResetSums first).
  void ResetSums();
  void AddToSum(std::int32_t point, double level) {
    points_[static_cast<std::size_t>(point - firstPoint_)].sum += level;
  }

  std::int32_t FirstPoint() const { return firstPoint_; }
  // The highest point that any pass held; below FirstPoint when none.
  std::int32_t LastPointSeen() const;
  const PointStats& At(std::int32_t point) const {
    return points_[static_cast<std::size_t>(point - firstPoint_)];
  }

 private:
  std::int32_t firstPoint_;
  double threshold_;
  std::vector<PointStats> points_;
};

}  // namespace kov::wfexport
