#include "platform/IniProfileFiles.h"

#include "platform/CodePage.h"
#include "platform/LockedReplace.h"
#include "platform/ProfileText.h"

namespace kov::platform {

std::vector<std::string> IniProfileFiles::Read(const std::vector<ProfileLookup>& keys,
                                               const std::string& path) {
  std::vector<ProfileKey> names;
  for (const ProfileLookup& k : keys) names.push_back({k.section, k.key});
  const auto file = ReadWholeFile(path);
  const auto found =
      file ? ReadProfileValues(*file, names) : std::vector<std::optional<std::string>>(keys.size());
  std::vector<std::string> values;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    values.push_back(found[i] ? FromSystemCodePage(*found[i])
                              : keys[i].defaultText.substr(0, kProfileValueMax));
  }
  return values;
}

void IniProfileFiles::Write(const std::vector<ProfileSetting>& keys, const std::string& path) {
  // Read, changed and put back under one lock, so that programs saving at
  // the same time keep each other's keys. A file that cannot be read or
  // written stays exactly as it was rather than being written over.
  std::vector<std::string> bytes;
  for (const ProfileSetting& k : keys) bytes.push_back(ToSystemCodePage(k.value));
  std::vector<ProfileEntry> entries;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    entries.push_back({keys[i].section, keys[i].key, bytes[i]});
  }
  ReplaceFileLocked(path, [&](std::string_view file) { return WriteProfileValues(file, entries); });
}

}  // namespace kov::platform
