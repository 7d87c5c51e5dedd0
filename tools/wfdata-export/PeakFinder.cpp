#include "PeakFinder.h"

#include <algorithm>
#include <bit>
#include <utility>

namespace kov::wfexport {

PeakFinder::PeakFinder(std::int32_t firstPoint, std::int32_t lastPoint, double threshold)
    : firstPoint_(firstPoint),
      threshold_(threshold),
      points_(static_cast<std::size_t>(lastPoint - firstPoint + 1)),
      passes_(points_.size()) {}

// The rarer part: a level above the threshold.
void PeakFinder::Above(std::int32_t pass, std::size_t i) {
  PointPeak& p = points_[i];
  if (!Risen(i)) Rise(i);
  if (p.firstPass == 0 || pass < p.firstPass) p.firstPass = pass;
  if (pass > p.lastPass) p.lastPass = pass;
  auto& bits = passes_[Root(i)];
  const auto word = static_cast<std::size_t>(pass) / 64;
  if (bits.size() <= word) bits.resize(word + 1);
  bits[word] |= std::uint64_t{1} << (pass % 64);
}

void PeakFinder::Merge(const PeakFinder& other) {
  for (std::size_t i = 0; i < points_.size(); ++i) {
    const PointPeak& o = other.points_[i];
    PointPeak& p = points_[i];
    p.max = std::max(p.max, o.max);
    if (!other.Risen(i)) continue;
    if (!Risen(i)) Rise(i);
    if (p.firstPass == 0 || o.firstPass < p.firstPass) p.firstPass = o.firstPass;
    p.lastPass = std::max(p.lastPass, o.lastPass);
  }
  // A signal of the other lies within one of ours now: its passes join it.
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (!other.Risen(i) || other.points_[i].parent != i) continue;
    auto& bits = passes_[Root(i)];
    const auto& more = other.passes_[i];
    if (bits.size() < more.size()) bits.resize(more.size());
    for (std::size_t w = 0; w < more.size(); ++w) bits[w] |= more[w];
  }
}

void PeakFinder::Rise(std::size_t i) {
  points_[i].parent = i;
  if (i > 0 && Risen(i - 1)) Join(i - 1, i);
  if (i + 1 < points_.size() && Risen(i + 1)) Join(i, i + 1);
}

std::size_t PeakFinder::Root(std::size_t i) {
  while (points_[i].parent != i) {
    points_[i].parent = points_[points_[i].parent].parent;  // halve the path
    i = points_[i].parent;
  }
  return i;
}

std::size_t PeakFinder::RootOf(std::size_t i) const {
  while (points_[i].parent != i) i = points_[i].parent;
  return i;
}

void PeakFinder::Join(std::size_t a, std::size_t b) {
  std::size_t keep = Root(a), gone = Root(b);
  if (keep == gone) return;
  if (passes_[keep].size() < passes_[gone].size()) std::swap(keep, gone);
  for (std::size_t w = 0; w < passes_[gone].size(); ++w) passes_[keep][w] |= passes_[gone][w];
  std::vector<std::uint64_t>().swap(passes_[gone]);
  points_[gone].parent = keep;
}

std::vector<Signal> PeakFinder::Signals() const {
  std::vector<Signal> signals;
  for (std::size_t i = 0; i < points_.size();) {
    if (!Risen(i)) {
      ++i;
      continue;
    }
    Signal s;
    s.peakLevel = points_[i].max;
    s.lowPoint = s.peakPoint = firstPoint_ + static_cast<std::int32_t>(i);
    s.firstPass = points_[i].firstPass;
    s.firstPassPoint = s.lowPoint;
    for (const auto word : passes_[RootOf(i)]) {
      s.passesAbove += static_cast<std::uint32_t>(std::popcount(word));
    }
    for (; i < points_.size() && Risen(i); ++i) {
      const PointPeak& p = points_[i];
      const std::int32_t point = firstPoint_ + static_cast<std::int32_t>(i);
      if (p.max > s.peakLevel) s.peakLevel = p.max, s.peakPoint = point;
      if (p.firstPass < s.firstPass) s.firstPass = p.firstPass, s.firstPassPoint = point;
      if (p.lastPass > s.lastPass) s.lastPass = p.lastPass, s.lastPassPoint = point;
      s.highPoint = point;
    }
    signals.push_back(s);
  }
  return signals;
}

}  // namespace kov::wfexport
