#include "WaveformReader.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "Interruption.h"

namespace kov::wfexport {
namespace {

// Large enough that a chunk's costs are lost in its lines, small enough
// that the chunks in flight take little memory.
constexpr std::uint64_t kChunkBytes = std::uint64_t{1} << 20;

// Takes the chunks in the file's order, with the bytes read up to each
// chunk's end; false ends the read.
using Merger = std::function<bool(ChunkOut&, std::uint64_t)>;

// Chunk `index` of a file into `buffer`: "" or why not.
std::string ReadChunk(const RecordingInput& input, std::uint64_t index, std::uint64_t chunkBytes,
                      std::vector<char>& buffer, ChunkWindow& window) {
  const ChunkSpan span = SpanOf(index, chunkBytes, input.Size());
  const auto size = static_cast<std::size_t>(span.readEnd - span.readBegin);
  buffer.resize(size + kWindowPadding);
  if (auto problem = input.ReadAt(span.readBegin, buffer.data(), size); !problem.empty()) {
    return problem;
  }
  buffer[size] = '\n';
  window = {buffer.data(), size, static_cast<std::size_t>(span.ownEnd - span.readBegin),
            index == 0};
  return {};
}

// The chunks of a stream, in turn, through one buffer sliding along it.
class StreamChunks {
 public:
  StreamChunks(RecordingInput& input, std::uint64_t chunkBytes)
      : input_(input),
        chunkBytes_(chunkBytes),
        buffer_(chunkBytes + kLongestLine + 2 + kWindowPadding) {}

  // The next chunk's window; false after the last one or when the stream
  // failed (`problem`).
  bool Next(ChunkWindow& window, std::string& problem) {
    const std::uint64_t ownBegin = index_ * chunkBytes_;
    if (ended_ && end_ <= ownBegin) return false;
    if (index_ > 0) {  // keep the byte before the chunk and what follows
      const std::uint64_t from = ownBegin - 1;
      std::memmove(buffer_.data(), buffer_.data() + (from - begin_), end_ - from);
      begin_ = from;
    }
    const std::uint64_t target = ownBegin + chunkBytes_ + kLongestLine + 1;
    while (!ended_ && end_ < target) {
      const std::int64_t n =
          input_.ReadOn(buffer_.data() + (end_ - begin_), target - end_, problem);
      if (n < 0) return false;
      ended_ = n == 0;
      end_ += static_cast<std::uint64_t>(n);
    }
    if (end_ <= ownBegin) return false;
    buffer_[end_ - begin_] = '\n';
    window = {buffer_.data(), static_cast<std::size_t>(end_ - begin_),
              static_cast<std::size_t>(std::min(end_, ownBegin + chunkBytes_) - begin_),
              index_ == 0};
    ++index_;
    return true;
  }
  std::uint64_t Bytes() const { return end_; }

 private:
  RecordingInput& input_;
  std::uint64_t chunkBytes_;
  std::vector<char> buffer_;
  std::uint64_t index_ = 0;
  std::uint64_t begin_ = 0, end_ = 0;  // of the buffer's bytes in the stream
  bool ended_ = false;
};

// The chunks of a file read and scanned by several workers, at most a few
// chunks ahead of the merge, which takes them in the file's order.
class ParallelRead {
 public:
  ParallelRead(const RecordingInput& input, ChunkWork& work, std::uint64_t chunkBytes,
               unsigned workers)
      : input_(input),
        work_(work),
        chunkBytes_(chunkBytes),
        chunks_((input.Size() + chunkBytes - 1) / chunkBytes),
        workers_(workers),
        ahead_(2 * workers),
        ready_(ahead_),
        problems_(ahead_) {}

