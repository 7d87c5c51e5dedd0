#pragma once

#include "platform/Sockets.h"

namespace kov::platform {

// The system's socket library: Berkeley sockets here, Winsock on Windows.
class SystemSockets : public Sockets {
 public:
  explicit SystemSockets(std::int32_t connectTimeoutMs = kConnectTimeoutMs)
      : connectTimeoutMs_(connectTimeoutMs) {}

  int Startup(std::uint16_t version) override;
  SocketHandle Socket(int family, int type, int protocol) override;
  std::uint32_t InetAddr(const std::string& text) override;
  int Connect(SocketHandle socket, const SocketAddressRecord& address) override;
  int SetNonBlocking(SocketHandle socket) override;
  int SetNoDelay(SocketHandle socket, std::int32_t value) override;
  std::int32_t Send(SocketHandle socket, const char* data, std::int32_t length) override;
  std::int32_t Recv(SocketHandle socket, char* buffer, std::int32_t length) override;
  RecvFailure LastRecvFailure() const override { return lastRecvFailure_; }
  int Close(SocketHandle socket) override;
  bool WaitReadable(SocketHandle socket, std::int32_t timeoutMs) override;

 private:
  std::int32_t connectTimeoutMs_;
  RecvFailure lastRecvFailure_ = RecvFailure::kNoDataYet;
};

}  // namespace kov::platform
