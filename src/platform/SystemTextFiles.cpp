#include "platform/SystemTextFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace kov::platform {
namespace {

// Binary mode: CR LF goes to the file as CR LF on every system.
bool Put(const std::string& path, std::string_view bytes, const char* mode) {
  std::FILE* f = std::fopen(path.c_str(), mode);
  if (f == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  return written && closed;
}

}  // namespace

bool SystemTextFiles::Write(const std::string& path, std::string_view bytes) {
  return Put(path, bytes, "wb");
}

bool SystemTextFiles::Append(const std::string& path, std::string_view bytes) {
  // A write that fails part way (a full disk, a size limit) must not leave
  // half a band behind: the file goes back to the size it had, or goes
  // again if this append created it.
  std::error_code ec;
  const auto before = std::filesystem::file_size(path, ec);
  const bool existed = !ec;
  if (Put(path, bytes, "ab")) return true;
  if (existed) {
    std::filesystem::resize_file(path, before, ec);
  } else {
    std::filesystem::remove(path, ec);
  }
  return false;
}

}  // namespace kov::platform
