#include "CommandLog.h"

#include <cerrno>
#include <cstring>

#include "CommandLines.h"
#include "Escaped.h"
#include "platform/FilePath.h"

namespace kov::sim {

CommandLog::~CommandLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool CommandLog::Open(const std::string& path, std::string& error) {
  start_ = std::chrono::steady_clock::now();
  if (path.empty()) return true;
  // Binary: the same bytes on Windows, no CR added before each LF.
  file_ = platform::OpenFile(path, "wb");
  if (file_ == nullptr) error = path + ": " + std::strerror(errno);
  return file_ != nullptr;
}

void CommandLog::Write(std::string_view command) {
  if (file_ != nullptr) Line(Escaped(command));
}

void CommandLog::Dropped(std::string_view beginning) {
  if (file_ == nullptr) return;
  constexpr std::size_t kShown = 32;
  Line("# dropped up to its CR LF, longer than " + std::to_string(CommandLines::kLongest) +
       " bytes: \"" + Escaped(beginning.substr(0, kShown)) +
       (beginning.size() > kShown ? "...\"" : "\""));
}

void CommandLog::Line(const std::string& text) {
  const std::lock_guard lock(mutex_);
  // Taken under the lock, so the times never run backwards down the file.
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start_)
                      .count();
  std::fprintf(file_, "%lld %s\n", static_cast<long long>(ms), text.c_str());
  std::fflush(file_);
}

}  // namespace kov::sim
