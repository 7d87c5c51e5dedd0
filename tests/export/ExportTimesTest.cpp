// Recordings with their times file: the time in the tables and pictures,
// passes chosen by time, and times files that do not belong.
#include <algorithm>
#include <set>

#include "ExportHarness.h"
#include "TimeAxis.h"

namespace kov::wfexport::testing {
namespace {

// 2026-12-08T23:59:50.000+09:00: pass p begins 10 s after pass p - 1, its
// band 2 four seconds after its band 1.
constexpr std::int64_t kStart = 1796741990000;
std::int64_t BandMs(int pass, int band) { return kStart + (pass - 1) * 10000 + (band - 1) * 4000; }

// Four passes of two bands at -88 dB, a carrier of -30 dB at point 330
// (band 2) in passes 2 and 3.
class ExportTimes : public ::testing::Test {
 protected:
  ExportTimes() {
    Spit(dir / "WFdata.txt", Recording(4, 2, [](int pass, int point) {
           return point == 330 && (pass == 2 || pass == 3) ? "-030 " : "-088 ";
         }));
    Spit(dir / "WFtime.csv", TimesFile(4, 2, BandMs));
  }
  Outcome Export(std::vector<std::string> options) {
    options.insert(options.begin(), dir.File("WFdata.txt"));
    return RunTool(options);
  }
  TempDir dir;
};

TEST_F(ExportTimes, TablesGainTheBandsTime) {
  ASSERT_EQ(Export({"--csv", dir.File("a.csv"), "--peaks", dir.File("p.csv")}).status, 0);
  const auto rows = Lines(Slurp(dir / "a.csv"));
  ASSERT_EQ(rows.size(), 1u + 4 * 640);
  EXPECT_EQ(rows[0], "pass,point,frequency_mhz,level_db,time");
  EXPECT_EQ(rows[1], "1,1,450,-88,2026-12-08T23:59:50.000+09:00");
  EXPECT_EQ(rows[640 + 330], "2,330,460.28125,-30,2026-12-09T00:00:04.000+09:00");
  EXPECT_EQ(Slurp(dir / "p.csv"),
            "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,"
            "passes_above_threshold,first_time,last_time\n"
            "460.28125,460.28125,460.28125,460.28125,-30,2,3,2,"
            "2026-12-09T00:00:04.000+09:00,2026-12-09T00:00:14.000+09:00\n");
}

struct TimeCase {
  std::vector<std::string> args;
  int status;
  std::vector<int> passes;  // selected
  const char* message;
};

class ExportPassesByTime : public ExportTimes, public ::testing::WithParamInterface<TimeCase> {};

// Pass 1 began at 23:59:50 on 2026-12-08, passes 2 to 4 at 00:00:00, :10
// and :20 on the next day.
TEST_P(ExportPassesByTime, ThePassesThatBeganThen) {
  const TimeCase& c = GetParam();
  std::vector<std::string> args = {"--csv", dir.File("a.csv"), "--freq", "450:450"};
  args.insert(args.end(), c.args.begin(), c.args.end());
  const Outcome o = Export(args);
  EXPECT_EQ(o.status, c.status) << o.err;
  EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
  std::vector<int> passes;
  for (const auto& row : Lines(Slurp(dir / "a.csv"))) {
    if (std::isdigit(row[0])) passes.push_back(std::stoi(row));
  }
  EXPECT_EQ(passes, c.passes);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, ExportPassesByTime,
    ::testing::Values(
        TimeCase{{"--from", "2026-12-09T00:00:00.000+09:00"}, 0, {2, 3, 4}, ""},
        TimeCase{{"--from", "2026-12-09 00:00:05"}, 0, {3, 4}, ""},   // the run's offset
        TimeCase{{"--from", "2026-12-08T15:00:05Z"}, 0, {3, 4}, ""},  // UTC
        TimeCase{{"--to", "2026-12-08T10:00-05:00"}, 0, {1, 2}, ""},  // 00:00 in Japan
        TimeCase{{"--to", "23:59:59"}, 0, {1}, ""},                   // the first day
        TimeCase{{"--from", "2026-12-09", "--to", "2026-12-09T00:00:10"}, 0, {2, 3}, ""},
        TimeCase{{"--from", "00:00", "--passes", "3:"}, 0, {3, 4}, ""},  // 00:00 on 12-08
        TimeCase{{"--from", "23:59:51", "--to", "23:59:59"},
                 1,
                 {},
                 "nothing selected: no pass began from 2026-12-08 23:59:51 to 2026-12-08 "
                 "23:59:59; the run's 4 passes began from 2026-12-08 23:59:50 to 2026-12-09 "
                 "00:00:20 (UTC+09:00)"},
        TimeCase{{"--from", "24:00"}, 2, {}, "--from: '24:00' is no time"},
        TimeCase{{"--to", "2026-12-09T00:00:00+0900"}, 2, {}, "--to: '2026-12-09T00:00:00+0900'"}));

}  // namespace
}  // namespace kov::wfexport::testing
