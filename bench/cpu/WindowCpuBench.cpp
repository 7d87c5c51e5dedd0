// The processor time of runs in the Qt window while the instrument takes 3 s
// to answer each "GD", with the window's own timers and waits, the real
// clock and the simulator on 127.0.0.1: two passes over one band at the
// download intervals 0, 0.5 and 5 s. Target: CPU / wall at most 0.005 at every
// interval; a reply wait woken by every tick of a 1 ms pass timer comes
// near 0.03. QT_QPA_PLATFORM=xcb (under xvfb-run) measures it on X.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>

#include "CpuSeconds.h"
#include "SimProcess.h"
#include "fakes/FakeProfileFiles.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "qt/QtWindow.h"

namespace {

using namespace kov;
namespace fs = std::filesystem;

constexpr const char* kIntervals[] = {"0", "0.5", "5"};

void BM_CpuWhileWaitingInWindow(benchmark::State& state) {
  setenv("XPORT_SIM", XPORT_SIM_PATH, 0);
  const char* interval = kIntervals[state.range(0)];
  const fs::path dir = fs::temp_directory_path() / "kov-bench-cpu-window";
  fs::create_directories(dir);
  double wall = 0, cpu = 0;
  for (auto _ : state) {
    testing::SimProcess sim({"--reply-delay-ms", "3000"});
    platform::SystemClock clock;
    platform::SystemSockets sockets;
    platform::SystemTextFiles files;
    fakes::FakeProfileFiles profiles;
    qt::QtWindow form(window::HostWorld{sockets, clock, files, profiles, dir.string(),
                                        (dir / "WFdata.txt").string()},
                      [](std::string_view, std::string_view) {});
    form.Load();
    form.show();
    QCoreApplication::processEvents();
    for (const auto& [entry, text] :
         {std::pair{window::Control::TxtXportIP, std::string("127.0.0.1")},
          {window::Control::TxtXportPort, std::to_string(sim.Port())},
          {window::Control::TxtStartFQ, "450"},
          {window::Control::TxtEndFQ, "460"},
          {window::Control::TxtTime, "2"},
          {window::Control::TxtInterval, interval}}) {
      form.SetText(entry, text);
    }
    const double cpu0 = CpuSeconds();
    const auto wall0 = std::chrono::steady_clock::now();
    form.findChild<QPushButton*>("CmdMesStart")->click();
    while (form.Text(window::Control::Text1) != "測定完了しました。") {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
    cpu = CpuSeconds() - cpu0;
  }
  fs::remove_all(dir);
  state.counters["wall_s"] = wall;
  state.counters["cpu_s"] = cpu;
  state.counters["cpu_per_wall"] = cpu / wall;
  std::printf("interval %s s: wall %.2f s, cpu %.4f s, cpu/wall %.4f (target <= 0.005)\n", interval,
              wall, cpu, cpu / wall);
}
BENCHMARK(BM_CpuWhileWaitingInWindow)
    ->DenseRange(0, std::size(kIntervals) - 1)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
