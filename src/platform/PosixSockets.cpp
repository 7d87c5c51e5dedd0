#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/SystemSockets.h"

namespace kov::platform {

int SystemSockets::Startup(std::uint16_t) { return 0; }

SocketHandle SystemSockets::Socket(int family, int type, int protocol) {
  const int fd = ::socket(family, type, protocol);
  return fd < 0 ? kInvalidSocket : fd;
}

std::uint32_t SystemSockets::InetAddr(const std::string& text) { return ::inet_addr(text.c_str()); }

int SystemSockets::Connect(SocketHandle socket, const SocketAddressRecord& address) {
  // The record is laid out as the Windows library has it (family in the low
  // byte first); this system's sockaddr_in is built from its fields.
  sockaddr_in in{};
  in.sin_family = static_cast<sa_family_t>(address[0] | (address[1] << 8));
  std::memcpy(&in.sin_port, &address[2], 2);
  std::memcpy(&in.sin_addr, &address[4], 4);
  const int fd = static_cast<int>(socket);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&in), sizeof in) == 0) return 0;
  if (errno != EINTR) return kSocketError;
  // A signal cut the wait short, but the connection goes on being made and
  // a second connect would only fail: wait for it to finish instead.
  pollfd p{fd, POLLOUT, 0};
  int ready;
  do {
    ready = ::poll(&p, 1, -1);
  } while (ready < 0 && errno == EINTR);
  int error = 0;
  socklen_t length = sizeof error;
  if (ready != 1 || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
    return kSocketError;
  return 0;
}

int SystemSockets::SetNonBlocking(SocketHandle socket) {
  const int fd = static_cast<int>(socket);
  const int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return kSocketError;
  return 0;
}

int SystemSockets::SetNoDelay(SocketHandle socket, std::int32_t value) {
  const int v = value;
  return ::setsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_NODELAY, &v, sizeof v) == 0
             ? 0
             : kSocketError;
}

std::int32_t SystemSockets::Send(SocketHandle socket, const char* data, std::int32_t length) {
  // MSG_NOSIGNAL: a peer that has gone must give -1, not a SIGPIPE that would
  // end the program without its message.
  const ssize_t n =
      ::send(static_cast<int>(socket), data, static_cast<std::size_t>(length), MSG_NOSIGNAL);
  return n < 0 ? -1 : static_cast<std::int32_t>(n);
}

std::int32_t SystemSockets::Recv(SocketHandle socket, char* buffer, std::int32_t length) {
  const ssize_t n = ::recv(static_cast<int>(socket), buffer, static_cast<std::size_t>(length), 0);
  return n < 0 ? -1 : static_cast<std::int32_t>(n);
}

int SystemSockets::Close(SocketHandle socket) {
  return ::close(static_cast<int>(socket)) == 0 ? 0 : kSocketError;
}

bool SystemSockets::WaitReadable(SocketHandle socket, std::int32_t timeoutMs) {
  pollfd p{static_cast<int>(socket), POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

}  // namespace kov::platform
