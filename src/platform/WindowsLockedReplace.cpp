#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/FilePath.h"
#include "platform/LockedReplace.h"
#include "platform/SystemText.h"
#include "platform/Utf16.h"

namespace kov::platform {
namespace {

// Replaces of one file are serialised by a named mutex, not by a lock on the
// file: ReplaceFile needs the old file free of other handles, and a mutex
// holds none, nor leaves a lock file behind. Its name comes from the full
// path as given, since finding the file's own name would open it while
// another program replaces it; programs that reach one file by different
// names (a link and its target) therefore do not wait for each other.
class PathMutex {
 public:
  explicit PathMutex(const std::wstring& fullPath) {
    // FNV-1a over the path's UTF-16 units in one case, as the file system
    // compares names.
    std::wstring upper = fullPath;
    if (!upper.empty()) {
      const int n = static_cast<int>(upper.size());
      LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, fullPath.c_str(), n, upper.data(), n);
    }
    std::uint64_t hash = 14695981039346656037ull;
    for (const wchar_t c : upper) {
      hash ^= static_cast<std::uint16_t>(c);
      hash *= 1099511628211ull;
    }
    // Global reaches programs in other sessions; where it is denied, the
    // session's own namespace still serialises this user's programs.
    for (const char* space : {"Global", "Local"}) {
      char name[64];
      std::snprintf(name, sizeof name, "%s\\kov-profile-%016llx", space,
                    static_cast<unsigned long long>(hash));
      mutex_ = CreateMutexW(nullptr, FALSE, Utf16(name).c_str());
      if (mutex_ != nullptr) break;
    }
    if (mutex_ == nullptr) return;
    // An abandoned mutex is ours too: its owner died, but a replace is one
    // step, so the file it left is whole.
    const DWORD wait = WaitForSingleObject(mutex_, INFINITE);
    held_ = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
  }
  ~PathMutex() {
    if (held_) ReleaseMutex(mutex_);
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  PathMutex(const PathMutex&) = delete;
  PathMutex& operator=(const PathMutex&) = delete;
  bool held() const { return held_; }

 private:
  HANDLE mutex_ = nullptr;
  bool held_ = false;
};

std::wstring FullPath(const std::string& path) {
  const std::wstring wide = Utf16(path);
  const auto full = SystemText([&](wchar_t* buffer, std::uint32_t size) {
    return static_cast<std::uint32_t>(GetFullPathNameW(wide.c_str(), size, buffer, nullptr));
  });
  return full ? *full : wide;
}

// The file itself, through links, when it exists.
std::wstring FinalPath(const std::wstring& fullPath) {
  const HANDLE file =
      CreateFileW(fullPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return fullPath;
  const auto final = SystemText([&](wchar_t* buffer, std::uint32_t size) {
    return static_cast<std::uint32_t>(
        GetFinalPathNameByHandleW(file, buffer, size, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS));
  });
  CloseHandle(file);
  if (!final) return fullPath;
  // The plain form where it fits the calls that take no long paths.
  const std::wstring_view result = *final;
  if (result.starts_with(L"\\\\?\\UNC\\") && result.size() - 6 < MAX_PATH) {
    return L"\\\\" + std::wstring(result.substr(8));
  }
  if (result.starts_with(L"\\\\?\\") && result.size() - 4 < MAX_PATH) {
    return std::wstring(result.substr(4));
  }
  return std::wstring(result);
}

std::optional<std::string> ReadUnlocked(const std::string& path) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) {
    std::error_code ec;
    if (std::filesystem::exists(FsPath(path), ec) || ec) return std::nullopt;
    return std::string();
  }
  std::string bytes;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
}

bool Writable(const std::string& path) {
  std::FILE* f = OpenFile(path, "r+b");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

// A new file beside target that holds bytes; its name, "" when no file can
// be made there, or nothing when one was made but writing it failed.
std::optional<std::string> WriteBeside(const std::string& target, std::string_view bytes) {
  static std::atomic<unsigned> counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, ".%lu-%u.tmp", GetCurrentProcessId(), counter++);
    const std::string name = target + suffix;
    const HANDLE file = CreateFileW(Utf16(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      if (GetLastError() == ERROR_FILE_EXISTS) continue;
      return std::string();
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (ok) return name;
    DeleteFileW(Utf16(name).c_str());
    return std::nullopt;
  }
  return std::string();
}

bool SetSize(HANDLE file, std::uint64_t size) {
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(size);
  return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) && SetEndOfFile(file);
}

bool WriteFromStart(HANDLE file, std::string_view bytes) {
  LARGE_INTEGER start{};
  if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) return false;
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto part = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The file written where it is, as the system's own profile writer does:
// room for the larger of the two contents first, so that a full disk fails
// before a byte changes; then the new bytes, then the file cut to their
// length. A write that fails on the way puts the old bytes back.
bool WriteInPlace(const std::string& target, std::string_view old, std::string_view now) {
  const HANDLE file = CreateFileW(Utf16(target).c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = SetSize(file, std::max(old.size(), now.size()));
  if (ok) {
    ok = WriteFromStart(file, now) && SetSize(file, now.size()) && FlushFileBuffers(file);
    if (!ok && WriteFromStart(file, old)) SetSize(file, old.size());
  } else {
    SetSize(file, old.size());
  }
  CloseHandle(file);
  return ok;
}

// ReplaceFile gives the new bytes the old file's attributes (and on NTFS its
// security and streams); a new file is simply moved in.
bool PutInPlace(const std::string& temporary, const std::string& target, bool exists) {
  const std::wstring from = Utf16(temporary);
  const std::wstring to = Utf16(target);
  if (!exists) return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH);
  if (ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    return true;
  }
  // The old file is already out of the way, under another name.
  if (GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  return false;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // ReplaceFile fails while a reader has the file open: reads wait too.
  const PathMutex lock(FullPath(path));
  if (!lock.held()) return std::nullopt;
  return ReadUnlocked(path);
}

bool ReplaceFileLocked(const std::string& path,
                       const std::function<std::string(std::string_view)>& change) {
  const std::wstring fullPath = FullPath(path);
  const PathMutex lock(fullPath);
  if (!lock.held()) return false;
  const std::string target = FromUtf16(FinalPath(fullPath));
  const auto bytes = ReadUnlocked(target);
  if (!bytes) return false;
  const DWORD attributes = GetFileAttributesW(Utf16(target).c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && !Writable(target)) return false;
  const std::string now = change(*bytes);
  const auto temporary = WriteBeside(target, now);
  if (!temporary) return false;
  // A folder that takes no new file (under Program Files, say) with a file
  // that may be written: the file is written where it stands.
  if (temporary->empty()) return exists && WriteInPlace(target, *bytes, now);
  // ReplaceFile should carry them over itself, but not every implementation does.
  if (exists) SetFileAttributesW(Utf16(*temporary).c_str(), attributes);
  if (PutInPlace(*temporary, target, exists)) return true;
  DeleteFileW(Utf16(*temporary).c_str());
  return false;
}

}  // namespace kov::platform
