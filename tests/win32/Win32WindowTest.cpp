// What only the Windows window has: its fonts, styles and timers.
#include <gtest/gtest.h>

#include "Win32Driver.h"
#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"
#include "win32/Win32Timer.h"
#include "window/GuardedTimer.h"

namespace kov::testing {
namespace {

class Win32WindowTest : public ::testing::Test {
 protected:
  Win32WindowTest() {
    driver.Open(window::HostWorld{sockets, clock, files, profiles, "C:\\kov", "WFdata.txt"});
  }
  HWND Child(Control control) { return driver.Child(control); }
  LONG Style(Control control) { return GetWindowLongW(Child(control), GWL_STYLE); }

  fakes::FakeClock clock;
  fakes::FakeSockets sockets{clock};
  fakes::FakeTextFiles files;
  fakes::FakeProfileFiles profiles;
  Win32Driver driver;
};

TEST_F(Win32WindowTest, TheDesignFontInShiftJisAtTheDesignSize) {
  const int dpi = driver.Form().Dpi();
  for (const window::ControlRow& c : window::kControls) {
    if (c.kind == window::Kind::Graph) continue;
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(Child(c.id), WM_GETFONT, 0, 0));
    GetObjectW(handle, sizeof font, &font);
    if (c.pointSize == 0) {
      EXPECT_EQ(handle, GetStockObject(DEFAULT_GUI_FONT)) << c.name;
      continue;
    }
    EXPECT_EQ(platform::FromUtf16(font.lfFaceName), "ＭＳ Ｐゴシック") << c.name;
    EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET) << c.name;
    EXPECT_EQ(font.lfWeight, FW_NORMAL) << c.name;
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut) << c.name;
    EXPECT_EQ(font.lfHeight, -static_cast<int>(c.pointSize * dpi / 72.0 + 0.5)) << c.name;
  }
}

TEST_F(Win32WindowTest, NoDefaultButtonAndTheStylesOfTheDesign) {
  HWND form = driver.Form().Handle();
  EXPECT_EQ(GetDlgItem(form, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(form, IDCANCEL), nullptr);
  for (const Control button :
       {Control::CmdMesStart, Control::CmdMesBreak, Control::CmdExit, Control::BtnSaveMespara}) {
    EXPECT_EQ(Style(button) & BS_TYPEMASK, BS_PUSHBUTTON) << RowOf(button).name;
  }
  EXPECT_EQ(Style(Control::Chk1) & BS_TYPEMASK, BS_3STATE);
  EXPECT_TRUE(Style(Control::Text1) & ES_MULTILINE);
  EXPECT_TRUE(Style(Control::Text1) & ES_READONLY);
  for (const Control name : {Control::XportData, Control::XportWF, Control::Label3}) {
    EXPECT_FALSE(Style(name) & WS_TABSTOP) << RowOf(name).name;
  }
  // Names a tool can find the controls by.
  EXPECT_EQ(GetDlgCtrlID(Child(Control::Label3)), 100);
  EXPECT_EQ(reinterpret_cast<INT_PTR>(GetPropW(Child(Control::CmdExit), L"KOV_Xport.Name")), 24);
}

TEST_F(Win32WindowTest, TimersTickFromSetTimerAndNeverIntoTheirHandler) {
  win32::Win32Timer backend(9);
  backend.Attach(driver.Form().Handle());
  window::GuardedTimer timer(backend);
  int ticks = 0, depth = 0, deepest = 0;
  timer.handler = [&] {
    ++ticks;
    deepest = std::max(deepest, ++depth);
    driver.RunUntil([] { return false; }, 20);
    --depth;
  };
  // The form routes only its own three timers: this one's ticks by hand.
  timer.SetInterval(1);
  timer.SetEnabled(true);
  MSG m;
  const DWORD start = GetTickCount();
  while (ticks < 2 && GetTickCount() - start < 3000) {
    if (PeekMessageW(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE) && m.wParam == 9) {
      backend.onFired();
    }
  }
  EXPECT_GE(ticks, 2);
  EXPECT_EQ(deepest, 1);
  timer.SetEnabled(false);
}

}  // namespace
}  // namespace kov::testing
