#include "Export.h"

#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "ExportNotes.h"
#include "FactsOnly.h"
#include "FileCalls.h"
#include "Gatherer.h"
#include "LevelScale.h"
#include "OutputFile.h"
#include "PeaksCsv.h"
#include "Png.h"
#include "Progress.h"
#include "Report.h"
#include "RunFiles.h"
#include "SpectrumPicture.h"
#include "SummaryCsv.h"
#include "TimeAxis.h"
#include "WaterfallPicture.h"
#include "WaveformReader.h"
#include "link/Protocol.h"
#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

constexpr int kFailed = 1;

int Fail(std::ostream& err, const std::string& message, int status = kFailed) {
  err << "wfdata-export: " << message << '\n';
  return status;
}

// What is known before the recording is read.
struct Plan {
  RunFiles files;
  FrequencyAxis axis;
  std::optional<TimesTable> times;
  std::string timesName;
  std::vector<std::string> notes;
  Selection selection;
  std::vector<std::int32_t> track;
  const Options& O() const { return files.options; }
  const TimesTable* Times() const { return times ? &*times : nullptr; }
};

// The outputs asked for, each written beside its name until it is whole.
struct Outputs {
  std::unique_ptr<OutputFile> csv, summary, waterfall, spectrum, peaks, track, report;

  std::vector<OutputFile*> All() const {
    std::vector<OutputFile*> all;
    for (const auto* o : {&csv, &summary, &waterfall, &spectrum, &peaks, &track, &report}) {
      if (*o) all.push_back(o->get());
    }
    return all;
  }
};

// The start from the times file, checked against --start and --ini.
std::string AxisFromTimes(Plan& plan) {
  const TimesTable& t = *plan.times;
  const double start = t.FirstCentreMHz() - 5;
  const std::string source = plan.timesName + " (band 1 tuned to " +
                             platform::PlainNumber(t.FirstCentreMHz()) + " MHz, a run from " +
                             platform::PlainNumber(start) + " MHz)";
  if (plan.O().startMHz && *plan.O().startMHz != start) {
    return "--start " + platform::PlainNumber(*plan.O().startMHz) + " disagrees with " + source;
  }
  if (!plan.O().iniPath.empty() && plan.axis.startMHz != start) {
    return plan.O().iniPath + " starts a run at " + platform::PlainNumber(plan.axis.startMHz) +
           " MHz, which disagrees with " + source;
  }
  plan.axis.startMHz = start;
  plan.axis.plannedPoints = t.Bands() * link::kPointsPerBand;
  return {};
}

std::string LoadAxis(Plan& plan) {
  const Options& o = plan.O();
  plan.axis.startMHz = o.startMHz.value_or(0);
  if (!o.iniPath.empty()) {
    if (auto problem = AxisFromSettings(o.iniPath, plan.axis); !problem.empty()) return problem;
  }
  if (plan.files.timesPath.empty()) return {};
  plan.timesName = LastPart(plan.files.timesPath);
  LoadedTimes loaded = LoadTimes(plan.files.timesPath, plan.timesName);
  if (!loaded.error.empty()) {
    return loaded.error + " (--ignore-times exports without the times)";
  }
  if (!loaded.note.empty()) plan.notes.push_back(loaded.note);
  plan.times = std::move(loaded.table);
  if (plan.times->Count() == 0)
    return plan.timesName + " holds no band (--ignore-times exports without it)";
  return AxisFromTimes(plan);
}

// The points a pass of the recording holds, from its times or its first pass.
std::int32_t PointsHeld(const Plan& plan) {
  if (plan.times) return plan.times->Bands() * link::kPointsPerBand;
  std::string problem;
  const auto input = RecordingInput::Open(plan.O().input, problem);
  if (!input) return 0;
  FactsOnly facts;
  ReadSettings settings;
  settings.name = plan.files.name;
  settings.firstPassOnly = true;
  std::ostringstream quiet;
  const ReadReport first = ReadWaveformFile(*input, facts, settings, quiet);
  return first.pointsPerPass > 0 ? first.pointsPerPass : first.highestPoint;
}

// The passes, points and tracked points: "" or why none (`status` 2 for a
// time that is none).
std::string Select(Plan& plan, int& status) {
  const Options& o = plan.O();
  const std::int32_t planned = plan.axis.plannedPoints.value_or(FrequencyAxis::kMaxPoints);
  if (!MakeSelection(o, plan.axis, planned, plan.selection)) {
    const std::int32_t held = PointsHeld(plan);
    if (held == 0) return plan.files.name + " holds no point line";
    return NoFrequency(o, plan.axis, held, plan.files.name);
  }
  if (plan.times) {
    bool refused = false;
    auto problem = SelectTimes(o, *plan.times, plan.selection, refused);
    if (refused) status = kUsageStatus;
    if (!problem.empty()) return problem;
  }
  plan.track = NearestPoints(o.trackMHz, plan.axis);
  for (std::size_t i = 0; i < plan.track.size(); ++i) {
    if (plan.track[i] < 1 || plan.track[i] > planned) {
      return "--track " + platform::PlainNumber(o.trackMHz[i]) + " lies outside " +
             plan.files.name + "'s " + HeldFrequencies(plan.axis, planned);
    }
  }
  return {};
}

