#include "Win32Driver.h"

namespace kov::testing {

Image Win32Driver::Shown(Control control) {
  // From the screen itself: what was painted, nothing painted anew.
  HWND target = Child(control);
  RECT r;
  GetWindowRect(target, &r);
  RECT client;
  GetClientRect(target, &client);
  POINT origin{0, 0};
  ClientToScreen(target, &origin);
  const int w = client.right, h = client.bottom;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  GdiFlush();
  Image image{w, h, {}};
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  image.pixels.assign(pixels, pixels + static_cast<std::size_t>(w) * h);
  for (auto& p : image.pixels) p &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

void Win32Driver::Pump() {
  for (MSG& m : std::exchange(delayed_, {})) form_->Dispatch(m);
  form_->ProcessPendingEvents();
}

bool Win32Driver::RunUntil(const std::function<bool()>& done, int timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    Pump();
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return done();
    MsgWaitForMultipleObjectsEx(0, nullptr, 5, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

std::map<UINT_PTR, std::pair<std::function<bool()>, std::function<void()>>>&
Win32Driver::Pending() {
  static std::map<UINT_PTR, std::pair<std::function<bool()>, std::function<void()>>> pending;
  return pending;
}

void CALLBACK Win32Driver::Tick(HWND, UINT, UINT_PTR id, DWORD) {
  auto it = Pending().find(id);
  if (it == Pending().end() || !it->second.first()) return;
  KillTimer(nullptr, id);
  const auto action = it->second.second;
  Pending().erase(it);
  action();
}

void Win32Driver::WhenThen(std::function<bool()> when, std::function<void()> action) {
  // A thread timer: its tick reaches whatever loop is taking messages then,
  // the receive loop's included.
  const UINT_PTR id = SetTimer(nullptr, 0, 2, Tick);
  Pending()[id] = {std::move(when), std::move(action)};
}

}  // namespace kov::testing
