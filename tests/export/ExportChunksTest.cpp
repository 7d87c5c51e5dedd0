// A recording read in chunks by several threads, or from a pipe, gives the
// files, notes and line numbers that one reader of the whole file gives.
#include <algorithm>
#include <thread>

#include "ExportHarness.h"
#include "Gatherer.h"
#include "RecordingInput.h"
#include "platform/Numbers.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <signal.h>
#include <unistd.h>
#endif

namespace kov::wfexport::testing {
namespace {

#ifdef _WIN32
int MakePipe(int fds[2]) { return _pipe(fds, 1 << 16, _O_BINARY); }
int Dup(int fd) { return _dup(fd); }
int Dup2(int from, int to) { return _dup2(from, to); }
int Close(int fd) { return _close(fd); }
int WriteSome(int fd, const char* bytes, std::size_t n) {
  return _write(fd, bytes, static_cast<unsigned>(n));
}
#else
int MakePipe(int fds[2]) { return pipe(fds); }
int Dup(int fd) { return dup(fd); }
int Dup2(int from, int to) { return dup2(from, to); }
int Close(int fd) { return close(fd); }
int WriteSome(int fd, const char* bytes, std::size_t n) {
  return static_cast<int>(write(fd, bytes, n));
}
#endif

// The tool with `bytes` on its standard input, through a pipe.
Outcome RunPiped(const std::string& bytes, std::vector<std::string> args, const Surroundings& s) {
#ifndef _WIN32
  signal(SIGPIPE, SIG_IGN);  // a tool that stops reading early fails the writer's write
#endif
  int fds[2];
  if (MakePipe(fds) != 0) return {};
  const int saved = Dup(0);
  Dup2(fds[0], 0);
  Close(fds[0]);
  std::thread writer([&bytes, fd = fds[1]] {
    for (std::size_t at = 0; at < bytes.size();) {
      const int n =
          WriteSome(fd, bytes.data() + at, std::min<std::size_t>(bytes.size() - at, 4096));
      if (n <= 0) break;
      at += static_cast<std::size_t>(n);
    }
    Close(fd);
  });
  Outcome o = RunTool(std::move(args), s);
  Dup2(saved, 0);
  Close(saved);
  writer.join();
  return o;
}

// 30 passes of 3 bands: the instrument's levels, "00", fractions, blanks
// inside a level; among them more lines than are reported that are no point
// lines, some longer than a line can be, lines ended by LF alone; the file
// cut inside a line.
std::string Tricky() {
  std::string file = "\r\n";
  int line = 1;
  for (int pass = 1; pass <= 30; ++pass) {
    for (int band = 0; band < 3; ++band) {
      for (int k = 1; k <= 320; ++k) {
        const int point = band * 320 + k, n = (pass * 7919 + point * 104729) % 1000;
        const std::string cell = n < 10   ? "00"
                                 : n < 30 ? "-" + std::to_string(40 + n) + "." + std::to_string(n)
                                 : n < 32 ? " -8 7 "
                                 : n < 35 ? "+003 "
                                          : "-0" + std::to_string(60 + n % 37) + " ";
        measure::AppendPointLine(file, static_cast<std::int16_t>(pass), point, cell);
        if (++line % 701 == 0) file.erase(file.size() - 2, 1);  // LF alone
        if (line % 997 == 0) file += "no point line\r\n", ++line;
        if (line % 4999 == 0) file += std::string(5000, 'x') + "\r\n", ++line;
      }
      file += "\r\n", ++line;
    }
  }
  return file + " 31,  1,-08";
}

std::int64_t Ms(int pass, int band) {
  return 1796730508123 + (std::int64_t{pass - 1} * 3 + band) * 600;  // crosses midnight in Japan
}

struct ChunkCase {
  const char* name;
  std::uint64_t chunkBytes;
  unsigned threads;
  bool piped;
  std::vector<std::string> args;
};

void PrintTo(const ChunkCase& c, std::ostream* os) { *os << c.name; }

const std::vector<std::string> kOutputs = {"csv",      "summary", "peaks",    "waterfall",
                                           "spectrum", "report",  "track-csv"};

std::vector<std::string> Args(const TempDir& dir, const std::string& to, const ChunkCase& c) {
  std::vector<std::string> args = {c.piped ? "-" : dir.File("WFdata.txt"), "--times",
                                   dir.File("WFtime.csv"), "--track", "455.5,470"};
  for (const std::string& o : kOutputs) args.insert(args.end(), {"--" + o, dir.File(to + o)});
  args.insert(args.end(), c.args.begin(), c.args.end());
  return args;
}

class ExportChunks : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(ExportChunks, EveryCutGivesWhatOneReaderGives) {
  const ChunkCase& c = GetParam();
  TempDir dir;
  const std::string recording = Tricky();
  Spit(dir / "WFdata.txt", recording);
  Spit(dir / "WFtime.csv", TimesFile(30, 3, Ms));
  const auto run = [&](const std::string& to, std::uint64_t chunkBytes, unsigned threads) {
    const Surroundings s{false, "", chunkBytes, threads};
    return c.piped ? RunPiped(recording, Args(dir, to, c), s) : RunTool(Args(dir, to, c), s);
  };
  // One chunk of the file's own size: a larger one would not fit a 32-bit
  // process when the recording comes through a pipe.
  const Outcome whole = run("whole-", recording.size(), 1);
  const Outcome cut = run("cut-", c.chunkBytes, c.threads);
  ASSERT_EQ(cut.status, whole.status) << cut.err;
  EXPECT_EQ(cut.err, whole.err);
  std::size_t reported = 0;
  for (auto at = whole.err.find(": not a point line"); at != std::string::npos;
       at = whole.err.find(": not a point line", at + 1)) {
    ++reported;
  }
  EXPECT_EQ(reported, c.args == std::vector<std::string>{"--strict"} ? 1u : 5u) << whole.err;
  for (const std::string& o : kOutputs) {
    const std::string a = Slurp(dir / ("whole-" + o)), b = Slurp(dir / ("cut-" + o));
    EXPECT_TRUE(a == b) << o << ": " << a.size() << " bytes against " << b.size();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, ExportChunks,
    ::testing::Values(ChunkCase{"bytes7threads3", 7, 3, false, {}},
                      ChunkCase{"bytes64threads2", 64, 2, false, {}},
                      ChunkCase{"bytes333threads1", 333, 1, false, {}},
                      ChunkCase{"bytes5000threads2", 5000, 2, false, {}},
                      ChunkCase{"bytes65536threads4", 65536, 4, false, {}},
                      ChunkCase{"pipedBytes100", 100, 2, true, {}},
                      // The waterfall's columns are laid from a pass deep in the file.
                      ChunkCase{"passes7to25", 1000, 2, false, {"--passes", "7:25"}},
                      ChunkCase{"strict", 999, 2, false, {"--strict"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Levels with fractions, added in parts by several threads, could come out
// a bit apart from the sum in the file's order; the sums are made again.
TEST(ExportChunksSums, LevelsWithFractionsAddUpAsInTheFilesOrder) {
  TempDir dir;
  const auto level = [](int pass, int point) { return (pass * 37 + point * 11) % 997 / 10.0 - 90; };
  Spit(dir / "WFdata.txt", Recording(400, 1, [&](int pass, int point) {
         return platform::PlainNumber(level(pass, point));
       }));
  std::string problem;
  const auto input = RecordingInput::Open(dir.File("WFdata.txt"), problem);
  ASSERT_TRUE(input) << problem;
  const Selection selection{1, 32767, 1, 320};
  Gathering parts;
  parts.statistics.emplace(1, 320, -60.0);
  SelectedCounts counts;
  ReadSettings settings;
  settings.chunkBytes = 997;
  settings.threads = 3;
  std::ostringstream err;
  Gather(*input, selection, parts, counts, settings, err);
  for (int point = 1; point <= 320; ++point) {
    double sum = 0;
    for (int pass = 1; pass <= 400; ++pass) sum += level(pass, point);
    ASSERT_EQ(parts.statistics->At(point).sum, sum) << "point " << point;
  }
}

TEST(ExportChunksPiped, StandardInputNamesNoOutputsOfItsOwn) {
  const Outcome o = RunPiped("\r\n", {"-", "--start", "450"}, {});
  EXPECT_EQ(o.status, kUsageStatus);
  EXPECT_NE(o.err.find("standard input (-)"), std::string::npos) << o.err;
}

}  // namespace
}  // namespace kov::wfexport::testing
