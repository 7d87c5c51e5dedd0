#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "platform/TextFiles.h"

namespace kov::fakes {

// Files in memory. failWrite / failAppend make the next calls fail;
// appendsBeforeFailure fails every append after that many have succeeded;
// a path in failAppendTo or failRenameOf fails appends to it or renames of it.
class FakeTextFiles : public platform::TextFiles {
 public:
  bool Write(const std::string& path, std::string_view bytes) override {
    if (failWrite) return false;
    files[path] = std::string(bytes);
    return true;
  }
  bool AppendAll(std::span<const platform::FileBytes> parts) override {
    if (failAppend || (appendsBeforeFailure >= 0 && appends >= appendsBeforeFailure)) return false;
    for (const auto& part : parts) {
      if (failAppendTo.count(part.path) != 0) return false;
    }
    ++appends;
    for (const auto& part : parts) files[part.path].append(part.bytes);
    return true;
  }
  std::optional<std::string> ReadStart(const std::string& path, std::size_t maxBytes) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.substr(0, maxBytes);
  }
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second.size();
  }
  std::optional<platform::WallTime> Modified(const std::string& path) override {
    if (files.count(path) == 0) return std::nullopt;
    return modified;
  }
  bool Exists(const std::string& path) override {
    return files.count(path) != 0 || folders.count(path) != 0;
  }
  bool Rename(const std::string& from, const std::string& to) override {
    if (failRenameOf.count(from) != 0 || files.count(from) == 0 || Exists(to)) return false;
    files[to] = std::move(files[from]);
    files.erase(from);
    return true;
  }

  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  platform::WallTime modified{1796730508000, 540};
  bool failWrite = false;
  bool failAppend = false;
  int appendsBeforeFailure = -1;
  int appends = 0;
  std::set<std::string> failAppendTo;
  std::set<std::string> failRenameOf;
};

}  // namespace kov::fakes
