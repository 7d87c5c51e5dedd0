#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "WindowContract.h"
#include "platform/Utf16.h"
#include "win32/Win32Window.h"

namespace kov::testing {

// The Windows window, in this process (under Wine here), fed input as the
// window system would feed it: messages through the form's own dispatch.
class Win32Driver : public WindowDriver {
 public:
  ~Win32Driver() override {
    for (auto& [id, action] : Pending()) KillTimer(nullptr, id);
    Pending().clear();
    ForgetTheEnd();
    if (form_ == nullptr) return;
    // Left open until the process ends, its timers stopped: without a window
    // manager, Wine takes 2 s to take a window off the screen.
    for (int n : {1, 3, 4}) form_->Host().Timer(n).End();
    (void)form_.release();
  }

  bool Open(window::HostWorld world) override {
    ForgetTheEnd();
    form_ = std::make_unique<win32::Win32Window>(
        std::move(world), [this](std::string_view c, std::string_view t) {
          messages_.push_back(std::string(c) + "|" + std::string(t));
        });
    const bool loaded = form_->Load();
    if (loaded) form_->Show();
    return loaded;
  }
  window::Host& Host() override { return form_->Host(); }
  window::Toolkit& Toolkit() override { return *form_; }
  bool Visible() override { return IsWindowVisible(form_->Handle()) != FALSE; }
  std::string Caption() override {
    wchar_t text[256];
    return platform::FromUtf16(std::wstring(text, GetWindowTextW(form_->Handle(), text, 256)));
  }
  Rect Geometry(Control control) override {
    RECT r;
    GetWindowRect(Child(control), &r);
    MapWindowPoints(nullptr, form_->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }
  Rect Client() override {
    RECT r;
    GetClientRect(form_->Handle(), &r);
    return {0, 0, r.right, r.bottom};
  }
  bool Resizable() override {
    return (GetWindowLongW(form_->Handle(), GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != 0;
  }
  bool Enabled(Control control) override { return IsWindowEnabled(Child(control)) != FALSE; }

  void Key(testing::Key key) override {
    static constexpr WPARAM kKeys[] = {VK_RETURN, VK_RETURN, VK_ESCAPE, VK_SPACE, VK_TAB, VK_TAB};
    const WPARAM vk = kKeys[static_cast<int>(key)];
    BYTE state[256];
    GetKeyboardState(state);
    const BYTE shift = state[VK_SHIFT];
    state[VK_SHIFT] = key == Key::Backtab ? 0x80 : 0;
    SetKeyboardState(state);
    HWND focus = GetFocus() != nullptr ? GetFocus() : form_->Handle();
    const DWORD extended = key == Key::Enter ? (1 << 24) : 0;
    Deliver(MSG{focus, WM_KEYDOWN, vk, static_cast<LPARAM>(1 | extended), GetTickCount(), {}});
    if (vk == VK_RETURN || vk == VK_ESCAPE || vk == VK_SPACE) {
      Deliver(MSG{focus, WM_CHAR, vk == VK_SPACE ? WPARAM{' '} : vk, 1, GetTickCount(), {}});
    }
    // The key-up's two top bits: a negative LPARAM on 32-bit Windows, as
    // the system sends it there.
    const auto up = static_cast<LPARAM>(1 | extended | (DWORD{3} << 30));
    Deliver(MSG{focus, WM_KEYUP, vk, up, GetTickCount(), {}});
    state[VK_SHIFT] = shift;
    SetKeyboardState(state);
  }
  // Made agoMs before now, delivered when the window next handles events.
  void PostClick(Control control, std::uint32_t agoMs) override {
    HWND target = Child(control);
    RECT r;
    GetClientRect(target, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    const DWORD madeAt = GetTickCount() - agoMs;
    delayed_.push_back(MSG{target, WM_LBUTTONDOWN, MK_LBUTTON, at, madeAt, {}});
    delayed_.push_back(MSG{target, WM_LBUTTONUP, 0, at, madeAt, {}});
  }
  void Press(Control control) override {
    HWND button = Child(control);
    if (!IsWindowEnabled(button)) return;
    SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }
  void Close() override { SendMessageW(form_->Handle(), WM_CLOSE, 0, 0); }
  Image Shown(Control control) override;
  bool RunUntil(const std::function<bool()>& done, int timeoutMs) override;
  void WhenThen(std::function<bool()> when, std::function<void()> action) override;
  std::vector<std::string> Messages() override { return messages_; }

  win32::Win32Window& Form() { return *form_; }
  // The control by its id, as a tool sees the window.
  HWND Child(Control control) {
    return GetDlgItem(form_->Handle(), 100 + static_cast<int>(control));
  }

 private:
  // The end of one window's program posts WM_QUIT to the thread: the next
  // window of the same test process must not see it.
  static void ForgetTheEnd() {
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
  }
  void Deliver(MSG message) { form_->Dispatch(message); }
  void Pump();
  static std::map<UINT_PTR, std::pair<std::function<bool()>, std::function<void()>>>& Pending();
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);

  std::unique_ptr<win32::Win32Window> form_;
  std::vector<std::string> messages_;
  std::vector<MSG> delayed_;
};

}  // namespace kov::testing
