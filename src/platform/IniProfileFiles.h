#pragma once

#include "platform/ProfileFiles.h"

namespace kov::platform {

// Profile files on disk, read whole once for each call (under the lock that
// every program writing the file takes) and, for a write, changed whole under
// that lock.
class IniProfileFiles : public ProfileFiles {
 public:
  using ProfileFiles::Read;
  using ProfileFiles::Write;
  std::vector<std::string> Read(const std::vector<ProfileLookup>& keys,
                                const std::string& path) override;
  void Write(const std::vector<ProfileSetting>& keys, const std::string& path) override;
};

}  // namespace kov::platform
