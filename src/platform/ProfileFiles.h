#pragma once

#include <string>
#include <vector>

namespace kov::platform {

// A key to read, and the text the read gives when it is absent.
struct ProfileLookup {
  std::string section;
  std::string key;
  std::string defaultText;
};

// A key to store, and its value.
struct ProfileSetting {
  std::string section;
  std::string key;
  std::string value;
};

// Keys of a Windows profile (INI) file, with the behaviour of the Windows
// profile functions: names compare case-insensitively, blanks around keys and
// values are trimmed, a value in a pair of quotes loses them, the first
// matching section and key win, a value read is cut to 254 bytes, a write
// changes only the key's own line (or adds the key or section). Several keys
// cost one reading, or one change, of the file.
class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // The keys' values in their order; the default text for a key when the
  // file, its section or the key is absent.
  virtual std::vector<std::string> Read(const std::vector<ProfileLookup>& keys,
                                        const std::string& path) = 0;
  // Stores the keys one after the other; creates the file and sections as
  // needed. Failures are silent.
  virtual void Write(const std::vector<ProfileSetting>& keys, const std::string& path) = 0;

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultText, const std::string& path) {
    return Read({{section, key, defaultText}}, path).front();
  }
  void Write(const std::string& section, const std::string& key, const std::string& value,
             const std::string& path) {
    Write({{section, key, value}}, path);
  }
};

}  // namespace kov::platform
