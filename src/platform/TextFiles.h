#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace kov::platform {

// One file's share of an append.
struct FileBytes {
  std::string path;
  std::string_view bytes;
};

// Sequential text files, opened and closed around each call. Bytes are
// written exactly as given (CR LF stays CR LF on every system).
class TextFiles {
 public:
  virtual ~TextFiles() = default;
  // Creates or replaces the file with the bytes. False when it cannot.
  virtual bool Write(const std::string& path, std::string_view bytes) = 0;
  // Appends each file's bytes, creating a file that is missing. All or
  // nothing: when one fails, every file goes back to what it was (its size
  // before, or gone again when this call made it), and the result is false.
  virtual bool AppendAll(std::span<const FileBytes> files) = 0;
  bool Append(const std::string& path, std::string_view bytes) {
    const FileBytes one{path, bytes};
    return AppendAll({&one, 1});
  }
  // At most maxBytes from the start of a file; nothing when there is no
  // file of that name or it cannot be read.
  virtual std::optional<std::string> ReadStart(const std::string& path, std::size_t maxBytes) = 0;
  // The size of a file; nothing when there is no file of that name.
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // When a file was last written; nothing when there is no file of that name.
  virtual std::optional<WallTime> Modified(const std::string& path) = 0;
  // Whether anything (a file, a folder) has that name.
  virtual bool Exists(const std::string& path) = 0;
  // Gives a file another name, never replacing anything: false when `to` is
  // taken or the rename fails (the file then keeps its name).
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
};

}  // namespace kov::platform
