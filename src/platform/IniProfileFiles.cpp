#include "platform/IniProfileFiles.h"

#include "platform/CodePage.h"
#include "platform/LockedReplace.h"
#include "platform/ProfileText.h"

namespace kov::platform {

std::string IniProfileFiles::Read(const std::string& section, const std::string& key,
                                  const std::string& defaultText, const std::string& path) {
  if (const auto file = ReadWholeFile(path)) {
    if (auto value = ReadProfileValue(*file, section, key)) return FromSystemCodePage(*value);
  }
  return defaultText.substr(0, kProfileValueMax);
}

void IniProfileFiles::Write(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& path) {
  // Read, changed and put back under one lock, so that programs saving at
  // the same time keep each other's keys. A file that cannot be read or
  // written stays exactly as it was rather than being written over.
  const std::string bytes = ToSystemCodePage(value);
  ReplaceFileLocked(
      path, [&](std::string_view file) { return WriteProfileValue(file, section, key, bytes); });
}

}  // namespace kov::platform
