#include "Options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cmath>
#include <string_view>
#include <utility>

#include "platform/Numbers.h"

namespace kov::wfexport {
namespace {

constexpr int kMaxPass = 32767;
constexpr int kMaxPixels = 4096;
constexpr int kMaxStartMHz = 32760;
constexpr double kMaxMHz = 32767;

// Any number from_chars reads, "inf" and "nan" included: the checks of each
// option's range refuse those with the option's own message.
std::optional<double> Number(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  double value = 0;
  const char* end = text.data() + text.size();
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || stop != end || error != std::errc()) return std::nullopt;
  return value;
}

// "A:B", "A:", ":B" or "A" (A alone is A:A); "" when it is no range.
std::string ReadBounds(const std::string& text, Bounds& bounds) {
  const std::size_t colon = text.find(':');
  const std::string_view all(text);
  const std::string_view low = all.substr(0, colon);
  const std::string_view high = colon == std::string::npos ? low : all.substr(colon + 1);
  const auto side = [](std::string_view s, std::optional<double>& value) {
    if (s.find_first_not_of(' ') == std::string_view::npos) return true;
    value = Number(s);
    return value.has_value();
  };
  if (!side(low, bounds.low) || !side(high, bounds.high)) return "'" + text + "' is not A:B";
  if (bounds.low && bounds.high && *bounds.low > *bounds.high) {  // false for NaN
    return "'" + text + "': the first value is above the second";
  }
  return {};
}

// Checked as they are read; kept as Bounds once the whole line is read.
CLI::Validator BoundsText() {
  return CLI::Validator(
      [](std::string& text) {
        Bounds bounds;
        return ReadBounds(text, bounds);
      },
      "");
}

struct RangeTexts {
  std::string passes, freq;
};

bool Whole(double v) { return std::floor(v) == v; }

std::string CheckPasses(const Bounds& b) {
  for (const auto& side : {b.low, b.high}) {
    if (side && (!Whole(*side) || *side < 1 || *side > kMaxPass)) {
      return "--passes: pass numbers are whole numbers from 1 to 32767";
    }
  }
  return {};
}

std::string CheckFrequencies(const Options& o) {
  for (const auto& side : {o.freqMHz.low, o.freqMHz.high}) {
    if (side && !(*side >= 0 && *side <= kMaxMHz)) {  // NaN too
      return "--freq: frequencies lie from 0 to 32767 MHz, not " + platform::PlainNumber(*side);
    }
  }
  for (const double mhz : o.trackMHz) {
    if (!(mhz >= 0 && mhz <= kMaxMHz)) {
      return "--track: frequencies lie from 0 to 32767 MHz, not " + platform::PlainNumber(mhz);
    }
  }
  if (o.trackMHz.empty() != o.trackCsvPath.empty()) {
    return "--track MHZ[,MHZ...] and --track-csv FILE go together";
  }
  return {};
}

// Refusals that need more than one option, or the value's meaning.
std::string CheckCombination(const Options& o) {
  if (o.startMHz && !o.iniPath.empty()) {
    return "give the start frequency either with --start or with --ini, not both";
  }
  if (o.startMHz && (!Whole(*o.startMHz) || std::fmod(*o.startMHz, 10) != 0 || *o.startMHz < 0 ||
                     *o.startMHz > kMaxStartMHz)) {
    return "--start: the program starts a run at a multiple of 10 MHz (451 becomes 450); give "
           "that, or the settings file with --ini";
  }
  if (auto problem = CheckPasses(o.passes); !problem.empty()) return problem;
  if (auto problem = CheckFrequencies(o); !problem.empty()) return problem;
  for (const auto& [option, value] : {std::pair{"--threshold", std::optional(o.threshold)},
                                      {"--db-min", o.dbMin},
                                      {"--db-max", o.dbMax}}) {
    if (value && !std::isfinite(*value)) {
      return std::string(option) + ": a level in dB, not " + platform::PlainNumber(*value);
    }
  }
  if (o.dbMin.has_value() != o.dbMax.has_value()) return "--db-min and --db-max go together";
  if (o.dbMin && *o.dbMin >= *o.dbMax) return "--db-min must be below --db-max";
  if (o.dbMin && !o.range.empty()) return "choose either --range or --db-min/--db-max";
  if (o.ignoreTimes && !o.timesPath.empty()) return "choose either --times or --ignore-times";
  return {};
}

void AddOutputs(CLI::App& app, Options& o) {
  app.add_option("--csv", o.csvPath,
                 "Every selected point, one row each: pass,point,frequency_mhz,level_db "
                 "(level empty for a point without data), and time with a times file")
      ->type_name("FILE");
  app.add_option("--summary", o.summaryPath,
                 "One row per point: point,frequency_mhz,min_db,mean_db,max_db,"
                 "passes_with_data,passes_above_threshold")
      ->type_name("FILE");
  app.add_option("--waterfall", o.waterfallPath,
                 "PNG of every selected pass: frequency across, passes down (in local time with "
                 "a times file), each pixel the highest level of what it stands for")
      ->type_name("FILE.png");
  app.add_option("--spectrum", o.spectrumPath,
                 "PNG of the max-hold (yellow), mean (white) and min-hold (cyan) levels on the "
                 "program's spectrum grid")
      ->type_name("FILE.png");
  app.add_option("--peaks", o.peaksPath,
                 "One row per signal above the threshold, neighbouring points merged: "
                 "low_mhz,centre_mhz,high_mhz,peak_mhz,peak_db,first_pass,last_pass,"
                 "passes_above_threshold, and first_time,last_time with a times file")
      ->type_name("FILE");
  app.add_option("--track", o.trackMHz,
                 "Frequencies to follow over time, each at its nearest point (with --track-csv)")
      ->type_name("MHZ[,MHZ...]")
      ->delimiter(',')
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  app.add_option("--track-csv", o.trackCsvPath,
                 "One row per pass and --track frequency: time,pass,frequency_mhz,level_db")
      ->type_name("FILE");
  app.add_option("--report", o.reportPath,
                 "One HTML file to open in a browser: the run's facts, the waterfall, the "
                 "spectrum and the peaks (pictures inside it)")
      ->type_name("FILE.html");
}

void AddInput(CLI::App& app, Options& o, RangeTexts& ranges) {
  app.add_option("FILE", o.input, "The waveform file, WFdata.txt (- for standard input)")
      ->type_name("")
      ->required();
  app.add_option("--start", o.startMHz,
                 "Start frequency of the run in MHz, as the program normalised it (a multiple "
                 "of 10)")
      ->type_name("MHZ");
  app.add_option("--ini", o.iniPath,
                 "The settings file of the run (KOV_Xport.ini): START_FQ and END_FQ give the "
                 "start frequency as the program's start command works it out, D_LEVEL the "
                 "colour range")
      ->type_name("FILE");
  app.add_option("--times", o.timesPath,
                 "The times file of the recording (default: WFtime.csv beside WFdata.txt, "
                 "WFtime-X.csv beside WFdata-X.txt)")
      ->type_name("FILE");
  app.add_flag("--ignore-times", o.ignoreTimes,
               "Read no times file (for one that does not belong to the recording)");
  app.add_option("--from", o.fromTime,
                 "Only passes that began at or after this time: 2026-12-08T20:48:28, "
                 "\"2026-12-08 20:48\" or 20:48[:28] on the run's first day (the run's UTC "
                 "offset unless one is given)")
      ->type_name("TIME");
  app.add_option("--to", o.toTime, "Only passes that began at or before this time")
      ->type_name("TIME");
  app.add_option("--passes", ranges.passes, "Only passes A to B (A:, :B and A also work)")
      ->type_name("A:B")
      ->check(BoundsText());
  app.add_option("--freq", ranges.freq, "Only points from LO to HI MHz (LO:, :HI also work)")
      ->type_name("LO:HI")
      ->check(BoundsText());
}

void AddLook(CLI::App& app, Options& o) {
  app.add_option("--threshold", o.threshold, "Level in dB that counts as a signal (above it)")
      ->type_name("DB")
      ->capture_default_str();
  app.add_option("--range", o.range,
                 "Colours of the program's display: full (0 to -100 dB) or 50 (the -50 dB "
                 "range); default: D_LEVEL of --ini, else full")
      ->type_name("full|50")
      ->check(CLI::IsMember({"full", "50"}).description(""));
  app.add_option("--db-min", o.dbMin, "Colour scale from this level (blue) ...")->type_name("DB");
  app.add_option("--db-max", o.dbMax, "... to this one (red), instead of --range")->type_name("DB");
  app.add_option("--width", o.width, "Largest width of a picture's graph, 1 to 4096 pixels")
      ->type_name("PIXELS")
      ->capture_default_str()
      ->check(CLI::Range(1, kMaxPixels).description(""));
  app.add_option("--height", o.height,
                 "Largest height of the waterfall's graph, 1 to 4096 pixels (memory grows with "
                 "width x height, not with the file)")
      ->type_name("PIXELS")
      ->capture_default_str()
      ->check(CLI::Range(1, kMaxPixels).description(""));
  app.add_flag("--strict", o.strict,
               "Stop with status 1 at the first line that is no point line (else it is skipped "
               "and counted)");
  app.add_flag("--quiet", o.quiet, "No progress line and no notes; warnings and errors stay");
}

void AddOptions(CLI::App& app, Options& o, RangeTexts& ranges) {
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  AddInput(app, o, ranges);
  AddOutputs(app, o);
  AddLook(app, o);
}

constexpr const char* kDescription =
    "Exports a recording, the waveform file WFdata.txt, read once from start to end in "
    "constant memory.\n"
    "Point k of a pass (k from 1, 320 points to each 10 MHz band) lies at\n"
    "  start + (k - 1) x 10/320 MHz,\n"
    "the start being the run's start frequency: from the times file WFtime.csv beside the\n"
    "recording, else --start, or worked out from --ini. Without any output named, the\n"
    "recording's report, pictures, summary and peaks go beside it (NAME-report.html, ...).\n"
    "A point written as \"00\" has no data; it is never a level of 0 dB. A file cut short is\n"
    "read to its last whole line. Exit status: 0 done, 1 the file or an output failed (or\n"
    "--strict met a bad line), 2 a command line refused.";

}  // namespace

bool Options::NamesAnOutput() const {
  for (const std::string* path : {&csvPath, &summaryPath, &waterfallPath, &spectrumPath, &peaksPath,
                                  &trackCsvPath, &reportPath}) {
    if (!path->empty()) return true;
  }
  return false;
}

ParsedOptions ParseOptions(int argc, const char* const* argv, std::ostream& out,
                           std::ostream& err) {
  ParsedOptions parsed;
  CLI::App app(kDescription, "wfdata-export");
  app.get_formatter()->column_width(28);
  RangeTexts ranges;
  AddOptions(app, parsed.options, ranges);
  try {
    app.parse(argc, argv);
    ReadBounds(ranges.passes, parsed.options.passes);
    ReadBounds(ranges.freq, parsed.options.freqMHz);
    if (auto problem = CheckCombination(parsed.options); !problem.empty()) {
      throw CLI::ValidationError(problem);
    }
  } catch (const CLI::CallForHelp& e) {
    parsed.exitStatus = app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    err << "wfdata-export: " << e.what() << "\nRun with --help for the options.\n";
    parsed.exitStatus = kUsageStatus;
  }
  return parsed;
}

}  // namespace kov::wfexport
