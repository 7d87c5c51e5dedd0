// Targets: StoreBandTrace of one band (grid and 320 lines appended to a real
// file) under 200 us; the non-sleeping work of a 102-band pass (split, store,
// append; no drawing) under 30 ms.
#include <benchmark/benchmark.h>

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

struct Bench {
  Bench() : path((std::filesystem::temp_directory_path() / "kov-bench-WFdata.txt").string()) {
    files.Write(path, "\r\n");
  }
  ~Bench() { std::remove(path.c_str()); }

  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeWindow window;
  fakes::FakeTimer t1{clock, "Timer1"}, t3{clock, "Timer3"}, t4{clock, "Timer4"};
  fakes::FakeDisplay display;
  fakes::FakeProfileFiles profiles;
  settings::Settings settings{profiles, "/tmp"};
  measure::StateRecord state;
  link::Link link{state, sockets, clock, window, ui::Timers{t1, t3, t4}, settings};
  platform::SystemTextFiles files;
  std::string path;
  measure::Measurement measurement{state,   link,  window, ui::Timers{t1, t3, t4},
                                   display, clock, files,  path};
};

void BM_StoreBandTrace(benchmark::State& s) {
  Bench b;
  const link::BandLevels levels = link::SplitGDReply(Reply());
  b.measurement.ResetWFGrid();
  b.state.WFLineNo = 1;
  b.state.BandNo = 1;
  int n = 0;
  for (auto _ : s) {
    benchmark::DoNotOptimize(b.measurement.StoreBandTrace(levels));
    if (++n % 200 == 0) b.files.Write(b.path, "\r\n");  // keep the file small
  }
}
BENCHMARK(BM_StoreBandTrace)->Unit(benchmark::kMicrosecond);

void BM_PassOf102Bands(benchmark::State& s) {
  Bench b;
  const std::string reply = Reply();
  for (auto _ : s) {
    b.files.Write(b.path, "\r\n");
    b.measurement.ResetWFGrid();
    b.state.WFLineNo = 1;
    for (std::int16_t band = 1; band <= 102; ++band) {
      b.state.BandNo = band;
      b.state.RecvStr = reply;
      benchmark::DoNotOptimize(b.measurement.StoreBandTrace(link::SplitGDReply(b.state.RecvStr)));
    }
  }
}
BENCHMARK(BM_PassOf102Bands)->Unit(benchmark::kMillisecond);

}  // namespace
