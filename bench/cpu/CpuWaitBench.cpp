// The processor time a pass spends while it waits: a 3-band pass against the
// simulator answering after 300 ms, with real sleeps and timers on the real
// clock. The ratio of CPU time to wall time must stay under 0.02; a receive
// loop that polled without waiting would come near 1.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include "CpuSeconds.h"
#include "RunRig.h"
#include "SimProcess.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"

namespace {

using namespace kov;

void BM_CpuWhileWaiting(benchmark::State& state) {
  setenv("XPORT_SIM", XPORT_SIM_PATH, 0);
  double ratio = 0, wall = 0, cpu = 0;
  for (auto _ : state) {
    testing::SimProcess sim({"--reply-delay-ms", "300"});
    platform::SystemClock clock;
    platform::SystemSockets sockets;
    fakes::FakeTextFiles files;
    fakes::FakeProfileFiles profiles;
    testing::RunRig rig(testing::RunWorld{sockets, files, profiles, "/tmp", "WFdata.txt", &clock});
    rig.form.Form_Load();
    rig.Instrument("127.0.0.1", sim.Port());
    rig.Entries("450", "480", "1", "5");

    const double cpu0 = CpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    rig.form.CmdMesStart_Click();
    rig.RunToEnd();
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    cpu = CpuSeconds() - cpu0;
    ratio = cpu / wall;
  }
  state.counters["wall_s"] = wall;
  state.counters["cpu_s"] = cpu;
  state.counters["cpu_per_wall"] = ratio;
  std::printf("3-band pass: wall %.3f s, cpu %.4f s, cpu/wall %.4f (target < 0.02)\n", wall, cpu,
              ratio);
}
BENCHMARK(BM_CpuWhileWaiting)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
