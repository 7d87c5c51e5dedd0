#include "ReadTally.h"

#include <algorithm>

namespace kov::wfexport {

bool ReadTally::Report(const SkippedLine& line, std::int64_t number) {
  err_ << "wfdata-export: " << settings_.name << ':' << report_.lines + line.line
       << ": not a point line: " << line.text << '\n';
  if (!settings_.strict) return true;
  report_.lines += line.line;
  report_.skipped = number;
  report_.stoppedAtSkipped = true;
  return false;
}

// The first pass's points, until another pass begins.
void ReadTally::Lead(const ChunkFacts& f) {
  if (report_.pointsPerPass > 0) return;
  if (report_.pointLines == 0) {
    firstPass_ = f.leadPass;
    firstPassHigh_ = f.leadHigh;
  } else if (f.leadPass == firstPass_) {
    firstPassHigh_ = std::max(firstPassHigh_, f.leadHigh);
  } else {
    report_.pointsPerPass = firstPassHigh_;
    return;
  }
  if (f.leadEnded) report_.pointsPerPass = firstPassHigh_;
}

bool ReadTally::Add(const ChunkFacts& f) {
  for (std::size_t i = 0; i < f.firstSkipped.size(); ++i) {
    const auto number = report_.skipped + 1 + static_cast<std::int64_t>(i);
    if ((number <= kReported || settings_.strict) && !Report(f.firstSkipped[i], number)) {
      return false;
    }
  }
  if (f.pointLines > 0) {
    Lead(f);
    report_.lastPass = f.lastPass;
    report_.lastPoint = f.lastPoint;
    report_.highestPoint = std::max(report_.highestPoint, f.highestPoint);
    if (report_.lowestPass == 0 || f.lowestPass < report_.lowestPass) {
      report_.lowestPass = f.lowestPass;
    }
    report_.highestPass = std::max(report_.highestPass, f.highestPass);
  }
  if (f.last != ChunkFacts::Last::kNone) report_.endsInBand = f.last == ChunkFacts::Last::kPoint;
  report_.lines += f.lines;
  report_.pointLines += f.pointLines;
  report_.skipped += f.skipped;
  if (f.partialBytes > 0) report_.partialBytes = f.partialBytes;
  return !(settings_.firstPassOnly && report_.pointsPerPass > 0);
}

}  // namespace kov::wfexport
