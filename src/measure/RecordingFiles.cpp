#include "measure/RecordingFiles.h"

#include <utility>

namespace kov::measure {
namespace {

// Enough of a times file for its header and its first band's line.
constexpr std::size_t kFirstLinesBytes = 4096;
// The empty line a start writes: a file this size or smaller holds no band.
constexpr std::uint64_t kEmptyRecordingBytes = 2;
// Runs kept within one second, far beyond what an operator can start.
constexpr int kMaxRunsPerStamp = 1000;

#ifdef _WIN32
constexpr const char* kSeparators = "/\\";
#else
constexpr const char* kSeparators = "/";
#endif

std::string FolderOf(const std::string& path) {
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

}  // namespace

RecordingFiles::RecordingFiles(platform::TextFiles& files, std::string waveformPath)
    : files_(files),
      waveformPath_(std::move(waveformPath)),
      folder_(FolderOf(waveformPath_)),
      timesPath_(folder_ + kTimesFile) {}

bool RecordingFiles::SetAsideLast() {
  const auto size = files_.FileSize(waveformPath_);
  if (!size || *size <= kEmptyRecordingBytes) return true;
  auto when = FirstBandTime();
  if (!when) when = files_.Modified(waveformPath_);
  const auto stamp = when ? FreeStamp(StampText(*when)) : std::nullopt;
  if (!stamp) return false;
  const std::string keptWaveform = Beside("WFdata-" + *stamp + ".txt");
  if (!files_.Rename(waveformPath_, keptWaveform)) return false;
  if (!files_.Exists(timesPath_) ||
      files_.Rename(timesPath_, Beside("WFtime-" + *stamp + ".csv"))) {
    return true;
  }
  // Half set aside is worse than not at all: the pair goes back together.
  files_.Rename(keptWaveform, waveformPath_);
  return false;
}

bool RecordingFiles::Start() {
  return files_.Write(waveformPath_, "\r\n") &&
         files_.Write(timesPath_, std::string(kTimesHeader) + "\r\n");
}

bool RecordingFiles::AppendBand(std::string_view pointLines, const BandTime& band) {
  timesLine_.clear();
  AppendTimesLine(timesLine_, band);
  const platform::FileBytes both[] = {{waveformPath_, pointLines}, {timesPath_, timesLine_}};
  return files_.AppendAll(both);
}

std::optional<platform::WallTime> RecordingFiles::FirstBandTime() {
  const auto start = files_.ReadStart(timesPath_, kFirstLinesBytes);
  if (!start) return std::nullopt;
  std::string_view rest = *start;
  for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos;
       rest.remove_prefix(end + 1)) {
    std::string_view line = rest.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (const auto band = ParseTimesLine(line)) return band->time;
  }
  return std::nullopt;
}

std::string RecordingFiles::Beside(std::string_view name) const {
  return folder_ + std::string(name);
}

std::optional<std::string> RecordingFiles::FreeStamp(const std::string& stamp) {
  for (int n = 1; n <= kMaxRunsPerStamp; ++n) {
    const std::string candidate = n == 1 ? stamp : stamp + "-" + std::to_string(n);
    if (!files_.Exists(Beside("WFdata-" + candidate + ".txt")) &&
        !files_.Exists(Beside("WFtime-" + candidate + ".csv"))) {
      return candidate;
    }
  }
  return std::nullopt;
}

}  // namespace kov::measure
