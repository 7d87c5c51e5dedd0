#include "Interruption.h"

#include <array>
#include <atomic>

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf16.h"
#else
#include <pthread.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace kov::wfexport {
namespace {

// More than the outputs of one export.
constexpr std::size_t kSlots = 16;

#ifdef _WIN32
CRITICAL_SECTION* Lock() {
  static CRITICAL_SECTION* lock = [] {
    static CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    return &section;
  }();
  return lock;
}
std::array<const char*, kSlots> g_files{};

// Runs on a thread of its own while the program may be writing: the lock
// keeps the names alive, and is never left, as the process ends here (a
// file still open is deleted once the process has closed it).
BOOL WINAPI OnConsoleEvent(DWORD) {
  constexpr UINT kControlCExit = 0xC000013A;
  EnterCriticalSection(Lock());
  for (const char* path : g_files) {
    if (path != nullptr) DeleteFileW(platform::Utf16(path).c_str());
  }
  TerminateProcess(GetCurrentProcess(), kControlCExit);
  return TRUE;
}
#else
// Read by the handler, which interrupts the one thread that changes them.
std::array<std::atomic<const char*>, kSlots> g_files{};
static_assert(std::atomic<const char*>::is_always_lock_free);

extern "C" void OnSignal(int signal) {
  for (auto& file : g_files) {
    if (const char* path = file.load()) unlink(path);
  }
  // The default action is back and the signal blocked until the handler
  // returns: then it ends the program as killed by that signal.
  raise(signal);
}
#endif

}  // namespace

#ifdef _WIN32
void HandleInterruptions() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

// The handler waits for the lock (taken again by RemoveOnInterruption).
HeldOff::HeldOff() { EnterCriticalSection(Lock()); }
HeldOff::~HeldOff() { LeaveCriticalSection(Lock()); }

int RemoveOnInterruption(const char* path) {
  EnterCriticalSection(Lock());
  int slot = -1;
  for (std::size_t i = 0; i < kSlots && slot < 0; ++i) {
    if (g_files[i] == nullptr) g_files[i] = path, slot = static_cast<int>(i);
  }
  LeaveCriticalSection(Lock());
  return slot;
}

void LetGo(int slot) {
  if (slot < 0) return;
  EnterCriticalSection(Lock());
  g_files[static_cast<std::size_t>(slot)] = nullptr;
  LeaveCriticalSection(Lock());
}
#else
void HandleInterruptions() {
  signal(SIGXFSZ, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, s);
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction before {};
    if (sigaction(s, nullptr, &before) == 0 && before.sa_handler != SIG_IGN) {
      sigaction(s, &action, nullptr);
    }
  }
}

HeldOff::HeldOff() {
  sigset_t block;
  sigemptyset(&block);
  for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&block, s);
  pthread_sigmask(SIG_BLOCK, &block, &before_);
}

// A signal that came meanwhile is handled here.
HeldOff::~HeldOff() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

int RemoveOnInterruption(const char* path) {
  for (std::size_t i = 0; i < kSlots; ++i) {
    const char* none = nullptr;
    if (g_files[i].compare_exchange_strong(none, path)) return static_cast<int>(i);
  }
  return -1;
}

void LetGo(int slot) {
  if (slot >= 0) g_files[static_cast<std::size_t>(slot)].store(nullptr);
}
#endif

}  // namespace kov::wfexport
