#pragma once

#include <string>

namespace kov::platform {

// One key of a Windows profile (INI) file per call, with the behaviour of the
// Windows profile functions: names compare case-insensitively, blanks around
// keys and values are trimmed, a value in a pair of quotes loses them, the
// first matching section and key win, a value read is cut to 254 bytes, a
// write changes only the key's own line (or adds the key or section).
class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // The key's value; the default text when the file, section or key is absent.
  virtual std::string Read(const std::string& section, const std::string& key,
                           const std::string& defaultText, const std::string& path) = 0;
  // Stores the key; creates the file and section as needed. Failures are silent.
  virtual void Write(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& path) = 0;
};

}  // namespace kov::platform