std::string OpenOutputs(const Options& o, Outputs& outputs) {
  for (const auto& [path, file] : {std::pair{&o.csvPath, &outputs.csv},
                                   {&o.summaryPath, &outputs.summary},
                                   {&o.waterfallPath, &outputs.waterfall},
                                   {&o.spectrumPath, &outputs.spectrum},
                                   {&o.peaksPath, &outputs.peaks},
                                   {&o.trackCsvPath, &outputs.track},
                                   {&o.reportPath, &outputs.report}}) {
    if (path->empty()) continue;
    *file = std::make_unique<OutputFile>(*path);
    if (!(*file)->Open()) return (*file)->Error();
  }
  return {};
}

LevelScale ScaleOf(const Options& o, const FrequencyAxis& axis) {
  if (o.dbMin) return LevelScale::Linear(*o.dbMin, *o.dbMax);
  if (o.range == "full") return LevelScale::Ramp(0);
  if (o.range == "50") return LevelScale::Ramp(1);
  return LevelScale::Ramp(axis.checkValue.value_or(0));
}

void Prepare(const Plan& plan, const Outputs& outputs, Gathering& g) {
  const Options& o = plan.O();
  const Selection& s = plan.selection;
  if (outputs.csv) {
    g.csv.emplace(plan.axis, s, plan.Times());
    g.csvFile = outputs.csv.get();
  }
  if (outputs.summary || outputs.spectrum || outputs.report) {
    g.statistics.emplace(s.firstPoint, s.lastPoint, o.threshold);
  }
  if (outputs.peaks || outputs.report) g.peaks.emplace(s.firstPoint, s.lastPoint, o.threshold);
  if (outputs.waterfall || outputs.report) g.waterfall.emplace(s, o.width, o.height);
  if (outputs.track) g.track.emplace(plan.track, s.firstPass);
}

// The one read of the recording, in parts on every core when it is a file.
ReadReport Read(const Plan& plan, Gathering& g, SelectedCounts& counts, std::ostream& err,
                const Surroundings& surroundings) {
  ReadSettings settings;
  settings.name = plan.files.name;
  settings.strict = plan.O().strict;
  settings.chunkBytes = surroundings.chunkBytes;
  settings.threads = surroundings.threads;
  std::string problem;
  const auto input = RecordingInput::Open(plan.O().input, problem);
  if (!input) return ReadReport{plan.files.name + ": " + problem};
  std::optional<Progress> progress;
  if (surroundings.terminal && !plan.O().quiet) {
    progress.emplace(err, plan.files.name);
    settings.progress = [&progress](std::uint64_t bytes, std::uint64_t size) {
      progress->Update(bytes, size);
    };
  }
  ReadReport report = Gather(*input, plan.selection, g, counts, settings, err);
  if (progress) progress->Done();
  return report;
}

// The last band's time of a pass, or the last the times file holds.
std::optional<platform::WallTime> EndOf(const TimesTable& t, std::int32_t pass) {
  if (pass >= t.LastPass()) return t.Last();
  return t.At(pass, t.Bands());
}

std::string Span(const Plan& plan, const SelectedCounts& c) {
  std::string text =
      " of passes " + std::to_string(c.firstPass) + " to " + std::to_string(c.lastPass);
  if (!plan.times) return text;
  const auto start = plan.times->PassTime(c.firstPass);
  const auto end = EndOf(*plan.times, c.lastPass);
  if (!start || !end) return text;
  const std::string a = LocalText(*start), b = LocalText(*end);
  return text + ", " + a + " to " + (a.substr(0, 10) == b.substr(0, 10) ? b.substr(11) : b) + " (" +
         OffsetText(*start) + ")";
}

ReportFacts FactsOf(const Plan& plan, const SelectedCounts& c,
                    const std::vector<std::string>& notes) {
  ReportFacts f;
  f.recording = DisplayName(plan.files.name);
  f.timesFile = plan.times ? DisplayName(plan.timesName) : std::string();
  const std::int32_t highest = std::max(c.highestPoint, plan.selection.firstPoint);
  f.lowMHz = plan.axis.MHz(plan.selection.firstPoint);
  f.highMHz = plan.axis.MHz(highest);
  f.bands = (highest + link::kPointsPerBand - 1) / link::kPointsPerBand -
            (plan.selection.firstPoint - 1) / link::kPointsPerBand;
  f.firstPass = c.firstPass;
  f.lastPass = c.lastPass;
  f.points = c.selected;
  f.withoutData = c.withoutData;
  if (plan.times) {
    f.start = plan.times->PassTime(c.firstPass);
    f.end = EndOf(*plan.times, c.lastPass);
  }
  f.threshold = plan.O().threshold;
  f.notes = notes;
  return f;
}

