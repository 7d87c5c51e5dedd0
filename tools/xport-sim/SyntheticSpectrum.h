#pragma once

#include <cstdint>

#include "LevelSource.h"

namespace kov::sim {

// A noise floor near -90 dB and 40 carriers 30 to 70 dB above it between 450
// and 1450 MHz, all fixed by the seed: the same seed gives the same spectrum.
class SyntheticSpectrum : public LevelSource {
 public:
  explicit SyntheticSpectrum(std::uint32_t seed) : seed_(seed) {}
  std::vector<int> Levels(const TraceRequest& trace) const override;

 private:
  int LevelAt(double mhz) const;

  std::uint32_t seed_;
};

}  // namespace kov::sim
