#include "Recording.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "Escaped.h"
#include "link/Protocol.h"
#include "measure/WaveformFile.h"
#include "platform/FilePath.h"

namespace kov::sim {
namespace {

constexpr int kPoints = link::kPointsPerBand;
// Far longer than any point line the program writes.
constexpr std::size_t kLongestLine = 200;

// The line's bytes escaped: a file's NUL or control bytes neither cut the
// message short nor reach the terminal.
std::string Quoted(std::string_view line) {
  return '"' + Escaped(line.substr(0, 40)) + (line.size() > 40 ? "...\"" : "\"");
}

}  // namespace

// Takes the file's bytes piece by piece and checks, line by line, that the
// point lines make whole bands.
class Recording::Reader {
 public:
  Reader(Recording& recording, std::size_t maxPoints)
      : recording_(recording), maxPoints_(maxPoints) {}

  bool Feed(std::string_view bytes, std::string& error) {
    for (std::size_t lf; (lf = bytes.find('\n')) != std::string_view::npos;) {
      line_.append(bytes.substr(0, lf));
      bytes.remove_prefix(lf + 1);
      if (!TakeLine(error)) return false;
    }
    line_.append(bytes);
    return line_.size() <= kLongestLine || Fail(lineNo_ + 1, "longer than 200 bytes", error);
  }

  bool Finish(std::string& error) {
    if (!line_.empty() && !TakeLine(error)) return false;
    if (next_ != 0) return Fail(lineNo_, "the file ends: " + BreaksOff(), error);
    if (recording_.bands_.empty()) {
      error = "holds no point lines";
      return false;
    }
    for (auto& [band, codes] : recording_.bands_) codes.shrink_to_fit();
    return true;
  }

 private:
  bool TakeLine(std::string& error) {
    ++lineNo_;
    std::string_view line = line_;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string reason = line.size() > kLongestLine ? "longer than 200 bytes" : Take(line);
    line_.clear();
    return reason.empty() || Fail(lineNo_, reason, error);
  }

  // The reason the line does not fit, or "".
  std::string Take(std::string_view line) {
    if (line.empty()) return next_ == 0 ? "" : BreaksOff();
    const auto point = measure::ParsePointLine(line);
    if (!point) return "not a point line (pass, point, level): " + Quoted(line);
    if (point->point < 1) return "point " + std::to_string(point->point) + " is below 1";
    if (next_ != 0 && (point->pass != pass_ || point->point != next_)) {
      return BreaksOff() + ": " + Quoted(line) + " follows";
    }
    const int k = (point->point - 1) % kPoints + 1;
    if (next_ == 0 && k != 1) {
      return "point " + std::to_string(point->point) + " is not the first of its band";
    }
    if (++points_ > maxPoints_) {
      return "more than " + std::to_string(maxPoints_) + " points, too many to hold for replay";
    }
    const auto code = recording_.codes_.Encode(point->cell);
    if (!code) return "too many different level texts to hold for replay";
    if (k == 1) {
      band_ = &recording_.bands_[(point->point - 1) / kPoints + 1];
      pass_ = point->pass;
    }
    band_->push_back(*code);
    next_ = k == kPoints ? 0 : point->point + 1;
    return "";
  }

  std::string BreaksOff() const {
    return "band " + std::to_string((next_ - 1) / kPoints + 1) + " of pass " +
           std::to_string(pass_) + " breaks off after " + std::to_string((next_ - 1) % kPoints) +
           " of its " + std::to_string(kPoints) + " points";
  }

  static bool Fail(long lineNo, const std::string& reason, std::string& error) {
    error = "line " + std::to_string(lineNo) + ": " + reason;
    return false;
  }

  Recording& recording_;
  std::size_t maxPoints_;
  std::string line_;
  long lineNo_ = 0;
  std::size_t points_ = 0;
  std::int32_t pass_ = 0;
  std::int32_t next_ = 0;  // the point the band goes on with; 0 between bands
  std::vector<std::uint16_t>* band_ = nullptr;
};

std::optional<Recording> Recording::Parse(std::string_view bytes, std::string& error,
                                          std::size_t maxPoints) {
  Recording recording;
  Reader reader(recording, maxPoints);
  if (!reader.Feed(bytes, error) || !reader.Finish(error)) return std::nullopt;
  return recording;
}

std::optional<Recording> Recording::Load(const std::string& path, std::string& error,
                                         std::size_t maxPoints) {
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) {
    error = path + ": " + std::strerror(errno);
    return std::nullopt;
  }
  Recording recording;
  Reader reader(recording, maxPoints);
  std::vector<char> chunk(64 * 1024);
  bool ok = true;
  for (std::size_t n; ok && (n = std::fread(chunk.data(), 1, chunk.size(), file)) > 0;) {
    ok = reader.Feed(std::string_view(chunk.data(), n), error);
  }
  if (ok && std::ferror(file)) {
    error = std::string("cannot read: ") + std::strerror(errno);
    ok = false;
  }
  std::fclose(file);
  if (ok) ok = reader.Finish(error);
  if (!ok) error = path + ": " + error;
  return ok ? std::optional<Recording>(std::move(recording)) : std::nullopt;
}

int Recording::Passes(int band) const {
  const auto it = bands_.find(band);
  return it == bands_.end() ? 0 : static_cast<int>(it->second.size() / kPoints);
}

std::optional<std::string> Recording::Level(int band, int pass, int k) const {
  const auto& codes = bands_.at(band);
  return codes_.Decode(codes.at(static_cast<std::size_t>(pass - 1) * kPoints + (k - 1)));
}

}  // namespace kov::sim
