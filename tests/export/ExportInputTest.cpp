// Recordings cut short, lines that are no point lines, and the frequency
// axis and colours taken from the settings file.
#include <algorithm>

#include "ExportHarness.h"
#include "PictureParts.h"

namespace kov::wfexport::testing {
namespace {

// Two passes of two bands at -88 dB: 1 + 2 x 2 x 321 lines.
std::string TwoByTwo() {
  return Recording(2, 2, [](int, int) { return "-088 "; });
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

struct CutCase {
  const char* name;
  std::size_t lines;  // whole lines kept
  std::size_t extra;  // bytes of the next line kept
  const char* note;   // "" when the file is whole
};

class ExportCutShort : public ::testing::TestWithParam<CutCase> {};

TEST_P(ExportCutShort, ReadToTheLastWholeLineWithOneNote) {
  const CutCase& c = GetParam();
  const std::string whole = TwoByTwo();
  std::size_t end = 0;
  for (std::size_t i = 0; i < c.lines; ++i) end = whole.find('\n', end) + 1;
  TempDir dir;
  Spit(dir / "WFdata.txt", whole.substr(0, end + c.extra));
  const Outcome o = RunTool({"--start", "450", dir.File("WFdata.txt"), "--csv", dir.File("a.csv")});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(Count(o.err, "note:"), std::string(c.note).empty() ? 0u : 1u) << o.err;
  EXPECT_NE(o.err.find(c.note), std::string::npos) << o.err;
  const auto rows = Lines(Slurp(dir / "a.csv"));
  const std::string kept = whole.substr(0, end);
  const std::size_t points = Count(kept, "\n") - Count(kept, "\r\n\r\n") - 1;
  EXPECT_EQ(rows.size(), points + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ExportCutShort,
    ::testing::Values(CutCase{"whole", 1 + 4 * 321, 0, ""},
                      // " 2,  101,-08" would read as -8 dB.
                      CutCase{"in a line", 1 + 2 * 321 + 100, 12,
                              "ends inside a line (pass 2, point 100 of 640)"},
                      CutCase{"in a band", 1 + 2 * 321 + 100, 0,
                              "ends inside a band (pass 2, point 100 of 640)"},
                      CutCase{"after a band", 1 + 3 * 321, 0,
                              "ends before its last pass is whole (pass 2, point 320 of 640)"}),
    [](const auto& info) {
      std::string name = info.param.name;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

// Lines 3, 5, 7 to 10 and 12 are no point lines the program could write.
std::string WithBadLines() {
  std::string file = Recording(1, 1, [](int, int) { return "-088 "; });
  std::vector<std::string> lines = Lines(file);
  const std::vector<std::pair<std::size_t, std::string>> bad = {
      {3, "garbage"},       {5, " 1,  x,-088 "}, {7, " 0,  7,-088 "},  {8, " 1,  32641,-088 "},
      {9, " 1,  9,-08 8x"}, {10, " 1,  10"},     {12, " 1;  12,-088 "}};
  for (const auto& [line, text] : bad) lines[line - 1] = text + "\r";
  file.clear();
  for (const auto& line : lines) file += line + "\n";
  return file;
}

TEST(ExportBadLines, SkippedCountedAndTheFirstFewReported) {
  TempDir dir;
  Spit(dir / "WFdata.txt", WithBadLines());
  const Outcome o =
      RunTool({"--start", "450", dir.File("WFdata.txt"), "--summary", dir.File("s.csv")});
  EXPECT_EQ(o.status, 0);
  for (const char* reported :
       {"WFdata.txt:3: ", "WFdata.txt:5: ", "WFdata.txt:7: ", "WFdata.txt:8: ", "WFdata.txt:9: "}) {
    EXPECT_NE(o.err.find(reported), std::string::npos) << reported << '\n' << o.err;
  }
  EXPECT_EQ(o.err.find("WFdata.txt:10: "), std::string::npos) << "only the first five";
  EXPECT_NE(o.err.find("7 lines skipped"), std::string::npos) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "s.csv")).size(), 1u + 320 - 7);
}

// Two megabytes without a line end, across the pieces the file is read in:
// one skipped line, not held in memory, and the lines after it are read.
TEST(ExportBadLines, AnEndlessLineIsOneLine) {
  TempDir dir;
  const std::string points = Recording(1, 1, [](int, int) { return "-088 "; });
  Spit(dir / "WFdata.txt", "\r\n" + std::string(2 << 20, 'x') + points);
  const Outcome o = RunTool({"--start", "450", dir.File("WFdata.txt"), "--csv", dir.File("a.csv")});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.err.find("WFdata.txt:2: not a point line: \"xxx"), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("1 line skipped"), std::string::npos) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "a.csv")).size(), 1u + 320);
}

TEST(ExportBadLines, StrictStopsAtTheFirstWithStatus1AndWritesNothing) {
  TempDir dir;
  Spit(dir / "WFdata.txt", WithBadLines());
  const Outcome o = RunTool(
      {"--start", "450", dir.File("WFdata.txt"), "--summary", dir.File("s.csv"), "--strict"});
  EXPECT_EQ(o.status, 1);
  EXPECT_NE(o.err.find("WFdata.txt:3: not a point line: \"garbage\""), std::string::npos) << o.err;
  EXPECT_EQ(o.err.find("WFdata.txt:5: "), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "s.csv"));
}

struct IniCase {
  const char* ini;
  const char* firstMHz;  // of point 1
  display::Rgb at51dB;   // the colour of a -51 dB point
  const char* note;
};

class ExportSettingsFile : public ::testing::TestWithParam<IniCase> {};

TEST_P(ExportSettingsFile, StartAndColoursAsTheProgramTakesThem) {
  const IniCase& c = GetParam();
  TempDir dir;
  Spit(dir / "WFdata.txt", Recording(2, 1, [](int, int) { return "-051 "; }));
  Spit(dir / "KOV_Xport.ini", c.ini);
  const Outcome o = RunTool({"--ini", dir.File("KOV_Xport.ini"), dir.File("WFdata.txt"),
                             "--summary", dir.File("s.csv"), "--waterfall", dir.File("w.png")});
  ASSERT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(Lines(Slurp(dir / "s.csv"))[1].substr(0, 2 + std::string(c.firstMHz).size()),
            std::string("1,") + c.firstMHz);
  EXPECT_EQ(ReadPng(dir.File("w.png")).At(parts::kLeft, parts::kTop), c.at51dB);
  EXPECT_NE(o.err.find(c.note), std::string::npos) << o.err;
}

constexpr display::Rgb kFull51{0, 255, 10}, kFifty51{255, 20, 0};

INSTANTIATE_TEST_SUITE_P(
    Ranges, ExportSettingsFile,
    ::testing::Values(
        IniCase{"[MES_PARA]\r\nSTART_FQ=455\r\nEND_FQ=460\r\nD_LEVEL= 0\r\n", "450,", kFull51, ""},
        IniCase{"[MES_PARA]\r\nSTART_FQ=470\r\nEND_FQ=461\r\nD_LEVEL=0\r\n", "460,", kFull51, ""},
        IniCase{"[mes_para]\nstart_fq=-1005.5\nend_fq=1010\nD_LEVEL=2\n", "1000,", kFifty51, ""},
        // Absent keys, as the program saves the file before a first save of the
        // measurement keys: its defaults, 451 to 550 and the -50 dB range.
        IniCase{"[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\n", "450,", kFifty51,
                "the settings file plans 10 bands"}));

}  // namespace
}  // namespace kov::wfexport::testing
