// The exporter against md5sum and wc -l reading the same file in the same
// run, as ratios of the lowest of each one's times (the machine is shared):
// on a generated recording of 1 GB of 102-band passes with its times file,
// --summary in at most a third of md5sum's time, --summary --waterfall
// --spectrum --peaks in at most half, --csv (written to disk as it is made)
// no slower than md5sum; with every output, the same peak memory for 1 GB as
// for 5 GB, under 100 MB. The Windows program under Wine (when the windows
// and windows32 presets have built it): the 64-bit one at the same ratios,
// less Wine's own start (its --help, timed in the same run); the 32-bit one
// in the same flat memory. Every program runs as a child, its output thrown
// away; the files are made in a temporary folder, removed at the end.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "ChildRun.h"
#include "SyntheticRecording.h"

namespace {

namespace fs = std::filesystem;
using kov::bench::ChildRun;
using kov::bench::RunChild;

constexpr const char* kWine64 = "/usr/lib/wine/wine64";
constexpr const char* kWine32 = "/usr/lib/wine/wine";
const std::string kExe64 = KOV_SOURCE_DIR "/build-windows/wfdata-export.exe";
const std::string kExe32 = KOV_SOURCE_DIR "/build-windows32/wfdata-export.exe";

// The folder of the recordings, removed with everything in it at the end.
class Folder {
 public:
  Folder() : path_(fs::temp_directory_path() / ("kov-bench-export-" + std::to_string(getpid()))) {
    fs::create_directories(path_);
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& Path() const { return path_; }

 private:
  fs::path path_;
};

Folder& Temporary() {
  static Folder folder;
  return folder;
}

// WFdata-NMB.txt of at least N MB (10^6 bytes) and its times file, made once.
std::string Recording(int megabytes) {
  static std::map<int, std::string> made;
  auto [it, fresh] = made.try_emplace(megabytes, "WFdata-" + std::to_string(megabytes) + "MB.txt");
  if (fresh) {
    const fs::path data = Temporary().Path() / it->second;
    const std::int32_t passes =
        kov::bench::WriteRecording(data.string(), std::uint64_t{1'000'000} * megabytes);
    // Found beside the recording by its name.
    kov::bench::WriteTimes(
        (Temporary().Path() / ("WFtime-" + std::to_string(megabytes) + "MB.csv")).string(), passes);
  }
  return it->second;
}

// The exporter's arguments after the recording, every output among them.
std::vector<std::string> EveryOutput() {
  return {"--csv",       "all.csv",   "--summary",   "all-summary.csv", "--peaks",  "all-p.csv",
          "--waterfall", "all-w.png", "--spectrum",  "all-s.png",       "--report", "all.html",
          "--track",     "455,1000",  "--track-csv", "all-t.csv"};
}

std::vector<std::string> Command(std::vector<std::string> program, const std::string& recording,
                                 const std::vector<std::string>& outputs) {
  program.insert(program.end(), {"--quiet", recording});
  program.insert(program.end(), outputs.begin(), outputs.end());
  return program;
}

struct Lowest {
  double md5 = std::numeric_limits<double>::infinity(), wc = md5, exporter = md5, start = 0;
};

// Each iteration runs md5sum, wc -l and the exporter on the same recording.
void Race(benchmark::State& state, const std::vector<std::string>& program,
          const std::vector<std::string>& outputs, double startSeconds = 0) {
  const std::string recording = Recording(1000);
  const std::string folder = Temporary().Path().string();
  Lowest lowest;
  for (auto _ : state) {
    const ChildRun md5 = RunChild({"md5sum", recording}, folder);
    const ChildRun wc = RunChild({"wc", "-l", recording}, folder);
    // Each export starts as the first would: the last one's gigabytes of CSV
    // neither still going to disk nor yet to be freed when it replaces them.
    fs::remove(Temporary().Path() / "points.csv");
    sync();
    const ChildRun exporter = RunChild(Command(program, recording, outputs), folder);
    if (!md5.ok || !wc.ok || !exporter.ok) return state.SkipWithError("a program failed");
    state.SetIterationTime(exporter.seconds);
    lowest.md5 = std::min(lowest.md5, md5.seconds);
    lowest.wc = std::min(lowest.wc, wc.seconds);
    lowest.exporter = std::min(lowest.exporter, exporter.seconds);
  }
  const double mb = static_cast<double>(fs::file_size(Temporary().Path() / recording)) / 1e6;
  state.counters["MB_per_s"] = mb / lowest.exporter;
  state.counters["md5sum_MB_per_s"] = mb / lowest.md5;
  state.counters["wc_MB_per_s"] = mb / lowest.wc;
  state.counters["to_md5sum"] = lowest.exporter / lowest.md5;
  state.counters["to_wc"] = lowest.exporter / lowest.wc;
  if (startSeconds > 0) {
    state.counters["start_s"] = startSeconds;
    state.counters["to_md5sum_less_start"] = (lowest.exporter - startSeconds) / lowest.md5;
  }
  fs::remove(Temporary().Path() / "points.csv");
  sync();
}

const std::vector<std::string> kNative = {WFDATA_EXPORT_PATH};
const std::vector<std::string> kSummary = {"--summary", "summary.csv"};
const std::vector<std::string> kPicturesPeaks = {"--summary", "summary.csv", "--waterfall",
                                                 "w.png",     "--spectrum",  "s.png",
                                                 "--peaks",   "peaks.csv"};
const std::vector<std::string> kCsv = {"--ignore-times", "--start", "450", "--csv", "points.csv"};
const std::vector<std::string> kCsvWithTimes = {"--csv", "points.csv"};

void BM_Summary(benchmark::State& s) { Race(s, kNative, kSummary); }
void BM_SummaryPicturesPeaks(benchmark::State& s) { Race(s, kNative, kPicturesPeaks); }
void BM_Csv(benchmark::State& s) { Race(s, kNative, kCsv); }
void BM_CsvWithTimes(benchmark::State& s) { Race(s, kNative, kCsvWithTimes); }
BENCHMARK(BM_Summary)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_SummaryPicturesPeaks)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_Csv)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_CsvWithTimes)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(2);

