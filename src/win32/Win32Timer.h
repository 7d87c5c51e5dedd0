#pragma once

#include <windows.h>

#include "window/GuardedTimer.h"

namespace kov::win32 {

// A window timer's ticks from SetTimer: WM_TIMER with its id on the form.
class Win32Timer : public window::TimerBackend {
 public:
  explicit Win32Timer(UINT_PTR id) : id_(id) {}

  void Attach(HWND window) { window_ = window; }
  UINT_PTR Id() const { return id_; }
  // SetTimer with the same id replaces the timer and restarts its count-down.
  void Arm(std::int32_t milliseconds) override {
    SetTimer(window_, id_, static_cast<UINT>(milliseconds), nullptr);
  }
  void Disarm() override { KillTimer(window_, id_); }

 private:
  UINT_PTR id_;
  HWND window_ = nullptr;
};

}  // namespace kov::win32
