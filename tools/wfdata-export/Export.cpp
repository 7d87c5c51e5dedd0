#include "Export.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Collectors.h"
#include "ExportNotes.h"
#include "LevelScale.h"
#include "NameCheck.h"
#include "NarrowPaths.h"
#include "OutputFile.h"
#include "PeaksCsv.h"
#include "Png.h"
#include "Progress.h"
#include "SpectrumPicture.h"
#include "SummaryCsv.h"
#include "WaterfallPicture.h"
#include "WaveformReader.h"

namespace kov::wfexport {
namespace {

constexpr int kFailed = 1;

int Fail(std::ostream& err, const std::string& message) {
  err << "wfdata-export: " << message << '\n';
  return kFailed;
}

// The outputs asked for, each written beside its name until it is whole.
struct Outputs {
  std::unique_ptr<OutputFile> csv, summary, waterfall, spectrum, peaks;

  std::vector<OutputFile*> All() const {
    std::vector<OutputFile*> all;
    for (const auto* o : {&csv, &summary, &waterfall, &spectrum, &peaks}) {
      if (*o) all.push_back(o->get());
    }
    return all;
  }
};

// Refused before anything is read: no output replaces an input or another
// output.
std::string CheckFiles(const Options& o) {
  std::vector<NamedFile> inputs = {{"the waveform file itself", o.input}};
  if (!o.iniPath.empty()) inputs.push_back({"the settings file of --ini", o.iniPath});
  std::vector<NamedFile> outputs;
  for (const auto& [option, path] : {std::pair{"--csv", &o.csvPath},
                                     {"--summary", &o.summaryPath},
                                     {"--waterfall", &o.waterfallPath},
                                     {"--spectrum", &o.spectrumPath},
                                     {"--peaks", &o.peaksPath}}) {
    if (!path->empty()) outputs.push_back({option, *path});
  }
  return CheckNames(inputs, outputs);
}

std::string OpenOutputs(const Options& o, Outputs& outputs) {
  const auto open = [](const std::string& path, std::unique_ptr<OutputFile>& file) {
    if (path.empty()) return true;
    file = std::make_unique<OutputFile>(path);
    return file->Open();
  };
  for (const auto& [path, file] : {std::pair{&o.csvPath, &outputs.csv},
                                   {&o.summaryPath, &outputs.summary},
                                   {&o.waterfallPath, &outputs.waterfall},
                                   {&o.spectrumPath, &outputs.spectrum},
                                   {&o.peaksPath, &outputs.peaks}}) {
    if (!open(*path, *file)) return (*file)->Error();
  }
  return {};
}

LevelScale ScaleOf(const Options& o, const FrequencyAxis& axis) {
  if (o.dbMin) return LevelScale::Linear(*o.dbMin, *o.dbMax);
  if (o.range == "full") return LevelScale::Ramp(0);
  if (o.range == "50") return LevelScale::Ramp(1);
  return LevelScale::Ramp(axis.checkValue.value_or(0));
}

// What the read gathers, each part only when an output needs it.
struct Gathered {
  std::optional<TidyCsv> csv;
  std::optional<PointStatistics> statistics;
  std::optional<PeakFinder> peaks;
  std::optional<WaterfallGrid> waterfall;
};

void Prepare(const Options& o, const FrequencyAxis& axis, const Selection& s,
             const Outputs& outputs, Gathered& g, Collectors& collectors) {
  if (outputs.csv) collectors.csv = &g.csv.emplace(*outputs.csv, axis, s);
  if (outputs.summary || outputs.spectrum) {
    collectors.statistics = &g.statistics.emplace(s.firstPoint, s.lastPoint, o.threshold);
  }
  if (outputs.peaks) collectors.peaks = &g.peaks.emplace(s.firstPoint, s.lastPoint, o.threshold);
  if (outputs.waterfall) collectors.waterfall = &g.waterfall.emplace(s, o.width, o.height);
}

ReadReport Read(const Options& o, const std::string& name, PointSink& sink, std::ostream& err,
                bool terminal) {
  ReadSettings settings{name, o.strict, nullptr};
  std::optional<Progress> progress;
  if (terminal && !o.quiet) {
    progress.emplace(err, name);
    settings.progress = [&progress](std::uint64_t bytes, std::uint64_t size) {
      progress->Update(bytes, size);
    };
  }
  ReadReport report = ReadWaveformFile(o.input, sink, settings, err);
  if (progress) progress->Done();
  return report;
}

void WriteOutputs(const Options& o, const FrequencyAxis& axis, const Outputs& outputs, Gathered& g,
                  const Collectors& collectors, const std::string& name) {
  const std::string passes = " of passes " + std::to_string(collectors.FirstPass()) + " to " +
                             std::to_string(collectors.LastPass());
  const LevelScale scale = ScaleOf(o, axis);
  if (g.csv) g.csv->Finish();
  if (outputs.summary) WriteSummary(*outputs.summary, *g.statistics, axis);
  if (outputs.peaks) WritePeaks(*outputs.peaks, g.peaks->Signals(), axis);
  if (outputs.waterfall) {
    outputs.waterfall->Write(EncodePng(DrawWaterfall(
        g.waterfall->Finish(), scale, axis, name + ": waterfall" + passes, o.width, o.height)));
  }
  if (outputs.spectrum) {
    outputs.spectrum->Write(
        EncodePng(DrawSpectrum(*g.statistics, scale, axis, name + ": spectrum" + passes, o.width)));
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

}  // namespace

int Export(const Options& o, std::ostream& err, bool terminal) {
  if (auto problem = CheckFiles(o); !problem.empty()) {
    err << "wfdata-export: " << problem << '\n';
    return kUsageStatus;
  }
  FrequencyAxis axis;
  axis.startMHz = o.startMHz.value_or(0);
  if (!o.iniPath.empty()) {
    if (auto problem = AxisFromSettings(o.iniPath, axis); !problem.empty())
      return Fail(err, problem);
  }
  Selection selection;
  if (auto problem = MakeSelection(o, axis, selection); !problem.empty()) {
    return Fail(err, problem);
  }
  if (IsFolder(o.input)) return Fail(err, o.input + ": is a folder, not a file");
  Outputs outputs;
  if (auto problem = OpenOutputs(o, outputs); !problem.empty()) return Fail(err, problem);

  const std::string name = LastPart(o.input);
  Gathered gathered;
  Collectors collectors(selection);
  Prepare(o, axis, selection, outputs, gathered, collectors);
  const ReadReport report = Read(o, name, collectors, err, terminal);
  if (!report.error.empty()) return Fail(err, report.error);
  if (report.stoppedAtSkipped) return Fail(err, name + ": stopped at a line that is no point line");
  ReportReading(report, axis, name, o.quiet, err);
  if (collectors.Selected() == 0) return Fail(err, NothingSelected(o, report, name));

  WriteOutputs(o, axis, outputs, gathered, collectors, name);
  if (auto problem = Commit(outputs); !problem.empty()) return Fail(err, problem);
  return 0;
}

int Main(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool terminal) {
  const ParsedOptions parsed = ParseOptions(argc, argv, out, err);
  if (parsed.exitStatus) return *parsed.exitStatus;
  return Export(parsed.options, err, terminal);
}

}  // namespace kov::wfexport
