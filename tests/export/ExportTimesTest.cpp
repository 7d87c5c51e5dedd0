// Recordings with their times file: the time in the tables and pictures,
// passes chosen by time, and times files that do not belong.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "ExportHarness.h"
#include "TimeAxis.h"
#include "TimesTable.h"

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

// Lines 2 to 9 of the times file of ExportTimes are its eight bands.
std::string Without(int line, const std::string& instead = "") {
  std::string file = TimesFile(4, 2, BandMs);
  std::size_t start = 0;
  for (int i = 1; i < line; ++i) start = file.find('\n', start) + 1;
  const std::size_t end = file.find('\n', start) + 1;
  return file.replace(start, end - start, instead);
}

struct BelongCase {
  const char* name;
  std::string times;
  int status;
  const char* message;
};

class ExportTimesBelong : public ExportTimes, public ::testing::WithParamInterface<BelongCase> {};

TEST_P(ExportTimesBelong, ACopyTakenDuringTheRunOrNothing) {
  const BelongCase& c = GetParam();
  Spit(dir / "WFtime.csv", c.times);
  const Outcome o = Export({"--csv", dir.File("a.csv")});
  EXPECT_EQ(o.status, c.status) << o.err;
  EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
  EXPECT_EQ(std::filesystem::exists(dir / "a.csv"), c.status == 0);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ExportTimesBelong,
    ::testing::Values(
        BelongCase{"a band behind", TimesFile(4, 2, BandMs, 1), 0,
                   "note: WFtime.csv ends at pass 4 band 1, WFdata.txt at pass 4 band 2 (one was "
                   "taken during the run): read as cut short"},
        BelongCase{"a band ahead", TimesFile(5, 2, BandMs, 1), 0,
                   "note: WFtime.csv ends at pass 5 band 1, WFdata.txt at pass 4 band 2"},
        BelongCase{"cut in a line", TimesFile(4, 2, BandMs).substr(0, 310), 0,
                   "note: WFtime.csv ends inside a line (after pass 4 band 1)"},
        BelongCase{"a pass behind", TimesFile(3, 2, BandMs), 1,
                   "WFtime.csv:7: ends at pass 3 band 2, WFdata.txt at pass 4 band 2: they are "
                   "not of one run (--ignore-times exports without the times)"},
        BelongCase{"other bands", TimesFile(3, 3, BandMs), 1,
                   "WFtime.csv:5: its passes hold 3 bands, those of WFdata.txt 2: they are not "
                   "of one run"},
        BelongCase{"a band missing", Without(5), 1,
                   "WFtime.csv:5: pass 3 band 1 where pass 2 band 2 was due"},
        BelongCase{"tuned elsewhere", Without(3, "1,2,475,2026-12-08T23:59:54.000+09:00\r\n"), 1,
                   "WFtime.csv:3: band 2 is tuned to 475 MHz, where the run's band 1 at 455"},
        BelongCase{"no times line", Without(4, "2,1,455,2026-12-09 00:00:00\r\n"), 1,
                   "WFtime.csv:4: not a times line: \"2,1,455,2026-12-09 00:00:00\""},
        BelongCase{"no times file", "[MES_PARA]\r\nSTART_FQ=450\r\n", 1,
                   "WFtime.csv:1: not a times file"},
        BelongCase{"off the tens", Without(2, "1,1,456,2026-12-08T23:59:50.000+09:00\r\n"), 1,
                   "WFtime.csv:2: band 1 is tuned to 456 MHz, which starts no run"}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

TEST_F(ExportTimes, IgnoredTimesOrAStartThatDisagrees) {
  Spit(dir / "WFtime.csv", Without(5));
  Outcome o = Export({"--csv", dir.File("a.csv"), "--ignore-times", "--start", "450"});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "a.csv"))[0], "pass,point,frequency_mhz,level_db");
  Spit(dir / "WFtime.csv", TimesFile(4, 2, BandMs));
  o = Export({"--csv", dir.File("b.csv"), "--start", "460"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("--start 460 disagrees with WFtime.csv (band 1 tuned to 455 MHz, a run "
                       "from 450 MHz)"),
            std::string::npos)
      << o.err;
}