  // "" or why the file could not be read.
  std::string Run(const Merger& merge) {
    std::vector<std::thread> threads;
    {
      // Interruptions go to this thread alone, which keeps the outputs.
      const HeldOff held;
      for (unsigned w = 0; w < workers_; ++w) threads.emplace_back([this, w] { Work(w); });
    }
    std::string problem;
    for (std::uint64_t i = 0; i < chunks_ && problem.empty(); ++i) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return ready_[i % ahead_] != nullptr; });
      std::unique_ptr<ChunkOut> out = std::move(ready_[i % ahead_]);
      problem = std::move(problems_[i % ahead_]);
      lock.unlock();
      const bool going =
          problem.empty() && merge(*out, std::min(input_.Size(), (i + 1) * chunkBytes_));
      lock.lock();
      free_.push_back(std::move(out));
      ++merged_;
      stop_ = stop_ || !going;
      lock.unlock();
      changed_.notify_all();
      if (!going) break;
    }
    for (std::thread& t : threads) t.join();
    return problem;
  }

 private:
  void Work(unsigned worker) {
    std::vector<char> buffer;
    for (;;) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return stop_ || next_ >= chunks_ || next_ < merged_ + ahead_; });
      if (stop_ || next_ >= chunks_) return;
      const std::uint64_t index = next_++;
      std::unique_ptr<ChunkOut> out;
      if (!free_.empty()) out = std::move(free_.back()), free_.pop_back();
      lock.unlock();
      if (!out) out = work_.NewOut();
      out->facts = ChunkFacts{};
      ChunkWindow window;
      std::string problem = ReadChunk(input_, index, chunkBytes_, buffer, window);
      if (problem.empty()) work_.Scan(worker, window, *out);
      lock.lock();
      ready_[index % ahead_] = std::move(out);
      problems_[index % ahead_] = std::move(problem);
      lock.unlock();
      changed_.notify_all();
    }
  }

  const RecordingInput& input_;
  ChunkWork& work_;
  const std::uint64_t chunkBytes_, chunks_;
  const unsigned workers_, ahead_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::uint64_t next_ = 0, merged_ = 0;
  bool stop_ = false;
  std::vector<std::unique_ptr<ChunkOut>> ready_;  // by chunk, modulo ahead_
  std::vector<std::string> problems_;
  std::vector<std::unique_ptr<ChunkOut>> free_;
};

// Each worker keeps statistics of its own, some megabytes: on a machine of
// many cores, memory runs out of speed before the workers run out of work.
constexpr unsigned kMostWorkers = 8;

unsigned WorkersFor(const ReadSettings& settings, std::uint64_t chunks) {
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1u, kMostWorkers);
  const unsigned wanted = settings.threads > 0 ? settings.threads : cores;
  return static_cast<unsigned>(std::max<std::uint64_t>(1, std::min<std::uint64_t>(wanted, chunks)));
}

// A stream, or a file on one worker: each chunk read, scanned and merged in turn.
std::string ReadInTurn(RecordingInput& input, ChunkWork& work, std::uint64_t chunkBytes,
                       const Merger& merge) {
  const std::unique_ptr<ChunkOut> out = work.NewOut();
  std::optional<StreamChunks> stream;
  if (!input.Seekable()) stream.emplace(input, chunkBytes);
  std::vector<char> buffer;
  const std::uint64_t chunks = (input.Size() + chunkBytes - 1) / chunkBytes;
  for (std::uint64_t i = 0; stream || i < chunks; ++i) {
    ChunkWindow window;
    std::string problem;
    if (stream ? !stream->Next(window, problem)
               : !(problem = ReadChunk(input, i, chunkBytes, buffer, window)).empty()) {
      return problem;
    }
    out->facts = ChunkFacts{};
    work.Scan(0, window, *out);
    const std::uint64_t read = stream ? stream->Bytes() : input.Size();
    if (!merge(*out, std::min(read, (i + 1) * chunkBytes))) break;
  }
  return {};
}

}  // namespace

ReadReport ReadWaveformFile(RecordingInput& input, ChunkWork& work, const ReadSettings& settings,
                            std::ostream& err) {
  ReadReport report;
  ReadTally tally(settings, err, report);
  const std::uint64_t chunkBytes = settings.chunkBytes > 0 ? settings.chunkBytes : kChunkBytes;
  const std::uint64_t chunks = (input.Size() + chunkBytes - 1) / chunkBytes;
  const Merger merge = [&](ChunkOut& out, std::uint64_t bytes) {
    if (!tally.Add(out.facts)) return false;
    work.Merge(out);
    report.bytes = bytes;
    if (settings.progress) settings.progress(bytes, input.Size());
    return true;
  };
  const unsigned workers = input.Seekable() ? WorkersFor(settings, chunks) : 1;
  work.Start(workers);
  std::string problem;
  if (workers > 1) {
    problem = ParallelRead(input, work, chunkBytes, workers).Run(merge);
  } else {
    problem = ReadInTurn(input, work, chunkBytes, merge);
  }
  if (!problem.empty()) report.error = settings.name + ": " + problem;
  return report;
}

}  // namespace kov::wfexport
