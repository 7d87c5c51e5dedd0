// Where the 32- and 64-bit programs differ at the window system: the form's
// address kept in each of its windows, and the calling convention of their
// procedures, the form's timers included.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <vector>

#include "fakes/FakeClock.h"
#include "fakes/FakeProfileFiles.h"
#include "fakes/FakeSockets.h"
#include "fakes/FakeTextFiles.h"
#include "win32/Win32Window.h"
#include "window/InputRules.h"

namespace kov::testing {
namespace {

// A form made at the top of the address space: past 4 GiB on 64-bit
// Windows, where a pointer kept in a LONG would lose its upper half.
class FormUpHigh : public ::testing::Test {
 protected:
  FormUpHigh()
      : memory_(VirtualAlloc(nullptr, sizeof(win32::Win32Window),
                             MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE)),
        form_(*new (memory_) win32::Win32Window(
            window::HostWorld{sockets_, clock_, files_, profiles_, "C:\\kov", "WFdata.txt"})) {}
  ~FormUpHigh() override {
    form_.~Win32Window();
    VirtualFree(memory_, 0, MEM_RELEASE);
  }

  struct Window {
    const char* name;
    HWND handle;
  };
  std::vector<Window> Windows() const {
    return {{"the form", form_.Handle()},
            {"XportData", form_.Child(window::Control::XportData)},
            {"XportWF", form_.Child(window::Control::XportWF)}};
  }

  fakes::FakeClock clock_;
  fakes::FakeSockets sockets_{clock_};
  fakes::FakeTextFiles files_;
  fakes::FakeProfileFiles profiles_;
  void* memory_;
  win32::Win32Window& form_;
};

TEST_F(FormUpHigh, EveryWindowKeepsTheWholeAddressOfItsForm) {
  const auto address = reinterpret_cast<std::uintptr_t>(&form_);
  if constexpr (sizeof address == 8) {
    ASSERT_GT(address, 0xFFFFFFFFu) << "not past 4 GiB";
  }
  for (const Window& w : Windows()) {
    EXPECT_EQ(GetWindowLongPtrW(w.handle, GWLP_USERDATA), static_cast<LONG_PTR>(address)) << w.name;
  }
  // A click through the window system reaches this form and no other.
  HWND check = form_.Child(window::Control::Chk1);
  const window::CheckState before = form_.Check();
  SendMessageW(form_.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(check), BN_CLICKED),
               reinterpret_cast<LPARAM>(check));
  EXPECT_EQ(form_.Check(), window::NextCheckState(before));
}

#if defined(__i386__)
// Calls a procedure of four arguments as the window system does: pushed
// from the right, to be taken off by the procedure (the Windows convention,
// CALLBACK). Gives the bytes it left on the stack: 16 from a procedure of
// the C convention, which on 32-bit Windows slowly walks the stack away.
int StackLeftBy(const void* procedure, const std::uint32_t (&arguments)[4]) {
  int left;
  asm volatile(
      "movl %%esp, %%edi\n\t"
      "pushl 12(%[a])\n\t"
      "pushl 8(%[a])\n\t"
      "pushl 4(%[a])\n\t"
      "pushl (%[a])\n\t"
      "call *%[p]\n\t"
      "movl %%edi, %%ecx\n\t"
      "subl %%esp, %%ecx\n\t"
      "movl %%edi, %%esp\n\t"
      : "=c"(left)
      : [a] "S"(arguments), [p] "b"(procedure)
      : "eax", "edx", "edi", "memory", "cc");
  return left;
}

TEST_F(FormUpHigh, ProceduresTakeTheirArgumentsOffTheStack) {
  struct Row {
    Window window;
    UINT message;
    WPARAM w;
  };
  const auto windows = Windows();
  const Row rows[] = {
      {windows[0], WM_NULL, 0},
      {windows[0], WM_TIMER, 1},  // Timer1, stopped: its tick does nothing
      {windows[1], WM_ERASEBKGND, 0},
      {windows[2], WM_ERASEBKGND, 0},
  };
  for (const Row& row : rows) {
    const auto procedure =
        reinterpret_cast<const void*>(GetWindowLongPtrW(row.window.handle, GWLP_WNDPROC));
    const auto handle = reinterpret_cast<std::uintptr_t>(row.window.handle);
    EXPECT_EQ(StackLeftBy(procedure, {handle, row.message, row.w, 0}), 0)
        << row.window.name << ", message " << row.message;
  }
}
#endif

}  // namespace
}  // namespace kov::testing
