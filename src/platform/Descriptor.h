#pragma once

// POSIX only: a file descriptor that closes when it goes.
#ifndef _WIN32
#include <unistd.h>

namespace kov::platform {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes it now: a write may fail only at the close (NFS, a full quota).
  bool Close() {
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
  }

 private:
  int fd_;
};

}  // namespace kov::platform
#endif
