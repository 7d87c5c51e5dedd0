#pragma once

// What every front-end's window must do, whatever its toolkit: a typed test
// suite over a driver that makes the toolkit's window and feeds it input as
// its window system would. A front-end's tests instantiate it with their own
// driver (INSTANTIATE_TYPED_TEST_SUITE_P(Name, WindowContract, Driver)).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ExpectedCommands.h"
#include "PrintControl.h"
#include "SimProcess.h"
#include "TestFiles.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"
#include "window/Host.h"
#include "window/Layout.h"

namespace kov::testing {

using window::Control;
using window::RowOf;

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

// Pixels as 0xRRGGBB, rows top down.
struct Image {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  // The pixel, or 0xFFFFFFFF outside the image (a window not painted yet).
  std::uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return 0xFFFFFFFFu;
    return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu;
  }
  bool operator==(const Image&) const = default;
};

enum class Key { Return, Enter, Escape, Space, Tab, Backtab };

// What the contract needs of a front-end's window besides its host.
class WindowDriver {
 public:
  virtual ~WindowDriver() = default;
  // Makes the window over the world, runs Form_Load and shows the window;
  // false when the program ended during the load.
  virtual bool Open(window::HostWorld world) = 0;
  virtual window::Host& Host() = 0;
  virtual window::Toolkit& Toolkit() = 0;
  virtual bool Visible() = 0;
  virtual std::string Caption() = 0;
  virtual Rect Geometry(Control control) = 0;  // in the client area, pixels
  virtual Rect Client() = 0;
  virtual bool Resizable() = 0;
  virtual bool Enabled(Control control) = 0;
  // Input as the window system delivers it: a key to the focused control,
  // made now; a click on a control made agoMs before now.
  virtual void Key(testing::Key key) = 0;
  virtual void PostClick(Control control, std::uint32_t agoMs) = 0;
  // A button or the check box pressed at once, as its toolkit's own call does.
  virtual void Press(Control control) = 0;
  virtual void Close() = 0;  // through the frame
  // What the screen shows of a control, without painting it first.
  virtual Image Shown(Control control) = 0;
  // Runs the window's event loop until done() holds, at most timeoutMs.
  virtual bool RunUntil(const std::function<bool()>& done, int timeoutMs) = 0;
  // Runs the action from the event loop as soon as `when` holds: from inside
  // a handler that lets pending events run.
  virtual void WhenThen(std::function<bool()> when, std::function<void()> action) = 0;
  // "caption|text" of every message box shown.
  virtual std::vector<std::string> Messages() = 0;
};

template <typename Driver>
class WindowContract : public ::testing::Test {
 protected:
  // The window over files in the test's folder, real sockets and a clock
  // that does not sleep.
  bool Open() {
    return driver.Open(window::HostWorld{sockets, clock, textFiles, profiles, dir.Path().string(),
                                         dir.File("WFdata.txt")});
  }
  // The window over an outside world wholly in memory: for what starts no
  // run (a toolkit's wait for the instrument needs a real socket).
  bool OpenInMemory(Driver& d) {
    return d.Open(
        window::HostWorld{fakeSockets, clock, fakeFiles, fakeProfiles, "/opt/kov", "WFdata.txt"});
  }
  void Ini(const std::string& text) { Spit(dir / "KOV_Xport.ini", text); }
  // Settings for a run against the simulator: 450 to 470 MHz, back to back.
  bool OpenForSim(const SimProcess& sim, const char* count) {
    Ini("[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=" + std::to_string(sim.Port()) +
        "\r\n[MES_PARA]\r\nSTART_FQ=450\r\nEND_FQ=470\r\nINTERVAL=0\r\nCOUNT=" + count +
        "\r\nD_LEVEL=0\r\n");
    return Open();
  }
  std::string Text(Control control) { return driver.Toolkit().Text(control); }
  std::optional<Control> Focused() { return driver.Toolkit().Focused(); }
  bool Until(const std::function<bool()>& done, int timeoutMs = 30000) {
    return driver.RunUntil(done, timeoutMs);
  }
  bool StatusIs(const std::string& text) {
    return Until([&] { return Text(Control::Text1) == text; });
  }
  static bool SimAvailable() { return SimProcess::Path() != nullptr; }
  // Stops the simulator once its log holds `exits` EX: the window shows the
  // end of a run as soon as the program has sent its last command, which the
  // simulator, another process, may not have read yet.
  static void StopSimAfterEx(SimProcess& sim, long exits = 1) {
    for (int waited = 0; waited < 5000; waited += 5) {
      const auto c = sim.Commands();
      if (std::count(c.begin(), c.end(), "EX\r\n") >= exits) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    sim.Stop();
  }

  Driver driver;
  TempDir dir;
  fakes::FakeClock clock;
  platform::SystemSockets sockets;
  platform::SystemTextFiles textFiles;
  platform::IniProfileFiles profiles;
  fakes::FakeSockets fakeSockets{clock};
  fakes::FakeTextFiles fakeFiles;
  fakes::FakeProfileFiles fakeProfiles;
};

TYPED_TEST_SUITE_P(WindowContract);

}  // namespace kov::testing
