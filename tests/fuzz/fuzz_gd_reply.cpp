// A band's reply arriving as an arbitrary sequence of chunks, closes and
// empty polls: collecting and splitting it must never crash, and every level
// text handed on must come from the collected reply (or the filler).
#include <cstddef>
#include <cstdint>
#include <string>

#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTimers.h"
#include "fakes/FakeWindow.h"
#include "link/Link.h"
#include "link/Protocol.h"
#include "settings/Settings.h"

using namespace kov;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fakes::FakeClock clock;
  fakes::FakeSockets sockets(clock);
  fakes::FakeWindow controls;
  fakes::FakeTimer t1(clock, "Timer1"), t3(clock, "Timer3"), t4(clock, "Timer4");
  fakes::FakeProfileFiles profiles;
  settings::Settings settings(profiles, "/nowhere");
  link::LinkState state;
  state.ConnectFlag = 1;
  link::Link link(state, {.sockets = sockets,
                          .clock = clock,
                          .fields = controls,
                          .messages = controls,
                          .buttons = controls,
                          .loop = controls,
                          .timers = {t1, t3, t4},
                          .settings = settings});

  link.SendGD();
  // Each record: one control byte (low 2 bits: data, close, nothing; the
  // rest a length), then that many bytes of data.
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t control = data[i++];
    switch (control & 3) {
      case 0:
      case 3: {
        const std::size_t n = std::min<std::size_t>(control >> 2, size - i);
        if (n == 0) break;
        std::string chunk(reinterpret_cast<const char*>(data + i), n);
        i += n;
        sockets.incoming.push_back(fakes::FakeSockets::Data(std::move(chunk)));
        break;
      }
      case 1:
        sockets.incoming.push_back(fakes::FakeSockets::Closed());
        break;
      case 2:
        sockets.incoming.push_back(fakes::FakeSockets::Nothing());
        break;
    }
  }

  link.RecvGDReply();
  // However much the peer sends, the reply stays within its bound.
  if (state.RecvStr.size() > link::kMaxReplyBytes) __builtin_trap();
  const link::BandLevels levels = link::SplitGDReply(state.RecvStr);
  const std::string& reply =
      state.RecvStr.find("/ ") == std::string::npos ? link::SubstituteReply() : state.RecvStr;
  for (const auto& level : levels) {
    // A point without a line of its own gets the filler's "-100 ".
    if (level && *level != "-100 " && reply.find(*level) == std::string::npos) __builtin_trap();
  }
  return 0;
}
