// Target: SplitGDReply plus reading every level of a full reply under 50 us.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "link/Protocol.h"
#include "platform/Numbers.h"

static void BM_SplitGDReplyAndLevels(benchmark::State& state) {
  std::vector<kov::link::ReplyEntry> entries;
  for (int k = 0; k < kov::link::kPointsPerBand; ++k)
    entries.push_back({450 + k / 32.0, kov::link::LevelText(-60 - k % 40)});
  const std::string reply = kov::link::BuildGDReply(entries);
  for (auto _ : state) {
    const kov::link::BandLevels levels = kov::link::SplitGDReply(reply);
    double sum = 0;
    for (const auto& level : levels) sum += kov::platform::LeadingNumber(*level);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SplitGDReplyAndLevels)->Unit(benchmark::kMicrosecond);
