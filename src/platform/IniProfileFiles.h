#pragma once

#include "platform/ProfileFiles.h"

namespace kov::platform {

// Profile files on disk, read whole for each call and, for a write, replaced
// whole under a lock that every program writing the file takes.
class IniProfileFiles : public ProfileFiles {
 public:
  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultText, const std::string& path) override;
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override;
};

}  // namespace kov::platform
