// The form's messages: the loop, the input handed to the host before it
// reaches a control, and the window procedures.
#include <optional>

#include "win32/Win32Window.h"

namespace kov::win32 {
namespace {

using window::InputEvent;

constexpr int kFirstId = 100;

std::optional<InputEvent::Kind> KindOf(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return InputEvent::Kind::KeyDown;
    case WM_CHAR:
    case WM_SYSCHAR:
      return InputEvent::Kind::Character;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      return InputEvent::Kind::Wheel;
    default:
      if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return InputEvent::Kind::KeyUp;
      if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) {
        return InputEvent::Kind::Mouse;
      }
      return std::nullopt;
  }
}

InputEvent::Key KeyOf(const MSG& message) {
  const bool down = message.message == WM_KEYDOWN;
  const bool character = message.message == WM_CHAR;
  if ((down && message.wParam == VK_RETURN) || (character && message.wParam == '\r')) {
    return InputEvent::Key::Return;
  }
  if ((down || character) && message.wParam == VK_ESCAPE) return InputEvent::Key::Escape;
  if (down && message.wParam == VK_TAB) return InputEvent::Key::Tab;
  return InputEvent::Key::Other;
}

}  // namespace

int Win32Window::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);
  return static_cast<int>(message.wParam);
}

void Win32Window::ProcessPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!Dispatch(message)) {
      // The end of the program: the outermost loop must see it too.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
  }
}

bool Win32Window::Dispatch(MSG& message) {
  if (message.message == WM_QUIT) return false;
  if (!Filter(message)) return true;
  // Dialog navigation: Tab, arrows and Space on buttons, as in a dialog box.
  if (!IsDialogMessageW(window_, &message)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

bool Win32Window::Filter(const MSG& message) {
  const auto kind = KindOf(message.message);
  if (!kind) return true;
  InputEvent input{*kind, ControlOf(message.hwnd), KeyOf(message)};
  input.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  const bool keyboard = message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST;
  input.alt = keyboard && (HIWORD(message.lParam) & KF_ALTDOWN) != 0;
  input.madeAt = static_cast<std::uint32_t>(message.time);
  if (host_->Input(input) != window::InputAnswer::Pass) return false;
  // The status line, a multi-line box, would keep a Tab that the dialog
  // navigation is to have: it moves on from there as from any other control.
  if (input.key == InputEvent::Key::Tab &&
      (SendMessageW(message.hwnd, WM_GETDLGCODE, VK_TAB, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS))) {
    SetFocus(GetNextDlgTabItem(window_, message.hwnd, input.shift));
    return false;
  }
  return true;
}

LRESULT CALLBACK Win32Window::FormProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (form == nullptr || form->host_ == nullptr) return DefWindowProcW(window, message, w, l);
  // No C++ exception may cross into the system: one that got this far ends
  // the program, as any other end does.
  try {
    return form->OnMessage(message, w, l);
  } catch (...) {
    form->Quit();
    return 0;
  }
}

LRESULT Win32Window::OnMessage(UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED) OnCommand(LOWORD(w));
      return 0;
    case WM_TIMER:
      for (Win32Timer* t : {&timer1_, &timer3_, &timer4_}) {
        if (t->Id() == w && t->onFired) t->onFired();
      }
      return 0;
    case WM_CLOSE:
      // A close through the frame: no handler runs and nothing is sent.
      host_->Closed();
      return 0;
    case DM_GETDEFID:
      return 0;  // no default button
    default:
      return DefWindowProcW(window_, message, w, l);
  }
}

void Win32Window::OnCommand(int id) {
  const int row = id - kFirstId;
  if (row < 0 || row >= static_cast<int>(window::kControlCount)) return;
  host_->Input({InputEvent::Kind::Press, static_cast<window::Control>(row)});
}

LRESULT CALLBACK Win32Window::GraphProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_PAINT && form != nullptr) {
    try {
      form->PaintGraph(window);
    } catch (...) {
      form->Quit();
    }
    return 0;
  }
  if (message == WM_ERASEBKGND) return 1;  // the paint covers it all
  return DefWindowProcW(window, message, w, l);
}

void Win32Window::PaintGraph(HWND graph) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(graph, &paint);
  const auto which = graph == Child(window::ControlOf(window::Graph::Spectrum))
                         ? window::Graph::Spectrum
                         : window::Graph::Waterfall;
  (which == window::Graph::Spectrum ? data_ : wf_)->CopyTo(dc);
  EndPaint(graph, &paint);
  if (host_ != nullptr) host_->GraphPainted(which);
}

}  // namespace kov::win32
