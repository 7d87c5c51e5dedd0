#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "fakes/FakeClock.h"
#include "platform/Sockets.h"

namespace kov::fakes {

// A scripted peer. Each Recv takes the next event of `incoming`: data, the
// peer's close (result 0), "no data yet" or a broken connection (result -1);
// with nothing scripted it answers "no data yet", or asks `stream` for a
// chunk when one is set. Every chunk received costs `msPerChunk` of the fake
// clock. WaitReadable is true at once when data or a close is queued,
// otherwise it lets the fake clock run for the whole time-out.
class FakeSockets : public platform::Sockets {
 public:
  struct RecvEvent {
    std::int32_t result;  // > 0: data, 0: closed, -1: see failure
    std::string data;
    platform::RecvFailure failure = platform::RecvFailure::kNoDataYet;
  };
  static RecvEvent Data(std::string bytes) {
    const auto n = static_cast<std::int32_t>(bytes.size());
    return {n, std::move(bytes)};
  }
  static RecvEvent Closed() { return {0, {}}; }
  static RecvEvent Nothing() { return {-1, {}}; }
  static RecvEvent Broken() { return {-1, {}, platform::RecvFailure::kConnectionFailed}; }

  explicit FakeSockets(FakeClock& clock) : clock_(clock) {}

  int Startup(std::uint16_t version) override {
    calls.push_back("Startup");
    startupVersion = version;
    return startupResult;
  }
  platform::SocketHandle Socket(int, int, int) override {
    calls.push_back("Socket");
    return socketResult;
  }
  std::uint32_t InetAddr(const std::string& text) override {
    calls.push_back("InetAddr");
    // Dotted quad only; the result in network byte order, as the real call.
    std::uint32_t parts[4];
    char tail;
    if (std::sscanf(text.c_str(), "%u.%u.%u.%u%c", &parts[0], &parts[1], &parts[2], &parts[3],
                    &tail) != 4)
      return platform::kInaddrNone;
    std::uint8_t bytes[4];
    for (int i = 0; i < 4; ++i) {
      if (parts[i] > 255) return platform::kInaddrNone;
      bytes[i] = static_cast<std::uint8_t>(parts[i]);
    }
    std::uint32_t address;
    std::memcpy(&address, bytes, 4);
    return address;
  }
  int Connect(platform::SocketHandle, const platform::SocketAddressRecord& address) override {
    calls.push_back("Connect");
    connectedTo = address;
    return connectResult;
  }
  int SetNonBlocking(platform::SocketHandle) override {
    calls.push_back("SetNonBlocking");
    return nonBlockingResult;
  }
  int SetNoDelay(platform::SocketHandle, std::int32_t value) override {
    calls.push_back("SetNoDelay");
    noDelayValue = value;
    return noDelayResult;
  }
  std::int32_t Send(platform::SocketHandle, const char* data, std::int32_t length) override {
    calls.push_back("Send");
    std::string bytes(data, static_cast<std::size_t>(length));
    if (sendFailsAfter >= 0 && static_cast<int>(sent.size()) >= sendFailsAfter) return -1;
    sent.push_back(bytes);
    if (onSend) onSend(bytes);
    return length;
  }
  std::int32_t Recv(platform::SocketHandle, char* buffer, std::int32_t length) override {
    ++recvCalls;
    lastFailure = platform::RecvFailure::kNoDataYet;
    if (incoming.empty() && stream) incoming.push_back(Data(stream()));
    if (incoming.empty()) return -1;
    RecvEvent& next = incoming.front();
    if (next.result <= 0) {
      const std::int32_t result = next.result;
      lastFailure = next.failure;
      incoming.pop_front();
      return result;
    }
    // A chunk larger than the buffer is handed out over several receives.
    const auto n = std::min<std::size_t>(next.data.size(), static_cast<std::size_t>(length));
    std::memcpy(buffer, next.data.data(), n);
    next.data.erase(0, n);
    if (next.data.empty()) incoming.pop_front();
    clock_.Advance(msPerChunk);
    return static_cast<std::int32_t>(n);
  }
  platform::RecvFailure LastRecvFailure() const override { return lastFailure; }
  int Close(platform::SocketHandle socket) override {
    calls.push_back("Close");
    closed.push_back(socket);
    return 0;
  }
  bool WaitReadable(platform::SocketHandle, std::int32_t timeoutMs) override {
    ++waitCalls;
    if (!incoming.empty() && incoming.front().result >= 0) return true;
    clock_.Advance(timeoutMs);
    return false;
  }

  // Results the next calls give.
  int startupResult = 0;
  platform::SocketHandle socketResult = 7;
  int connectResult = 0;
  int nonBlockingResult = 0;
  int noDelayResult = 0;
  int sendFailsAfter = -1;  // sends that succeed before every later one fails

  std::deque<RecvEvent> incoming;
  std::function<std::string()> stream;  // an endless peer
  std::int64_t msPerChunk = 0;
  std::function<void(const std::string&)> onSend;

  // What happened.
  std::vector<std::string> calls;
  std::vector<std::string> sent;
  std::vector<platform::SocketHandle> closed;
  platform::SocketAddressRecord connectedTo{};
  std::uint16_t startupVersion = 0;
  std::int32_t noDelayValue = -1;
  int recvCalls = 0;
  int waitCalls = 0;
  platform::RecvFailure lastFailure = platform::RecvFailure::kNoDataYet;

 private:
  FakeClock& clock_;
};

}  // namespace kov::fakes
