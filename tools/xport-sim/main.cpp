// xport-sim: plays the device server and the spectrum analyser behind it on
// 127.0.0.1, for the tests and the demo.
#include <cstdio>
#include <iostream>
#include <string>

#include "CommandLog.h"
#include "Listener.h"
#include "Net.h"
#include "Options.h"
#include "StopSignal.h"
#include "SyntheticSpectrum.h"

int main(int argc, char** argv) {
  using namespace kov::sim;
  const ParsedOptions parsed = ParseOptions(argc, argv, std::cout, std::cerr);
  if (parsed.exitStatus) return *parsed.exitStatus;
  const Options& options = parsed.options;

  std::string error;
  if (!net::Start(error) || !InstallStopHandlers(error)) {
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

  const SyntheticSpectrum spectrum(options.seed);
  Listener(listening.socket, options, spectrum, log).Run();
  return 0;
}
