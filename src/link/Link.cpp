#include "link/Link.h"

#include "link/ProgramEnded.h"
#include "link/Protocol.h"

namespace kov::link {
namespace {

constexpr std::uint16_t kWinsockVersion = 0x0202;
constexpr int kAfInet = 2;
constexpr int kSockStream = 1;

constexpr const char* kMsgWinsock = "Winsock.dll is not responding.";
constexpr const char* kMsgSocket = "ソケット生成エラー";
constexpr const char* kMsgConnect = "ソケットCONNECTエラー";
constexpr const char* kMsgNonBlocking = "ソケット非ブロッキング・エラー";
constexpr const char* kMsgSendGD = "Send GD エラー";

}  // namespace

Link::Link(LinkState& state, platform::Sockets& sockets, platform::Clock& clock,
           WindowControls& controls, Timers timers, settings::Settings& settings)
    : state_(state),
      sockets_(sockets),
      clock_(clock),
      controls_(controls),
      timers_(timers),
      settings_(settings) {}

void Link::SocketsInitialize() {
  if (sockets_.Startup(kWinsockVersion) != 0) {
    state_.ErrMsg = kMsgWinsock;
    controls_.SetStatusText(state_.ErrMsg);
    controls_.ShowMessage(state_.ErrMsg);
    EndProgram();
  }
}

void Link::XportConnect() {
  state_.XportSock = sockets_.Socket(kAfInet, kSockStream, 0);
  if (state_.XportSock == platform::kInvalidSocket) {
    state_.ErrMsg = kMsgSocket;
    controls_.ShowMessage(state_.ErrMsg);
    controls_.SetStatusText(state_.ErrMsg);
    EndProgram();
  }

  const std::string ipText = controls_.EntryText(settings::Entry::TxtXportIP);
  state_.XportIpAddr = sockets_.InetAddr(ipText);
  // The start command has refused a port beyond 32 bits before this point.
  const std::uint16_t port =
      PortFromText(controls_.EntryText(settings::Entry::TxtXportPort)).value_or(0);
  state_.XportAddr = BuildXportAddr(state_.XportIpAddr, port);
  state_.ConnectFlag = 1;

  state_.SockRet = sockets_.Connect(state_.XportSock, state_.XportAddr);
  if (state_.SockRet == platform::kSocketError) {
    state_.ErrMsg = kMsgConnect;
    controls_.ShowMessage(state_.ErrMsg);
    controls_.SetStatusText(state_.ErrMsg);
    FatalExit();
  }

  state_.SockRet = sockets_.SetNonBlocking(state_.XportSock);
  if (state_.SockRet == platform::kSocketError) {
    state_.ErrMsg = kMsgNonBlocking;
    controls_.ShowMessage(state_.ErrMsg);
    controls_.SetStatusText(state_.ErrMsg);
    FatalExit();
  }

  state_.NoDelayOpt = 1;
  state_.SockRet = sockets_.SetNoDelay(state_.XportSock, state_.NoDelayOpt);
  settings_.StoreXportIP(ipText);
}

void Link::XportSend(std::string_view command) {
  state_.SendStr = CommandBytes(command);
  state_.SockRet = sockets_.Send(state_.XportSock, state_.SendStr.data(),
                                 static_cast<std::int32_t>(state_.SendStr.size()));
}

void Link::XportDisconnect() {
  timers_.Timer1.SetEnabled(false);
  timers_.Timer3.SetEnabled(false);
  XportSend(kCmdEX);
  sockets_.Close(state_.XportSock);
  state_.ConnectFlag = 0;
  controls_.SetButtonEnabled(Button::CmdMesStart, true);
  controls_.SetButtonEnabled(Button::CmdMesBreak, false);
}

void Link::FatalExit() {
  XportDisconnect();
  EndProgram();
}

void Link::CmdExit_Click() {
  if (state_.ConnectFlag == 1) XportDisconnect();
  EndProgram();
}

void Link::EndProgram() {
  state_.Ended = true;
  controls_.EndProgram();
  throw ProgramEnded{};
}

void Link::XportRecv() {
  state_.RecvBuf.assign(static_cast<std::size_t>(kRecvBufSize), ' ');
  state_.SockRet = sockets_.Recv(state_.XportSock, state_.RecvBuf.data(), kRecvBufSize);
}

void Link::SendCF(double frequencyMHz, std::string_view message) {
  XportSend(CFCommand(frequencyMHz));
  if (state_.SockRet == platform::kSocketError) {
    state_.ErrMsg = std::string(message);
    controls_.SetStatusText(state_.ErrMsg);
    FatalExit();
  }
  XportRecv();
}

void Link::SendGD() {
  // Whatever is waiting on the socket now came before this "GD" (an answer
  // to "CF", the tail of an earlier reply): it would be taken for the start
  // of the reply and cost the band its levels, so it is read off first.
  char scrap[1024];
  for (int i = 0; i < 64 && sockets_.Recv(state_.XportSock, scrap, sizeof scrap) > 0; ++i) {
  }
  XportSend(kCmdGD);
  if (state_.SockRet == platform::kSocketError) {
    state_.ErrMsg = kMsgSendGD;
    controls_.SetStatusText(state_.ErrMsg);
    FatalExit();
  }
}

void Link::RecvGDReply() {
  state_.RecvStr.clear();
  state_.SlashCount = 0;
  std::int16_t failedPolls = 0;
  std::int16_t repeats = 0;

  for (;;) {
    controls_.ProcessPendingEvents();
    // The exit button or a close of the window may have run just now: the
    // band step must not go on, nor touch the socket again.
    if (state_.Ended) throw ProgramEnded{};
    XportRecv();

    // No data, or the peer has closed: a failed poll. Each waits up to 1 ms
    // for data, so the two limits mean about 5 s each on any machine and the
    // loop does not keep a processor busy.
    if (state_.SockRet <= 0) {
      ++failedPolls;
      if (failedPolls > kFailedPollLimit) {
        if (repeats == 0) {
          state_.SendStr = CommandBytes(kCmdGD);
          state_.ResendRet = sockets_.Send(state_.XportSock, state_.SendStr.data(),
                                           static_cast<std::int32_t>(state_.SendStr.size()));
          failedPolls = 0;
          ++repeats;
          clock_.Sleep(10);
          continue;
        }
        state_.RecvStr = SubstituteReply();
        return;
      }
      sockets_.WaitReadable(state_.XportSock, 1);
      continue;
    }

    const std::string_view chunk(state_.RecvBuf);
    state_.RecvStr.append(chunk.substr(0, static_cast<std::size_t>(state_.SockRet)));

    const std::size_t first = chunk.find('/');
    if (state_.SlashCount == 0) {
      if (first == std::string_view::npos) continue;
      state_.SlashCount = 1;
      if (chunk.find('/', first + 1) != std::string_view::npos) {
        state_.SlashCount = 2;
        return;
      }
    } else if (first != std::string_view::npos) {
      state_.SlashCount = 2;
      return;
    }
  }
}

}  // namespace kov::link
