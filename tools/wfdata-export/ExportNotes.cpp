#include "ExportNotes.h"

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

void ReportReading(const ReadReport& report, const FrequencyAxis& axis, const std::string& name,
                   bool quiet, std::ostream& err) {
  if (report.skipped > 0) {
    err << "wfdata-export: " << name << ": " << report.skipped
        << (report.skipped == 1 ? " line" : " lines") << " skipped, not point lines\n";
  }
  if (quiet) return;
  if (const std::string cut = CutShort(report, axis); !cut.empty()) {
    err << "wfdata-export: note: " << name << ' ' << cut << '\n';
  }
  if (axis.plannedPoints && report.pointsPerPass > 0 &&
      report.pointsPerPass != *axis.plannedPoints) {
    err << "wfdata-export: note: a pass of " << name << " holds " << report.pointsPerPass
        << " points, but the settings file plans " << *axis.plannedPoints / 320
        << " bands of 320: is it the one of this run?\n";
  }
}

std::string NothingSelected(const Options& o, const ReadReport& report, const std::string& name) {
  if (report.pointLines == 0) return name + " holds no point line";
  std::string text = "nothing selected: no point line of " + name;
  if (o.passes.low || o.passes.high) {
    text += " in passes " + (o.passes.low ? platform::PlainNumber(*o.passes.low) : "1") + " to " +
            (o.passes.high ? platform::PlainNumber(*o.passes.high) : "32767");
  }
  if (o.freqMHz.low || o.freqMHz.high) {
    text += " between " + (o.freqMHz.low ? platform::PlainNumber(*o.freqMHz.low) : "0") + " and " +
            (o.freqMHz.high ? platform::PlainNumber(*o.freqMHz.high) : "the end") + " MHz";
  }
  return text;
}

}  // namespace kov::wfexport
