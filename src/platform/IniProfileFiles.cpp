#include "platform/IniProfileFiles.h"

#include <cstdio>
#include <optional>

#include "platform/ProfileText.h"

namespace kov::platform {
namespace {

std::optional<std::string> ReadWhole(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return std::nullopt;
  return bytes;
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
  const std::string bytes = WriteProfileValue(ReadWhole(path).value_or(""), section, key, value);
  // A file that cannot be opened for writing (read-only file or folder) is
  // left exactly as it was.
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

}  // namespace kov::platform
