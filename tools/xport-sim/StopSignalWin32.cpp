#include <winsock2.h>
#include <ws2tcpip.h>
// After winsock2.h, which must come before windows.h.
#include <windows.h>

#include <atomic>
#include <string>

#include "StopSignal.h"

namespace kov::sim {
namespace {

std::atomic<bool> g_stop{false};
// A connected pair of loopback sockets: WSAPoll watches only sockets, so the
// stop reaches the waits as a byte nobody reads.
SOCKET g_wakeRead = INVALID_SOCKET;
SOCKET g_wakeWrite = INVALID_SOCKET;

void RequestStop() {
  g_stop.store(true);
  const char byte = 1;
  ::send(g_wakeWrite, &byte, 1, 0);
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  RequestStop();
  // Windows ends the process as soon as this returns for a closing console
  // (or after 5 s): let the sessions log what their peers already sent. The
  // end of main ends this wait too.
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    ::Sleep(4000);
  }
  return TRUE;
}

VOID CALLBACK OnStopEvent(PVOID, BOOLEAN) { RequestStop(); }

// A program that started it without a console (a test, say) cannot send it
// Ctrl+C: it sets this event instead, named after the process.
bool WatchStopEvent() {
  const std::string name = "Local\\xport-sim-stop-" + std::to_string(::GetCurrentProcessId());
  const HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, name.c_str());
  HANDLE wait = nullptr;
  return event != nullptr && ::RegisterWaitForSingleObject(&wait, event, OnStopEvent, nullptr,
                                                           INFINITE, WT_EXECUTEONLYONCE);
}

bool MakeWakePair() {
  const net::Listening listening = net::ListenOnLoopback(0);
  if (listening.socket == net::kNoSocket) return false;
  const SOCKET listener = static_cast<SOCKET>(listening.socket);
  g_wakeWrite = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(listening.port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  fd_set waiting;
  FD_ZERO(&waiting);
  FD_SET(listener, &waiting);
  timeval limit{5, 0};
  const bool connected =
      g_wakeWrite != INVALID_SOCKET &&
      ::connect(g_wakeWrite, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::select(0, &waiting, nullptr, nullptr, &limit) == 1;
  if (connected) g_wakeRead = static_cast<SOCKET>(net::Accept(listening.socket));
  ::closesocket(listener);
  return g_wakeRead != INVALID_SOCKET;
}

}  // namespace

bool InstallStopHandlers(std::string& error) {
  if (!MakeWakePair()) {
    error = "cannot make the stop's loopback socket pair";
    return false;
  }
  if (!::SetConsoleCtrlHandler(OnConsoleEvent, TRUE)) {
    error = "cannot catch Ctrl+C";
    return false;
  }
  if (!WatchStopEvent()) {
    error = "cannot make the stop event";
    return false;
  }
  return true;
}

bool StopRequested() { return g_stop.load(); }

net::Socket StopWakeHandle() { return static_cast<net::Socket>(g_wakeRead); }

}  // namespace kov::sim
