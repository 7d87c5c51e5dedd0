// The form's messages: the loop, the rules input passes before it reaches a
// control, and the window procedures.
#include "win32/Win32Window.h"
#include "window/InputRules.h"

namespace kov::win32 {
namespace {

constexpr int kFirstId = 100;

bool IsInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE);
}

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

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
  if (!IsInput(message.message)) return true;
  const std::string target = NameOf(message.hwnd);
  // Input the operator made while the control was disabled (during a
  // blocking wait) is dropped, also now that it is enabled.
  if (!target.empty() && !host_->Accepts(target, static_cast<std::uint32_t>(message.time))) {
    return false;
  }
  if (message.message == WM_KEYDOWN) {
    switch (message.wParam) {
      case VK_RETURN:
        // Only the focused push button; there is no default button.
        if (host_->EnterPresses(target)) host_->Clicked(target);
        return false;
      case VK_ESCAPE:
        return false;
      case VK_TAB:
        if (host_->Tab(!ShiftDown())) return false;
        // The status line, a multi-line box, would keep the Tab: it moves on
        // from there as from any other control.
        if (SendMessageW(message.hwnd, WM_GETDLGCODE, VK_TAB, 0) &
            (DLGC_WANTTAB | DLGC_WANTALLKEYS)) {
          SetFocus(GetNextDlgTabItem(window_, message.hwnd, ShiftDown()));
          return false;
        }
        return true;
      default:
        break;
    }
  }
  // No character for Enter or Esc reaches an entry box (its beep).
  return !(message.message == WM_CHAR && (message.wParam == '\r' || message.wParam == 0x1B));
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
      if (HIWORD(w) == BN_CLICKED) OnCommand(LOWORD(w), HIWORD(w));
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

void Win32Window::OnCommand(int id, int) {
  const int row = id - kFirstId;
  if (row < 0 || row >= static_cast<int>(std::size(window::kControls))) return;
  const window::ControlSpec& c = window::kControls[row];
  if (c.kind == window::Kind::Check) SetCheck(window::NextCheckState(Check()));
  if (c.kind == window::Kind::Button) host_->Clicked(c.name);
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
  const std::string name = NameOf(graph);
  (name == window::kSpectrumGraph ? data_ : wf_)->CopyTo(dc);
  EndPaint(graph, &paint);
  if (host_ != nullptr) host_->GraphPainted(name);
}

}  // namespace kov::win32
