#pragma once

#include <cstdint>

namespace kov::sim {

// Spreads the bits of x over the whole word: the dice of the synthetic
// spectra, the simulator's and the benchmarks' recordings, fixed by a seed.
constexpr std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

}  // namespace kov::sim
