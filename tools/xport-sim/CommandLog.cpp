#include "CommandLog.h"

#include <cerrno>
#include <cstring>

namespace kov::sim {
namespace {

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (const unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

CommandLog::~CommandLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool CommandLog::Open(const std::string& path, std::string& error) {
  start_ = std::chrono::steady_clock::now();
  if (path.empty()) return true;
  // Binary: the same bytes on Windows, no CR added before each LF.
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) error = path + ": " + std::strerror(errno);
  return file_ != nullptr;
}

void CommandLog::Write(const std::string& command) {
  if (file_ == nullptr) return;
  const std::string text = Escaped(command);
  const std::lock_guard lock(mutex_);
  // Taken under the lock, so the times never run backwards down the file.
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start_)
                      .count();
  std::fprintf(file_, "%lld %s\n", static_cast<long long>(ms), text.c_str());
  std::fflush(file_);
}

}  // namespace kov::sim
