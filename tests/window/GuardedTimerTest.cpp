#include "window/GuardedTimer.h"

#include <gtest/gtest.h>

#include "fakes/FakeToolkit.h"

namespace kov::window {
namespace {

struct ArmCase {
  std::int32_t interval;
  bool enabled;
  bool ended;
  std::int32_t armed;  // what the toolkit's timer is armed with; 0: not at all
};

class GuardedTimerArmTest : public ::testing::TestWithParam<ArmCase> {};

// Interval 0 never fires: the toolkit's timer is never armed with it (it
// would fire on every pass of the event loop, or every 10 ms).
TEST_P(GuardedTimerArmTest, ArmsTheToolkitsTimerOnlyWhenItCanFire) {
  const ArmCase& c = GetParam();
  fakes::FakeTimerBackend backend;
  GuardedTimer timer(backend);
  int ticks = 0;
  timer.handler = [&] { ++ticks; };
  timer.SetInterval(c.interval);
  timer.SetEnabled(c.enabled);
  if (c.ended) timer.End();
  EXPECT_EQ(backend.armed, c.armed);
  backend.Fire();  // a tick already on its way
  EXPECT_EQ(ticks, c.armed > 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, GuardedTimerArmTest,
                         ::testing::Values(ArmCase{0, true, false, 0}, ArmCase{1, false, false, 0},
                                           ArmCase{1, true, true, 0}, ArmCase{1, true, false, 1},
                                           ArmCase{5000, true, false, 5000},
                                           ArmCase{-5, true, false, 0}));

TEST(GuardedTimer, NoTickIntoItsOwnHandler) {
  fakes::FakeTimerBackend backend;
  GuardedTimer timer(backend);
  int depth = 0, deepest = 0, ticks = 0;
  timer.handler = [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    backend.Fire();  // the receive loop lets pending ticks run
    --depth;
  };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  backend.Fire();
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(deepest, 1);
}

TEST(GuardedTimer, SettingTheIntervalOrEnablingRestartsTheCountDown) {
  fakes::FakeTimerBackend backend;
  GuardedTimer timer(backend);
  timer.SetInterval(1);
  timer.SetEnabled(true);
  backend.armed = -1;  // marks that it was armed afresh below
  timer.SetEnabled(true);
  EXPECT_EQ(backend.armed, 1);
  timer.SetInterval(7);
  EXPECT_EQ(backend.armed, 7);
  timer.SetEnabled(false);
  EXPECT_EQ(backend.armed, 0);
  EXPECT_EQ(timer.Interval(), 7);
}

}  // namespace
}  // namespace kov::window
