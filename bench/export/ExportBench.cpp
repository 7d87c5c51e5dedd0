// Targets, on a generated recording of 102-band passes with its times file
// (made in a temporary folder and removed at the end): the summary alone at
// 300 MB/s or more on one core, with or without the times; waterfall and
// summary together at 150 MB/s or more; the CSV of every point, its time
// column included, at 100 MB/s or more; the peak memory of the program with
// every output (the report and a track among them) under 100 MB, the same
// for a recording of 0.5 GB as of 1 GB but for the times' 8 bytes a band.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "Export.h"
#include "SyntheticRecording.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

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
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

Folder& Temporary() {
  static Folder folder;
  return folder;
}

// A recording of at least `megabytes` (10^6 bytes), made once.
const std::string& Recording(int megabytes) {
  static std::map<int, std::string> made;
  auto [it, fresh] = made.try_emplace(megabytes);
  if (fresh) {
    const std::string name = std::to_string(megabytes) + "MB";
    it->second = Temporary().File("WFdata-" + name + ".txt");
    const std::int32_t passes =
        kov::bench::WriteRecording(it->second, std::uint64_t{1'000'000} * megabytes);
    // Found beside the recording by its name.
    kov::bench::WriteTimes(Temporary().File("WFtime-" + name + ".csv"), passes);
  }
  return it->second;
}

void Throughput(benchmark::State& state, std::vector<std::string> outputs) {
  const std::string& input = Recording(1000);
  std::vector<std::string> args = {"wfdata-export", "--start", "450", input};
  for (const std::string& o : outputs) args.push_back(o.front() == '-' ? o : Temporary().File(o));
  std::vector<const char*> argv;
  for (const auto& a : args) argv.push_back(a.c_str());
  for (auto _ : state) {
    std::ostringstream out, err;
    if (kov::wfexport::Main(static_cast<int>(argv.size()), argv.data(), out, err, {}) != 0) {
      state.SkipWithError(err.str().c_str());
    }
  }
  const auto bytes = static_cast<double>(state.iterations() * fs::file_size(input));
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  // The targets are in MB of 10^6 bytes; bytes_per_second counts 2^20.
  state.counters["MB_per_s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
}

void BM_Summary(benchmark::State& state) {
  Throughput(state, {"--summary", "summary.csv", "--ignore-times"});
}
BENCHMARK(BM_Summary)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

void BM_SummaryWithTimes(benchmark::State& state) {
  Throughput(state, {"--summary", "summary.csv"});
}
BENCHMARK(BM_SummaryWithTimes)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

void BM_CsvWithTimes(benchmark::State& state) { Throughput(state, {"--csv", "points.csv"}); }
BENCHMARK(BM_CsvWithTimes)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_WaterfallAndSummary(benchmark::State& state) {
  Throughput(state, {"--summary", "summary.csv", "--waterfall", "waterfall.png"});
}
BENCHMARK(BM_WaterfallAndSummary)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();

// The program with every output, as a child: its largest resident size.
void BM_PeakMemory(benchmark::State& state) {
  const std::string& input = Recording(static_cast<int>(state.range(0)));
  std::vector<std::string> args = {WFDATA_EXPORT_PATH,
                                   "--quiet",
                                   "--start",
                                   "450",
                                   input,
                                   "--csv",
                                   Temporary().File("all.csv"),
                                   "--summary",
                                   Temporary().File("all-summary.csv"),
                                   "--peaks",
                                   Temporary().File("all-peaks.csv"),
                                   "--waterfall",
                                   Temporary().File("all-w.png"),
                                   "--spectrum",
                                   Temporary().File("all-s.png"),
                                   "--report",
                                   Temporary().File("all.html"),
                                   "--track",
                                   "455,1000",
                                   "--track-csv",
                                   Temporary().File("all-track.csv")};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  for (auto _ : state) {
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start wfdata-export");
      return;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("wfdata-export failed");
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
  }
  state.counters["file_MB"] = static_cast<double>(fs::file_size(input)) / 1e6;
  fs::remove(Temporary().File("all.csv"));
}
BENCHMARK(BM_PeakMemory)->Arg(500)->Arg(1000)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace
