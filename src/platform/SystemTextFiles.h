#pragma once

#include "platform/TextFiles.h"

namespace kov::platform {

class SystemTextFiles : public TextFiles {
 public:
  bool Write(const std::string& path, std::string_view bytes) override;
  bool Append(const std::string& path, std::string_view bytes) override;
};

}  // namespace kov::platform
