#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstring>

#include "platform/CodePage.h"
#include "platform/SystemSockets.h"

namespace kov::platform {

int SystemSockets::Startup(std::uint16_t version) {
  WSADATA data;
  return ::WSAStartup(version, &data);
}

SocketHandle SystemSockets::Socket(int family, int type, int protocol) {
  const SOCKET s = ::socket(family, type, protocol);
  return s == INVALID_SOCKET ? kInvalidSocket : static_cast<SocketHandle>(s);
}

std::uint32_t SystemSockets::InetAddr(const std::string& text) {
  return ::inet_addr(ToSystemCodePage(text).c_str());
}

int SystemSockets::Connect(SocketHandle socket, const SocketAddressRecord& address) {
  sockaddr_in in{};
  std::memcpy(&in, address.data(), sizeof in < address.size() ? sizeof in : address.size());
  const SOCKET s = static_cast<SOCKET>(socket);
  // Non-blocking while connecting, so that an address that does not answer
  // costs the connect time-out and not the system's own, longer one.
  u_long on = 1;
  if (::ioctlsocket(s, FIONBIO, &on) != 0) return kSocketError;
  if (::connect(s, reinterpret_cast<const sockaddr*>(&in), static_cast<int>(sizeof in)) != 0) {
    // A socket given up on stays non-blocking: the attempt may still run in
    // the system, and the "EX" and close that end the program must not wait
    // for it.
    if (::WSAGetLastError() != WSAEWOULDBLOCK) return kSocketError;
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    timeval limit{connectTimeoutMs_ / 1000, (connectTimeoutMs_ % 1000) * 1000};
    if (::select(0, nullptr, &writable, &failed, &limit) != 1 || !FD_ISSET(s, &writable)) {
      return kSocketError;
    }
  }
  u_long off = 0;
  return ::ioctlsocket(s, FIONBIO, &off) != 0 ? kSocketError : 0;
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
  if (n != SOCKET_ERROR) return n;
  lastRecvFailure_ = ::WSAGetLastError() == WSAEWOULDBLOCK ? RecvFailure::kNoDataYet
                                                           : RecvFailure::kConnectionFailed;
  return -1;
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
