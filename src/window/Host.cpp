#include "window/Host.h"

#include <utility>

#include "window/InputRules.h"
#include "window/Layout.h"
#include "window/TabOrder.h"

namespace kov::window {

Host::Host(Toolkit& toolkit, HostWorld world, HostParts parts)
    : toolkit_(toolkit),
      timer1_(parts.timer1, &world.clock),
      timer3_(parts.timer3),
      timer4_(parts.timer4),
      clock_(world.clock, [this] { PaintGraphsNow(); }),
      display_(parts.xportData, parts.xportWF, *this, *this) {
  // The handlers wait on the clock that paints first.
  HostWorld outside{world.sockets,
                    clock_,
                    world.textFiles,
                    world.profileFiles,
                    std::move(world.programFolder),
                    std::move(world.waveformPath)};
  form_ = std::make_unique<Form>(
      FormWorld{*this, ui::Timers{timer1_, timer3_, timer4_}, display_, std::move(outside)});
  timer1_.handler = [this] { Handle([this] { form_->Timer1_Timer(); }); };
  timer3_.handler = [this] { Handle([this] { form_->Timer3_Timer(); }); };
  timer4_.handler = [this] { Handle([this] { form_->Timer4_Timer(); }); };
  // During a pass, Timer1 only re-arms itself: its ticks need not wake the
  // window, nor the wait for the instrument's reply.
  timer1_.idle = [this] { return form_->Timer1TickIdle(); };
  parts.xportData.onChanged = [this] { GraphChanged(kSpectrumGraph, dataPaintPending_); };
  parts.xportWF.onChanged = [this] { GraphChanged(kWaterfallGraph, wfPaintPending_); };
  for (const ControlSpec& c : kControls) {
    if (c.kind == Kind::Button) enabled_[c.name] = true;
  }
}

bool Host::Load() {
  form_->Form_Load();
  if (!ended_) toolkit_.Focus(kFirstFocus);
  return !ended_;
}

GuardedTimer& Host::Timer(int number) {
  return number == 1 ? timer1_ : number == 3 ? timer3_ : timer4_;
}

void Host::Clicked(std::string_view button) {
  Handle([this, button] {
    if (button == "CmdMesStart") form_->CmdMesStart_Click();
    if (button == "CmdMesBreak") form_->CmdMesBreak_Click();
    if (button == "CmdExit") form_->CmdExit_Click();
    if (button == "BtnSaveMespara") form_->BtnSaveMespara_Click();
  });
}

template <typename Handler>
void Host::Handle(Handler&& handler) {
  timer1_.LoopBusy();
  handler();
  timer1_.LoopFree();
}

bool Host::Accepts(std::string_view control, std::uint32_t madeAt) const {
  return gate_.Accepts(control, madeAt, toolkit_.InputClockMs());
}

bool Host::EnterPresses(std::string_view focused) const {
  const ControlSpec* design = FindControl(focused);
  return design != nullptr && design->kind == Kind::Button && Enabled(focused);
}

bool Host::Tab(bool forward) {
  if (!parked_ || !toolkit_.Focused().empty()) return false;
  const std::string from = *parked_;
  parked_.reset();
  toolkit_.Focus(NextTabStop(kTabOrder, from, forward, [this](std::string_view name) {
    const ControlSpec* design = FindControl(name);
    return design != nullptr && TakesFocus(design->kind) && Enabled(name);
  }));
  return true;
}

void Host::Closed() {
  if (!ended_) form_->WindowClosed();
}

void Host::GraphChanged(const char* graph, bool& pending) {
  // A pass changes a graph tens of thousands of times: paint it once, when
  // the window next handles its events (or before a wait).
  if (pending) return;
  pending = true;
  toolkit_.RequestPaint(graph);
}

void Host::GraphPainted(std::string_view graph) {
  (graph == kSpectrumGraph ? dataPaintPending_ : wfPaintPending_) = false;
}

void Host::PaintGraphsNow() {
  if (ended_) return;
  if (dataPaintPending_) toolkit_.PaintNow(kSpectrumGraph);
  if (wfPaintPending_) toolkit_.PaintNow(kWaterfallGraph);
}

bool Host::Enabled(std::string_view control) const {
  const auto it = enabled_.find(control);
  return it == enabled_.end() || it->second;
}

std::string Host::EntryText(ui::Entry entry) const { return toolkit_.Text(ControlName(entry)); }

void Host::SetEntryText(ui::Entry entry, std::string_view text) {
  toolkit_.SetText(ControlName(entry), text);
}

std::int16_t Host::CheckValue() const {
  switch (toolkit_.Check()) {
    case CheckState::Checked:
      return 1;
    case CheckState::Third:
      return 2;
    default:
      return 0;
  }
}

void Host::SetCheckValue(std::int16_t value) {
  toolkit_.SetCheck(value == 2   ? CheckState::Third
                    : value == 1 ? CheckState::Checked
                                 : CheckState::Clear);
}

std::string Host::StatusText() const { return toolkit_.Text(kStatusLine); }

void Host::SetStatusText(std::string_view text) {
  toolkit_.SetText(kStatusLine, text);
  // At once: a blocking wait often follows, and the text announces it.
  toolkit_.PaintNow(kStatusLine);
}

void Host::SetLabelText(ui::Label label, std::string_view text) {
  toolkit_.SetText(ControlName(label), text);
  toolkit_.PaintNow(ControlName(label));
}

void Host::SetButtonEnabled(ui::Button button, bool enabled) {
  const std::string name = ControlName(button);
  // The focus stays with a button that is disabled under it, as the operator
  // left it, instead of moving on to the next button (終了, say), where one
  // more Enter would end the program.
  if (!enabled && toolkit_.Focused() == name) {
    parked_ = name;
    toolkit_.Focus("");
  }
  toolkit_.SetEnabled(name, enabled);
  enabled_[name] = enabled;
  gate_.SetEnabled(name, enabled, toolkit_.InputClockMs());
  if (enabled && parked_ == name) {
    parked_.reset();
    if (toolkit_.Focused().empty()) toolkit_.Focus(name);
  }
}

void Host::ShowMessage(std::string_view text) { toolkit_.ShowMessage(kMessageCaption, text); }

void Host::ProcessPendingEvents() {
  timer1_.LoopFree();
  toolkit_.ProcessPendingEvents();
  timer1_.LoopBusy();
}

void Host::WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) {
  timer1_.LoopFree();
  toolkit_.WaitForEvents(socket, timeoutMs);
  timer1_.LoopBusy();
}

void Host::EndProgram() {
  if (ended_) return;
  ended_ = true;
  timer1_.End();
  timer3_.End();
  timer4_.End();
  toolkit_.Hide();
  toolkit_.Quit();
}

}  // namespace kov::window
