#pragma once

#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <windows.h>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "win32/DibSurface.h"
#include "win32/Win32Timer.h"
#include "window/Host.h"
#include "window/Layout.h"
#include "window/Toolkit.h"

namespace kov::win32 {

// KOV_Xport_WindowsAPI_Form on the Windows API: the controls of the layout
// table as child windows (control id 100 + the row, and the row + 1 as a
// window property), every input handed to the host before it reaches a
// control, the primitive operations the host asks. No C++ exception crosses
// its window procedures.
class Win32Window : public window::Toolkit {
 public:
  explicit Win32Window(window::HostWorld world, window::MessageHook showMessage = {});
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
  HWND Child(window::Control control) const;
  int Dpi() const { return dpi_; }

  // window::Toolkit: the controls, as child windows.
  std::string Text(window::Control control) const override;
  void SetText(window::Control control, std::string_view text) override;
  void SetEnabled(window::Control button, bool enabled) override;
  window::CheckState Check() const override;
  void SetCheck(window::CheckState state) override;
  std::optional<window::Control> Focused() const override;
  void Focus(std::optional<window::Control> control) override;
  void PaintNow(window::Control control) override;
  void RequestPaint(window::Graph graph) override;

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
  void OnCommand(int id);
  void PaintGraph(HWND graph);
  void CreateControls();
  HWND CreateControl(const window::ControlRow& design);
  HFONT FontOf(double points);
  // The control a window is; none for the form itself or another window.
  std::optional<window::Control> ControlOf(HWND window) const;
  // Whether the message may go on to its window: input the host drops or
  // handles stops here.
  bool Filter(const MSG& message);

  int dpi_ = 96;
  HWND window_ = nullptr;
  std::array<HWND, window::kControlCount> controls_{};  // by row of the layout table
  // The design face at each size the layout asks for.
  std::map<double, HFONT> fonts_;
  std::unique_ptr<DibSurface> data_, wf_;
  Win32Timer timer1_{1}, timer3_{3}, timer4_{4};
  // Set when the socket of a wait for the instrument has something to read.
  WSAEVENT readable_ = WSA_INVALID_EVENT;
  std::unique_ptr<window::Host> host_;
};

}  // namespace kov::win32
