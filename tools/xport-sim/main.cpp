// xport-sim: plays the device server and the spectrum analyser behind it on
// 127.0.0.1, for the tests and the demo.
#include <memory>
#include <string>

#include "CommandLog.h"
#include "Listener.h"
#include "Net.h"
#include "Options.h"
#include "ReplaySource.h"
#include "StopSignal.h"
#include "SyntheticSpectrum.h"
#include "platform/Console.h"

#ifdef _WIN32
#include "platform/Arguments.h"
#endif

namespace {

using namespace kov::sim;

// The recording is read whole before the port is taken: a file that cannot
// be replayed ends the simulator before any program connects.
std::unique_ptr<LevelSource> MakeLevelSource(const Options& options, std::string& error) {
  if (options.replayPath.empty()) return std::make_unique<SyntheticSpectrum>(options.seed);
  auto recording = Recording::Load(options.replayPath, error);
  if (!recording) return nullptr;
  return std::make_unique<ReplaySource>(std::move(*recording), options.startMHz);
}

int Run(int argc, const char* const* argv) {
  using kov::platform::Console;
  Console out(Console::Stream::Output), err(Console::Stream::Error);
  const ParsedOptions parsed = ParseOptions(argc, argv, out, err);
  if (parsed.exitStatus) return *parsed.exitStatus;
  const Options& options = parsed.options;

  std::string error;
  const std::unique_ptr<LevelSource> levels = MakeLevelSource(options, error);
  if (levels == nullptr || !net::Start(error) || !InstallStopHandlers(error)) {
    err << "xport-sim: " << error << '\n';
    return 1;
  }
  const net::Listening listening = net::ListenOnLoopback(options.port);
  if (listening.socket == net::kNoSocket) {
    err << "xport-sim: cannot listen on 127.0.0.1:" << options.port << ": " << listening.error
        << '\n';
    return 1;
  }
  // Only once the port is ours: a second simulator started on a busy port
  // must leave the first one's log alone.
  CommandLog log;
  if (!log.Open(options.logPath, error)) {
    err << "xport-sim: " << error << '\n';
    net::Close(listening.socket);
    return 1;
  }
  out << "listening on 127.0.0.1:" << listening.port << '\n' << std::flush;

  Listener(listening.socket, options, *levels, log).Run();
  return 0;
}

}  // namespace

#ifdef _WIN32
// Wide, so that a path in any script arrives whole (linked with -municode).
int wmain(int argc, wchar_t** argv) {
  const kov::platform::Arguments arguments(argc, argv);
  return Run(arguments.Count(), arguments.Values());
}
#else
int main(int argc, char** argv) { return Run(argc, argv); }
#endif
