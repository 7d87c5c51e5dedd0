#include "platform/ProgramFolder.h"

#include <string>

#ifdef _WIN32
#include <windows.h>

#include "platform/SystemText.h"
#include "platform/Utf16.h"
#else
#include <limits.h>
#include <unistd.h>
#endif

namespace kov::platform {

std::string ProgramFolder() {
#ifdef _WIN32
  // Wide and whole: the ANSI name turns a character outside the code page
  // into "?", and a cut one names a folder above the program's.
  const auto wide = SystemText([](wchar_t* buffer, std::uint32_t size) {
    return static_cast<std::uint32_t>(GetModuleFileNameW(nullptr, buffer, size));
  });
  const std::string file = wide ? FromUtf16(*wide) : std::string(".");
#else
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path);
  std::string file = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(".");
#endif
  // UTF-8 has no "\" inside a character, unlike the ANSI code pages.
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
