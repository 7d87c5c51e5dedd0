// Target: SplitGDReply plus reading every level of a full reply under 50 us.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "link/Protocol.h"
#include "platform/Numbers.h"

static void BM_SplitGDReplyAndLevels(benchmark::State& state) {
  std::string reply = "GD \r\n/ \r\n";
  for (int k = 0; k < 320; ++k) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "F%09.4fL-%03d \r\n", 450 + k / 32.0, 60 + k % 40);
    reply += entry;
  }
  reply += "/ \r\n";
  for (auto _ : state) {
    const kov::link::BandLevels levels = kov::link::SplitGDReply(reply);
    double sum = 0;
    for (const auto& level : levels) sum += kov::platform::LeadingNumber(*level);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_SplitGDReplyAndLevels)->Unit(benchmark::kMicrosecond);
