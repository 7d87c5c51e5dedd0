#include "measure/TimesFile.h"

#include <gtest/gtest.h>

namespace kov::measure {
namespace {

using platform::WallTime;

struct TimeRow {
  WallTime time;
  const char* iso;
  const char* stamp;
};

// Offsets east and west, a day boundary crossed by the offset, a leap day,
// and a moment past 2038 (beyond a 32-bit time_t).
constexpr TimeRow kTimes[] = {
    {{1796730508123, 540}, "2026-12-08T20:48:28.123+09:00", "20261208-204828"},
    {{1796730508000, 0}, "2026-12-08T11:48:28.000+00:00", "20261208-114828"},
    {{1796730508999, -300}, "2026-12-08T06:48:28.999-05:00", "20261208-064828"},
    {{1796745600000, 540}, "2026-12-09T01:00:00.000+09:00", "20261209-010000"},
    {{1709164800000, 330}, "2024-02-29T05:30:00.000+05:30", "20240229-053000"},
    {{2208992461001, 0}, "2040-01-01T01:01:01.001+00:00", "20400101-010101"},
    {{-1, 0}, "1969-12-31T23:59:59.999+00:00", "19691231-235959"},
};

TEST(TimesFile, MomentsWrittenAndReadBack) {
  for (const TimeRow& r : kTimes) {
    EXPECT_EQ(IsoTime(r.time), r.iso);
    EXPECT_EQ(StampText(r.time), r.stamp);
    EXPECT_EQ(ParseIsoTime(r.iso), r.time) << r.iso;
  }
}

TEST(TimesFile, WhatIsNoMoment) {
  for (const char* text : {"", "2026-12-08T20:48:28.123Z", "2026-12-08T20:48:28+09:00",
                           "2026-12-08 20:48:28.123+09:00", "2026-02-29T00:00:00.000+09:00",
                           "2026-13-01T00:00:00.000+09:00", "2026-12-08T24:00:00.000+09:00",
                           "2026-12-08T20:60:00.000+09:00", "2026-12-08T20:48:28.123+09:60",
                           "2026-12-08T20:48:28.12a+09:00", "2026-12-08T20:48:28.123+09:00 "}) {
    EXPECT_EQ(ParseIsoTime(text), std::nullopt) << text;
  }
}

TEST(TimesFile, LinesWrittenAndReadBack) {
  const BandTime band{4117, 102, 1465, {1796730508123, 540}};
  std::string out;
  AppendTimesLine(out, band);
  EXPECT_EQ(out, "4117,102,1465,2026-12-08T20:48:28.123+09:00\r\n");
  EXPECT_EQ(ParseTimesLine(out.substr(0, out.size() - 2)), band);

  for (const char* line :
       {"pass,band,center_mhz,time", "1,1,455", "1,1,,2026-12-08T20:48:28.123+09:00",
        " 1,1,455,2026-12-08T20:48:28.123+09:00", "1,1,455,2026-12-08T20:48:28.123+09:00,",
        "-1,1,455,2026-12-08T20:48:28.123+09:00", "1,1,4x5,2026-12-08T20:48:28.123+09:00"}) {
    EXPECT_EQ(ParseTimesLine(line), std::nullopt) << line;
  }
}

TEST(TimesFile, NameBesideTheRecording) {
  EXPECT_EQ(TimesFileName("WFdata.txt"), "WFtime.csv");
  EXPECT_EQ(TimesFileName("WFdata-20261208-204828.txt"), "WFtime-20261208-204828.csv");
  EXPECT_EQ(TimesFileName("WFdata-20261208-204828-2.txt"), "WFtime-20261208-204828-2.csv");
  for (const char* other : {"", "WFdata", "WFdata2.txt", "wfdata.txt", "run.txt", "WFdata.csv"}) {
    EXPECT_EQ(TimesFileName(other), "") << other;
  }
}

}  // namespace
}  // namespace kov::measure
