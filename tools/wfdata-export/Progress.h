#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace kov::wfexport {

// One line on a terminal, rewritten in place a few times a second: how much
// of the file is read and how fast.
class Progress {
 public:
  Progress(std::ostream& out, std::string name);
  void Update(std::uint64_t bytesRead, std::uint64_t fileBytes);
  // Clears the line.
  void Done();

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& out_;
  std::string name_;
  Clock::time_point start_;
  Clock::time_point next_;
  std::size_t shown_ = 0;  // width of the line on screen
};

// Whether the standard error stream is a terminal.
bool ErrorIsTerminal();

}  // namespace kov::wfexport
