#pragma once

#include <memory>
#include <ostream>
#include <string_view>

namespace kov::platform {

// Standard output or standard error for UTF-8 text. On Windows a console
// takes it in UTF-16, so that every character shows whatever the console's
// code page; a file or a pipe gets it in the system's ANSI code page (CP932
// on a Japanese system), the bytes narrow programs have always written there.
// Elsewhere the bytes go out as they are.
class Console : public std::ostream {
 public:
  enum class Stream { Output, Error };

  // Standard error is written at every output operation, as std::cerr is;
  // standard output at a flush, and when the object goes.
  explicit Console(Stream stream);
  ~Console() override;
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

 private:
  std::unique_ptr<std::streambuf> buffer_;
};

// How much of the text ends at the end of a character: a flush in the middle
// of one keeps its first bytes back until the rest comes.
std::size_t WholeCharacters(std::string_view utf8);

}  // namespace kov::platform
