// xport-sim: plays the device server and the spectrum analyser behind it on
// 127.0.0.1, for the tests and the demo.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "CommandLog.h"
#include "Listener.h"
#include "Net.h"
#include "Options.h"
#include "ReplaySource.h"
#include "StopSignal.h"
#include "SyntheticSpectrum.h"

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

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = ParseOptions(argc, argv, std::cout, std::cerr);
  if (parsed.exitStatus) return *parsed.exitStatus;
  const Options& options = parsed.options;

  std::string error;
  const std::unique_ptr<LevelSource> levels = MakeLevelSource(options, error);
  if (levels == nullptr || !net::Start(error) || !InstallStopHandlers(error)) {
    std::fprintf(stderr, "xport-sim: %s\n", error.c_str());
    return 1;
  }
  const net::Listening listening = net::ListenOnLoopback(options.port);
  if (listening.socket == net::kNoSocket) {
    std::fprintf(stderr, "xport-sim: cannot listen on 127.0.0.1:%d: %s\n", options.port,
                 listening.error.c_str());
    return 1;
  }
  // Only once the port is ours: a second simulator started on a busy port
  // must leave the first one's log alone.
  CommandLog log;
  if (!log.Open(options.logPath, error)) {
    std::fprintf(stderr, "xport-sim: %s\n", error.c_str());
    net::Close(listening.socket);
    return 1;
  }
  std::printf("listening on 127.0.0.1:%d\n", listening.port);
  std::fflush(stdout);

  Listener(listening.socket, options, *levels, log).Run();
  return 0;
}
