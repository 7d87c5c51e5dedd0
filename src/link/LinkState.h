#pragma once

#include <cstdint>
#include <string>

#include "platform/Sockets.h"

namespace kov::link {

// The fields of the window's state record that the instrument link owns.
struct LinkState {
  // Connection.
  platform::SocketAddressRecord XportAddr{};
  platform::SocketHandle XportSock = 0;
  std::uint32_t XportIpAddr = 0;  // network byte order
  std::int32_t SockRet = 0;
  std::int16_t ConnectFlag = 0;
  std::string ErrMsg;
  std::int32_t NoDelayOpt = 0;
  std::string SendStr;

  // Command protocol.
  std::string RecvBuf;  // 9000 characters once first filled
  std::string RecvStr;
  std::int16_t SlashCount = 0;
  std::int32_t ResendRet = 0;
};

}  // namespace kov::link
