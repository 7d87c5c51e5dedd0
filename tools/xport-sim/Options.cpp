#include "Options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <limits>
#include <string_view>

namespace kov::sim {
namespace {

constexpr int kUsageStatus = 2;
constexpr std::int64_t kLongestWaitMs = 3'600'000;

// A whole decimal number from low to high. The text is handed on without
// leading zeros: CLI11 itself would read "010" as octal and "0x10" as hex.
CLI::Validator WholeNumber(std::int64_t low, std::int64_t high) {
  const std::string range = std::to_string(low) + " to " + std::to_string(high);
  return CLI::Validator(
      [low, high, range](std::string& text) -> std::string {
        std::int64_t value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value);
        if (text.empty() || stop != end || error == std::errc::invalid_argument) {
          return "'" + text + "' is not a whole number";
        }
        if (error == std::errc::result_out_of_range || value < low || value > high) {
          return text + " is outside " + range;
        }
        text = std::to_string(value);
        return {};
      },
      range);
}

// The program starts its bands at a multiple of 10 MHz, 0 to 32760.
CLI::Validator BandStart() {
  return CLI::Validator(
      [](std::string& text) -> std::string {
        std::string error = WholeNumber(0, 32760)(text);
        if (error.empty() && std::stoi(text) % 10 != 0) {
          error = text + " is not a multiple of 10: the program starts its bands at " +
                  std::to_string(std::stoi(text) / 10 * 10) + " for " + text;
        }
        return error;
      },
      "0 to 32760, a multiple of 10");
}

void AddNumber(CLI::App& app, const char* name, int& value, std::int64_t low, std::int64_t high,
               const char* help) {
  const bool milliseconds = std::string_view(name).ends_with("-ms");
  app.add_option(name, value, help)
      ->type_name(milliseconds ? "MS" : "N")
      ->capture_default_str()
      ->transform(WholeNumber(low, high));
}

void AddOptions(CLI::App& app, Options& o) {
  // As before CLI11, an option given twice takes its last value.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  AddNumber(app, "--port", o.port, 0, 65535,
            "TCP port to listen on, on 127.0.0.1 only; 0 picks a free one");
  app.add_option("--log", o.logPath,
                 "Write every command received to FILE, one line each: \"<ms> <command>\", the "
                 "command's bytes C-escaped (\\r, \\n, \\\\, \\xHH); a line longer than 4096 "
                 "bytes is dropped up to its CR LF and noted once, \"<ms> # dropped ...\". FILE is "
                 "emptied once the port is held")
      ->type_name("FILE");
  AddNumber(app, "--reply-delay-ms", o.replyDelayMs, 0, kLongestWaitMs,
            "Wait this long before answering each \"GD\"");
  AddNumber(app, "--chunk-bytes", o.chunkBytes, 0, std::numeric_limits<int>::max(),
            "Send every reply in pieces of this many bytes; 0 sends it whole");
  AddNumber(app, "--chunk-gap-ms", o.chunkGapMs, 0, kLongestWaitMs,
            "Pause between two pieces of a reply");
  AddNumber(app, "--entries", o.entries, 0, 100'000,
            "Trace entries in each reply to \"GD\"; a full band has 320, more run on above it");
  app.add_flag("--silent", o.silent, "Never answer \"GD\"");
  app.add_flag("--answer-repeat-only", o.answerRepeatOnly,
               "Answer only the second and later \"GD\" after each \"CF\"");
  app.add_flag("--no-marker", o.noMarker, "Leave the \"/ \" marker lines out of the replies");
  AddNumber(app, "--close-after", o.closeAfter, 0, std::numeric_limits<int>::max(),
            "Close a connection when its Nth command arrives; 0 never does");
  app.add_option("--cf-reply", o.cfReply, "Send TEXT, as it is, after every \"CF\"")
      ->type_name("TEXT");
  app.add_option("--seed", o.seed,
                 "Seed of the synthetic spectrum: its noise, its stations and the carriers that "
                 "come and go from pass to pass")
      ->type_name("N")
      ->capture_default_str()
      ->transform(WholeNumber(0, std::numeric_limits<std::uint32_t>::max()));
  CLI::Option* replay =
      app.add_option("--replay", o.replayPath,
                     "Answer \"GD\" from a waveform file (\"WFdata.txt\") instead of the "
                     "synthetic spectrum: the Nth reply of a connection for a band is pass N of "
                     "that band in the file, from pass 1 again after its last; each level goes "
                     "back as it was written. Bands the file does not hold get -100 at every point")
          ->type_name("FILE");
  CLI::Option* start = app.add_option("--start", o.startMHz,
                                      "The recorded run's start frequency in MHz as the program "
                                      "used it, a multiple of 10: band N is tuned to START + 5 + "
                                      "10 x (N - 1)")
                           ->type_name("MHZ")
                           ->transform(BandStart());
  replay->needs(start);
  start->needs(replay);
}

}  // namespace

ParsedOptions ParseOptions(int argc, const char* const* argv, std::ostream& out,
                           std::ostream& err) {
  ParsedOptions parsed;
  CLI::App app(
      "Plays the device server and the spectrum analyser behind it, on 127.0.0.1 only.\n"
      "Commands end in CR LF, with 4096 bytes at most before it; \"CF<MHz>\" tunes a\n"
      "connection to the 10 MHz band around <MHz> and \"GD\" answers with that band's\n"
      "trace. Every connection is served at once and on its own. The levels come from a\n"
      "synthetic spectrum that changes from pass to pass, or with --replay from a recorded\n"
      "WFdata.txt. Prints \"listening on 127.0.0.1:PORT\" when ready; SIGTERM, SIGINT or\n"
      "Ctrl+C end it at once with status 0, whatever its connections send, and so does\n"
      "the event \"Local\\xport-sim-stop-<PID>\" on Windows.",
      "xport-sim");
  AddOptions(app, parsed.options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    parsed.exitStatus = app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    err << "xport-sim: " << e.what() << "\nRun with --help for the options.\n";
    parsed.exitStatus = kUsageStatus;
  }
  return parsed;
}

}  // namespace kov::sim
