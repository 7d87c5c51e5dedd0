#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/TextFiles.h"

namespace kov::fakes {

// Files in memory. failWrite / failAppend make the next calls fail;
// appendsBeforeFailure fails every append after that many have succeeded.
class FakeTextFiles : public platform::TextFiles {
 public:
  bool Write(const std::string& path, std::string_view bytes) override {
    if (failWrite) return false;
    files[path] = std::string(bytes);
    return true;
  }
  bool Append(const std::string& path, std::string_view bytes) override {
    if (failAppend || (appendsBeforeFailure >= 0 && appends >= appendsBeforeFailure)) return false;
    ++appends;
    files[path].append(bytes);
    return true;
  }

  std::map<std::string, std::string> files;
  bool failWrite = false;
  bool failAppend = false;
  int appendsBeforeFailure = -1;
  int appends = 0;
};

}  // namespace kov::fakes
