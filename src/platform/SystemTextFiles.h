#pragma once

#include "platform/TextFiles.h"

namespace kov::platform {

class SystemTextFiles : public TextFiles {
 public:
  bool Write(const std::string& path, std::string_view bytes) override;
  bool AppendAll(std::span<const FileBytes> files) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t maxBytes) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  std::optional<WallTime> Modified(const std::string& path) override;
  bool Exists(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
};

}  // namespace kov::platform