// The recording as standard input ("-"), read in order by one thread.
void BM_SummaryFromStandardInput(benchmark::State& state) {
  const std::string recording = Recording(1000);
  const std::string folder = Temporary().Path().string();
  double lowest = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    const ChildRun run =
        RunChild({WFDATA_EXPORT_PATH, "--quiet", "-", "--start", "450", "--summary", "summary.csv"},
                 folder, (Temporary().Path() / recording).string());
    if (!run.ok) return state.SkipWithError("wfdata-export failed");
    state.SetIterationTime(run.seconds);
    lowest = std::min(lowest, run.seconds);
  }
  state.counters["MB_per_s"] =
      static_cast<double>(fs::file_size(Temporary().Path() / recording)) / 1e6 / lowest;
}
BENCHMARK(BM_SummaryFromStandardInput)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(2);

// The program with every output: its largest resident size.
void PeakMemory(benchmark::State& state, const std::vector<std::string>& program,
                const std::vector<std::string>& more = {}) {
  const std::string recording = Recording(static_cast<int>(state.range(0)));
  std::vector<std::string> outputs = EveryOutput();
  outputs.insert(outputs.end(), more.begin(), more.end());
  for (auto _ : state) {
    const ChildRun run =
        RunChild(Command(program, recording, outputs), Temporary().Path().string());
    if (!run.ok) return state.SkipWithError("wfdata-export failed");
    state.SetIterationTime(run.seconds);
    state.counters["peak_MB"] = run.peakMB;
  }
  state.counters["file_MB"] =
      static_cast<double>(fs::file_size(Temporary().Path() / recording)) / 1e6;
  fs::remove(Temporary().Path() / "all.csv");
}

void BM_PeakMemory(benchmark::State& s) { PeakMemory(s, kNative); }
// Without the times file's table, 8 bytes a band.
void BM_PeakMemoryWithoutTimes(benchmark::State& s) {
  PeakMemory(s, kNative, {"--ignore-times", "--start", "450"});
}
BENCHMARK(BM_PeakMemoryWithoutTimes)
    ->Arg(1000)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(BM_PeakMemory)
    ->Arg(1000)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

// Wine in a prefix of its own, kept up between the runs.
bool WineReady(benchmark::State& state, const std::string& exe) {
  if (!fs::exists(exe)) {
    state.SkipWithError(("build it first: " + exe).c_str());
    return false;
  }
  static const bool ready = [&exe] {
    const fs::path prefix = fs::path(KOV_SOURCE_DIR) / "build" / "wineprefix-bench";
    fs::create_directories(prefix);
    setenv("WINEPREFIX", prefix.c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    RunChild({"/usr/lib/wine/wineserver", "-p30"});  // or one is up already
    return RunChild({kWine64, exe, "--help"}).ok;    // makes the prefix, the first time
  }();
  if (!ready) state.SkipWithError("wineserver does not start");
  return ready;
}

// The lowest time of the program's --help: Wine's own start.
double WineStart(const std::vector<std::string>& program) {
  double lowest = std::numeric_limits<double>::infinity();
  for (int i = 0; i < 3; ++i) {
    std::vector<std::string> help = program;
    help.push_back("--help");
    lowest = std::min(lowest, RunChild(help).seconds);
  }
  return lowest;
}

void WineRace(benchmark::State& state, const std::vector<std::string>& outputs) {
  if (!WineReady(state, kExe64)) return;
  const std::vector<std::string> program = {kWine64, kExe64};
  Race(state, program, outputs, WineStart(program));
}

void BM_Wine64Summary(benchmark::State& s) { WineRace(s, kSummary); }
void BM_Wine64SummaryPicturesPeaks(benchmark::State& s) { WineRace(s, kPicturesPeaks); }
void BM_Wine64Csv(benchmark::State& s) { WineRace(s, kCsv); }
BENCHMARK(BM_Wine64Summary)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_Wine64SummaryPicturesPeaks)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_Wine64Csv)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(2);

void BM_Wine64PeakMemory(benchmark::State& s) {
  if (WineReady(s, kExe64)) PeakMemory(s, {kWine64, kExe64});
}
void BM_Wine32PeakMemory(benchmark::State& s) {
  if (WineReady(s, kExe32)) PeakMemory(s, {kWine32, kExe32});
}
BENCHMARK(BM_Wine64PeakMemory)
    ->Arg(1000)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);
BENCHMARK(BM_Wine32PeakMemory)
    ->Arg(1000)
    ->Arg(5000)
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace
