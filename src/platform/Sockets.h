#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kov::platform {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;
inline constexpr int kSocketError = -1;
inline constexpr std::uint32_t kInaddrNone = 0xFFFFFFFFu;
// How long a connect may wait for the device server before it gives up: what
// the system the program was designed for allows, instead of the minutes the
// kernel's SYN retries can take.
inline constexpr std::int32_t kConnectTimeoutMs = 21000;

// Why the last Recv gave -1.
enum class RecvFailure {
  kNoDataYet,         // a non-blocking socket with nothing to read
  kConnectionFailed,  // reset, aborted or otherwise broken
};

// The 16-byte IPv4 socket address record as the socket library lays it out:
// family (little-endian), port and address in network byte order, zero fill.
using SocketAddressRecord = std::array<std::uint8_t, 16>;

// The Berkeley socket calls the instrument link makes, one method per call.
// Results follow the socket library: -1 is failure.
class Sockets {
 public:
  virtual ~Sockets() = default;

  // WSAStartup(version); 0 when the library started. Always 0 where the
  // platform needs no such step.
  virtual int Startup(std::uint16_t version) = 0;
  virtual SocketHandle Socket(int family, int type, int protocol) = 0;
  // inet_addr: the address in network byte order, kInaddrNone for a text
  // that is not an IPv4 address.
  virtual std::uint32_t InetAddr(const std::string& text) = 0;
  // Connect to the address record (length 16), waiting at most the adapter's
  // connect time-out. 0, the socket then in blocking mode, or -1, the socket
  // then non-blocking, so that nothing done on it afterwards can wait.
  virtual int Connect(SocketHandle socket, const SocketAddressRecord& address) = 0;
  // ioctlsocket(FIONBIO) with a non-zero argument. 0 or -1.
  virtual int SetNonBlocking(SocketHandle socket) = 0;
  // setsockopt(IPPROTO_TCP, TCP_NODELAY, value, 4). 0 or -1.
  virtual int SetNoDelay(SocketHandle socket, std::int32_t value) = 0;
  // send(flags 0) that never raises a signal. Bytes sent, or -1.
  virtual std::int32_t Send(SocketHandle socket, const char* data, std::int32_t length) = 0;
  // recv(flags 0). Bytes received, 0 when the peer closed, or -1 (no data yet
  // on a non-blocking socket, or an error).
  virtual std::int32_t Recv(SocketHandle socket, char* buffer, std::int32_t length) = 0;
  // What the last Recv that gave -1 meant.
  virtual RecvFailure LastRecvFailure() const = 0;
  virtual int Close(SocketHandle socket) = 0;
  // Waits up to timeoutMs for the socket to become readable (data, end of
  // stream or error); true when it is. Wakes at once when data arrives.
  virtual bool WaitReadable(SocketHandle socket, std::int32_t timeoutMs) = 0;
};

}  // namespace kov::platform
