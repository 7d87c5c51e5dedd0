#include "RecordingInput.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <cerrno>
#include <cstring>

#include "FileCalls.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kov::wfexport {
namespace {

constexpr const char* kShorter = "the file became shorter while it was read";

#ifdef _WIN32
int StandardInput() {
  _setmode(0, _O_BINARY);  // no line ends changed, no end at Ctrl+Z
  return 0;
}

bool Regular(int fd, std::uint64_t& size) {
  struct _stat64 status {};
  if (_fstat64(fd, &status) != 0 || (status.st_mode & _S_IFREG) == 0) return false;
  size = static_cast<std::uint64_t>(status.st_size);
  return true;
}

// A positioned read, which threads may do on one handle at once.
std::string ReadPart(int fd, std::uint64_t offset, char* buffer, std::size_t n, std::size_t& got) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
  if (!ReadFile(handle, buffer, static_cast<DWORD>(n), &read, &at) &&
      GetLastError() != ERROR_HANDLE_EOF) {
    return "Windows error " + std::to_string(GetLastError());
  }
  got = read;
  return {};
}

std::int64_t ReadStream(int fd, char* buffer, std::size_t n) {
  return _read(fd, buffer, static_cast<unsigned>(n));
}

void Close(int fd) { _close(fd); }
#else
int StandardInput() { return STDIN_FILENO; }

bool Regular(int fd, std::uint64_t& size) {
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  size = static_cast<std::uint64_t>(status.st_size);
  return true;
}

std::string ReadPart(int fd, std::uint64_t offset, char* buffer, std::size_t n, std::size_t& got) {
  ssize_t r = 0;
  do {
    r = pread(fd, buffer, n, static_cast<off_t>(offset));
  } while (r < 0 && errno == EINTR);
  if (r < 0) return std::strerror(errno);
  got = static_cast<std::size_t>(r);
  return {};
}

std::int64_t ReadStream(int fd, char* buffer, std::size_t n) {
  ssize_t r = 0;
  do {
    r = read(fd, buffer, n);
  } while (r < 0 && errno == EINTR);
  return r;
}

void Close(int fd) { close(fd); }
#endif

}  // namespace

std::unique_ptr<RecordingInput> RecordingInput::Open(const std::string& path,
                                                     std::string& problem) {
  std::unique_ptr<RecordingInput> input(new RecordingInput);
  if (path == kStandardInput) {
    input->fd_ = StandardInput();
    return input;
  }
  input->fd_ = OpenInput(path);
  if (input->fd_ < 0) {
    problem = std::strerror(errno);
    return nullptr;
  }
  input->owned_ = true;
  input->seekable_ = Regular(input->fd_, input->size_);
  return input;
}

RecordingInput::~RecordingInput() {
  if (owned_) Close(fd_);
}

std::string RecordingInput::ReadAt(std::uint64_t offset, char* buffer, std::size_t n) const {
  while (n > 0) {
    std::size_t got = 0;
    if (auto problem = ReadPart(fd_, offset, buffer, n, got); !problem.empty()) return problem;
    if (got == 0) return kShorter;
    offset += got;
    buffer += got;
    n -= got;
  }
  return {};
}

std::int64_t RecordingInput::ReadOn(char* buffer, std::size_t n, std::string& problem) {
  const std::int64_t r = ReadStream(fd_, buffer, n);
  if (r < 0) problem = std::strerror(errno);
  return r;
}

}  // namespace kov::wfexport
