// KOV_Xport_WindowsAPI.exe: the program on the Windows API.
#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <windows.h>
// After windows.h.
#include <commctrl.h>
#include <mmsystem.h>

#include "win32/Win32Window.h"
#include "window/SystemWorld.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Sleeps and waits of 1 ms mean 1 ms, not the default 15.6 ms tick.
  timeBeginPeriod(1);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  kov::window::SystemWorld system;
  auto* form = new kov::win32::Win32Window(system.World());
  if (!form->Load()) ExitProcess(0);
  form->Show();
  // Ends at once: nothing runs after the end, not even the window's own
  // clean-up (the system takes the window, the socket and the rest).
  ExitProcess(static_cast<UINT>(form->Run()));
}
