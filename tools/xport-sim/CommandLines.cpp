#include "CommandLines.h"

namespace kov::sim {

bool CommandLines::Feed(std::string_view bytes, const Take& take) {
  while (!bytes.empty()) {
    if (cr_) {
      cr_ = false;
      if (bytes.front() == '\n') {
        bytes.remove_prefix(1);
        if (!End(take)) return false;
        continue;
      }
      if (!Keep("\r", take)) return false;
    }
    const std::size_t cr = bytes.find('\r');
    if (!Keep(bytes.substr(0, cr), take)) return false;
    if (cr == std::string_view::npos) break;
    cr_ = true;
    bytes.remove_prefix(cr + 1);
  }
  return true;
}

bool CommandLines::Keep(std::string_view bytes, const Take& take) {
  if (dropping_ || bytes.size() <= kLongest - line_.size()) {
    if (!dropping_) line_.append(bytes);
    return true;
  }
  line_.append(bytes.substr(0, kLongest - line_.size()));
  dropping_ = true;
  const bool go = take(Kind::Dropped, line_);
  line_.clear();
  return go;
}

bool CommandLines::End(const Take& take) {
  if (dropping_) {
    dropping_ = false;
    return true;
  }
  line_ += "\r\n";
  const bool go = take(Kind::Command, line_);
  line_.clear();
  return go;
}

}  // namespace kov::sim
