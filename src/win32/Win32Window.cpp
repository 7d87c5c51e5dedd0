#include "win32/Win32Window.h"

#include <utility>

#include "platform/Utf16.h"

namespace kov::win32 {
namespace {

using window::Kind;

constexpr wchar_t kFormClass[] = L"KOV_Xport_WindowsAPI_Form";
constexpr wchar_t kGraphClass[] = L"KOV_Xport_Graph";
constexpr wchar_t kNameProperty[] = L"KOV_Xport.Name";
constexpr int kFirstId = 100;
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = WS_EX_CONTROLPARENT;

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

// The design face with the Shift-JIS character set, regular, at the design
// size for this screen.
HFONT DesignFont(double points, int dpi) {
  const int height = -static_cast<int>(points * dpi / 72.0 + 0.5);
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE,
                     platform::Utf16(window::kFontFamilies[0]).c_str());
}

void RegisterClasses(HINSTANCE instance, WNDPROC form, WNDPROC graph) {
  WNDCLASSEXW c{};
  c.cbSize = sizeof c;
  c.lpfnWndProc = form;
  c.hInstance = instance;
  c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  c.lpszClassName = kFormClass;
  RegisterClassExW(&c);
  c.lpfnWndProc = graph;
  c.hbrBackground = nullptr;  // the graph paints all of itself
  c.lpszClassName = kGraphClass;
  RegisterClassExW(&c);
}

std::pair<const wchar_t*, DWORD> ClassAndStyle(Kind kind) {
  switch (kind) {
    case Kind::Label:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX};
    case Kind::Entry:
      return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP};
    case Kind::Status:
      return {L"EDIT", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_TABSTOP};
    case Kind::Check:
      return {L"BUTTON", BS_3STATE | WS_TABSTOP};
    case Kind::Button:
      return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP};
    case Kind::Graph:
      return {kGraphClass, 0};
  }
  return {L"STATIC", 0};
}

}  // namespace

Win32Window::Win32Window(window::HostWorld world, window::MessageHook showMessage)
    : dpi_(ScreenDpi()) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance, FormProc, GraphProc);
  RECT frame{0, 0, window::Pixels(window::kClientWidthTwips, dpi_),
             window::Pixels(window::kClientHeightTwips, dpi_)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  window_ = CreateWindowExW(kFormExStyle, kFormClass, platform::Utf16(window::kCaption).c_str(),
                            kFormStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, this);
  for (Win32Timer* t : {&timer1_, &timer3_, &timer4_}) t->Attach(window_);
  data_ = std::make_unique<DibSurface>(window::PixelsOf(window::Graph::Spectrum, dpi_));
  wf_ = std::make_unique<DibSurface>(window::PixelsOf(window::Graph::Waterfall, dpi_));
  CreateControls();
  host_ = std::make_unique<window::Host>(
      *this, std::move(world),
      window::HostParts{data_->Surface(), wf_->Surface(), timer1_, timer3_, timer4_},
      std::move(showMessage));
}

Win32Window::~Win32Window() {
  host_.reset();
  if (readable_ != WSA_INVALID_EVENT) WSACloseEvent(readable_);
  DestroyWindow(window_);
  for (const auto& [points, font] : fonts_) DeleteObject(font);
}

void Win32Window::CreateControls() {
  // Windows moves the focus in the order the controls were made: the tab
  // order first, then the controls that take no focus.
  for (const window::Control control : window::kTabOrder) CreateControl(RowOf(control));
  for (const window::ControlRow& c : window::kControls) {
    if (Child(c.id) == nullptr) CreateControl(c);
  }
}

HWND Win32Window::CreateControl(const window::ControlRow& c) {
  const int row = static_cast<int>(c.id);
  const auto [windowClass, style] = ClassAndStyle(c.kind);
  const DWORD exStyle = c.kind == Kind::Entry || c.kind == Kind::Status ? WS_EX_CLIENTEDGE : 0;
  HWND control = CreateWindowExW(
      exStyle, windowClass, platform::Utf16(c.text).c_str(), WS_CHILD | WS_VISIBLE | style,
      window::Pixels(c.left, dpi_), window::Pixels(c.top, dpi_), window::Pixels(c.width, dpi_),
      window::Pixels(c.height, dpi_), window_, reinterpret_cast<HMENU>(INT_PTR{kFirstId + row}),
      GetModuleHandleW(nullptr), this);
  SetPropW(control, kNameProperty, reinterpret_cast<HANDLE>(INT_PTR{row + 1}));
  HGDIOBJ font = c.pointSize == 0 ? GetStockObject(DEFAULT_GUI_FONT) : FontOf(c.pointSize);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  controls_[static_cast<std::size_t>(row)] = control;
  return control;
}

