#include "SyntheticSpectrum.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

#include "SpectrumHash.h"
#include "link/Protocol.h"

namespace kov::sim {
namespace {

constexpr double kFloor = -90.0;
constexpr int kStations = 40;
// One carrier that comes and goes in every 5 MHz.
constexpr int kMovingSlots = 200;

struct Carrier {
  double centreMHz;
  double heightDb;  // above the floor
  double halfWidthMHz;
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b) { return Hash(a ^ Hash(b + 0x9E3779B9u)); }

Carrier Station(std::uint32_t seed, std::uint32_t k, int pass) {
  const std::uint32_t h = Hash(seed * 131u + k);
  const double fading = static_cast<double>(Mix(h, static_cast<std::uint32_t>(pass)) % 7) - 3.0;
  return {450.0 + static_cast<double>(h % 100000) / 100.0,
          30.0 + static_cast<double>(Hash(h) % 41) + fading, 0.4};
}

// The carrier of a 5 MHz slot: each slot repeats a cycle of 4 to 30 passes,
// the carrier living for 2 passes up to all but one of them, a new one (place,
// drift, height) every cycle.
std::optional<Carrier> Moving(std::uint32_t seed, std::uint32_t slot, int pass) {
  const std::uint32_t s = Mix(seed ^ 0x5BD1E995u, slot);
  const std::int64_t period = 4 + s % 27;
  const std::int64_t t = std::max(pass, 1) - 1 + static_cast<std::int64_t>((s >> 8) % period);
  const std::int64_t age = t % period;
  const std::uint32_t e = Mix(s, static_cast<std::uint32_t>(t / period));
  const std::int64_t life = 2 + e % (period - 2);
  if (age >= life) return std::nullopt;
  const double startMHz = 450.0 + 5.0 * slot + static_cast<double>((e >> 4) % 500) / 100.0;
  const double driftMHz = (static_cast<double>((e >> 14) % 31) - 15.0) / 100.0;
  const double peakDb = 15.0 + static_cast<double>((e >> 20) % 36);
  const double swell =
      std::sin(std::numbers::pi * static_cast<double>(age + 1) / static_cast<double>(life + 1));
  return Carrier{startMHz + driftMHz * static_cast<double>(age), peakDb * swell,
                 0.1 + 0.1 * static_cast<double>((e >> 26) % 4)};
}

// The carriers of the pass that reach into lowMHz to highMHz.
std::vector<Carrier> CarriersIn(std::uint32_t seed, int pass, double lowMHz, double highMHz) {
  std::vector<Carrier> all;
  for (std::uint32_t k = 0; k < kStations; ++k) all.push_back(Station(seed, k, pass));
  for (std::uint32_t slot = 0; slot < kMovingSlots; ++slot) {
    if (const auto carrier = Moving(seed, slot, pass)) all.push_back(*carrier);
  }
  std::erase_if(all, [&](const Carrier& c) {
    return c.centreMHz + c.halfWidthMHz < lowMHz || c.centreMHz - c.halfWidthMHz > highMHz;
  });
  return all;
}

double Noise(std::uint32_t seed, int pass, double mhz) {
  const auto bin = static_cast<std::uint32_t>(std::lround(mhz * 32.0));
  const std::uint32_t h = Mix(bin ^ (seed * 0x9E3779B9u), static_cast<std::uint32_t>(pass));
  return kFloor + static_cast<double>(h % 9) - 4.0;
}

}  // namespace

TraceLevels SyntheticSpectrum::Levels(const TraceRequest& trace) const {
  const int points = std::max(trace.points, 0);
  const double lastMHz = trace.firstMHz + (points - 1) * trace.stepMHz;
  const std::vector<Carrier> carriers = CarriersIn(seed_, trace.pass, trace.firstMHz, lastMHz);
  TraceLevels levels;
  levels.reserve(static_cast<std::size_t>(points));
  for (int k = 0; k < points; ++k) {
    const double mhz = trace.firstMHz + k * trace.stepMHz;
    double level = Noise(seed_, trace.pass, mhz);
    for (const Carrier& c : carriers) {
      const double distance = std::fabs(mhz - c.centreMHz);
      if (distance < c.halfWidthMHz) {
        level = std::max(level, kFloor + c.heightDb * (1.0 - distance / c.halfWidthMHz));
      }
    }
    levels.push_back(link::LevelText(static_cast<int>(std::lround(std::clamp(level, -99.0, 0.0)))));
  }
  return levels;
}

}  // namespace kov::sim
