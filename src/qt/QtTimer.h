#pragma once

#include <QObject>
#include <QTimer>

#include "window/GuardedTimer.h"

namespace kov::qt {

// A window timer's ticks from QTimer.
class QtTimer : public QObject, public window::TimerBackend {
  Q_OBJECT

 public:
  explicit QtTimer(QObject* parent = nullptr);

  void Arm(std::int32_t milliseconds) override;
  void Disarm() override;

 private:
  QTimer timer_;
};

}  // namespace kov::qt
