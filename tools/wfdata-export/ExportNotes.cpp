#include "ExportNotes.h"

#include <algorithm>

#include "link/Protocol.h"
#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

// Where a file taken during a run, or left by a run that ended early, stops:
// "" when it ends as a whole pass does.
std::string CutShort(const ReadReport& r, const FrequencyAxis& axis) {
  // A whole pass of this file tells best; a settings file may be of another run.
  const std::int32_t pointsPerPass =
      r.pointsPerPass > 0 ? r.pointsPerPass : axis.plannedPoints.value_or(0);
  std::string what;
  if (r.partialBytes > 0) {
    what = "ends inside a line";
  } else if (r.endsInBand) {
    what = "ends inside a band";
  } else if (r.lastPoint > 0 && r.lastPoint < pointsPerPass) {
    what = "ends before its last pass is whole";
  } else {
    return {};
  }
  std::string where =
      "pass " + std::to_string(r.lastPass) + ", point " + std::to_string(r.lastPoint);
  if (pointsPerPass > 0) where += " of " + std::to_string(pointsPerPass);
  return what + " (" + where + "); it was read up to its last whole line";
}

}  // namespace

std::vector<std::string> ReportReading(const ReadReport& report, const FrequencyAxis& axis,
                                       const std::string& name, bool quiet, std::ostream& err) {
  std::vector<std::string> notes;
  if (report.skipped > 0) {
    notes.push_back(name + ": " + std::to_string(report.skipped) +
                    (report.skipped == 1 ? " line" : " lines") + " skipped, not point lines");
    err << "wfdata-export: " << notes.back() << '\n';
  }
  if (const std::string cut = CutShort(report, axis); !cut.empty()) {
    notes.push_back(name + ' ' + cut);
  }
  if (axis.plannedPoints && report.pointsPerPass > 0 &&
      report.pointsPerPass != *axis.plannedPoints) {
    notes.push_back("a pass of " + name + " holds " + std::to_string(report.pointsPerPass) +
                    " points, but the settings file plans " +
                    std::to_string(*axis.plannedPoints / link::kPointsPerBand) +
                    " bands of 320: is it the one of this run?");
  }
  if (!quiet) {
    for (std::size_t i = report.skipped > 0 ? 1 : 0; i < notes.size(); ++i) {
      err << "wfdata-export: note: " << notes[i] << '\n';
    }
  }
  return notes;
}

std::string CheckTimes(const TimesTable& times, const ReadReport& report,
                       const std::string& timesName, const std::string& name, std::string& note) {
  if (report.pointLines == 0) return {};
  const std::int32_t recordingBands = report.pointsPerPass / link::kPointsPerBand;
  if (times.BandsKnown() && recordingBands > 0 && recordingBands != times.Bands()) {
    return timesName + ":" + std::to_string(times.Bands() + 2) + ": its passes hold " +
           std::to_string(times.Bands()) + " bands, those of " + name + " " +
           std::to_string(recordingBands) + ": they are not of one run";
  }
  const std::int32_t bands =
      times.BandsKnown()   ? times.Bands()
      : recordingBands > 0 ? recordingBands
                           : std::max(times.Bands(), (report.lastPoint + link::kPointsPerBand - 1) /
                                                         link::kPointsPerBand);
  const std::int64_t last = std::int64_t{report.lastPass - 1} * bands +
                            (report.lastPoint + link::kPointsPerBand - 1) / link::kPointsPerBand;
  const std::int64_t ahead = times.Count() - last;
  const std::string end =
      timesName + " ends at pass " + std::to_string(times.LastPass()) + " band " +
      std::to_string(times.LastBand()) + ", " + name + " at pass " +
      std::to_string(report.lastPass) + " band " +
      std::to_string((report.lastPoint + link::kPointsPerBand - 1) / link::kPointsPerBand);
  if (ahead > 1 || ahead < -1) {
    return timesName + ":" + std::to_string(times.Count() + 1) + ": " +
           end.substr(timesName.size() + 1) + ": they are not of one run";
  }
  if (ahead != 0) note = end + " (one was taken during the run): read as cut short";
  return {};
}

std::string HeldFrequencies(const FrequencyAxis& axis, std::int32_t points) {
  return platform::PlainNumber(axis.MHz(1)) + " to " + platform::PlainNumber(axis.MHz(points)) +
         " MHz";
}

std::string NothingSelected(const Options& o, const ReadReport& report, const FrequencyAxis& axis,
                            const std::string& name) {
  if (report.pointLines == 0) return name + " holds no point line";
  std::string text = "nothing selected: no point line of " + name;
  if (o.passes.low || o.passes.high || !o.fromTime.empty() || !o.toTime.empty()) {
    text += " in the passes selected";
  }
  if (o.freqMHz.low || o.freqMHz.high) {
    text += " between " + (o.freqMHz.low ? platform::PlainNumber(*o.freqMHz.low) : "0") + " and " +
            (o.freqMHz.high ? platform::PlainNumber(*o.freqMHz.high) : "the end") + " MHz";
  }
  return text + "; it holds passes " + std::to_string(report.lowestPass) + " to " +
         std::to_string(report.highestPass) + ", " + HeldFrequencies(axis, report.highestPoint);
}

}  // namespace kov::wfexport
