// Target: SetLevelColor under 20 ns a call.
#include <benchmark/benchmark.h>

#include "display/LevelColor.h"

static void BM_SetLevelColor(benchmark::State& state) {
  std::int32_t level = 0;
  for (auto _ : state) {
    const auto check = static_cast<std::int16_t>(level & 1);
    benchmark::DoNotOptimize(kov::display::SetLevelColor(-(level % 101), check));
    ++level;
  }
}
BENCHMARK(BM_SetLevelColor);
