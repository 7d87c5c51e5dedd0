#include "NarrowPaths.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

namespace kov::wfexport {
namespace {

#ifdef _WIN32
using FileStatus = struct _stat64;
int StatusOf(std::FILE* file, FileStatus& status) { return _fstat64(_fileno(file), &status); }
#else
using FileStatus = struct stat;
int StatusOf(std::FILE* file, FileStatus& status) { return fstat(fileno(file), &status); }
#endif

}  // namespace

std::string MoveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return {};
  }
  return "the file cannot take its place (Windows error " + std::to_string(GetLastError()) + ")";
#else
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return std::strerror(errno);
#endif
}

std::uint64_t SizeOf(std::FILE* file) {
  FileStatus status{};
  if (StatusOf(file, status) != 0 || status.st_size < 0) return 0;
  return static_cast<std::uint64_t>(status.st_size);
}

bool IsFolder(const std::string& path) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

std::string LastPart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace kov::wfexport
