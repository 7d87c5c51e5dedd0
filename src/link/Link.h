#pragma once

#include <cstdint>
#include <string_view>

#include "link/LinkState.h"
#include "link/Timer.h"
#include "link/WindowControls.h"
#include "platform/Clock.h"
#include "platform/Sockets.h"
#include "settings/Settings.h"

namespace kov::link {

// The device-server connection and the instrument command protocol, acting on
// the link's fields of the state record.
class Link {
 public:
  Link(LinkState& state, platform::Sockets& sockets, platform::Clock& clock,
       WindowControls& controls, Timers timers, settings::Settings& settings);

  // Connection.
  void SocketsInitialize();
  void XportConnect();
  void XportSend(std::string_view command);
  void XportDisconnect();
  [[noreturn]] void FatalExit();
  void CmdExit_Click();
  // Ends the program at once: marks it ended, closes the window and unwinds
  // the running handler (throws ProgramEnded).
  [[noreturn]] void EndProgram();

  // Command protocol.
  void XportRecv();
  void SendCF(double frequencyMHz, std::string_view message);
  void SendGD();
  void RecvGDReply();

  LinkState& State() { return state_; }

 private:
  LinkState& state_;
  platform::Sockets& sockets_;
  platform::Clock& clock_;
  WindowControls& controls_;
  Timers timers_;
  settings::Settings& settings_;
};

}  // namespace kov::link
