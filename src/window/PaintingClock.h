#pragma once

#include <functional>
#include <utility>

#include "platform/Clock.h"

namespace kov::window {

// The handlers' clock as the window sees it: before the window's thread
// blocks in a wait, what the handler has drawn so far is put on the screen,
// so that the operator sees the state the wait belongs to.
class PaintingClock : public platform::Clock {
 public:
  PaintingClock(platform::Clock& clock, std::function<void()> paint)
      : clock_(clock), paint_(std::move(paint)) {}

  void Sleep(std::int32_t milliseconds) override {
    paint_();
    clock_.Sleep(milliseconds);
  }
  std::int64_t MonotonicMs() override { return clock_.MonotonicMs(); }
  std::string TimeOfDayText() override { return clock_.TimeOfDayText(); }
  platform::WallTime Now() override { return clock_.Now(); }

 private:
  platform::Clock& clock_;
  std::function<void()> paint_;
};

}  // namespace kov::window
