#include "window/QtTimer.h"

namespace kov::window {

QtTimer::QtTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &QtTimer::Tick);
}

void QtTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Restart();
}

void QtTimer::SetInterval(std::int32_t milliseconds) {
  interval_ = milliseconds;
  Restart();
}

void QtTimer::Shutdown() {
  shutdown_ = true;
  timer_.stop();
}

void QtTimer::Restart() {
  if (enabled_ && interval_ > 0 && !shutdown_) {
    timer_.start(interval_);  // start() restarts a running timer
  } else {
    timer_.stop();
  }
}

void QtTimer::Tick() {
  if (running_ || shutdown_ || !enabled_ || interval_ <= 0) return;
  running_ = true;
  if (handler) handler();
  running_ = false;
}

}  // namespace kov::window
