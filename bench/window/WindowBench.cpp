// Targets: the window shown within 300 ms of launch; peak memory of a
// 102-band run under 60 MB. The run talks to the simulator on 127.0.0.1 with
// the sleeps faked.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "SimProcess.h"
#include "fakes/FakeClock.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "qt/QtForm.h"

namespace {

using namespace kov;
namespace fs = std::filesystem;

std::chrono::steady_clock::time_point g_launch;

struct World {
  fakes::FakeClock clock;
  platform::SystemSockets sockets;
  platform::SystemTextFiles textFiles;
  platform::IniProfileFiles profiles;
  fs::path dir = fs::temp_directory_path() / "kov-bench-window";
  World() { fs::create_directories(dir); }
  ~World() { fs::remove_all(dir); }
  window::HostWorld Make() {
    return window::HostWorld{sockets,  clock,        textFiles,
                             profiles, dir.string(), (dir / "WFdata.txt").string()};
  }
};

void ShowAndWait(qt::QtForm& form) {
  form.Load();
  form.show();
  while (form.windowHandle() == nullptr || !form.windowHandle()->isExposed()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  QCoreApplication::processEvents();
}

void BM_WindowShown(benchmark::State& state) {
  World world;
  bool first = true;
  for (auto _ : state) {
    qt::QtForm form(world.Make(), [](const QString&, const QString&) {});
    ShowAndWait(form);
    if (first) {
      // From the start of the process (Qt's own start-up included).
      state.counters["from_launch_ms"] =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - g_launch)
              .count();
      first = false;
    }
  }
}
BENCHMARK(BM_WindowShown)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Run102BandsPeakMemory(benchmark::State& state) {
  World world;
  setenv("XPORT_SIM", XPORT_SIM_PATH, 0);
  for (auto _ : state) {
    testing::SimProcess sim;
    qt::QtForm form(world.Make(), [](const QString&, const QString&) {});
    ShowAndWait(form);
    form.SetText("TxtXportIP", "127.0.0.1");
    form.SetText("TxtXportPort", std::to_string(sim.Port()));
    form.SetText("TxtStartFQ", "450");
    form.SetText("TxtEndFQ", "1470");
    form.SetText("TxtTime", "1");
    form.findChild<QPushButton*>("CmdMesStart")->click();
    while (form.findChild<QPushButton*>("CmdMesBreak")->isEnabled()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_Run102BandsPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  g_launch = std::chrono::steady_clock::now();
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