HFONT Win32Window::FontOf(double points) {
  HFONT& font = fonts_[points];
  if (font == nullptr) font = DesignFont(points, dpi_);
  return font;
}

void Win32Window::Show() {
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

HWND Win32Window::Child(window::Control control) const {
  return controls_[static_cast<std::size_t>(control)];
}

std::optional<window::Control> Win32Window::ControlOf(HWND window) const {
  if (window == nullptr || GetParent(window) != window_) return std::nullopt;
  const auto row = reinterpret_cast<INT_PTR>(GetPropW(window, kNameProperty));
  if (row < 1 || row > static_cast<INT_PTR>(window::kControlCount)) return std::nullopt;
  return static_cast<window::Control>(row - 1);
}

std::string Win32Window::Text(window::Control control) const {
  HWND w = Child(control);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(w)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(w, text.data(), static_cast<int>(text.size()))));
  return platform::FromUtf16(text);
}

void Win32Window::SetText(window::Control control, std::string_view text) {
  SetWindowTextW(Child(control), platform::Utf16(text).c_str());
}

void Win32Window::PaintNow(window::Control control) {
  RedrawWindow(Child(control), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  // Hands what was painted to the screen now, before a blocking wait: Wine
  // shows a window's drawing only when its thread next waits. This wait
  // takes no message, so no input is handled.
  MsgWaitForMultipleObjectsEx(0, nullptr, 0, QS_ALLINPUT, 0);
}

void Win32Window::RequestPaint(window::Graph graph) {
  InvalidateRect(Child(window::ControlOf(graph)), nullptr, FALSE);
}

void Win32Window::SetEnabled(window::Control button, bool enabled) {
  EnableWindow(Child(button), enabled ? TRUE : FALSE);
}

window::CheckState Win32Window::Check() const {
  const LRESULT state = SendMessageW(Child(window::Control::Chk1), BM_GETCHECK, 0, 0);
  return state == BST_CHECKED         ? window::CheckState::Checked
         : state == BST_INDETERMINATE ? window::CheckState::Third
                                      : window::CheckState::Clear;
}

void Win32Window::SetCheck(window::CheckState state) {
  const WPARAM value = state == window::CheckState::Checked ? BST_CHECKED
                       : state == window::CheckState::Third ? BST_INDETERMINATE
                                                            : BST_UNCHECKED;
  SendMessageW(Child(window::Control::Chk1), BM_SETCHECK, value, 0);
}

std::optional<window::Control> Win32Window::Focused() const { return ControlOf(GetFocus()); }

void Win32Window::Focus(std::optional<window::Control> control) {
  SetFocus(control ? Child(*control) : window_);
}

void Win32Window::ShowMessage(std::string_view caption, std::string_view text) {
  MessageBoxW(window_, platform::Utf16(text).c_str(), platform::Utf16(caption).c_str(), MB_OK);
}

void Win32Window::WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) {
  // The socket's readiness as an event, waited on with the window's input:
  // whichever comes first ends the wait. The event is made once; selecting
  // the socket afresh for each wait records data already there, on whatever
  // connection the socket is now.
  if (readable_ == WSA_INVALID_EVENT) readable_ = WSACreateEvent();
  WSAResetEvent(readable_);
  WSAEventSelect(static_cast<SOCKET>(socket), readable_, FD_READ | FD_CLOSE);
  MsgWaitForMultipleObjectsEx(1, &readable_, static_cast<DWORD>(timeoutMs), QS_ALLINPUT,
                              MWMO_INPUTAVAILABLE);
}

void Win32Window::Hide() { ShowWindow(window_, SW_HIDE); }

void Win32Window::Quit() { PostQuitMessage(0); }

std::uint32_t Win32Window::InputClockMs() const { return GetTickCount(); }

}  // namespace kov::win32
