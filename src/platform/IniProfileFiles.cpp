#include "platform/IniProfileFiles.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/ProfileText.h"

namespace kov::platform {
namespace {

// The whole file; empty when there is none yet, nothing when it is there
// but cannot be read.
std::optional<std::string> ReadWhole(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) return std::nullopt;
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
  std::FILE* f = std::fopen(path.c_str(), "r+b");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

}  // namespace

std::string IniProfileFiles::Read(const std::string& section, const std::string& key,
                                  const std::string& defaultText, const std::string& path) {
  if (const auto file = ReadWhole(path)) {
    if (auto value = ReadProfileValue(*file, section, key)) return *value;
  }
  return defaultText.substr(0, kProfileValueMax);
}

void IniProfileFiles::Write(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& path) {
  // The other keys are in this file too: one that cannot be read, or is
  // read-only, is left exactly as it was rather than written over.
  const auto file = ReadWhole(path);
  std::error_code ec;
  if (!file) return;
  if (std::filesystem::exists(path, ec) && !Writable(path)) return;
  const std::string bytes = WriteProfileValue(*file, section, key, value);

  // Written beside it and then put in its place, so that a full disk leaves
  // the old file whole instead of half of a new one.
  const std::string temporary = path + ".new";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) return;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  bool replaced = false;
  if (written && closed) {
    std::filesystem::rename(temporary, path, ec);
    replaced = !ec;
  }
  if (!replaced) std::filesystem::remove(temporary, ec);
}

}  // namespace kov::platform
