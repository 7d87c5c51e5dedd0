#include "measure/WaveformFile.h"

#include <gtest/gtest.h>

#include <string>

namespace kov::measure {
namespace {

struct LineRow {
  std::int16_t pass;
  std::int32_t point;
  const char* cell;
  const char* line;  // as written, without the CR LF
  std::optional<double> level;
};

class WaveformLineTest : public ::testing::TestWithParam<LineRow> {};

TEST_P(WaveformLineTest, WrittenAndReadBack) {
  const LineRow& r = GetParam();
  std::string out;
  AppendPointLine(out, r.pass, r.point, r.cell);
  EXPECT_EQ(out, std::string(r.line) + "\r\n");
  EXPECT_EQ(ParsePointLine(r.line), (WaveformPoint{r.pass, r.point, r.level, r.cell}));
}

INSTANTIATE_TEST_SUITE_P(Lines, WaveformLineTest,
                         ::testing::Values(LineRow{1, 321, "-100 ", " 1,  321,-100 ", -100},
                                           LineRow{12, 1, "-080 ", " 12,  1,-080 ", -80},
                                           LineRow{1, 5, "00", " 1,  5,00", std::nullopt},
                                           LineRow{32767, 32640, "+005 ", " 32767,  32640,+005 ",
                                                   5},
                                           LineRow{3, 7, "-12.5", " 3,  7,-12.5", -12.5},
                                           LineRow{2, 9, "- 0 8 0", " 2,  9,- 0 8 0", -80},
                                           LineRow{2, 10, " -080 ", " 2,  10, -080 ", -80}));

TEST(WaveformLine, WhatIsNoPointLine) {
  for (const char* line :
       {"", " 1,  1", " 1,  1,", " 1,  1,abc", "x1,  1,-080 ", " 1;  1,-080 ", " 1,  1,-08x0",
        " 1,  1,000.0.0", " 1,  1,-", " 1,  1,--80", " 1234567890,  1,-080 "}) {
    EXPECT_EQ(ParsePointLine(line), std::nullopt) << '"' << line << '"';
  }
}

}  // namespace
}  // namespace kov::measure
