#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>

namespace kov::sim {

// The file of every command received, from all connections: one line per
// command, "<ms> <command>", the milliseconds counted from the log's opening
// and the command's bytes C-escaped (\r, \n, \\, \xHH). Lines never mix.
class CommandLog {
 public:
  CommandLog() = default;
  ~CommandLog();
  CommandLog(const CommandLog&) = delete;
  CommandLog& operator=(const CommandLog&) = delete;

  // Creates or empties the file; an empty path logs nothing. false, with the
  // reason, when the file cannot be opened.
  bool Open(const std::string& path, std::string& error);
  // The command as received, its CR LF included.
  void Write(const std::string& command);

 private:
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace kov::sim
