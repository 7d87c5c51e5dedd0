// The recording's two files: every band timed, and the last run kept when a
// new one starts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "RunRig.h"
#include "fakes/FakeTextFiles.h"
#include "measure/RecordingFiles.h"

namespace kov::measure {
namespace {

using Files = std::map<std::string, std::string>;

const std::string kData = "\r\n 1,  1,-080 \r\n\r\n";
const std::string kHeader = "pass,band,center_mhz,time\r\n";
const std::string kTimes = kHeader + "1,1,455,2026-12-08T20:48:28.123+09:00\r\n";

struct SetAsideRow {
  const char* name;
  Files before;
  std::set<std::string> failRenames;
  bool setAside;
  Files after;
};

// The times file's first band stamps the names, else the waveform file's
// last write (12:20:00 here).
const SetAsideRow kSetAside[] = {
    {"NoFile", {}, {}, true, {}},
    {"OnlyTheEmptyLine",
     {{"WFdata.txt", "\r\n"}, {"WFtime.csv", kHeader}},
     {},
     true,
     {{"WFdata.txt", "\r\n"}, {"WFtime.csv", kHeader}}},
    {"StampedWithTheFirstBand",
     {{"WFdata.txt", kData}, {"WFtime.csv", kTimes}},
     {},
     true,
     {{"WFdata-20261208-204828.txt", kData}, {"WFtime-20261208-204828.csv", kTimes}}},
    {"WithoutTimesTheFileTime",
     {{"WFdata.txt", kData}},
     {},
     true,
     {{"WFdata-20261208-122000.txt", kData}}},
    {"TimesWithoutABand",
     {{"WFdata.txt", kData}, {"WFtime.csv", kHeader}},
     {},
     true,
     {{"WFdata-20261208-122000.txt", kData}, {"WFtime-20261208-122000.csv", kHeader}}},
    {"TakenNamesCountOn",
     {{"WFdata.txt", kData},
      {"WFtime.csv", kTimes},
      {"WFdata-20261208-204828.txt", "1"},
      {"WFtime-20261208-204828-2.csv", "2"}},
     {},
     true,
     {{"WFdata-20261208-204828.txt", "1"},
      {"WFtime-20261208-204828-2.csv", "2"},
      {"WFdata-20261208-204828-3.txt", kData},
      {"WFtime-20261208-204828-3.csv", kTimes}}},
    {"WaveformFileHeld",
     {{"WFdata.txt", kData}, {"WFtime.csv", kTimes}},
     {"WFdata.txt"},
     false,
     {{"WFdata.txt", kData}, {"WFtime.csv", kTimes}}},
    {"TimesFileHeldUndoesTheFirst",
     {{"WFdata.txt", kData}, {"WFtime.csv", kTimes}},
     {"WFtime.csv"},
     false,
     {{"WFdata.txt", kData}, {"WFtime.csv", kTimes}}},
};

void PrintTo(const SetAsideRow& r, std::ostream* os) { *os << r.name; }

class SetAsideTest : public ::testing::TestWithParam<SetAsideRow> {};

TEST_P(SetAsideTest, KeepsTheLastRunOrChangesNothing) {
  const SetAsideRow& r = GetParam();
  fakes::FakeTextFiles files;
  files.modified = {1796700000000, 540};
  files.files = r.before;
  files.failRenameOf = r.failRenames;
  RecordingFiles recording(files, "WFdata.txt");
  EXPECT_EQ(recording.SetAsideLast(), r.setAside);
  EXPECT_EQ(files.files, r.after);
}

INSTANTIATE_TEST_SUITE_P(Files, SetAsideTest, ::testing::ValuesIn(kSetAside),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Recording, BesideTheWaveformFileInItsFolder) {
  fakes::FakeTextFiles files;
  RecordingFiles recording(files, "/runs/WFdata.txt");
  EXPECT_EQ(recording.TimesPath(), "/runs/WFtime.csv");
  files.files = {{"/runs/WFdata.txt", kData}, {"/runs/WFtime.csv", kTimes}};
  ASSERT_TRUE(recording.SetAsideLast());
  ASSERT_TRUE(recording.Start());
  EXPECT_EQ(files.files, (Files{{"/runs/WFdata-20261208-204828.txt", kData},
                                {"/runs/WFtime-20261208-204828.csv", kTimes},
                                {"/runs/WFdata.txt", "\r\n"},
                                {"/runs/WFtime.csv", kHeader}}));
}

TEST(Recording, EveryBandStoredIsTimed) {
  testing::RunRig run;
  run.Entries("450", "470", "2", "0");
  const std::int64_t start = run.fakeClock.Now().utcMs;
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  const std::int64_t end = run.fakeClock.Now().utcMs;

  const std::string& times = run.files.files["WFtime.csv"];
  ASSERT_EQ(times.substr(0, kHeader.size()), kHeader);
  std::vector<BandTime> bands;
  for (std::size_t at = kHeader.size(), eol; (eol = times.find("\r\n", at)) != std::string::npos;
       at = eol + 2) {
    const auto band = ParseTimesLine(std::string_view(times).substr(at, eol - at));
    ASSERT_TRUE(band.has_value()) << times.substr(at, eol - at);
    bands.push_back(*band);
  }
  ASSERT_EQ(bands.size(), 4u);
  const std::pair<int, int> order[] = {{1, 1}, {1, 2}, {2, 1}, {2, 2}};
  for (std::size_t i = 0; i < bands.size(); ++i) {
    EXPECT_EQ(std::pair(bands[i].pass, bands[i].band), order[i]);
    EXPECT_EQ(bands[i].centerMHz, bands[i].band == 1 ? 455 : 465);
    EXPECT_EQ(bands[i].time.offsetMinutes, 540);
    // After the first band's settling wait of 2 s, in the order measured.
    EXPECT_GT(bands[i].time.utcMs, i == 0 ? start + 2000 : bands[i - 1].time.utcMs);
    EXPECT_LE(bands[i].time.utcMs, end);
  }
}

TEST(Recording, ASecondStartKeepsTheFirstRun) {
  testing::RunRig run;
  run.Entries("450", "470", "1", "5");
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  const Files first = run.files.files;
  const std::string_view times = first.at("WFtime.csv");
  const auto firstBand = ParseTimesLine(
      times.substr(kHeader.size(), times.find("\r\n", kHeader.size()) - kHeader.size()));
  ASSERT_TRUE(firstBand.has_value());
  const std::string stamp = StampText(firstBand->time);
  run.form.CmdMesStart_Click();
  run.RunToEnd();
  EXPECT_EQ(run.files.files.at("WFdata-" + stamp + ".txt"), first.at("WFdata.txt"));
  EXPECT_EQ(run.files.files.at("WFtime-" + stamp + ".csv"), first.at("WFtime.csv"));
  EXPECT_EQ(run.files.files.size(), 4u);
}

// A start that cannot set the last run aside, or empty the files, goes no
// further than its connection: "EX", the socket closed, the window as
// before, every file as it was (or, for the second, just emptied).
struct StartFailureRow {
  const char* name;
  bool failRename;
  bool failWrite;
  const char* message;
  bool messageBox;
};

void PrintTo(const StartFailureRow& r, std::ostream* os) { *os << r.name; }

class StartFailureTest : public ::testing::TestWithParam<StartFailureRow> {};

TEST_P(StartFailureTest, EndsTheConnectionAndKeepsTheWindow) {
  const StartFailureRow& r = GetParam();
  testing::RunRig run;
  run.files.files = {{"WFdata.txt", kData}, {"WFtime.csv", kTimes}};
  if (r.failRename) run.files.failRenameOf = {"WFdata.txt"};
  run.files.failWrite = r.failWrite;
  run.Entries("450", "470", "1", "5");
  run.form.CmdMesStart_Click();
  EXPECT_EQ(run.window.status, r.message);
  EXPECT_EQ(run.window.messages,
            r.messageBox ? std::vector<std::string>{r.message} : std::vector<std::string>{});
  EXPECT_EQ(run.sockets.sent, std::vector<std::string>{"EX\r\n"});
  EXPECT_EQ(run.sockets.closed.size(), 1u);
  EXPECT_FALSE(run.t1.Enabled());
  EXPECT_TRUE(run.window.buttons[ui::Button::CmdMesStart]);
  EXPECT_FALSE(run.window.buttons[ui::Button::CmdMesBreak]);
  EXPECT_FALSE(run.window.ended);
  EXPECT_TRUE(run.display.calls.empty());
  if (r.failRename) {
    EXPECT_EQ(run.files.files, (Files{{"WFdata.txt", kData}, {"WFtime.csv", kTimes}}));
  }
}

INSTANTIATE_TEST_SUITE_P(Starts, StartFailureTest,
                         ::testing::Values(StartFailureRow{"LastRunCannotBeSetAside", true, false,
                                                           "前回のWFdata.txtを退避できません",
                                                           true},
                                           StartFailureRow{"FilesCannotBeEmptied", false, true,
                                                           "WFdata.txtに書き込めません", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Recording, ATimesFileThatCannotBeWrittenEndsTheRun) {
  testing::RunRig run;
  run.Entries("450", "470", "1", "5");
  run.form.CmdMesStart_Click();
  run.files.failAppendTo = {"WFtime.csv"};
  run.RunToEnd();
  EXPECT_EQ(run.window.status, "WFdata.txtに書き込めません");
  EXPECT_EQ(run.sockets.sent.back(), "EX\r\n");
  EXPECT_EQ(run.files.files["WFdata.txt"], "\r\n");
  EXPECT_EQ(run.files.files["WFtime.csv"], kHeader);
}

}  // namespace
}  // namespace kov::measure
