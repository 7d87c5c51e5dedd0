// The recording a replay plays back: how a waveform file is read, and which
// pass of which band answers a trace.
#include "ReplaySource.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "TestFiles.h"
#include "link/Protocol.h"
#include "measure/WaveformFile.h"

namespace kov::sim {
namespace {

using Cell = std::function<std::string(int k)>;

// One band of one pass as the program writes it: 320 point lines and an
// empty line; point k holds cell(k).
std::string BandLines(int pass, int band, const Cell& cell, int points = 320) {
  std::string text;
  for (int k = 1; k <= points; ++k) {
    measure::AppendPointLine(text, static_cast<std::int16_t>(pass), (band - 1) * 320 + k, cell(k));
  }
  return text + "\r\n";
}

// The text without its last line end: a file that stops there.
std::string Unended(std::string text) {
  text.resize(text.size() - 2);
  return text;
}

// Point 7 without data, point 9 a text of another form, the others tell
// their band and pass apart.
std::optional<std::string> Recorded(int band, int pass, int k) {
  if (k == 7) return std::nullopt;
  if (k == 9) return " -12.5";
  return link::LevelText(-(band * 10 + pass));
}

// A run that ended early: passes 1 and 2 over bands 1 and 2, pass 3 only
// over band 1.
std::string RunEndedEarly() {
  std::string text = "\r\n";
  for (const auto& step : {std::pair{1, 1}, {1, 2}, {2, 1}, {2, 2}, {3, 1}}) {
    const int pass = step.first, band = step.second;
    text += BandLines(pass, band, [=](int k) { return Recorded(band, pass, k).value_or("00"); });
  }
  return text;
}

struct TraceRow {
  double firstMHz;
  int pass;
  int band;          // 0: a band the recording does not hold
  int recordedPass;  // the pass of the recording that answers
};

void PrintTo(const TraceRow& row, std::ostream* os) {
  *os << row.firstMHz << " MHz, pass " << row.pass;
}

class ReplayTraceTest : public ::testing::TestWithParam<TraceRow> {};

TEST_P(ReplayTraceTest, AnswersWithThePassOfTheBand) {
  const TraceRow& row = GetParam();
  std::string error;
  auto recording = Recording::Parse(RunEndedEarly(), error);
  ASSERT_TRUE(recording) << error;
  const ReplaySource source(std::move(*recording), 450);

  const TraceLevels levels = source.Levels({row.firstMHz, 10.0 / 320, 330, row.pass});
  ASSERT_EQ(levels.size(), 330u);
  for (int k = 1; k <= 330; ++k) {
    const auto expected = row.band == 0 || k > 320 ? std::optional<std::string>("-100 ")
                                                   : Recorded(row.band, row.recordedPass, k);
    EXPECT_EQ(levels[k - 1], expected) << "point " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(Passes, ReplayTraceTest,
                         ::testing::Values(TraceRow{450, 1, 1, 1}, TraceRow{450, 3, 1, 3},
                                           TraceRow{450, 4, 1, 1}, TraceRow{450, 8, 1, 2},
                                           TraceRow{460, 2, 2, 2}, TraceRow{460, 3, 2, 1},
                                           TraceRow{470, 1, 0, 0}, TraceRow{440, 1, 0, 0},
                                           TraceRow{455, 1, 0, 0}));

struct BadFile {
  const char* name;
  std::string text;
  std::string says;
  std::size_t maxPoints = Recording::kMaxPoints;
};

void PrintTo(const BadFile& file, std::ostream* os) { *os << file.name; }

class ReplayBadFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(ReplayBadFileTest, IsRefusedWithTheReason) {
  std::string error;
  EXPECT_FALSE(Recording::Parse(GetParam().text, error, GetParam().maxPoints));
  EXPECT_EQ(error, GetParam().says);
}

const Cell kLevel = [](int) { return std::string("-080 "); };

// 200 bands, every level a text of its own.
std::string AllDifferent() {
  std::string text;
  for (int band = 1; band <= 200; ++band) {
    text += BandLines(1, band, [=](int k) { return std::to_string(band * 320 + k) + ".5"; });
  }
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReplayBadFileTest,
    ::testing::Values(
        BadFile{"OnlyEmptyLines", "\r\n\r\n", "holds no point lines"},
        BadFile{"NotAPointLine", BandLines(1, 1, kLevel) + "1,2,3,4\r\n",
                "line 322: not a point line (pass, point, level): \"1,2,3,4\""},
        BadFile{"CutBand", BandLines(1, 1, kLevel, 100),
                "line 101: band 1 of pass 1 breaks off after 100 of its 320 points"},
        BadFile{"EndsInsideABand", Unended(BandLines(1, 2, kLevel, 100)),
                "line 100: the file ends: band 2 of pass 1 breaks off after 100 of its 320 points"},
        BadFile{
            "PassChangesInsideABand", Unended(BandLines(1, 1, kLevel, 10)) + " 2,  11,-080 \r\n",
            "line 11: band 1 of pass 1 breaks off after 10 of its 320 points: \" 2,  11,-080 \" "
            "follows"},
        BadFile{"StartsInsideABand", " 1,  5,-080 \r\n",
                "line 1: point 5 is not the first of its band"},
        BadFile{"PointZero", " 1,  0,-080 \r\n", "line 1: point 0 is below 1"},
        BadFile{"LineTooLong", " 1,  1," + std::string(300, ' ') + "1\r\n",
                "line 1: longer than 200 bytes"},
        BadFile{"TooLargeToHold", BandLines(1, 1, kLevel) + BandLines(1, 2, kLevel),
                "line 322: more than 320 points, too many to hold for replay", 320},
        BadFile{"TooManyDifferentLevelTexts", AllDifferent(),
                "line 63734: too many different level texts to hold for replay"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReplayLevelCodes, GiveEveryTextBackAsItWas) {
  LevelCodes codes;
  const std::vector<std::string> texts = {"-000 ",  "+000 ",  "-100 ", "+999 ", "-099 ",
                                          "-0800 ", " -080 ", "-080",  "1e2"};
  std::set<std::uint16_t> seen;
  for (const auto& text : texts) {
    const auto code = codes.Encode(text);
    ASSERT_TRUE(code) << text;
    EXPECT_EQ(codes.Decode(*code), text);
    EXPECT_TRUE(seen.insert(*code).second) << text;
  }
  EXPECT_EQ(codes.Encode(" -080 "), codes.Encode(" -080 "));
  EXPECT_EQ(codes.Decode(*codes.Encode("00")), std::nullopt);
}

TEST(ReplayFile, ReadsAFileLargerThanOneReadAndNamesAMissingOne) {
  const testing::TempDir dir;
  std::string text;
  for (int pass = 1; pass <= 30; ++pass) {
    text += BandLines(pass, 1, [=](int k) { return link::LevelText(-(pass + k % 50)); });
  }
  testing::Spit(dir / "WFdata.txt", text);
  std::string error;
  const auto recording = Recording::Load(dir.File("WFdata.txt"), error);
  ASSERT_TRUE(recording) << error;
  EXPECT_EQ(recording->Passes(1), 30);
  EXPECT_EQ(recording->Level(1, 30, 320), "-050 ");

  EXPECT_FALSE(Recording::Load(dir.File("none.txt"), error));
  EXPECT_NE(error.find("none.txt: "), std::string::npos) << error;
}

}  // namespace
}  // namespace kov::sim