TEST_F(ExportTimes, LevelsOverTimeAtTheNearestPoints) {
  ASSERT_EQ(Export({"--track", "460.28,450", "--track-csv", dir.File("t.csv")}).status, 0);
  const auto rows = Lines(Slurp(dir / "t.csv"));
  ASSERT_EQ(rows.size(), 1u + 4 * 2);
  EXPECT_EQ(rows[0], "time,pass,frequency_mhz,level_db");
  EXPECT_EQ(rows[1], "2026-12-08T23:59:54.000+09:00,1,460.28125,-88");
  EXPECT_EQ(rows[2], "2026-12-08T23:59:50.000+09:00,1,450,-88");
  EXPECT_EQ(rows[3], "2026-12-09T00:00:04.000+09:00,2,460.28125,-30");
}

// Without an output named: the usual set beside the recording, each listed.
TEST_F(ExportTimes, TheUsualSetBesideTheRecording) {
  const Outcome o = Export({});
  ASSERT_EQ(o.status, 0) << o.err;
  for (const char* name : {"WFdata-report.html", "WFdata-waterfall.png", "WFdata-spectrum.png",
                           "WFdata-summary.csv", "WFdata-peaks.csv"}) {
    EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_NE(o.out.find("wrote " + dir.File(name) + "\n"), std::string::npos) << o.out;
  }
  // With times, the time labels take the left of the graph.
  const Picture waterfall = ReadPng(dir.File("WFdata-waterfall.png"));
  EXPECT_EQ(waterfall.At(100, 60), (display::Rgb{0, 122, 255}));
  EXPECT_EQ(waterfall.At(70, 60), (display::Rgb{255, 255, 255}));
}

// Without times: the settings file beside the recording, else beside the program.
TEST(ExportUsualSet, TakesTheSettingsFileBesideTheRecordingOrTheProgram) {
  TempDir dir;
  std::filesystem::create_directories(dir / "program");
  Spit(dir / "WFdata-20261208-235950.txt", Recording(1, 1, [](int, int) { return "-088 "; }));
  Spit(dir / "program" / "KOV_Xport.ini", "[MES_PARA]\r\nSTART_FQ=2005\r\nEND_FQ=2010\r\n");
  Outcome o = RunTool({dir.File("WFdata-20261208-235950.txt")}, dir.File("program"));
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "WFdata-20261208-235950-summary.csv"))[1], "1,2000,-88,-88,-88,1,0");
  Spit(dir / "KOV_Xport.ini", "[MES_PARA]\r\nSTART_FQ=1005\r\nEND_FQ=1010\r\n");
  o = RunTool({dir.File("WFdata-20261208-235950.txt")}, dir.File("program"));
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "WFdata-20261208-235950-summary.csv"))[1], "1,1000,-88,-88,-88,1,0");
}

struct TickCase {
  std::vector<std::int64_t> passMs;  // after kStart
  int most;
  std::vector<std::string> labels;  // "pass time date"
};

class TimeAxisTicks : public ::testing::TestWithParam<TickCase> {};

TEST_P(TimeAxisTicks, RoundMomentsWhereThePassesReachedThem) {
  const TickCase& c = GetParam();
  const std::string file = TimesFile(static_cast<int>(c.passMs.size()), 1,
                                     [&](int pass, int) { return kStart + c.passMs[pass - 1]; });
  TimesReader reader("t");
  for (const auto& line : Lines(file)) ASSERT_TRUE(reader.Take(line)) << reader.Error();
  ASSERT_TRUE(reader.Finish(0));
  std::vector<std::string> labels;
  for (const TimeTick& t :
       TimeTicks(reader.Table(), 1, static_cast<std::int32_t>(c.passMs.size()), c.most)) {
    char place[16];
    std::snprintf(place, sizeof place, "%.2f", t.pass);
    labels.push_back(std::string(place) + " " + t.time + " " + t.date);
  }
  EXPECT_EQ(labels, c.labels);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TimeAxisTicks,
    ::testing::Values(
        // 23:59:50 to 00:00:20 across midnight, every 10 s: the date where it changes.
        TickCase{{0, 10000, 20000, 30000},
                 4,
                 {"1.00 23:59:50 2026-12-08", "2.00 00:00:00 2026-12-09", "3.00 00:00:10 ",
                  "4.00 00:00:20 "}},
        TickCase{{0, 10000, 20000, 30000}, 1, {"2.00 00:00:00 2026-12-09"}},
        // Passes an hour apart from 23:59:50: on the hour, between passes.
        TickCase{{0, 3600000, 7200000}, 2, {"1.00 00:00 2026-12-09", "2.00 01:00 "}},
        TickCase{{0, 1800000, 7200000},
                 4,
                 {"1.01 00:00 2026-12-09", "2.00 00:30 ", "2.34 01:00 ", "2.67 01:30 "}}));

}  // namespace
}  // namespace kov::wfexport::testing
