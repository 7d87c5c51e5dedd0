#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, which must come before windows.h.
#include <mmsystem.h>

#include <cstring>

#include "platform/SystemSockets.h"

namespace kov::platform {

int SystemSockets::Startup(std::uint16_t version) {
  WSADATA data;
  const int result = ::WSAStartup(version, &data);
  // The reply loop waits 1 ms per failed poll; at the default 15.6 ms tick
  // its two 5000-poll limits would take well over a minute each. Windows
  // gives the period back when the program ends.
  if (result == 0) ::timeBeginPeriod(1);
  return result;
}

SocketHandle SystemSockets::Socket(int family, int type, int protocol) {
  const SOCKET s = ::socket(family, type, protocol);
  return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

std::uint32_t SystemSockets::InetAddr(const std::string& text) { return ::inet_addr(text.c_str()); }

int SystemSockets::Connect(SocketHandle socket, const SocketAddressRecord& address) {
  sockaddr_in in{};
  std::memcpy(&in, address.data(), sizeof in < address.size() ? sizeof in : address.size());
  return ::connect(static_cast<SOCKET>(socket), reinterpret_cast<const sockaddr*>(&in),
                   static_cast<int>(sizeof in)) == 0
             ? 0
             : kSocketError;
}

int SystemSockets::SetNonBlocking(SocketHandle socket) {
  u_long on = 0xFFFFFFFFu;
  return ::ioctlsocket(static_cast<SOCKET>(socket), FIONBIO, &on) == 0 ? 0 : kSocketError;
}

int SystemSockets::SetNoDelay(SocketHandle socket, std::int32_t value) {
  const int v = value;
  return ::setsockopt(static_cast<SOCKET>(socket), IPPROTO_TCP, TCP_NODELAY,
                      reinterpret_cast<const char*>(&v), static_cast<int>(sizeof v)) == 0
             ? 0
             : kSocketError;
}

std::int32_t SystemSockets::Send(SocketHandle socket, const char* data, std::int32_t length) {
  const int n = ::send(static_cast<SOCKET>(socket), data, length, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

std::int32_t SystemSockets::Recv(SocketHandle socket, char* buffer, std::int32_t length) {
  const int n = ::recv(static_cast<SOCKET>(socket), buffer, length, 0);
  return n == SOCKET_ERROR ? -1 : n;
}

int SystemSockets::Close(SocketHandle socket) {
  return ::closesocket(static_cast<SOCKET>(socket)) == 0 ? 0 : kSocketError;
}

bool SystemSockets::WaitReadable(SocketHandle socket, std::int32_t timeoutMs) {
  WSAPOLLFD p{};
  p.fd = static_cast<SOCKET>(socket);
  p.events = POLLRDNORM;
  return ::WSAPoll(&p, 1, timeoutMs) > 0;
}

}  // namespace kov::platform
