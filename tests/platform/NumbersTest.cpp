#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "platform/Numbers.h"

namespace kov::platform {
namespace {

struct LeadingCase {
  const char* text;
  double value;
};

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  EXPECT_EQ(LeadingNumber(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(LeadingCase{"451", 451}, LeadingCase{"", 0}, LeadingCase{"abc", 0},
                      LeadingCase{"-100 ", -100}, LeadingCase{"-080 ", -80}, LeadingCase{"00", 0},
                      LeadingCase{"450.5", 450.5},
                      LeadingCase{" \t\n4 5\t1", 451},  // blanks, tabs, LF anywhere
                      LeadingCase{"- 45", -45}, LeadingCase{"+7", 7},
                      LeadingCase{"1.2.3", 1.2},  // one point only
                      LeadingCase{".5", 0.5}, LeadingCase{"5.", 5}, LeadingCase{"1E3", 1000},
                      LeadingCase{"1e3", 1000}, LeadingCase{"2D2", 200},
                      LeadingCase{"1.5E-1x", 0.15}, LeadingCase{"3E", 3}, LeadingCase{"3E+", 3},
                      LeadingCase{"&H1F", 31}, LeadingCase{"&hff", 255}, LeadingCase{"&O17", 15},
                      LeadingCase{"&HFFFF", 65535}, LeadingCase{"&O9", 0}, LeadingCase{"&", 0},
                      LeadingCase{"12abc", 12}, LeadingCase{"\r5", 0},  // CR is not skipped
                      LeadingCase{"1e-400", 0}));

TEST(LeadingNumber, BeyondDoubleIsInfiniteOrZero) {
  struct Case {
    std::string text;
    double value;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const std::string zeros(400, '0');
  for (const Case& c :
       {Case{"1e400", inf}, Case{"-1e400", -inf}, Case{"1" + zeros, inf}, Case{"-1" + zeros, -inf},
        Case{"0." + zeros + "1", 0}, Case{"0." + zeros + "1e500", 1e99},
        Case{"1" + zeros + "e-500", 1e-100}, Case{"1e99999999999999999999", inf},
        Case{"1e-99999999999999999999", 0}, Case{"1" + zeros + "e-99999999999999999999", 0}}) {
    EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text.substr(0, 12);
  }
}

struct RoundCase {
  double value;
  std::optional<std::int16_t> integer;
  std::optional<std::int32_t> longValue;
};

class RoundingTest : public ::testing::TestWithParam<RoundCase> {};

TEST_P(RoundingTest, HalfToEvenWithinRange) {
  EXPECT_EQ(RoundToInteger(GetParam().value), GetParam().integer) << GetParam().value;
  EXPECT_EQ(RoundToLong(GetParam().value), GetParam().longValue) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, RoundingTest,
    ::testing::Values(RoundCase{0.5, 0, 0}, RoundCase{1.5, 2, 2}, RoundCase{2.5, 2, 2},
                      RoundCase{-0.5, 0, 0}, RoundCase{-1.5, -2, -2}, RoundCase{450.5, 450, 450},
                      RoundCase{451.5, 452, 452}, RoundCase{32767.4, 32767, 32767},
                      RoundCase{32767.5, std::nullopt, 32768}, RoundCase{-32768.5, -32768, -32768},
                      RoundCase{-32769, std::nullopt, -32769},
                      RoundCase{2147483647.5, std::nullopt, std::nullopt},
                      RoundCase{-2147483648.5, std::nullopt, -2147483648},
                      RoundCase{std::numeric_limits<double>::infinity(), std::nullopt,
                                std::nullopt},
                      RoundCase{std::nan(""), std::nullopt, std::nullopt}));

TEST(NumberText, PlainAndLeadingBlankForms) {
  struct Case {
    double value;
    const char* plain;
    const char* blank;
  };
  for (const Case& c :
       {Case{455, "455", " 455"}, Case{0, "0", " 0"}, Case{-0.0, "0", " 0"}, Case{-3, "-3", "-3"},
        Case{-0.5, "-0.5", "-0.5"}, Case{495.5, "495.5", " 495.5"}, Case{32640, "32640", " 32640"},
        Case{100000, "100000", " 100000"}, Case{-2e6, "-2000000", "-2000000"},
        Case{0.0001, "0.0001", " 0.0001"}, Case{1e20, "1e+20", " 1e+20"}}) {
    EXPECT_EQ(PlainNumber(c.value), c.plain);
    EXPECT_EQ(BlankNumber(c.value), c.blank);
  }
}

}  // namespace
}  // namespace kov::platform
