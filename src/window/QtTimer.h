#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "link/Timer.h"

namespace kov::window {

// A window timer on QTimer. An interval of 0 never fires (a QTimer with
// interval 0 would fire on every pass of the event loop); enabling it or
// setting its interval starts the count-down afresh; a tick that comes while
// its own handler runs is dropped, and none comes once stopped for good.
class QtTimer : public QObject, public link::Timer {
  Q_OBJECT

 public:
  explicit QtTimer(QObject* parent = nullptr);

  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return enabled_; }
  void SetInterval(std::int32_t milliseconds) override;
  std::int32_t Interval() const override { return interval_; }

  // Ends the timer for good (the program has ended).
  void Shutdown();

  std::function<void()> handler;

 private:
  void Restart();
  void Tick();

  QTimer timer_;
  bool enabled_ = false;
  bool running_ = false;
  bool shutdown_ = false;
  std::int32_t interval_ = 0;
};

}  // namespace kov::window
