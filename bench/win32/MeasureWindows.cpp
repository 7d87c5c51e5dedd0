// Measures the Windows program where Google Benchmark cannot run: under
// Wine, with the real window, its message loop and xport-sim.exe.
//   measure-windows memory: peak memory of a run of 102 bands (the waits
//     not slept: a clock that only moves on);
//   measure-windows cpu: processor time / wall time of a 10-band pass while
//     the instrument takes 300 ms to answer each band, then of two passes
//     over one band at the download intervals 0, 0.5 and 5 s while it takes
//     3 s, real waits.
// Targets: peak memory under 20 MB; CPU / wall under 0.005, at every interval.
#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <psapi.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include "SimProcess.h"
#include "fakes/FakeClock.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "win32/Win32Window.h"

namespace {

std::atomic<std::size_t> g_inUse{0}, g_peak{0};

void Count(std::size_t add) {
  const std::size_t now = g_inUse += add;
  std::size_t peak = g_peak;
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

// The program's own heap, counted: Wine's working set also holds Wine.
void* operator new(std::size_t n) {
  auto* p = static_cast<std::size_t*>(std::malloc(n + sizeof(std::size_t) * 2));
  if (p == nullptr) throw std::bad_alloc();
  *p = n;
  Count(n);
  return p + 2;
}
void operator delete(void* p) noexcept {
  if (p == nullptr) return;
  auto* block = static_cast<std::size_t*>(p) - 2;
  g_inUse -= *block;
  std::free(block);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace kov;

double WorkingSetMB(bool peak) {
  PROCESS_MEMORY_COUNTERS m{};
  GetProcessMemoryInfo(GetCurrentProcess(), &m, sizeof m);
  return static_cast<double>(peak ? m.PeakWorkingSetSize : m.WorkingSetSize) / 1048576.0;
}

double CpuSeconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto seconds = [](FILETIME t) {
    return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
}

// Runs one whole run in the window, from a press of 測定開始 to its end.
void Run(win32::Win32Window& form, int port, const char* end, const char* count = "1",
         const char* interval = "5") {
  form.SetText(window::Control::TxtXportIP, "127.0.0.1");
  form.SetText(window::Control::TxtXportPort, std::to_string(port));
  form.SetText(window::Control::TxtStartFQ, "450");
  form.SetText(window::Control::TxtEndFQ, end);
  form.SetText(window::Control::TxtTime, count);
  form.SetText(window::Control::TxtInterval, interval);
  form.Host().Input({window::InputEvent::Kind::Press, window::Control::CmdMesStart});
  MSG m;
  while (form.Text(window::Control::Text1) != "測定完了しました。" &&
         GetMessageW(&m, nullptr, 0, 0) > 0) {
    form.Dispatch(m);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  const bool cpu = what == "cpu";
  if (!cpu && what != "memory") {
    std::fprintf(stderr, "usage: measure-windows memory|cpu (XPORT_SIM: xport-sim.exe)\n");
    return 2;
  }
  timeBeginPeriod(1);
  testing::SimProcess sim(cpu ? std::vector<std::string>{"--reply-delay-ms", "300"}
                              : std::vector<std::string>{});
  if (!sim.Running()) return std::fprintf(stderr, "no simulator (XPORT_SIM)\n"), 1;
  fakes::FakeClock fakeClock;
  platform::SystemClock systemClock;
  platform::SystemSockets sockets;
  platform::SystemTextFiles files;
  platform::IniProfileFiles profiles;
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  win32::Win32Window form(
      window::HostWorld{sockets, cpu ? static_cast<platform::Clock&>(systemClock) : fakeClock,
                        files, profiles, folder, std::string(folder) + "WFdata.txt"},
      [](std::string_view, std::string_view) {});
  form.Load();
  form.Show();
  const double idle = WorkingSetMB(false);
  const std::size_t heapIdle = g_inUse;
  const double cpu0 = CpuSeconds();
  const auto wall0 = std::chrono::steady_clock::now();
  Run(form, sim.Port(), cpu ? "550" : "1470");
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count();
  const double used = CpuSeconds() - cpu0;
  if (cpu) {
    std::printf(
        "10-band pass, 300 ms replies: wall %.2f s, cpu %.4f s, cpu/wall %.4f (target < 0.005)\n",
        wall, used, used / wall);
    std::fflush(stdout);
    // A pass timer that ticked every millisecond during a pass would wake
    // each reply wait as often.
    testing::SimProcess slow({"--reply-delay-ms", "3000"});
    for (const char* interval : {"0", "0.5", "5"}) {
      const double cpuStart = CpuSeconds();
      const auto wallStart = std::chrono::steady_clock::now();
      Run(form, slow.Port(), "460", "2", interval);
      const double w =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
      const double c = CpuSeconds() - cpuStart;
      std::printf(
          "2 passes of 1 band, 3 s replies, interval %s s: wall %.2f s, cpu %.4f s, cpu/wall "
          "%.4f (target <= 0.005)\n",
          interval, w, c, c / w);
      std::fflush(stdout);
    }
  } else {
    std::printf(
        "102-band run (%.1f s, waits not slept): heap peak %.1f MB (%.1f MB with the window "
        "open, before the run); working set peak %.1f MB, %.1f MB before the run (Wine's "
        "own included)\n",
        wall, static_cast<double>(g_peak) / 1048576.0, static_cast<double>(heapIdle) / 1048576.0,
        WorkingSetMB(true), idle);
  }
  std::fflush(stdout);
  ExitProcess(0);
}
