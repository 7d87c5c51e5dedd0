#include "WaveformReader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "FrequencyAxis.h"
#include "NarrowPaths.h"

namespace kov::wfexport {
namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;
// No point line comes near this; a longer one is skipped without being held.
constexpr std::size_t kLongestLine = 4096;
constexpr std::int64_t kReported = 5;
constexpr std::int32_t kMaxPass = 32767;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

// The line as a C-like quoted text, cut to a readable length.
std::string Quoted(std::string_view line) {
  constexpr std::size_t kShown = 60;
  std::string text = "\"";
  for (char c : line.substr(0, kShown)) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '"' && c != '\\') {
      text += c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
      text += escaped;
    }
  }
  text += line.size() > kShown ? "\"..." : "\"";
  return text;
}

// Takes the whole lines one by one.
class LineTaker {
 public:
  LineTaker(PointSink& sink, const ReadSettings& settings, std::ostream& err, ReadReport& report)
      : sink_(sink), settings_(settings), err_(err), report_(report) {}

  // False when the read ends here.
  bool Take(std::string_view line) {
    ++report_.lines;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) {
      report_.endsInBand = false;
      return true;
    }
    const auto point = measure::ParsePointLine(line);
    if (!point || point->pass < 1 || point->pass > kMaxPass || point->point < 1 ||
        point->point > FrequencyAxis::kMaxPoints) {
      return Skip(line);
    }
    if (settings_.firstPassOnly && report_.pointLines > 0 && point->pass != firstPass_) {
      report_.pointsPerPass = firstPassHigh_;
      return false;
    }
    Track(point->pass, point->point);
    sink_.Add(*point);
    return true;
  }

  bool Skip(std::string_view line) {
    ++report_.skipped;
    if (report_.skipped <= kReported || settings_.strict) {
      err_ << "wfdata-export: " << settings_.name << ':' << report_.lines
           << ": not a point line: " << Quoted(line) << '\n';
    }
    report_.stoppedAtSkipped = settings_.strict;
    return !settings_.strict;
  }

 private:
  void Track(std::int32_t pass, std::int32_t point) {
    ++report_.pointLines;
    report_.endsInBand = true;
    if (report_.pointLines == 1) firstPass_ = pass;
    if (report_.pointsPerPass == 0) {
      if (pass == firstPass_) {
        if (point > firstPassHigh_) firstPassHigh_ = point;
      } else {
        report_.pointsPerPass = firstPassHigh_;
      }
    }
    report_.lastPass = pass;
    report_.lastPoint = point;
    if (point > report_.highestPoint) report_.highestPoint = point;
    if (report_.lowestPass == 0 || pass < report_.lowestPass) report_.lowestPass = pass;
    if (pass > report_.highestPass) report_.highestPass = pass;
  }

  PointSink& sink_;
  const ReadSettings& settings_;
  std::ostream& err_;
  ReadReport& report_;
  std::int32_t firstPass_ = 0;
  std::int32_t firstPassHigh_ = 0;
};

}  // namespace

ReadReport ReadWaveformFile(const std::string& path, PointSink& sink, const ReadSettings& settings,
                            std::ostream& err) {
  ReadReport report;
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    report.error = settings.name + ": " + std::strerror(errno);
    return report;
  }
  const std::uint64_t size = settings.progress ? SizeOf(file.get()) : 0;
  LineTaker taker(sink, settings, err, report);
  std::vector<char> buffer(kLongestLine + kPiece);
  std::size_t held = 0;   // the start of an unfinished line, at the front
  bool overlong = false;  // inside a line already skipped for its length
  for (;;) {
    const std::size_t n = std::fread(buffer.data() + held, 1, kPiece, file.get());
    if (n == 0) break;
    report.bytes += n;
    const char* pos = buffer.data();
    const char* const end = pos + held + n;
    while (const auto* nl = static_cast<const char*>(std::memchr(pos, '\n', end - pos))) {
      const std::string_view line(pos, static_cast<std::size_t>(nl - pos));
      pos = nl + 1;
      if (overlong) {
        overlong = false;
      } else if (!taker.Take(line)) {
        return report;
      }
    }
    held = overlong ? 0 : static_cast<std::size_t>(end - pos);
    if (held > kLongestLine) {
      ++report.lines;
      if (!taker.Skip(std::string_view(pos, held))) return report;
      overlong = true;
      held = 0;
    }
    std::memmove(buffer.data(), pos, held);
    if (settings.progress) settings.progress(report.bytes, size);
  }
  if (std::ferror(file.get())) {
    report.error = settings.name + ": " + std::strerror(errno);
  }
  report.partialBytes = held;
  return report;
}

}  // namespace kov::wfexport
