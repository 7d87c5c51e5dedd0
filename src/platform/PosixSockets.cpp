#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/SystemSockets.h"

namespace kov::platform {

int SystemSockets::Startup(std::uint16_t) { return 0; }

SocketHandle SystemSockets::Socket(int family, int type, int protocol) {
  const int fd = ::socket(family, type, protocol);
  return fd < 0 ? kInvalidSocket : fd;
}

std::uint32_t SystemSockets::InetAddr(const std::string& text) { return ::inet_addr(text.c_str()); }

namespace {

// Waits until the connect under way on the non-blocking fd has finished or
// the deadline has passed; 0 when it stands, -1 otherwise.
int FinishConnect(int fd, std::chrono::steady_clock::time_point deadline) {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  for (;;) {
    const auto left = duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return kSocketError;
    pollfd p{fd, POLLOUT, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready != 1) return kSocketError;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
      return kSocketError;
    return 0;
  }
}

}  // namespace

int SystemSockets::Connect(SocketHandle socket, const SocketAddressRecord& address) {
  // The record is laid out as the Windows library has it (family in the low
  // byte first); this system's sockaddr_in is built from its fields.
  sockaddr_in in{};
  in.sin_family = static_cast<sa_family_t>(address[0] | (address[1] << 8));
  std::memcpy(&in.sin_port, &address[2], 2);
  std::memcpy(&in.sin_addr, &address[4], 4);
  const int fd = static_cast<int>(socket);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(connectTimeoutMs_);

  // Non-blocking while connecting, so that an address that does not answer
  // costs the connect time-out and not the kernel's minutes of SYN retries.
  const int flags = ::fcntl(fd, F_GETFL, 0);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return kSocketError;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&in), sizeof in) != 0) {
    const bool underWay = errno == EINPROGRESS || errno == EINTR;
    // A socket given up on stays non-blocking: the attempt may still run in
    // the kernel, and the "EX" and close that end the program must not wait
    // for it.
    if (!underWay || FinishConnect(fd, deadline) != 0) return kSocketError;
  }
  return ::fcntl(fd, F_SETFL, flags) < 0 ? kSocketError : 0;
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
  if (n >= 0) return static_cast<std::int32_t>(n);
  const bool noDataYet = errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  lastRecvFailure_ = noDataYet ? RecvFailure::kNoDataYet : RecvFailure::kConnectionFailed;
  return -1;
}

int SystemSockets::Close(SocketHandle socket) {
  return ::close(static_cast<int>(socket)) == 0 ? 0 : kSocketError;
}

bool SystemSockets::WaitReadable(SocketHandle socket, std::int32_t timeoutMs) {
  pollfd p{static_cast<int>(socket), POLLIN, 0};
  return ::poll(&p, 1, timeoutMs) > 0;
}

}  // namespace kov::platform
