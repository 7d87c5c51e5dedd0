// A guarded window timer over QTimer, in Qt's own event loop.
#include "qt/QtTimer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <functional>

#include "window/GuardedTimer.h"

namespace kov::qt {
namespace {

// Lets the event loop run for up to `ms` or until `done`.
void Spin(int ms, const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms && !done()) QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

TEST(QtTimer, TicksAndNeverIntoItsOwnHandler) {
  QtTimer backend;
  window::GuardedTimer timer(backend);
  int ticks = 0, depth = 0, deepest = 0;
  timer.handler = [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    Spin(10, [] { return false; });  // as the receive loop does
    --depth;
  };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  Spin(2000, [&] { return ticks >= 3; });
  EXPECT_GE(ticks, 3);
  EXPECT_EQ(deepest, 1);
}

TEST(QtTimer, IntervalZeroAndDisabledNeverTick) {
  for (const bool zero : {true, false}) {
    QtTimer backend;
    window::GuardedTimer timer(backend);
    int ticks = 0;
    timer.handler = [&] { ++ticks; };
    timer.SetInterval(zero ? 0 : 1);
    timer.SetEnabled(zero);
    Spin(30, [] { return false; });
    EXPECT_EQ(ticks, 0) << (zero ? "interval 0" : "disabled");
  }
}

TEST(QtTimer, DisablingInsideTheHandlerStopsTheTicks) {
  QtTimer backend;
  window::GuardedTimer timer(backend);
  int ticks = 0;
  timer.handler = [&] {
    ++ticks;
    timer.SetEnabled(false);
  };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  Spin(40, [] { return false; });
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace kov::qt
