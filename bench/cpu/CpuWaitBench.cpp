// The processor time a pass spends while it waits: a 3-band pass against the
// simulator answering after 300 ms, with real sleeps and real timers. The
// ratio of CPU time to wall time must stay under 0.02; a receive loop that
// polled without waiting would come near 1.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <thread>

#include "SimProcess.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeDisplay.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeTextFiles.h"
#include "link/Timer.h"
#include "measure/Form.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"

namespace {

using namespace kov;
using Clock = std::chrono::steady_clock;

// A window timer on the real clock, run by RealLoop.
class RealTimer : public link::Timer {
 public:
  void SetEnabled(bool enabled) override {
    enabled_ = enabled;
    due_ = Clock::now() + std::chrono::milliseconds(interval_);
  }
  bool Enabled() const override { return enabled_; }
  void SetInterval(std::int32_t ms) override {
    interval_ = ms;
    due_ = Clock::now() + std::chrono::milliseconds(interval_);
  }
  std::int32_t Interval() const override { return interval_; }
  bool Armed() const { return enabled_ && interval_ > 0; }

  std::function<void()> handler;
  bool running = false;
  Clock::time_point due_;

 private:
  bool enabled_ = false;
  std::int32_t interval_ = 0;
};

struct RealLoop {
  std::vector<RealTimer*> timers;
  RealTimer* Next() {
    RealTimer* best = nullptr;
    for (RealTimer* t : timers) {
      if (t->Armed() && !t->running && (best == nullptr || t->due_ < best->due_)) best = t;
    }
    return best;
  }
  void Fire(RealTimer& t) {
    t.due_ = Clock::now() + std::chrono::milliseconds(t.Interval());
    t.running = true;
    t.handler();
    t.running = false;
  }
  void RunDue() {
    RealTimer* t = Next();
    if (t != nullptr && t->due_ <= Clock::now()) Fire(*t);
  }
  // Blocks until the next tick is due (as a window's event loop does).
  bool Step() {
    RealTimer* t = Next();
    if (t == nullptr) return false;
    std::this_thread::sleep_until(t->due_);
    Fire(*t);
    return true;
  }
};

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

void BM_CpuWhileWaiting(benchmark::State& state) {
  setenv("XPORT_SIM", XPORT_SIM_PATH, 0);
  double ratio = 0, wall = 0, cpu = 0;
  for (auto _ : state) {
    testing::SimProcess sim({"--reply-delay-ms", "300"});
    platform::SystemClock clock;
    platform::SystemSockets sockets;
    fakes::FakeControls controls;
    RealTimer t1, t3, t4;
    RealLoop loop{{&t1, &t3, &t4}};
    fakes::FakeDisplay display;
    fakes::FakeTextFiles files;
    fakes::FakeProfileFiles profiles;
    measure::Form form{measure::FormWorld{controls, link::Timers{t1, t3, t4}, display, sockets,
                                          clock, files, profiles, "/tmp", "WFdata.txt"}};
    t1.handler = [&] { form.Timer1_Timer(); };
    t3.handler = [&] { form.Timer3_Timer(); };
    t4.handler = [&] { form.Timer4_Timer(); };
    controls.onProcessEvents = [&] { loop.RunDue(); };
    form.Form_Load();
    controls.entries[settings::Entry::TxtXportIP] = "127.0.0.1";
    controls.entries[settings::Entry::TxtXportPort] = std::to_string(sim.Port());
    controls.entries[settings::Entry::TxtStartFQ] = "450";
    controls.entries[settings::Entry::TxtEndFQ] = "480";
    controls.entries[settings::Entry::TxtTime] = "1";

    const double cpu0 = CpuSeconds();
    const auto wall0 = Clock::now();
    form.CmdMesStart_Click();
    while (loop.Step()) {
    }
    wall = std::chrono::duration<double>(Clock::now() - wall0).count();
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
