#include "qt/QtTimer.h"

namespace kov::qt {

QtTimer::QtTimer(QObject* parent) : QObject(parent) {
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (onFired) onFired();
  });
}

void QtTimer::Arm(std::int32_t milliseconds) { timer_.start(milliseconds); }

void QtTimer::Disarm() { timer_.stop(); }

}  // namespace kov::qt
