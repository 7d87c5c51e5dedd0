#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

#include "Net.h"
#include "StopSignal.h"

namespace kov::sim::net {
namespace {

#ifdef MSG_NOSIGNAL
constexpr int kSendFlags = MSG_NOSIGNAL;
#else
constexpr int kSendFlags = 0;
#endif

void SetNonBlocking(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

bool WouldBlock() { return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR; }

// Waits on the socket (none for a plain sleep) and on the stop together.
Wait Poll(Socket socket, short events, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  pollfd fds[2] = {{StopWakeHandle(), POLLIN, 0}, {socket, events, 0}};
  const nfds_t count = socket == kNoSocket ? 1 : 2;
  for (int wait = timeoutMs;;) {
    if (StopRequested()) return Wait::Stopped;
    const int ready = ::poll(fds, count, wait);
    if (ready > 0) return fds[0].revents != 0 ? Wait::Stopped : Wait::Ready;
    if (ready == 0) return Wait::TimedOut;
    if (errno != EINTR) return Wait::Failed;
    if (timeoutMs >= 0) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }
  }
}

}  // namespace

bool Start(std::string&) { return true; }

Listening ListenOnLoopback(int port) {
  Listening result;
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    result.error = std::strerror(errno);
    return result;
  }
  // Lets a restarted simulator take its port back from connections still in
  // TIME_WAIT; a port another listener holds stays refused.
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 16) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    result.error = std::strerror(errno);
    ::close(fd);
    return result;
  }
  SetNonBlocking(fd);
  result.socket = fd;
  result.port = ntohs(address.sin_port);
  return result;
}

Socket Accept(Socket listener) {
  const int fd = ::accept(listener, nullptr, nullptr);
  if (fd < 0) return kNoSocket;
  SetNonBlocking(fd);
  return fd;
}

void Close(Socket socket) { ::close(socket); }

IoResult Receive(Socket socket, char* buffer, std::size_t size) {
  const ssize_t n = ::recv(socket, buffer, size, 0);
  if (n > 0) return {Io::Done, static_cast<std::size_t>(n)};
  if (n == 0) return {Io::Closed};
  return {WouldBlock() ? Io::WouldBlock : Io::Failed};
}

IoResult Send(Socket socket, const char* bytes, std::size_t size) {
  const ssize_t n = ::send(socket, bytes, size, kSendFlags);
  if (n >= 0) return {Io::Done, static_cast<std::size_t>(n)};
  return {WouldBlock() ? Io::WouldBlock : Io::Failed};
}

Wait WaitReadable(Socket socket, int timeoutMs) { return Poll(socket, POLLIN, timeoutMs); }

Wait WaitWritable(Socket socket, int timeoutMs) { return Poll(socket, POLLOUT, timeoutMs); }

bool SleepUnlessStopped(int ms) {
  return ms <= 0 ? !StopRequested() : Poll(kNoSocket, 0, ms) != Wait::Stopped;
}

}  // namespace kov::sim::net
