#include "measure/SweepPlan.h"

#include <gtest/gtest.h>

#include <string>

namespace kov::measure {
namespace {

struct PlanRow {
  const char* start;
  const char* end;
  const char* count;
  std::variant<SweepPlan, Refusal> result;
};

class SweepPlanTest : public ::testing::TestWithParam<PlanRow> {};

TEST_P(SweepPlanTest, FromTheThreeEntries) {
  const PlanRow& r = GetParam();
  EXPECT_EQ(PlanSweep(r.start, r.end, r.count), r.result)
      << r.start << " to " << r.end << ", count " << r.count;
}

constexpr Refusal kRange{"周波数の値が範囲外です"};
constexpr Refusal kBands{"測定周波数範囲は1020MHz以内にしてください"};
constexpr Refusal kCount{"ダウンロード回数は1～32767回で指定してください"};

INSTANTIATE_TEST_SUITE_P(
    Entries, SweepPlanTest,
    ::testing::Values(
        // The start-up defaults: 450 to 550, ten bands.
        PlanRow{"451", "550", "1", SweepPlan{1, 450, 550, 10}},
        // An empty range is widened by 10, a narrow one too.
        PlanRow{"450", "450", "3", SweepPlan{3, 450, 460, 1}},
        PlanRow{"455", "460", "1", SweepPlan{1, 450, 460, 1}},
        // Exchanged ends, and no widening after an exchange.
        PlanRow{"550", "451", "1", SweepPlan{1, 450, 550, 10}},
        PlanRow{"458", "452", "1", SweepPlan{1, 450, 450, 0}},
        // Magnitudes, halves to even, no number at all.
        PlanRow{"-450", "-550", "1", SweepPlan{1, 450, 550, 10}},
        PlanRow{"450.5", "550", "1", SweepPlan{1, 450, 550, 10}},
        PlanRow{"451.5", "550", "1", SweepPlan{1, 450, 550, 10}},
        PlanRow{"", "", "1", SweepPlan{1, 0, 10, 1}},
        PlanRow{"1000", "2020", "32767", SweepPlan{32767, 1000, 2020, 102}},
        PlanRow{"450", "470", "2.5", SweepPlan{2, 450, 470, 2}},
        // Refused: values beyond 16 bits (the widened end too), 103 bands,
        // counts outside 1 to 32767. The range is judged before the count.
        PlanRow{"40000", "550", "1", kRange}, PlanRow{"451", "-32768.5", "1", kRange},
        PlanRow{"32760", "32760", "1", kRange}, PlanRow{"1e400", "550", "1", kRange},
        PlanRow{"0", "1030", "1", kBands}, PlanRow{"0", "1030", "0", kBands},
        PlanRow{"451", "550", "0", kCount}, PlanRow{"451", "550", "-3", kCount},
        PlanRow{"451", "550", "32768", kCount}, PlanRow{"451", "550", "abc", kCount}));

}  // namespace
}  // namespace kov::measure
