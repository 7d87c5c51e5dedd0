#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/Descriptor.h"
#include "platform/LockedReplace.h"

namespace kov::platform {
namespace {

namespace fs = std::filesystem;

using FileStatus = struct stat;

// Links followed before a chain counts as a loop, as the kernel counts them.
constexpr int kMaxLinkHops = 40;
// A retry means another writer replaced the file meanwhile; a chain of this
// many in a row means something else keeps swapping it.
constexpr int kMaxLockAttempts = 1000;

// The file at the end of path's chain of symbolic links; it need not exist.
// Nothing for a loop or a link that cannot be read.
std::optional<std::string> FinalTarget(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
    const fs::path link = fs::read_symlink(path, ec);
    if (ec) return std::nullopt;
    path = (fs::path(path).parent_path() / link).string();
  }
  return std::nullopt;
}

std::optional<std::string> ReadAll(int fd) {
  std::string bytes;
  // Room for the whole file at once: a large file is not held twice while
  // the string grows.
  FileStatus st{};
  if (::fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) return bytes;
    if (n > 0) {
      bytes.append(buffer, static_cast<std::size_t>(n));
    } else if (errno != EINTR) {
      return std::nullopt;
    }
  }
}

// Writes the bytes at the descriptor's offset, or from `at` when it is given.
bool WriteAll(int fd, std::string_view bytes, off_t at = -1) {
  while (!bytes.empty()) {
    const ssize_t n = at < 0 ? ::write(fd, bytes.data(), bytes.size())
                             : ::pwrite(fd, bytes.data(), bytes.size(), at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    if (at >= 0) at += n;
  }
  return true;
}

enum class Lock { kHeld, kStale, kFailed };

// Waits for the lock on fd (shared for a reader, exclusive for a writer);
// false when it cannot be had. A file system without locks still gets its
// file read and saved, if unguarded.
bool TakeLock(int fd, int operation) {
  int result;
  do {
    result = ::flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result == 0 || errno == ENOLCK || errno == EOPNOTSUPP;
}

bool SameFile(const FileStatus& a, const FileStatus& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Waits for the lock on fd, then checks that path still leads to that file:
// a writer that held the lock before may have put a new file in its place.
Lock LockCurrent(int fd, const std::string& path, const std::string& target) {
  FileStatus held{}, named{};
  if (!TakeLock(fd, LOCK_EX) || ::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
    return Lock::kFailed;
  }
  if (FinalTarget(path) != target || ::lstat(target.c_str(), &named) != 0) return Lock::kStale;
  return SameFile(held, named) ? Lock::kHeld : Lock::kStale;
}

struct LockedFile {
  int fd = -1;
  std::string target;
  bool created = false;  // made empty here, to have something to lock
};

std::optional<LockedFile> OpenLocked(const std::string& path) {
  for (int attempt = 0; attempt < kMaxLockAttempts; ++attempt) {
    const auto target = FinalTarget(path);
    if (!target) return std::nullopt;
    bool created = false;
    // Read and write: a file this program may not write is left alone.
    int fd = ::open(target->c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
      fd = ::open(target->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno == EEXIST) continue;
      created = fd >= 0;
    }
    if (fd < 0) return std::nullopt;
    const Lock lock = LockCurrent(fd, path, *target);
    if (lock == Lock::kHeld) return LockedFile{fd, *target, created};
    ::close(fd);
    if (lock == Lock::kFailed) return std::nullopt;
  }
  return std::nullopt;
}

// A new file beside target that holds bytes with the owner and mode of
// `like`; its name, "" when no file can be made there, or nothing when one
// was made but writing it failed.
std::optional<std::string> WriteBeside(const std::string& target, const FileStatus& like,
                                       std::string_view bytes) {
  std::string name = target + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return std::string();
  // Only root may hand a file to another owner; anyone else keeps it.
  [[maybe_unused]] const int owned = ::fchown(fd, like.st_uid, like.st_gid);
  bool ok = ::fchmod(fd, like.st_mode & 07777) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) return name;
  ::unlink(name.c_str());
  return std::nullopt;
}

// Makes room for the larger of the two contents first, so that a full disk
// fails before a byte changes; then the new bytes, then the file cut to
// their length. A write that fails on the way puts the old bytes back.
bool WriteInPlace(int fd, std::string_view old, std::string_view now) {
  const auto oldSize = static_cast<off_t>(old.size());
  const auto newSize = static_cast<off_t>(now.size());
  if (newSize > oldSize) {
    int reserved;
    do {
      reserved = ::posix_fallocate(fd, 0, newSize);
    } while (reserved == EINTR);
    if (reserved == EOPNOTSUPP) reserved = ::ftruncate(fd, newSize) == 0 ? 0 : errno;
    if (reserved != 0) {
      [[maybe_unused]] const int cut = ::ftruncate(fd, oldSize);
      return false;
    }
  }
  if (WriteAll(fd, now, 0) && ::ftruncate(fd, newSize) == 0 && ::fsync(fd) == 0) return true;
  if (WriteAll(fd, old, 0)) {
    [[maybe_unused]] const int cut = ::ftruncate(fd, oldSize);
  }
  return false;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
  // Under a shared lock, so that a write in place is never seen half done;
  // and of the file the path names once the lock is had.
  for (int attempt = 0; attempt < kMaxLockAttempts; ++attempt) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      if (errno == ENOENT || errno == ENOTDIR) return std::string();
      return std::nullopt;
    }
    const Descriptor file(fd);
    FileStatus held{}, named{};
    if (!TakeLock(fd, LOCK_SH) || ::fstat(fd, &held) != 0) return std::nullopt;
    if (::stat(path.c_str(), &named) == 0 && !SameFile(held, named)) continue;
    return ReadAll(fd);
  }
  return std::nullopt;
}

bool ReplaceFileLocked(const std::string& path,
                       const std::function<std::string(std::string_view)>& change) {
  const auto locked = OpenLocked(path);
  if (!locked) return false;
  const Descriptor held(locked->fd);
  const auto bytes = ReadAll(held.get());
  FileStatus st{};
  bool replaced = false;
  if (bytes && ::fstat(held.get(), &st) == 0) {
    const std::string now = change(*bytes);
    const auto temporary = WriteBeside(locked->target, st, now);
    if (temporary && temporary->empty()) {
      // A folder that takes no new file (no right to write it, say) with a
      // file that may be written: the file is written where it stands.
      replaced = WriteInPlace(held.get(), *bytes, now);
    } else if (temporary) {
      replaced = ::rename(temporary->c_str(), locked->target.c_str()) == 0;
      if (!replaced) ::unlink(temporary->c_str());
    }
  }
  // The empty file made only to hold the lock must not outlive a failed write.
  if (!replaced && locked->created) ::unlink(locked->target.c_str());
  return replaced;
}

}  // namespace kov::platform
