#pragma once

#include "platform/IniProfileFiles.h"
#include "platform/ProgramFolder.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "window/Form.h"

namespace kov::window {

// The system's own outside world, as the program's main hands it to the
// window on either toolkit.
class SystemWorld {
 public:
  HostWorld World() {
    return {sockets_, clock_, textFiles_, profileFiles_, platform::ProgramFolder()};
  }

 private:
  platform::SystemSockets sockets_;
  platform::SystemClock clock_;
  platform::SystemTextFiles textFiles_;
  platform::IniProfileFiles profileFiles_;
};

}  // namespace kov::window
