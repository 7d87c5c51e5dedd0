#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kov::wfexport {

// The recording's name for standard input.
inline constexpr std::string_view kStandardInput = "-";

// The recording as the reader takes it: a file, whose parts several threads
// read at once, or a stream (standard input, a pipe), read once in order.
// The one place where the recording is opened.
class RecordingInput {
 public:
  // kStandardInput is standard input, always read as a stream. Nothing, with the
  // system's reason in `problem`, when the file cannot be opened.
  static std::unique_ptr<RecordingInput> Open(const std::string& path, std::string& problem);
  ~RecordingInput();
  RecordingInput(const RecordingInput&) = delete;
  RecordingInput& operator=(const RecordingInput&) = delete;

  bool Seekable() const { return seekable_; }
  // A file's size when it was opened (what is read of it); 0 for a stream.
  std::uint64_t Size() const { return size_; }
  // Bytes [offset, offset + n) of a file, from any thread; "" or why not.
  std::string ReadAt(std::uint64_t offset, char* buffer, std::size_t n) const;
  // The next bytes of a stream: how many (0 at its end), or -1 with `problem`.
  std::int64_t ReadOn(char* buffer, std::size_t n, std::string& problem);

 private:
  RecordingInput() = default;

  int fd_ = -1;
  bool owned_ = false;  // not standard input
  bool seekable_ = false;
  std::uint64_t size_ = 0;
};

}  // namespace kov::wfexport
