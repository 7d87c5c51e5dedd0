#include "platform/ProgramFolder.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace kov::platform {

std::string ProgramFolder() {
#ifdef _WIN32
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string file(path, n);
#else
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  std::string file = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(".");
#endif
  const std::size_t slash = file.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

char PathSeparator() {
#ifdef _WIN32
  return '\\';
#else
  return '/';
#endif
}

}  // namespace kov::platform
