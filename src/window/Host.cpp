#include "window/Host.h"

#include <utility>
#include <variant>

#include "window/InputRules.h"
#include "window/TabOrder.h"

namespace kov::window {
namespace {

std::size_t Index(Graph graph) { return static_cast<std::size_t>(graph); }
std::size_t Index(Control control) { return static_cast<std::size_t>(control); }

}  // namespace

Host::Host(Toolkit& toolkit, HostWorld world, HostParts parts, MessageHook showMessage)
    : toolkit_(toolkit),
      showMessage_(std::move(showMessage)),
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
  parts.xportData.onChanged = [this] { GraphChanged(Graph::Spectrum); };
  parts.xportWF.onChanged = [this] { GraphChanged(Graph::Waterfall); };
}

bool Host::Load() {
  form_->Form_Load();
  if (!ended_) toolkit_.Focus(kFirstFocus);
  return !ended_;
}

GuardedTimer& Host::Timer(int number) {
  return number == 1 ? timer1_ : number == 3 ? timer3_ : timer4_;
}

template <typename Handler>
void Host::Handle(Handler&& handler) {
  timer1_.LoopBusy();
  handler();
  timer1_.LoopFree();
}

InputAnswer Host::Input(const InputEvent& event) {
  using Kind = InputEvent::Kind;
  using Key = InputEvent::Key;
  if (event.kind == Kind::Press) {
    if (event.control) Press(*event.control);
    return InputAnswer::Handled;
  }
  // Input the operator made while the control was disabled (during a
  // blocking wait) is dropped, also now that it is enabled.
  if (event.control && !gate_.Accepts(*event.control, event.madeAt, toolkit_.InputClockMs())) {
    return InputAnswer::Drop;
  }
  // Keys with Alt are the system's.
  if (event.alt) return InputAnswer::Pass;
  if (event.kind == Kind::KeyDown) return KeyDown(event);
  // No character for Enter or Esc reaches an entry box (its beep).
  if (event.kind == Kind::Character && (event.key == Key::Return || event.key == Key::Escape)) {
    return InputAnswer::Drop;
  }
  return InputAnswer::Pass;
}

InputAnswer Host::KeyDown(const InputEvent& event) {
  switch (event.key) {
    case InputEvent::Key::Return:
      // The gate has let through no key to a disabled button.
      if (event.control && RowOf(*event.control).kind == Kind::Button) Press(*event.control);
      return InputAnswer::Handled;
    case InputEvent::Key::Escape:
      return InputAnswer::Drop;
    case InputEvent::Key::Tab:
      return TabFromParked(!event.shift) ? InputAnswer::Handled : InputAnswer::Pass;
    default:
      return InputAnswer::Pass;
  }
}

void Host::Press(Control control) {
  if (RowOf(control).kind == Kind::Check) toolkit_.SetCheck(NextCheckState(toolkit_.Check()));
  if (const auto* button = std::get_if<ui::Button>(&RowOf(control).role)) Click(*button);
}

void Host::Click(ui::Button button) {
  Handle([this, button] {
    switch (button) {
      case ui::Button::CmdMesStart:
        return form_->CmdMesStart_Click();
      case ui::Button::CmdMesBreak:
        return form_->CmdMesBreak_Click();
      case ui::Button::CmdExit:
        return form_->CmdExit_Click();
      case ui::Button::BtnSaveMespara:
        return form_->BtnSaveMespara_Click();
    }
  });
}

bool Host::TabFromParked(bool forward) {
  if (!parked_ || toolkit_.Focused()) return false;
  const Control from = *parked_;
  parked_.reset();
  toolkit_.Focus(NextTabStop(kTabOrder, from, forward,
                             [this](Control control) { return TakesFocusNow(control); }));
  return true;
}

bool Host::TakesFocusNow(Control control) const {
  return TakesFocus(RowOf(control).kind) && !disabled_[Index(control)];
}

void Host::Closed() {
  if (!ended_) form_->WindowClosed();
}

void Host::GraphChanged(Graph graph) {
  // A pass changes a graph tens of thousands of times: paint it once, when
  // the window next handles its events (or before a wait).
  if (paintPending_[Index(graph)]) return;
  paintPending_[Index(graph)] = true;
  toolkit_.RequestPaint(graph);
}

void Host::GraphPainted(Graph graph) { paintPending_[Index(graph)] = false; }

void Host::PaintGraphsNow() {
  if (ended_) return;
  for (const Graph graph : {Graph::Spectrum, Graph::Waterfall}) {
    if (paintPending_[Index(graph)]) toolkit_.PaintNow(ControlOf(graph));
  }
}

std::string Host::EntryText(ui::Entry entry) const { return toolkit_.Text(ControlOf(entry)); }

void Host::SetEntryText(ui::Entry entry, std::string_view text) {
  toolkit_.SetText(ControlOf(entry), text);
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

std::string Host::StatusText() const { return toolkit_.Text(Control::Text1); }

void Host::SetStatusText(std::string_view text) {
  toolkit_.SetText(Control::Text1, text);
  // At once: a blocking wait often follows, and the text announces it.
  toolkit_.PaintNow(Control::Text1);
}

void Host::SetLabelText(ui::Label label, std::string_view text) {
  toolkit_.SetText(ControlOf(label), text);
  toolkit_.PaintNow(ControlOf(label));
}

void Host::SetButtonEnabled(ui::Button button, bool enabled) {
  const Control control = ControlOf(button);
  // The focus stays with a button that is disabled under it, as the operator
  // left it, instead of moving on to the next button (終了, say), where one
  // more Enter would end the program.
  if (!enabled && toolkit_.Focused() == control) {
    parked_ = control;
    toolkit_.Focus(std::nullopt);
  }
  toolkit_.SetEnabled(control, enabled);
  disabled_[Index(control)] = !enabled;
  gate_.SetEnabled(control, enabled, toolkit_.InputClockMs());
  if (enabled && parked_ == control) {
    parked_.reset();
    if (!toolkit_.Focused()) toolkit_.Focus(control);
  }
}

void Host::ShowMessage(std::string_view text) {
  if (showMessage_) return showMessage_(kMessageCaption, text);
  toolkit_.ShowMessage(kMessageCaption, text);
}

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