void WriteOutputs(const Plan& plan, const Outputs& outputs, Gathering& g, const SelectedCounts& c,
                  const std::vector<std::string>& notes) {
  const Options& o = plan.O();
  const std::string span = Span(plan, c);
  const LevelScale scale = ScaleOf(o, plan.axis);
  const TimesTable* times = plan.Times();
  if (outputs.summary) WriteSummary(*outputs.summary, *g.statistics, plan.axis);
  const std::vector<Signal> signals = g.peaks ? g.peaks->Signals() : std::vector<Signal>();
  if (outputs.peaks) WritePeaks(*outputs.peaks, signals, plan.axis, times);
  if (outputs.track) g.track->Write(*outputs.track, plan.axis, times);
  std::string waterfall, spectrum;
  // The two pictures at once: compressing them takes a good part of a
  // second, on one core each.
  std::thread drawing([&] {
    if (!outputs.spectrum && !outputs.report) return;
    spectrum = EncodePng(DrawSpectrum(*g.statistics, scale, plan.axis,
                                      DisplayName(plan.files.name) + ": spectrum" + span, o.width));
  });
  if (g.waterfall) {
    waterfall = EncodePng(DrawWaterfall(g.waterfall->Finish(), scale, plan.axis,
                                        DisplayName(plan.files.name) + ": waterfall" + span,
                                        o.width, o.height, times));
  }
  drawing.join();
  if (outputs.waterfall) outputs.waterfall->Write(waterfall);
  if (outputs.spectrum) outputs.spectrum->Write(spectrum);
  if (outputs.report) {
    outputs.report->Write(
        MakeReport(FactsOf(plan, c, notes), waterfall, spectrum, signals, plan.axis, times));
  }
}

std::string Commit(const Outputs& outputs) {
  for (OutputFile* file : outputs.All()) {
    if (!file->Error().empty()) return file->Error();
  }
  for (OutputFile* file : outputs.All()) {
    if (!file->Commit()) return file->Error();
  }
  return {};
}

// After the read: the notes, and whether the times belong to the recording.
std::string Check(Plan& plan, const ReadReport& report, const SelectedCounts& c, std::ostream& err,
                  std::vector<std::string>& notes) {
  const std::string& name = plan.files.name;
  if (!report.error.empty()) return report.error;
  if (report.stoppedAtSkipped) return name + ": stopped at a line that is no point line";
  notes = ReportReading(report, plan.axis, name, plan.O().quiet, err);
  if (plan.times) {
    std::string note;
    if (auto problem = CheckTimes(*plan.times, report, plan.timesName, name, note);
        !problem.empty()) {
      return problem + " (--ignore-times exports without the times)";
    }
    if (!note.empty()) plan.notes.push_back(note);
  }
  if (!plan.O().quiet) {
    for (const std::string& note : plan.notes) err << "wfdata-export: note: " << note << '\n';
  }
  notes.insert(notes.end(), plan.notes.begin(), plan.notes.end());
  if (c.selected == 0 && c.tracked == 0) {
    return NothingSelected(plan.O(), report, plan.axis, name);
  }
  return {};
}

int Run(Plan& plan, std::ostream& out, std::ostream& err, const Surroundings& surroundings) {
  if (plan.O().input != kStandardInput && IsFolder(plan.O().input))
    return Fail(err, plan.O().input + ": is a folder, not a file");
  Outputs outputs;
  if (auto problem = OpenOutputs(plan.O(), outputs); !problem.empty()) return Fail(err, problem);
  Gathering gathering;
  Prepare(plan, outputs, gathering);
  SelectedCounts counts;
  const ReadReport report = Read(plan, gathering, counts, err, surroundings);
  std::vector<std::string> notes;
  if (auto problem = Check(plan, report, counts, err, notes); !problem.empty()) {
    return Fail(err, problem);
  }
  WriteOutputs(plan, outputs, gathering, counts, notes);
  if (auto problem = Commit(outputs); !problem.empty()) return Fail(err, problem);
  if (plan.files.usualSet) {
    for (OutputFile* file : outputs.All()) out << "wrote " << file->Path() << '\n';
  }
  return 0;
}

}  // namespace

int Export(const Options& options, std::ostream& out, std::ostream& err,
           const Surroundings& surroundings) {
  Plan plan;
  if (auto problem = FindRunFiles(options, surroundings.programFolder, plan.files);
      !problem.empty()) {
    return Fail(err, problem, kUsageStatus);
  }
  if (auto problem = LoadAxis(plan); !problem.empty()) return Fail(err, problem);
  int status = kFailed;
  if (auto problem = Select(plan, status); !problem.empty()) return Fail(err, problem, status);
  return Run(plan, out, err, surroundings);
}

int Main(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
         const Surroundings& surroundings) {
  const ParsedOptions parsed = ParseOptions(argc, argv, out, err);
  if (parsed.exitStatus) return *parsed.exitStatus;
  return Export(parsed.options, out, err, surroundings);
}

}  // namespace kov::wfexport
