#pragma once

#include <atomic>
#include <list>
#include <thread>

#include "CommandLog.h"
#include "LevelSource.h"
#include "Net.h"
#include "Options.h"

namespace kov::sim {

// Takes the connections to the listening socket and serves each at once on a
// thread of its own.
class Listener {
 public:
  Listener(net::Socket socket, const Options& options, const LevelSource& levels, CommandLog& log);
  ~Listener();
  Listener(const Listener&) = delete;
  Listener& operator=(const Listener&) = delete;

  // Until the stop; returns when every session has ended.
  void Run();

 private:
  struct Running {
    std::thread thread;
    std::atomic<bool> finished{false};
  };

  void Serve(net::Socket connection);
  // Joins the sessions that have ended, or all of them.
  void Reap(bool all);

  net::Socket socket_;
  const Options& options_;
  const LevelSource& levels_;
  CommandLog& log_;
  std::list<Running> sessions_;
};

}  // namespace kov::sim
