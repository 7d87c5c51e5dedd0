#include "OutputFile.h"

#include <cerrno>
#include <cstring>
#include <utility>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "NarrowPaths.h"

namespace kov::wfexport {
namespace {

int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

}  // namespace

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)), temporary_(path_ + ".part" + std::to_string(ProcessId())) {}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open() {
  file_ = std::fopen(temporary_.c_str(), "wb");
  if (file_ == nullptr) return Fail(std::strerror(errno));
  return true;
}

bool OutputFile::Write(std::string_view bytes) {
  if (file_ == nullptr) return false;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    return Fail(std::strerror(errno));
  }
  return true;
}

bool OutputFile::Commit() {
  if (file_ == nullptr) return false;
  const bool flushed = std::fflush(file_) == 0;
  const int flushError = errno;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) return Fail(std::strerror(flushed ? errno : flushError));
  if (auto problem = MoveOver(temporary_, path_); !problem.empty()) return Fail(problem);
  temporary_.clear();
  return true;
}

bool OutputFile::Fail(const std::string& reason) {
  if (error_.empty()) error_ = "cannot write " + path_ + ": " + reason;
  Discard();
  return false;
}

void OutputFile::Discard() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temporary_.empty()) std::remove(temporary_.c_str());
  temporary_.clear();
}

}  // namespace kov::wfexport
