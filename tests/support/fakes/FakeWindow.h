#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Window.h"

namespace kov::fakes {

// The window's controls in memory. `log` keeps every change in order, so a
// test can check what happened before what.
class FakeWindow : public ui::Window {
 public:
  using Entry = ui::Entry;
  using Button = ui::Button;
  using Label = ui::Label;

  std::string EntryText(Entry entry) const override {
    auto it = entries.find(entry);
    return it == entries.end() ? std::string() : it->second;
  }
  void SetEntryText(Entry entry, std::string_view text) override {
    entries[entry] = std::string(text);
    log.push_back("entry " + std::to_string(static_cast<int>(entry)) + " " + std::string(text));
  }
  std::int16_t CheckValue() const override { return check; }
  void SetCheckValue(std::int16_t value) override {
    check = value;
    log.push_back("check " + std::to_string(value));
  }
  std::string StatusText() const override { return status; }
  void SetStatusText(std::string_view text) override {
    status = std::string(text);
    statusHistory.push_back(status);
    log.push_back("status " + status);
  }
  void SetButtonEnabled(Button button, bool enabled) override {
    buttons[button] = enabled;
    log.push_back(std::string(button == Button::CmdMesStart ? "CmdMesStart" : "CmdMesBreak") +
                  (enabled ? " on" : " off"));
  }
  void ShowMessage(std::string_view text) override {
    messages.emplace_back(text);
    log.push_back("message " + std::string(text));
  }
  void ProcessPendingEvents() override {
    ++processEventsCalls;
    if (onProcessEvents) onProcessEvents();
  }
  void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) override {
    ++waits;
    if (onWait) onWait(socket, timeoutMs);
  }
  bool Ended() const override { return ended; }
  void EndProgram() override {
    ended = true;
    log.push_back("end");
    if (onEnd) onEnd();
  }
  void SetLabelText(Label label, std::string_view text) override {
    labels[label] = std::string(text);
    labelHistory.emplace_back(label, std::string(text));
    log.push_back("label " + std::to_string(static_cast<int>(label) + 16) + " " +
                  std::string(text));
    if (onLabel) onLabel(label);
  }

  bool ButtonEnabled(Button button) const {
    auto it = buttons.find(button);
    return it != buttons.end() && it->second;
  }
  std::string LabelText(Label label) const {
    auto it = labels.find(label);
    return it == labels.end() ? std::string() : it->second;
  }

  std::map<Entry, std::string> entries;
  std::int16_t check = 0;
  std::string status;
  std::vector<std::string> statusHistory;
  std::map<Button, bool> buttons;
  std::vector<std::string> messages;
  std::map<Label, std::string> labels;
  std::vector<std::pair<Label, std::string>> labelHistory;
  std::vector<std::string> log;
  int processEventsCalls = 0;
  bool ended = false;
  std::function<void()> onProcessEvents;
  std::function<void()> onEnd;
  std::function<void(Label)> onLabel;
  // What a wait does: nothing by default (the loop polls at once again).
  std::function<void(platform::SocketHandle, std::int32_t)> onWait;
  int waits = 0;
};

}  // namespace kov::fakes
