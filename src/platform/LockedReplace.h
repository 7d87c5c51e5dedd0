#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kov::platform {

// The whole file: empty when there is none yet, nothing when it is there but
// cannot be read. Waits while a ReplaceFileLocked of it runs, and never sees
// half of one.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Puts change(the file's present bytes, empty when there is none) in the
// file's place as one step, and false when it could not: the file is then
// left as it was. Where no new file can be made beside it (a folder without
// the right to write, say), a file that may be written is written where it
// stands instead, under the same lock. Replaces of one file by any number of threads or programs
// run one after the other, each seeing the last one's result (on Windows,
// those that name the file by the same full path). A symbolic link stays a
// link and the file it finally leads to is written; on POSIX a dangling
// link's target is created. The file keeps its permissions (POSIX mode,
// Windows attributes). The change runs under the lock: keep it short.
bool ReplaceFileLocked(const std::string& path,
                       const std::function<std::string(std::string_view)>& change);

}  // namespace kov::platform
