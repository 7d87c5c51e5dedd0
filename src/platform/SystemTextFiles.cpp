#include "platform/SystemTextFiles.h"

#include <vector>

#include "platform/SystemClock.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf16.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/Descriptor.h"
#endif

namespace kov::platform {
namespace {

// Every size and offset is 64 bits, on every build: a recording of days
// passes 2 GiB, beyond what a 32-bit C runtime's file calls can reach.
#ifdef _WIN32
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  bool Close() {
    const bool closed = CloseHandle(h_) != 0;
    h_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE h_;
};

// Others may read and write the file meanwhile, as with the C runtime.
constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::optional<WIN32_FILE_ATTRIBUTE_DATA> FileData(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(Utf16(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  return data;
}

std::int64_t Join(DWORD high, DWORD low) { return (static_cast<std::int64_t>(high) << 32) | low; }

bool Put(const std::string& path, std::string_view bytes, bool append) {
  Handle file(CreateFileW(Utf16(path).c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, kShare,
                          nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return false;
  while (!bytes.empty()) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), chunk, &written, nullptr) || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return file.Close();
}

bool CutTo(const std::string& path, std::uint64_t size) {
  Handle file(CreateFileW(Utf16(path).c_str(), GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(size);
  return file.get() != INVALID_HANDLE_VALUE &&
         SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

bool RemoveFile(const std::string& path) { return DeleteFileW(Utf16(path).c_str()) != 0; }
#else

std::optional<struct stat> FileStatus(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  return st;
}

bool Put(const std::string& path, std::string_view bytes, bool append) {
  Descriptor file(
      ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC), 0666));
  if (file.get() < 0) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::write(file.get(), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return file.Close();
}

bool CutTo(const std::string& path, std::uint64_t size) {
  return ::truncate(path.c_str(), static_cast<off_t>(size)) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }
#endif

}  // namespace

bool SystemTextFiles::Write(const std::string& path, std::string_view bytes) {
  return Put(path, bytes, false);
}

bool SystemTextFiles::AppendAll(std::span<const FileBytes> files) {
  // A write that fails part way (a full disk, a size limit) must not leave
  // half a band behind, nor one file a band ahead of the other: every file
  // goes back to the size it had, or goes again if this append made it.
  std::vector<std::optional<std::uint64_t>> before;
  for (const FileBytes& f : files) {
    before.push_back(FileSize(f.path));
    if (Put(f.path, f.bytes, true)) continue;
    for (std::size_t i = 0; i < before.size(); ++i) {
      if (before[i]) {
        CutTo(files[i].path, *before[i]);
      } else {
        RemoveFile(files[i].path);
      }
    }
    return false;
  }
  return true;
}

#ifdef _WIN32
std::optional<std::string> SystemTextFiles::ReadStart(const std::string& path,
                                                      std::size_t maxBytes) {
  Handle file(CreateFileW(Utf16(path).c_str(), GENERIC_READ, kShare | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.get() == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes(maxBytes, '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(maxBytes), &got, nullptr)) {
    return std::nullopt;
  }
  bytes.resize(got);
  return bytes;
}

std::optional<std::uint64_t> SystemTextFiles::FileSize(const std::string& path) {
  const auto data = FileData(path);
  if (!data) return std::nullopt;
  return static_cast<std::uint64_t>(Join(data->nFileSizeHigh, data->nFileSizeLow));
}

std::optional<WallTime> SystemTextFiles::Modified(const std::string& path) {
  const auto data = FileData(path);
  if (!data) return std::nullopt;
  constexpr std::int64_t kUnixEpochMs = 11644473600000;
  const FILETIME& t = data->ftLastWriteTime;
  return WallTimeAt(Join(t.dwHighDateTime, t.dwLowDateTime) / 10000 - kUnixEpochMs);
}

bool SystemTextFiles::Exists(const std::string& path) {
  return GetFileAttributesW(Utf16(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool SystemTextFiles::Rename(const std::string& from, const std::string& to) {
  // Without MOVEFILE_REPLACE_EXISTING a name that is taken fails the move.
  return MoveFileExW(Utf16(from).c_str(), Utf16(to).c_str(), 0) != 0;
}
#else
std::optional<std::string> SystemTextFiles::ReadStart(const std::string& path,
                                                      std::size_t maxBytes) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0 || !FileStatus(path)) return std::nullopt;
  std::string bytes(maxBytes, '\0');
  std::size_t got = 0;
  while (got < maxBytes) {
    const ssize_t n = ::read(file.get(), bytes.data() + got, maxBytes - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  bytes.resize(got);
  return bytes;
}

std::optional<std::uint64_t> SystemTextFiles::FileSize(const std::string& path) {
  const auto st = FileStatus(path);
  if (!st) return std::nullopt;
  return static_cast<std::uint64_t>(st->st_size);
}

std::optional<WallTime> SystemTextFiles::Modified(const std::string& path) {
  const auto st = FileStatus(path);
  if (!st) return std::nullopt;
  return WallTimeAt(static_cast<std::int64_t>(st->st_mtim.tv_sec) * 1000 +
                    st->st_mtim.tv_nsec / 1000000);
}

bool SystemTextFiles::Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool SystemTextFiles::Rename(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the no-replace rename: a second link fails on a
  // taken name just the same.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  if (::unlink(from.c_str()) == 0) return true;
  ::unlink(to.c_str());
  return false;
}
#endif

}  // namespace kov::platform
