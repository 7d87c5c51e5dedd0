#include "window/QtTimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <ostream>

namespace kov::window {
namespace {

struct TimerCase {
  const char* what;
  std::int32_t interval;
  bool enable;
  bool shutdown;
  bool fires;
};

void PrintTo(const TimerCase& c, std::ostream* os) { *os << c.what; }

class QtTimerTest : public ::testing::TestWithParam<TimerCase> {};

// Lets the event loop run for up to `ms` or until `done`.
void Spin(int ms, const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms && !done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

TEST_P(QtTimerTest, FiresOnlyWhenArmedAndNeverIntoItself) {
  const TimerCase& c = GetParam();
  QtTimer timer;
  int ticks = 0, depth = 0, deepest = 0;
  timer.handler = [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    Spin(10, [] { return false; });  // as the receive loop does
    --depth;
  };
  timer.SetInterval(c.interval);
  timer.SetEnabled(c.enable);
  if (c.shutdown) timer.Shutdown();
  Spin(c.fires ? 2000 : 30, [&] { return ticks >= 2; });
  EXPECT_EQ(ticks > 0, c.fires) << c.what;
  EXPECT_LE(deepest, 1) << c.what;
  EXPECT_EQ(timer.Interval(), c.interval);
}

INSTANTIATE_TEST_SUITE_P(Cases, QtTimerTest,
                         ::testing::Values(TimerCase{"interval 0 never fires", 0, true, false,
                                                     false},
                                           TimerCase{"disabled", 1, false, false, false},
                                           TimerCase{"shut down", 1, true, true, false},
                                           TimerCase{"armed", 1, true, false, true}));

TEST(QtTimer, DisablingInsideTheHandlerStopsTheTicks) {
  QtTimer timer;
  int ticks = 0;
  timer.handler = [&] {
    ++ticks;
    timer.SetEnabled(false);
  };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  Spin(40, [] { return false; });
  EXPECT_EQ(ticks, 1);
  EXPECT_FALSE(timer.Enabled());
}

}  // namespace
}  // namespace kov::window
