#pragma once

#include <cstdint>
#include <string_view>

#include "link/LinkState.h"
#include "platform/Clock.h"
#include "platform/Sockets.h"
#include "settings/Settings.h"
#include "ui/Timer.h"
#include "ui/Window.h"

namespace kov::link {

// How the collection of a reply to "GD" ended.
enum class ReplyOutcome {
  kComplete,        // both markers arrived
  kSubstitute,      // no reply in time: RecvStr holds the substitute reply
  kConnectionLost,  // the peer closed the connection or it broke
};

// What the link acts on besides its fields of the state record: the outside
// world, the parts of the window it uses, and the settings file.
struct LinkParts {
  platform::Sockets& sockets;
  platform::Clock& clock;
  const ui::Fields& fields;  // the device server's address
  ui::Messages& messages;
  ui::Buttons& buttons;
  ui::EventLoop& loop;
  ui::Timers timers;
  settings::Settings& settings;
};

// The device-server connection and the instrument command protocol, acting on
// the link's fields of the state record.
class Link {
 public:
  Link(LinkState& state, LinkParts parts);

  // Connection.
  void SocketsInitialize();
  void XportConnect();
  void XportSend(std::string_view command);
  void XportDisconnect();
  [[noreturn]] void FatalExit();
  void CmdExit_Click();
  // Ends the program at once: closes the window and unwinds the running
  // handler (throws ui::ProgramEnded).
  [[noreturn]] void EndProgram();
  // Tells the operator why the program ends (in the status line, the message
  // box or both, in this order), and ends it: at once, or as FatalExit does.
  enum class Tell { Status, BoxThenStatus, StatusThenBox };
  enum class End { Now, AfterDisconnect };
  [[noreturn]] void Fail(std::string_view message, Tell tell, End end);

  // Command protocol.
  void XportRecv();
  // False when the receive after the command finds the connection lost.
  [[nodiscard]] bool SendCF(double frequencyMHz, std::string_view message);
  void SendGD();
  ReplyOutcome RecvGDReply();
  // Gives back the memory of the reply once its band is stored.
  void ReleaseReply();

  LinkState& State() { return state_; }

 private:
  bool RecvLost() const;
  bool TakeChunk();
  void RepeatGD();

  LinkState& state_;
  platform::Sockets& sockets_;
  platform::Clock& clock_;
  const ui::Fields& fields_;
  ui::Messages& messages_;
  ui::Buttons& buttons_;
  ui::EventLoop& loop_;
  ui::Timers timers_;
  settings::Settings& settings_;
};

}  // namespace kov::link
