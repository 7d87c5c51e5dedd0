#pragma once

#include "platform/Sockets.h"

namespace kov::platform {

// The system's socket library: Berkeley sockets here, Winsock on Windows.
class SystemSockets : public Sockets {
 public:
  int Startup(std::uint16_t version) override;
  SocketHandle Socket(int family, int type, int protocol) override;
  std::uint32_t InetAddr(const std::string& text) override;
  int Connect(SocketHandle socket, const SocketAddressRecord& address) override;
  int SetNonBlocking(SocketHandle socket) override;
  int SetNoDelay(SocketHandle socket, std::int32_t value) override;
  std::int32_t Send(SocketHandle socket, const char* data, std::int32_t length) override;
  std::int32_t Recv(SocketHandle socket, char* buffer, std::int32_t length) override;
  int Close(SocketHandle socket) override;
  bool WaitReadable(SocketHandle socket, std::int32_t timeoutMs) override;
};

}  // namespace kov::platform
