#pragma once

#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace kov::sim {

// The file of every command received, from all connections: one line per
// command, "<ms> <command>", the milliseconds counted from the log's opening
// and the command's bytes C-escaped (\r, \n, \\, \xHH). A line dropped for
// its length leaves one note, "<ms> # dropped ...", in its place. Lines never
// mix.
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
  void Write(std::string_view command);
  // The note of a line too long to be a command, with its first bytes.
  void Dropped(std::string_view beginning);

 private:
  void Line(const std::string& text);

  std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace kov::sim
