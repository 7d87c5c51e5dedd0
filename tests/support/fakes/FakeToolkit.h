#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PrintControl.h"
#include "fakes/FakeClock.h"
#include "window/GuardedTimer.h"
#include "window/Toolkit.h"

namespace kov::fakes {

// A toolkit's window in memory: the controls' texts, enabling and the focus
// as plain values, and every call in `log` in order, controls by name.
class FakeToolkit : public window::Toolkit {
 public:
  using Control = window::Control;

  std::string Text(Control control) const override {
    const auto it = texts.find(control);
    return it == texts.end() ? std::string() : it->second;
  }
  void SetText(Control control, std::string_view text) override {
    texts[control] = std::string(text);
  }
  void PaintNow(Control control) override { log.push_back("paint " + Name(control)); }
  void RequestPaint(window::Graph graph) override {
    log.push_back("request " + Name(window::ControlOf(graph)));
  }
  void SetEnabled(Control button, bool enabled) override {
    disabled[button] = !enabled;
    log.push_back(std::string(enabled ? "enable " : "disable ") + Name(button));
  }
  window::CheckState Check() const override { return check; }
  void SetCheck(window::CheckState state) override { check = state; }
  std::optional<Control> Focused() const override { return focus; }
  void Focus(std::optional<Control> control) override {
    focus = control;
    log.push_back("focus " + (control ? Name(*control) : std::string()));
  }
  void ShowMessage(std::string_view caption, std::string_view text) override {
    messages.push_back(std::string(caption) + "|" + std::string(text));
  }
  void ProcessPendingEvents() override {
    if (onProcessEvents) onProcessEvents();
  }
  void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) override {
    ++waits;
    if (onWait) onWait(socket, timeoutMs);
  }
  void Hide() override { log.push_back("hide"); }
  void Quit() override { log.push_back("quit"); }
  std::uint32_t InputClockMs() const override { return inputClock; }

  static std::string Name(Control control) { return window::RowOf(control).name; }

  std::map<Control, std::string> texts;
  std::map<Control, bool> disabled;
  window::CheckState check = window::CheckState::Clear;
  std::optional<Control> focus;
  std::vector<std::string> messages;
  std::vector<std::string> log;
  std::uint32_t inputClock = 100000;
  std::function<void()> onProcessEvents;
  std::function<void(platform::SocketHandle, std::int32_t)> onWait;
  int waits = 0;
};

// A toolkit's timer that records whether it is armed, and when it falls due
// on a clock when it has one.
class FakeTimerBackend : public window::TimerBackend {
 public:
  explicit FakeTimerBackend(FakeClock* clock = nullptr) : clock_(clock) {}
  void Arm(std::int32_t milliseconds) override {
    armed = milliseconds;
    if (clock_ != nullptr) due = clock_->now + milliseconds;
  }
  void Disarm() override {
    armed = 0;
    due = -1;
  }
  // A periodic tick: the next counts from this one.
  void Fire() {
    if (clock_ != nullptr) due = clock_->now + armed;
    ++fired;
    if (onFired) onFired();
  }
  std::int32_t armed = 0;  // the interval it is armed with; 0: disarmed
  std::int64_t due = -1;   // when it next falls due; -1: disarmed
  int fired = 0;

 private:
  FakeClock* clock_;
};

}  // namespace kov::fakes
