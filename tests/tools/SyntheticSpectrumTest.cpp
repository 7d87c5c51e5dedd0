// The synthetic spectrum from pass to pass: fixed by the seed, alive, and
// always a level the program takes for a real answer.
#include "SyntheticSpectrum.h"

#include <gtest/gtest.h>

#include <string>

#include "link/Protocol.h"

namespace kov::sim {
namespace {

// The levels in dB of 450 to 1470 MHz, the widest run, in one pass.
std::vector<int> Sweep(std::uint32_t seed, int pass) {
  const TraceLevels texts = SyntheticSpectrum(seed).Levels({450.0, 10.0 / 320, 102 * 320, pass});
  std::vector<int> levels;
  for (const auto& text : texts) {
    const int dB = std::stoi(text.value_or("lost"));
    EXPECT_EQ(text, link::LevelText(dB));
    levels.push_back(dB);
  }
  return levels;
}

// Points that moved by more than the noise can: a carrier came, went,
// drifted, swelled or faded.
int Changed(const std::vector<int>& a, const std::vector<int>& b) {
  int changed = 0;
  for (std::size_t i = 0; i < a.size(); ++i) changed += std::abs(a[i] - b[i]) > 10;
  return changed;
}

class SimSpectrumTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(SimSpectrumTest, CarriersMoveFromPassToPassWithinTheLevelRange) {
  const std::uint32_t seed = GetParam();
  std::vector<int> previous = Sweep(seed, 1);
  for (int pass = 2; pass <= 12; ++pass) {
    const std::vector<int> levels = Sweep(seed, pass);
    EXPECT_GT(Changed(previous, levels), 200) << "pass " << pass;
    for (const int dB : levels) {
      ASSERT_GE(dB, -99) << "-100 is the program's mark of a band without an answer";
      ASSERT_LE(dB, 0);
    }
    previous = levels;
  }
}

TEST_P(SimSpectrumTest, TheSeedAndThePassFixEveryLevel) {
  const std::uint32_t seed = GetParam();
  EXPECT_EQ(Sweep(seed, 5), Sweep(seed, 5));
  EXPECT_GT(Changed(Sweep(seed, 5), Sweep(seed + 1, 5)), 1000);
  // A band on its own has the levels it has within the whole sweep.
  const std::vector<int> whole = Sweep(seed, 3);
  const TraceLevels band = SyntheticSpectrum(seed).Levels({460.0, 10.0 / 320, 320, 3});
  for (int k = 0; k < 320; ++k) EXPECT_EQ(band[k], link::LevelText(whole[320 + k])) << k;
}

INSTANTIATE_TEST_SUITE_P(Seeds, SimSpectrumTest, ::testing::Values(0u, 1u, 7u, 4294967295u));

}  // namespace
}  // namespace kov::sim
