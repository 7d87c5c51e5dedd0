#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace kov::wfexport {

// Neighbouring points whose levels rose above the threshold in some pass.
struct Signal {
  std::int32_t lowPoint = 0;
  std::int32_t highPoint = 0;
  std::int32_t peakPoint = 0;  // the lowest point with the peak level
  double peakLevel = 0;
  std::int32_t firstPass = 0;       // the first pass with a point above the threshold
  std::int32_t lastPass = 0;        // and the last
  std::int32_t firstPassPoint = 0;  // the lowest point above it in the first pass
  std::int32_t lastPassPoint = 0;   // and in the last
  std::uint32_t passesAbove = 0;    // passes with any of its points above it
};

// Finds the signals of a range of points while the passes go by. Points join
// a signal when they first go above the threshold; a signal keeps the set of
// its passes, one bit each, so that a carrier wandering over its points is
// counted once a pass.
class PeakFinder {
 public:
  PeakFinder(std::int32_t firstPoint, std::int32_t lastPoint, double threshold);

  void Add(std::int32_t pass, std::int32_t point, double level) {
    const auto i = static_cast<std::size_t>(point - firstPoint_);
    PointPeak& p = points_[i];
    if (level > p.max) p.max = level;
    if (level > threshold_) Above(pass, i);
  }
  // Another's points of the same range, gathered from other passes or other
  // parts of the file: the signals come out as if one had seen them all.
  void Merge(const PeakFinder& other);
  std::vector<Signal> Signals() const;

 private:
  struct PointPeak {
    double max = -std::numeric_limits<double>::infinity();
    std::int32_t firstPass = 0;
    std::int32_t lastPass = 0;
    std::size_t parent = kLow;  // kLow until above the threshold
  };
  static constexpr std::size_t kLow = std::numeric_limits<std::size_t>::max();

  void Above(std::int32_t pass, std::size_t i);
  bool Risen(std::size_t i) const { return points_[i].parent != kLow; }
  std::size_t Root(std::size_t i);
  std::size_t RootOf(std::size_t i) const;
  void Join(std::size_t a, std::size_t b);
  void Rise(std::size_t i);

  std::int32_t firstPoint_;
  double threshold_;
  std::vector<PointPeak> points_;
  std::vector<std::vector<std::uint64_t>> passes_;  // by the signal's root point
};

}  // namespace kov::wfexport
