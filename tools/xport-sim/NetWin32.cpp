#include <winsock2.h>
#include <ws2tcpip.h>

#include <string>

#include "Net.h"
#include "StopSignal.h"
#include "platform/Utf16.h"

namespace kov::sim::net {
namespace {

std::string LastError() {
  const int code = ::WSAGetLastError();
  // In UTF-16: the text is UTF-8 from here on, in whatever language the
  // system speaks.
  wchar_t text[256] = {};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code), 0, text, 256, nullptr);
  std::string message = platform::FromUtf16(std::wstring_view(text, length));
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                              message.back() == ' ' || message.back() == '.')) {
    message.pop_back();
  }
  // Wine, for one, has no text for these codes.
  if (message.empty() && code == WSAEADDRINUSE) message = "Address already in use";
  if (message.empty()) message = "Winsock error";
  return message + " (" + std::to_string(code) + ")";
}

bool SetNonBlocking(SOCKET socket) {
  u_long on = 1;
  return ::ioctlsocket(socket, FIONBIO, &on) == 0;
}

int Length(std::size_t size) { return size > 1 << 30 ? 1 << 30 : static_cast<int>(size); }

// Waits on the socket (none for a plain sleep) and on the stop together.
Wait Poll(Socket socket, SHORT events, int timeoutMs) {
  if (StopRequested()) return Wait::Stopped;
  WSAPOLLFD fds[2] = {};
  fds[0].fd = static_cast<SOCKET>(StopWakeHandle());
  fds[0].events = POLLRDNORM;
  fds[1].fd = static_cast<SOCKET>(socket);
  fds[1].events = events;
  const ULONG count = socket == kNoSocket ? 1 : 2;
  const int ready = ::WSAPoll(fds, count, timeoutMs < 0 ? -1 : timeoutMs);
  if (ready > 0) return fds[0].revents != 0 ? Wait::Stopped : Wait::Ready;
  return ready == 0 ? Wait::TimedOut : Wait::Failed;
}

}  // namespace

bool Start(std::string& error) {
  WSADATA data;
  const int result = ::WSAStartup(MAKEWORD(2, 2), &data);
  if (result != 0) error = "cannot start Winsock (" + std::to_string(result) + ")";
  return result == 0;
}

Listening ListenOnLoopback(int port) {
  Listening result;
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) {
    result.error = LastError();
    return result;
  }
  // SO_REUSEADDR would let Windows hand out a port another listener holds;
  // exclusive use makes a busy port fail here as it does elsewhere.
  const BOOL on = TRUE;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(s, 16) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0 || !SetNonBlocking(s)) {
    result.error = LastError();
    ::closesocket(s);
    return result;
  }
  result.socket = static_cast<Socket>(s);
  result.port = ntohs(address.sin_port);
  return result;
}

Socket Accept(Socket listener) {
  const SOCKET s = ::accept(static_cast<SOCKET>(listener), nullptr, nullptr);
  if (s == INVALID_SOCKET) return kNoSocket;
  SetNonBlocking(s);
  return static_cast<Socket>(s);
}

void Close(Socket socket) { ::closesocket(static_cast<SOCKET>(socket)); }

IoResult Receive(Socket socket, char* buffer, std::size_t size) {
  const int n = ::recv(static_cast<SOCKET>(socket), buffer, Length(size), 0);
  if (n > 0) return {Io::Done, static_cast<std::size_t>(n)};
  if (n == 0) return {Io::Closed};
  return {::WSAGetLastError() == WSAEWOULDBLOCK ? Io::WouldBlock : Io::Failed};
}

IoResult Send(Socket socket, const char* bytes, std::size_t size) {
  const int n = ::send(static_cast<SOCKET>(socket), bytes, Length(size), 0);
  if (n >= 0) return {Io::Done, static_cast<std::size_t>(n)};
  return {::WSAGetLastError() == WSAEWOULDBLOCK ? Io::WouldBlock : Io::Failed};
}

Wait WaitReadable(Socket socket, int timeoutMs) { return Poll(socket, POLLRDNORM, timeoutMs); }

Wait WaitWritable(Socket socket, int timeoutMs) { return Poll(socket, POLLWRNORM, timeoutMs); }

bool SleepUnlessStopped(int ms) {
  return ms <= 0 ? !StopRequested() : Poll(kNoSocket, 0, ms) != Wait::Stopped;
}

}  // namespace kov::sim::net
