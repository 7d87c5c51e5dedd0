#include "FileCalls.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "platform/FilePath.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include "platform/Utf16.h"
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
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

constexpr const char* kHeld = "another export is writing it now";

#ifdef _WIN32
// errno for a failed CreateFileW, as the C runtime's own open would set it,
// so that its messages read as they always have.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
      return ENOENT;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_NOT_ENOUGH_QUOTA:
      return ENOMEM;
    case ERROR_ACCESS_DENIED:
    case ERROR_NETWORK_ACCESS_DENIED:
    case ERROR_CANNOT_MAKE:
    case ERROR_DRIVE_LOCKED:
    case ERROR_LOCK_FAILED:
      return EACCES;
    default:
      // From a write-protected disk to a sharing violation.
      return error >= ERROR_WRITE_PROTECT && error <= ERROR_SHARING_BUFFER_EXCEEDED ? EACCES
                                                                                    : EINVAL;
  }
}
#endif

#ifndef _WIN32
// Held by an exclusive lock for as long as it is open. Whoever holds the
// lock owns the file: after taking it, the name must still lead to it (the
// export that held it before may have renamed it to its output).
std::FILE* Take(const std::string& path, std::string& problem, bool& again) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) {
    problem = std::strerror(errno);
    return nullptr;
  }
  struct stat held {
  }, named{};
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    problem = errno == EWOULDBLOCK ? kHeld : std::strerror(errno);
  } else if (fstat(fd, &held) != 0 || stat(path.c_str(), &named) != 0 ||
             held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
    again = true;
  } else if (ftruncate(fd, 0) != 0) {
    problem = std::strerror(errno);
  } else if (std::FILE* file = fdopen(fd, "wb")) {
    return file;
  } else {
    problem = std::strerror(errno);
  }
  close(fd);
  return nullptr;
}
#endif

}  // namespace

#ifdef _WIN32
int OpenInput(const std::string& path) {
  const HANDLE handle = CreateFileW(platform::Utf16(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    errno = ErrnoOf(GetLastError());
    return -1;
  }
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_RDONLY | _O_BINARY);
  if (fd < 0) CloseHandle(handle);
  return fd;
}

std::FILE* OpenInputFile(const std::string& path) {
  const int fd = OpenInput(path);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "rb");
  if (file == nullptr) _close(fd);
  return file;
}

std::FILE* TakeFile(const std::string& path, std::string& problem) {
  // No other opener may write, while a delete (at Ctrl+C) still works.
  const HANDLE handle = CreateFileW(platform::Utf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    problem = error == ERROR_SHARING_VIOLATION ? kHeld : "Windows error " + std::to_string(error);
    return nullptr;
  }
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
  std::FILE* file = fd < 0 ? nullptr : _fdopen(fd, "wb");
  if (file == nullptr) {
    problem = std::strerror(errno);
    if (fd < 0)
      CloseHandle(handle);
    else
      _close(fd);
  }
  return file;
}
#else
int OpenInput(const std::string& path) { return open(path.c_str(), O_RDONLY | O_CLOEXEC); }

std::FILE* OpenInputFile(const std::string& path) { return std::fopen(path.c_str(), "rb"); }

std::FILE* TakeFile(const std::string& path, std::string& problem) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    bool again = false;
    std::FILE* file = Take(path, problem, again);
    if (!again) return file;
  }
  problem = "it keeps being replaced";
  return nullptr;
}
#endif

std::string MoveOver(const std::string& from, const std::string& to) {
#ifdef _WIN32
  if (MoveFileExW(platform::Utf16(from).c_str(), platform::Utf16(to).c_str(),
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
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

bool IsStream(const std::string& path) {
#ifdef _WIN32
  const HANDLE handle =
      CreateFileW(platform::Utf16(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const DWORD type = GetFileType(handle);
  CloseHandle(handle);
  return type == FILE_TYPE_CHAR || type == FILE_TYPE_PIPE;
#else
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode));
#endif
}

std::FILE* OpenStream(const std::string& path, std::string& problem) {
  std::FILE* file = platform::OpenFile(path, "wb");
  if (file == nullptr) problem = std::strerror(errno);
  return file;
}

bool IsFolder(const std::string& path) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(platform::Utf16(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
#endif
}

void RemoveFile(const std::string& path) {
#ifdef _WIN32
  _wremove(platform::Utf16(path).c_str());
#else
  std::remove(path.c_str());
#endif
}

std::string LastPart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DisplayName(const std::string& name) {
  std::string text;
  for (std::size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    bool whole = length > 0 && i + length <= name.size();
    for (std::size_t k = 1; whole && k < length; ++k) {
      whole = (static_cast<unsigned char>(name[i + k]) >> 6) == 2;
    }
    text += whole ? name.substr(i, length) : "\xEF\xBF\xBD";
    i += whole ? length : 1;
  }
  return text;
}

}  // namespace kov::wfexport
