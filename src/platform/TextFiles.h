#pragma once

#include <string>
#include <string_view>

namespace kov::platform {

// Sequential text files, opened and closed around each call. Bytes are
// written exactly as given (CR LF stays CR LF on every system).
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Creates or replaces the file with the bytes. False when it cannot.
  virtual bool Write(const std::string& path, std::string_view bytes) = 0;
  // Appends the bytes, creating the file if missing. False when it cannot.
  virtual bool Append(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace kov::platform
