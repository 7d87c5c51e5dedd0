// Targets: StoreBandTrace of one band (grid and 320 lines appended to a real
// file, its line to the times file) under 200 us; the non-sleeping work of a 102-band pass (split,
// store, append; no drawing) under 30 ms.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeWindow.h"
#include "link/Protocol.h"
#include "measure/Measurement.h"
#include "platform/SystemTextFiles.h"

namespace {

using namespace kov;

std::string Reply() {
  const std::vector<link::ReplyEntry> entries(link::kPointsPerBand, {455.0, "-087 "});
  return link::BuildGDReply(entries);
}

std::string NewFolder() {
  std::string name = (std::filesystem::temp_directory_path() / "kov-bench-XXXXXX").string();
  return mkdtemp(name.data()) != nullptr ? name : std::string();
}

struct Bench {
  Bench() : folder(NewFolder()), path(folder + "/WFdata.txt") { Empty(); }
  ~Bench() { std::filesystem::remove_all(folder); }
  // Keeps the files small.
  void Empty() {
    files.Write(path, "\r\n");
    files.Write(folder + "/WFtime.csv", "pass,band,center_mhz,time\r\n");
  }

  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeWindow window;
  fakes::FakeTimer t1{clock, "Timer1"}, t3{clock, "Timer3"}, t4{clock, "Timer4"};
  fakes::FakeDisplay display;
  fakes::FakeProfileFiles profiles;
  settings::Settings settings{profiles, "/tmp"};
  measure::StateRecord state;
  link::Link link{state,
                  {.sockets = sockets,
                   .clock = clock,
                   .fields = window,
                   .messages = window,
                   .buttons = window,
                   .loop = window,
                   .timers = {t1, t3, t4},
                   .settings = settings}};
  platform::SystemTextFiles files;
  std::string folder;
  std::string path;
  measure::Measurement measurement{{.state = state,
                                    .link = link,
                                    .fields = window,
                                    .messages = window,
                                    .buttons = window,
                                    .labels = window,
                                    .timers = {t1, t3, t4},
                                    .display = display,
                                    .clock = clock,
                                    .files = files,
                                    .waveformPath = path}};
};

void BM_StoreBandTrace(benchmark::State& s) {
  Bench b;
  const link::BandLevels levels = link::SplitGDReply(Reply());
  b.measurement.ResetWFGrid();
  b.state.WFLineNo = 1;
  b.state.BandNo = 1;
  int n = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(b.measurement.StoreBandTrace(levels, b.clock.Now()));
    if (++n % 200 == 0) b.Empty();
  }
}
BENCHMARK(BM_StoreBandTrace)->Unit(benchmark::kMicrosecond);

void BM_PassOf102Bands(benchmark::State& s) {
  Bench b;
  const std::string reply = Reply();
  for (auto _ : s) {
    b.Empty();
    b.measurement.ResetWFGrid();
    b.state.WFLineNo = 1;
    for (std::int16_t band = 1; band <= 102; ++band) {
      b.state.BandNo = band;
      b.state.RecvStr = reply;
      benchmark::DoNotOptimize(
          b.measurement.StoreBandTrace(link::SplitGDReply(b.state.RecvStr), b.clock.Now()));
    }
  }
}
BENCHMARK(BM_PassOf102Bands)->Unit(benchmark::kMillisecond);

}  // namespace
