#include "ReplaySource.h"

#include <algorithm>
#include <cmath>

#include "link/Protocol.h"

namespace kov::sim {

TraceLevels ReplaySource::Levels(const TraceRequest& trace) const {
  const int points = std::max(trace.points, 0);
  TraceLevels levels(static_cast<std::size_t>(points), link::LevelText(-100));
  const int band = BandAt(trace.firstMHz);
  const int passes = band > 0 ? recording_.Passes(band) : 0;
  if (passes == 0) return levels;
  const int pass = (std::max(trace.pass, 1) - 1) % passes + 1;
  for (int k = 1; k <= std::min(points, link::kPointsPerBand); ++k) {
    levels[static_cast<std::size_t>(k - 1)] = recording_.Level(band, pass, k);
  }
  return levels;
}

int ReplaySource::BandAt(double firstMHz) const {
  // The program tunes to the centres of whole 10 MHz bands from the start.
  const double band = (firstMHz - startMHz_) / 10.0 + 1.0;
  const double whole = std::round(band);
  if (std::fabs(band - whole) > 1e-6 || whole < 1 || whole > 1e6) return 0;
  return static_cast<int>(whole);
}

}  // namespace kov::sim
