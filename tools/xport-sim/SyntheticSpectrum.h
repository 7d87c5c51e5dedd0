#pragma once

#include <cstdint>

#include "LevelSource.h"

namespace kov::sim {

// A spectrum that lives from pass to pass, all fixed by the seed: a noise
// floor near -90 dB, 40 stations 30 to 70 dB above it at fixed frequencies
// between 450 and 1450 MHz, fading by a few dB, and in every 5 MHz of that
// range a carrier that appears, drifts, swells and fades over a few passes,
// then after a pause another. The same seed and pass give the same trace.
// Levels stay within -99 to 0 dB: -100 is what the program stores for a band
// the instrument did not send.
class SyntheticSpectrum : public LevelSource {
 public:
  explicit SyntheticSpectrum(std::uint32_t seed) : seed_(seed) {}
  TraceLevels Levels(const TraceRequest& trace) const override;

 private:
  std::uint32_t seed_;
};

}  // namespace kov::sim
