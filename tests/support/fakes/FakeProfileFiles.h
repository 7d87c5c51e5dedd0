#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/ProfileFiles.h"

namespace kov::fakes {

// Keys in memory, one map per file path; every key read or written is
// recorded, and every call counted.
class FakeProfileFiles : public platform::ProfileFiles {
 public:
  struct Call {
    std::string section, key, value, path;
    bool operator==(const Call&) const = default;
  };

  using ProfileFiles::Read;
  using ProfileFiles::Write;
  std::vector<std::string> Read(const std::vector<platform::ProfileLookup>& keys,
                                const std::string& path) override {
    ++readCalls;
    std::vector<std::string> values;
    for (const auto& k : keys) {
      reads.push_back({k.section, k.key, k.defaultText, path});
      const auto& file = files[path];
      const auto value = file.find({k.section, k.key});
      values.push_back(value == file.end() ? k.defaultText : value->second);
    }
    return values;
  }
  void Write(const std::vector<platform::ProfileSetting>& keys, const std::string& path) override {
    ++writeCalls;
    for (const auto& k : keys) {
      writes.push_back({k.section, k.key, k.value, path});
      if (!failWrites) files[path][{k.section, k.key}] = k.value;
    }
  }

  std::map<std::string, std::map<std::pair<std::string, std::string>, std::string>> files;
  std::vector<Call> reads;
  std::vector<Call> writes;
  bool failWrites = false;
  int readCalls = 0;   // readings of a file, whatever the number of keys
  int writeCalls = 0;  // changes of a file
};

}  // namespace kov::fakes
