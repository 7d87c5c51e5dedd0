#include "OutputFile.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "FileCalls.h"
#include "Interruption.h"

namespace kov::wfexport {

OutputFile::OutputFile(std::string path)
    : path_(std::move(path)), temporary_(path_ + std::string(kPartSuffix)) {}

OutputFile::~OutputFile() { Discard(); }

bool OutputFile::Open() {
  const HeldOff held;
  std::string problem;
  if (IsStream(path_)) {
    // Never renamed over: a file in the place of /dev/null breaks the system.
    stream_ = true;
    temporary_.clear();
    file_ = OpenStream(path_, problem);
    return file_ != nullptr || Fail(problem);
  }
  file_ = TakeFile(temporary_, problem);
  if (file_ == nullptr) {
    temporary_.clear();  // another export's, or none
    return Fail(problem);
  }
  slot_ = RemoveOnInterruption(temporary_.c_str());
  return true;
}

bool OutputFile::Write(std::string_view bytes) {
  if (file_ == nullptr) return false;
  if (bytes.empty()) return true;  // an empty view may point nowhere
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    return Fail(std::strerror(errno));
  }
  return true;
}

bool OutputFile::Commit() {
  if (file_ == nullptr) return false;
  if (std::fflush(file_) != 0) return Fail(std::strerror(errno));
  if (stream_) {
    return std::fclose(std::exchange(file_, nullptr)) == 0 || Fail(std::strerror(errno));
  }
#ifndef _WIN32
  // Renamed while still held, so that no other export takes it over between.
  {
    const HeldOff held;
    if (auto problem = MoveOver(temporary_, path_); !problem.empty()) return Fail(problem);
    LetGo(std::exchange(slot_, -1));
  }
  temporary_ = path_;  // until it is closed whole
  if (std::fclose(std::exchange(file_, nullptr)) != 0) return Fail(std::strerror(errno));
#else
  // Windows renames no file that is open without sharing.
  if (std::fclose(std::exchange(file_, nullptr)) != 0) return Fail(std::strerror(errno));
  const HeldOff held;
  if (auto problem = MoveOver(temporary_, path_); !problem.empty()) return Fail(problem);
  LetGo(std::exchange(slot_, -1));
#endif
  temporary_.clear();
  return true;
}

bool OutputFile::Fail(const std::string& reason) {
  if (error_.empty()) error_ = "cannot write " + path_ + ": " + reason;
  Discard();
  return false;
}

void OutputFile::Discard() {
  const HeldOff held;
  // Removed while still held, so that no other export has taken it.
  if (!temporary_.empty()) RemoveFile(temporary_);
  LetGo(std::exchange(slot_, -1));
  temporary_.clear();
  if (file_ != nullptr) std::fclose(std::exchange(file_, nullptr));
}

}  // namespace kov::wfexport
