// Targets: the window shown within 300 ms of launch, and within 1 s with a
// settings file of 10 MB of empty lines, whose reading and saving hold a
// small multiple of its size; peak memory of a 102-band run under 60 MB. The
// run talks to the simulator on 127.0.0.1 with the sleeps faked.
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
#include <fstream>

#include "SimProcess.h"
#include "fakes/FakeClock.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "qt/QtWindow.h"

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

void ShowAndWait(qt::QtWindow& form) {
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
    qt::QtWindow form(world.Make(), [](std::string_view, std::string_view) {});
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

double PeakMB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// 10 MB of empty lines before the keys: start-up reads the file and a save
// rewrites it, each once, whatever the number of keys.
void BM_WindowShownLargeSettings(benchmark::State& state) {
  World world;
  constexpr std::size_t kEmptyLines = 5 * 1024 * 1024;
  {
    std::string lines(2 * kEmptyLines, '\n');
    for (std::size_t i = 0; i < lines.size(); i += 2) lines[i] = '\r';
    std::ofstream(world.dir / "KOV_Xport.ini", std::ios::binary)
        << lines << "[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\n[MES_PARA]\r\nCOUNT=3\r\n";
  }
  const double fileMB = static_cast<double>(fs::file_size(world.dir / "KOV_Xport.ini")) / 1048576;
  const double peakBefore = PeakMB();
  double shownMs = 0, savedMs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    qt::QtWindow form(world.Make(), [](std::string_view, std::string_view) {});
    ShowAndWait(form);
    const auto shown = std::chrono::steady_clock::now();
    form.findChild<QPushButton*>("BtnSaveMespara")->click();
    const auto saved = std::chrono::steady_clock::now();
    shownMs = std::chrono::duration<double, std::milli>(shown - start).count();
    savedMs = std::chrono::duration<double, std::milli>(saved - shown).count();
  }
  state.counters["file_MB"] = fileMB;
  state.counters["shown_ms"] = shownMs;
  state.counters["save_ms"] = savedMs;
  state.counters["peak_growth_MB"] = PeakMB() - peakBefore;
}
BENCHMARK(BM_WindowShownLargeSettings)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Run102BandsPeakMemory(benchmark::State& state) {
  World world;
  setenv("XPORT_SIM", XPORT_SIM_PATH, 0);
  for (auto _ : state) {
    testing::SimProcess sim;
    qt::QtWindow form(world.Make(), [](std::string_view, std::string_view) {});
    ShowAndWait(form);
    form.SetText(window::Control::TxtXportIP, "127.0.0.1");
    form.SetText(window::Control::TxtXportPort, std::to_string(sim.Port()));
    form.SetText(window::Control::TxtStartFQ, "450");
    form.SetText(window::Control::TxtEndFQ, "1470");
    form.SetText(window::Control::TxtTime, "1");
    form.findChild<QPushButton*>("CmdMesStart")->click();
    while (form.findChild<QPushButton*>("CmdMesBreak")->isEnabled()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
  }
  state.counters["peak_MB"] = PeakMB();
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
