#include "Progress.h"

#include <cstdio>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace kov::wfexport {
namespace {

constexpr auto kEvery = std::chrono::milliseconds(250);

}  // namespace

Progress::Progress(std::ostream& out, std::string name)
    : out_(out), name_(std::move(name)), start_(Clock::now()), next_(start_ + kEvery) {}

void Progress::Update(std::uint64_t bytesRead, std::uint64_t fileBytes) {
  const auto now = Clock::now();
  if (now < next_) return;
  next_ = now + kEvery;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double mb = static_cast<double>(bytesRead) / 1e6;
  char text[160];
  if (fileBytes > 0) {
    const double percent = 100.0 * static_cast<double>(bytesRead) / static_cast<double>(fileBytes);
    std::snprintf(text, sizeof text, "%3.0f%%  %.0f MB  %.0f MB/s", percent, mb, mb / seconds);
  } else {
    std::snprintf(text, sizeof text, "%.0f MB  %.0f MB/s", mb, mb / seconds);
  }
  const std::string line = "reading " + name_ + ": " + text;
  // Blanks over what a longer earlier line left; no terminal codes, which
  // not every Windows console reads.
  out_ << '\r' << line << std::string(shown_ > line.size() ? shown_ - line.size() : 0, ' ')
       << std::flush;
  shown_ = line.size();
}

void Progress::Done() {
  if (shown_ == 0) return;
  out_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
  shown_ = 0;
}

bool ErrorIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

}  // namespace kov::wfexport
