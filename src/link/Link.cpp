#include "link/Link.h"

#include <algorithm>

#include "link/Protocol.h"
#include "ui/ProgramEnded.h"

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

Link::Link(LinkState& state, LinkParts parts)
    : state_(state),
      sockets_(parts.sockets),
      clock_(parts.clock),
      fields_(parts.fields),
      messages_(parts.messages),
      buttons_(parts.buttons),
      loop_(parts.loop),
      timers_(parts.timers),
      settings_(parts.settings) {}

void Link::SocketsInitialize() {
  if (sockets_.Startup(kWinsockVersion) != 0) Fail(kMsgWinsock, Tell::StatusThenBox, End::Now);
}

void Link::XportConnect() {
  state_.XportSock = sockets_.Socket(kAfInet, kSockStream, 0);
  if (state_.XportSock == platform::kInvalidSocket) Fail(kMsgSocket, Tell::BoxThenStatus, End::Now);

  const std::string ipText = fields_.EntryText(ui::Entry::TxtXportIP);
  state_.XportIpAddr = sockets_.InetAddr(ipText);
  // The start command has refused a port beyond 32 bits before this point.
  const std::uint16_t port = PortFromText(fields_.EntryText(ui::Entry::TxtXportPort)).value_or(0);
  state_.XportAddr = BuildXportAddr(state_.XportIpAddr, port);
  state_.ConnectFlag = 1;

  state_.SockRet = sockets_.Connect(state_.XportSock, state_.XportAddr);
  if (state_.SockRet == platform::kSocketError) {
    Fail(kMsgConnect, Tell::BoxThenStatus, End::AfterDisconnect);
  }

  state_.SockRet = sockets_.SetNonBlocking(state_.XportSock);
  if (state_.SockRet == platform::kSocketError) {
    Fail(kMsgNonBlocking, Tell::BoxThenStatus, End::AfterDisconnect);
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
  buttons_.SetButtonEnabled(ui::Button::CmdMesStart, true);
  buttons_.SetButtonEnabled(ui::Button::CmdMesBreak, false);
}

void Link::FatalExit() {
  XportDisconnect();
  EndProgram();
}

void Link::CmdExit_Click() {
  if (state_.ConnectFlag == 1) XportDisconnect();
  EndProgram();
}

void Link::Fail(std::string_view message, Tell tell, End end) {
  state_.ErrMsg = std::string(message);
  if (tell == Tell::BoxThenStatus) messages_.ShowMessage(state_.ErrMsg);
  messages_.SetStatusText(state_.ErrMsg);
  if (tell == Tell::StatusThenBox) messages_.ShowMessage(state_.ErrMsg);
  if (end == End::AfterDisconnect) FatalExit();
  EndProgram();
}

void Link::EndProgram() {
  loop_.EndProgram();
  throw ui::ProgramEnded{};
}

void Link::XportRecv() {
  state_.RecvBuf.assign(static_cast<std::size_t>(kRecvBufSize), ' ');
  state_.SockRet = sockets_.Recv(state_.XportSock, state_.RecvBuf.data(), kRecvBufSize);
}

bool Link::SendCF(double frequencyMHz, std::string_view message) {
  XportSend(CFCommand(frequencyMHz));
  if (state_.SockRet == platform::kSocketError) Fail(message, Tell::Status, End::AfterDisconnect);
  XportRecv();
  return !RecvLost();
}

bool Link::RecvLost() const {
  // 0 is the peer's close; -1 is either "nothing yet" or a broken connection.
  return state_.SockRet == 0 ||
         (state_.SockRet < 0 &&
          sockets_.LastRecvFailure() == platform::RecvFailure::kConnectionFailed);
}

void Link::SendGD() {
  // Whatever is waiting on the socket now came before this "GD" (an answer
  // to "CF", the tail of an earlier reply): it would be taken for the start
  // of the reply and cost the band its levels, so it is read off first.
  char scrap[1024];
  for (int i = 0; i < 64 && sockets_.Recv(state_.XportSock, scrap, sizeof scrap) > 0; ++i) {
  }
  XportSend(kCmdGD);
  if (state_.SockRet == platform::kSocketError)
    Fail(kMsgSendGD, Tell::Status, End::AfterDisconnect);
}

ReplyOutcome Link::RecvGDReply() {
  state_.RecvStr.clear();
  state_.SlashCount = 0;
  std::int16_t failedPolls = 0;
  std::int16_t repeats = 0;
  std::int64_t phaseStart = clock_.MonotonicMs();

  for (;;) {
    loop_.ProcessPendingEvents();
    // The exit button or a close of the window may have run just now: the
    // band step must not go on, nor touch the socket again.
    if (loop_.Ended()) throw ui::ProgramEnded{};
    XportRecv();
    if (RecvLost()) return ReplyOutcome::kConnectionLost;
    if (state_.SockRet > 0 && TakeChunk()) return ReplyOutcome::kComplete;
    if (state_.SockRet < 0) ++failedPolls;

    // A peer that keeps sending without the closing marker never fails a
    // poll: the time since "GD" ends its wait as the failed polls would.
    if (failedPolls > kFailedPollLimit || clock_.MonotonicMs() - phaseStart >= kReplyTimeOutMs) {
      if (repeats > 0) {
        state_.RecvStr = SubstituteReply();
        return ReplyOutcome::kSubstitute;
      }
      RepeatGD();
      failedPolls = 0;
      ++repeats;
      phaseStart = clock_.MonotonicMs();
      continue;
    }
    // A failed poll waits for data or the window's input, at most until the
    // time-out: the loop keeps no processor busy, and input is handled at once.
    if (state_.SockRet < 0) {
      const std::int64_t left = kReplyTimeOutMs - (clock_.MonotonicMs() - phaseStart);
      loop_.WaitForEvents(state_.XportSock,
                          static_cast<std::int32_t>(std::max<std::int64_t>(left, 1)));
    }
  }
}

bool Link::TakeChunk() {
  const std::string_view chunk(state_.RecvBuf);
  const auto received = static_cast<std::size_t>(state_.SockRet);
  if (state_.RecvStr.size() < kMaxReplyBytes) {
    state_.RecvStr.append(
        chunk.substr(0, std::min(received, kMaxReplyBytes - state_.RecvStr.size())));
  }
  const std::size_t first = chunk.find('/');
  if (first == std::string_view::npos) return false;
  if (state_.SlashCount == 0) {
    state_.SlashCount = 1;
    if (chunk.find('/', first + 1) == std::string_view::npos) return false;
  }
  state_.SlashCount = 2;
  return true;
}

void Link::RepeatGD() {
  // Sent as XportSend would, but its result is kept apart and never tested.
  state_.SendStr = CommandBytes(kCmdGD);
  state_.ResendRet = sockets_.Send(state_.XportSock, state_.SendStr.data(),
                                   static_cast<std::int32_t>(state_.SendStr.size()));
  clock_.Sleep(10);
}

void Link::ReleaseReply() { std::string().swap(state_.RecvStr); }

}  // namespace kov::link
