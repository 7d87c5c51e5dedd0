#include "window/Form.h"

#include <utility>

#include "ui/ProgramEnded.h"

namespace kov::window {

Form::Form(FormWorld world)
    : world_(std::move(world)),
      settings_(world_.outside.profileFiles, world_.outside.programFolder),
      link_(state_, {.sockets = world_.outside.sockets,
                     .clock = world_.outside.clock,
                     .fields = world_.window,
                     .messages = world_.window,
                     .buttons = world_.window,
                     .loop = world_.window,
                     .timers = world_.timers,
                     .settings = settings_}),
      measurement_({.state = state_,
                    .link = link_,
                    .fields = world_.window,
                    .messages = world_.window,
                    .buttons = world_.window,
                    .labels = world_.window,
                    .timers = world_.timers,
                    .display = world_.display,
                    .clock = world_.outside.clock,
                    .files = world_.outside.textFiles,
                    .waveformPath = world_.outside.waveformPath}) {}

// Every entry point: nothing runs once the program has ended, and an end
// reached inside a handler unwinds it without running the rest.
template <typename Handler>
void Form::Run(Handler&& handler) {
  if (world_.window.Ended()) return;
  try {
    handler();
  } catch (const ui::ProgramEnded&) {
    // The end unwinds the handler; nothing of it runs afterwards.
  }
}

void Form::Form_Load() {
  Run([this] {
    settings_.ReadCommunication(world_.window);
    state_.BandWidthMHz = 10;
    settings_.ReadMeasurement(world_.window);
    state_.SendStr.clear();
    state_.RecvStr.clear();
    state_.SlashCount = 0;
    world_.window.SetStatusText("");
    state_.BandCount = 1;
    state_.BreakFlag = 0;
    link_.SocketsInitialize();
    state_.ConnectFlag = 0;
    world_.timers.Timer1.SetEnabled(false);
    world_.timers.Timer3.SetEnabled(false);
    world_.timers.Timer3.SetInterval(1);
    world_.timers.Timer4.SetEnabled(false);
    world_.timers.Timer4.SetInterval(1);
    world_.window.SetButtonEnabled(ui::Button::CmdMesBreak, false);
  });
}

void Form::CmdMesStart_Click() {
  Run([this] { measurement_.CmdMesStart_Click(); });
}

void Form::CmdMesBreak_Click() {
  Run([this] { measurement_.CmdMesBreak_Click(); });
}

void Form::CmdExit_Click() {
  Run([this] { link_.CmdExit_Click(); });
}

void Form::BtnSaveMespara_Click() {
  Run([this] { settings_.BtnSaveMespara_Click(world_.window); });
}

void Form::Timer1_Timer() {
  Run([this] {
    timer1Interval_ = world_.window.EntryText(ui::Entry::TxtInterval);
    measurement_.Timer1_Timer();
  });
}

bool Form::Timer1TickIdle() const {
  return !world_.window.Ended() && state_.DownloadFlag == 1 &&
         world_.window.EntryText(ui::Entry::TxtInterval) == timer1Interval_;
}

void Form::Timer3_Timer() {
  Run([this] { measurement_.Timer3_Timer(); });
}

void Form::Timer4_Timer() {
  Run([this] { measurement_.Timer4_Timer(); });
}

void Form::WindowClosed() {
  // No handler runs for a close through the frame: nothing is sent and the
  // socket is left to the system. A receive loop that let this event run
  // sees the end and unwinds.
  if (!world_.window.Ended()) world_.window.EndProgram();
}

}  // namespace kov::window
