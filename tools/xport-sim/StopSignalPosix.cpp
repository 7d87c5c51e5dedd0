#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "StopSignal.h"

namespace kov::sim {
namespace {

static_assert(std::atomic<bool>::is_always_lock_free, "read and set inside a signal handler");
std::atomic<bool> g_stop{false};
// A pipe whose read end turns readable with the stop; nobody drains it, so
// every thread's wait sees it.
int g_wake[2] = {-1, -1};

void OnStopSignal(int) {
  const int savedErrno = errno;
  g_stop.store(true);
  const char byte = 1;
  if (::write(g_wake[1], &byte, 1) < 0) {
    // A full pipe is already readable.
  }
  errno = savedErrno;
}

}  // namespace

bool InstallStopHandlers(std::string& error) {
  if (::pipe(g_wake) != 0) {
    error = std::string("cannot make the stop pipe: ") + std::strerror(errno);
    return false;
  }
  for (const int fd : g_wake) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGTERM, &action, nullptr) != 0 || ::sigaction(SIGINT, &action, nullptr) != 0) {
    error = std::string("cannot catch SIGTERM and SIGINT: ") + std::strerror(errno);
    return false;
  }
  return true;
}

bool StopRequested() { return g_stop.load(); }

net::Socket StopWakeHandle() { return g_wake[0]; }

}  // namespace kov::sim
