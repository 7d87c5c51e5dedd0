#pragma once

#include <poll.h>

#include <ctime>

#include "fakes/FakeClock.h"
#include "platform/SystemSockets.h"

namespace kov::testing {

// The system's sockets with their waits for data run ten times fast: a wait
// of N ms waits at most N/10 ms for real, and moves the fake clock on by N ms
// when nothing came. For a peer whose silence matters, not how long it takes.
class FastForwardSockets : public platform::SystemSockets {
 public:
  bool WaitReadable(platform::SocketHandle socket, std::int32_t timeoutMs) override {
    pollfd p{static_cast<int>(socket), POLLIN, 0};
    const timespec tenth{0, static_cast<long>(timeoutMs) * 100000L};
    if (ppoll(&p, 1, &tenth, nullptr) > 0) return true;
    if (clock != nullptr) clock->Advance(timeoutMs);
    return false;
  }

  fakes::FakeClock* clock = nullptr;  // the run's
};

}  // namespace kov::testing
