#include "FileIdentity.h"

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <windows.h>

#include "platform/Utf16.h"
#endif

namespace kov::wfexport {
namespace {

// The folder part of a path ("." for a bare name; a root keeps its
// separator) and the name after it.
std::pair<std::string, std::string> Split(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  if (slash == std::string::npos) return {".", path};
  std::string folder = path.substr(0, slash);
  if (folder.empty() || folder.back() == ':') folder += path[slash];
  return {folder, path.substr(slash + 1)};
}

#ifdef _WIN32
std::optional<FileIdentity> Existing(const std::string& path) {
  const HANDLE handle = CreateFileW(platform::Utf16(path).c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(handle, &info) != 0;
  CloseHandle(handle);
  if (!known) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber,
                      (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, ""};
}

// The name as the file system compares it: without the trailing dots and
// blanks Windows drops, in upper case (as characters, not bytes).
std::string Folded(std::string name) {
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  std::wstring wide = platform::Utf16(name);
  CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  return platform::FromUtf16(wide);
}
#else
std::optional<FileIdentity> Existing(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return std::nullopt;
  return FileIdentity{static_cast<std::uint64_t>(status.st_dev),
                      static_cast<std::uint64_t>(status.st_ino), ""};
}

std::string Folded(std::string name) { return name; }
#endif

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  if (auto file = Existing(path)) return file;
  auto [folder, name] = Split(path);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  auto identity = Existing(folder);
  if (identity) identity->name = Folded(std::move(name));
  return identity;
}

}  // namespace kov::wfexport
