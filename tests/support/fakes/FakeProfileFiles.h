#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ProfileFiles.h"

namespace kov::fakes {

// Keys in memory, one map per file path; every call is recorded.
class FakeProfileFiles : public platform::ProfileFiles {
 public:
  struct Call {
    std::string section, key, value, path;
    bool operator==(const Call&) const = default;
  };

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultText, const std::string& path) override {
    reads.push_back({section, key, defaultText, path});
    auto file = files.find(path);
    if (file == files.end()) return defaultText;
    auto value = file->second.find({section, key});
    return value == file->second.end() ? defaultText : value->second;
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) override {
    writes.push_back({section, key, value, path});
    if (!failWrites) files[path][{section, key}] = value;
  }

  std::map<std::string, std::map<std::pair<std::string, std::string>, std::string>> files;
  std::vector<Call> reads;
  std::vector<Call> writes;
  bool failWrites = false;
};

}  // namespace kov::fakes
