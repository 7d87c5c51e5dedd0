#include "RunFiles.h"

#include <cstdio>
#include <utility>

#include "FileCalls.h"
#include "OutputFile.h"
#include "RecordingInput.h"
#include "measure/TimesFile.h"
#include "settings/Settings.h"

namespace kov::wfexport {
namespace {

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsFile(const std::string& path) {
  std::FILE* f = OpenInputFile(path);
  if (f != nullptr) std::fclose(f);
  return f != nullptr && !IsFolder(path);
}

// Beside the recording by name: WFdata.txt and WFtime.csv, WFdata-X.txt and
// WFtime-X.csv. Windows matches names in any case.
std::string TimesBeside(const std::string& input) {
  std::string name = LastPart(input);
#ifdef _WIN32
  constexpr std::string_view kHead = "WFDATA", kTail = ".TXT";
  std::string upper = name;
  for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
  if (upper.starts_with(kHead) && upper.ends_with(kTail) && name.size() >= 10) {
    name = "WFdata" + name.substr(6, name.size() - 10) + ".txt";
  }
#endif
  const std::string times = measure::TimesFileName(name);
  return times.empty() ? std::string() : FolderOf(input) + times;
}

std::string SettingsFor(const RunFiles& f, const std::string& programFolder) {
  std::vector<std::string> folders = {FolderOf(f.options.input)};
  if (!programFolder.empty()) folders.push_back(programFolder + "/");
  for (const std::string& folder : folders) {
    const std::string path = folder + settings::kProfileName;
    if (IsFile(path)) return path;
  }
  return {};
}

std::string NoAxis(const RunFiles& f) {
  std::string text = "the frequency axis is unknown: ";
  const std::string beside = TimesBeside(f.options.input);
  text += beside.empty() ? f.name + " has no times file (that of WFdata.txt is WFtime.csv)"
                         : "no " + LastPart(beside) + " lies beside " + f.name;
  if (f.usualSet) text += ", nor KOV_Xport.ini beside it or beside the program";
  return text + "; give the run's start frequency with --start MHZ (450 for a run from 451 to " +
         "550 MHz), its settings file with --ini FILE, or its times file with --times FILE";
}

void ListFiles(RunFiles& f) {
  const Options& o = f.options;
  if (o.input != kStandardInput) f.inputs = {{"the waveform file itself", o.input}};
  if (!o.iniPath.empty()) f.inputs.push_back({"the settings file of --ini", o.iniPath});
  if (!f.timesPath.empty()) f.inputs.push_back({"the times file", f.timesPath});
  for (const auto& [option, path] : {std::pair{"--csv", &o.csvPath},
                                     {"--summary", &o.summaryPath},
                                     {"--waterfall", &o.waterfallPath},
                                     {"--spectrum", &o.spectrumPath},
                                     {"--peaks", &o.peaksPath},
                                     {"--track-csv", &o.trackCsvPath},
                                     {"--report", &o.reportPath}}) {
    if (!path->empty()) f.outputs.push_back({option, *path});
  }
  // The files beside the outputs are outputs too.
  const std::size_t named = f.outputs.size();
  for (std::size_t i = 0; i < named; ++i) {
    f.outputs.push_back({"the file beside " + f.outputs[i].what + " (" +
                             LastPart(f.outputs[i].path) + std::string(OutputFile::kPartSuffix) +
                             ")",
                         f.outputs[i].path + std::string(OutputFile::kPartSuffix)});
  }
}

}  // namespace

void NameUsualOutputs(Options& o) {
  std::string base = o.input;
  const std::size_t dot = base.find_last_of('.');
  const std::size_t slash = base.find_last_of("/\\");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.resize(dot);
  o.reportPath = base + "-report.html";
  o.waterfallPath = base + "-waterfall.png";
  o.spectrumPath = base + "-spectrum.png";
  o.summaryPath = base + "-summary.csv";
  o.peaksPath = base + "-peaks.csv";
}

std::string FindRunFiles(const Options& options, const std::string& programFolder, RunFiles& f) {
  f = RunFiles{};
  f.options = options;
  const bool piped = options.input == kStandardInput;
  f.name = piped ? "(standard input)" : LastPart(options.input);
  f.usualSet = !options.NamesAnOutput();
  if (piped && f.usualSet) {
    return "a recording from standard input (-) has nothing to be named after: name the outputs "
           "(--report FILE.html, --summary FILE, ...)";
  }
  if (f.usualSet) NameUsualOutputs(f.options);
  f.timesNamed = !options.timesPath.empty();
  if (f.timesNamed) {
    f.timesPath = options.timesPath;
  } else if (!options.ignoreTimes) {
    f.timesPath = TimesBeside(options.input);
    if (!f.timesPath.empty() && !IsFile(f.timesPath)) f.timesPath.clear();
  }
  const bool axisGiven = options.startMHz || !options.iniPath.empty() || !f.timesPath.empty();
  if (!axisGiven && f.usualSet) f.options.iniPath = SettingsFor(f, programFolder);
  if (!axisGiven && f.options.iniPath.empty()) return NoAxis(f);
  if ((!options.fromTime.empty() || !options.toTime.empty()) && f.timesPath.empty()) {
    return "--from and --to need the run's times: no times file lies beside " + f.name +
           " (give it with --times FILE)";
  }
  ListFiles(f);
  return CheckNames(f.inputs, f.outputs);
}

}  // namespace kov::wfexport
