#include "SyntheticSpectrum.h"

#include <algorithm>
#include <cmath>

namespace kov::sim {
namespace {

std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

}  // namespace

std::vector<int> SyntheticSpectrum::Levels(const TraceRequest& trace) const {
  std::vector<int> levels;
  levels.reserve(static_cast<std::size_t>(std::max(trace.points, 0)));
  for (int k = 0; k < trace.points; ++k)
    levels.push_back(LevelAt(trace.firstMHz + k * trace.stepMHz));
  return levels;
}

int SyntheticSpectrum::LevelAt(double mhz) const {
  const auto bin = static_cast<std::uint32_t>(std::lround(mhz * 32.0));
  double level = -90.0 + static_cast<double>(Hash(bin ^ (seed_ * 0x9E3779B9u)) % 9) - 4.0;
  for (std::uint32_t k = 0; k < 40; ++k) {
    const std::uint32_t h = Hash(seed_ * 131u + k);
    const double centre = 450.0 + static_cast<double>(h % 100000) / 100.0;
    const double height = 30.0 + static_cast<double>(Hash(h) % 41);
    const double distance = std::fabs(mhz - centre);
    if (distance < 0.4) level = std::max(level, -90.0 + height * (1.0 - distance / 0.4));
  }
  return static_cast<int>(std::lround(std::clamp(level, -100.0, 0.0)));
}

}  // namespace kov::sim
