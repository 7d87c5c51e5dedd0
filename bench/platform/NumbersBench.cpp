// Target: under 100 ns a call for a typical level text.
#include <benchmark/benchmark.h>

#include "platform/Numbers.h"

static void BM_LeadingNumber(benchmark::State& state) {
  const char* texts[] = {"-080 ", "-100 ", "00", " 451"};
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kov::platform::LeadingNumber(texts[i++ & 3]));
  }
}
BENCHMARK(BM_LeadingNumber);
