#pragma once

#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "win32/DibSurface.h"
#include "win32/Win32Timer.h"
#include "window/Host.h"
#include "window/Layout.h"
#include "window/Toolkit.h"

namespace kov::win32 {

// Shows a modal message with one OK button; the default is MessageBoxW.
using MessageHook = std::function<void(std::string_view caption, std::string_view text)>;

// KOV_Xport_WindowsAPI_Form on the Windows API: the controls of the layout
// table as child windows (control id 100 + the row, the name as a window
// property), their messages forwarded to the host, the primitive operations
// the host asks. No C++ exception crosses its window procedures.
class Win32Window : public window::Toolkit {
 public:
  explicit Win32Window(window::HostWorld world, MessageHook showMessage = {});
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  // Form_Load; false when the program ended during it (do not show then).
  bool Load() { return host_->Load(); }
  void Show();
  // The message loop, until the program ends; its exit code.
  int Run();
  // One message as the loop handles it; false for WM_QUIT.
  bool Dispatch(MSG& message);

  window::Host& Host() { return *host_; }
  HWND Handle() const { return window_; }
  HWND Control(std::string_view name) const;
  // The control's name; "" for the form itself or another window.
  std::string NameOf(HWND control) const;
  int Dpi() const { return dpi_; }

  // window::Toolkit: the controls, as child windows.
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, std::string_view text) override;
  void SetEnabled(std::string_view button, bool enabled) override;
  window::CheckState Check() const override;
  void SetCheck(window::CheckState state) override;
  std::string Focused() const override;
  void Focus(std::string_view control) override;
  void PaintNow(std::string_view control) override;
  void RequestPaint(std::string_view graph) override;

  // window::Toolkit: the thread's messages and waits, and the end.
  std::uint32_t InputClockMs() const override;
  void ShowMessage(std::string_view caption, std::string_view text) override;
  void ProcessPendingEvents() override;
  void WaitForEvents(platform::SocketHandle socket, std::int32_t timeoutMs) override;
  void Hide() override;
  void Quit() override;

 private:
  static LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM w, LPARAM l);
  static LRESULT CALLBACK GraphProc(HWND window, UINT message, WPARAM w, LPARAM l);
  LRESULT OnMessage(UINT message, WPARAM w, LPARAM l);
  void OnCommand(int id, int code);
  void PaintGraph(HWND graph);
  void CreateControls();
  HWND CreateControl(const window::ControlSpec& design, int row);
  // Whether the message may go on to its window: input the rules drop, and
  // the keys the form handles itself, stop here.
  bool Filter(const MSG& message);

  MessageHook showMessage_;
  int dpi_ = 96;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;  // by row of the layout table
  std::map<HWND, std::string> names_;
  HFONT smallFont_ = nullptr, largeFont_ = nullptr;
  std::unique_ptr<DibSurface> data_, wf_;
  Win32Timer timer1_{1}, timer3_{3}, timer4_{4};
  // Set when the socket of a wait for the instrument has something to read.
  WSAEVENT readable_ = WSA_INVALID_EVENT;
  std::unique_ptr<window::Host> host_;
};

}  // namespace kov::win32
