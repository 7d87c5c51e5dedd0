#pragma once

#include <cstdint>

namespace kov::ui {

// A window timer: while enabled it calls its handler every interval
// milliseconds on the window's thread. An interval of 0 never fires. Enabling
// it, or setting its interval, starts its count-down afresh. A tick runs only
// when no handler is running (or one lets pending events run).
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  virtual void SetInterval(std::int32_t milliseconds) = 0;
  virtual std::int32_t Interval() const = 0;
};

// The three timers of the window.
struct Timers {
  Timer& Timer1;  // download-pass timer
  Timer& Timer3;  // band-step timer
  Timer& Timer4;  // end-of-pass timer
};

}  // namespace kov::ui
