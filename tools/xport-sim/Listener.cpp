#include "Listener.h"

#include "Session.h"
#include "StopSignal.h"

namespace kov::sim {

Listener::Listener(net::Socket socket, const Options& options, const LevelSource& levels,
                   CommandLog& log)
    : socket_(socket), options_(options), levels_(levels), log_(log) {}

Listener::~Listener() {
  Reap(true);
  net::Close(socket_);
}

void Listener::Run() {
  while (!StopRequested()) {
    const net::Wait wait = net::WaitReadable(socket_, -1);
    if (wait == net::Wait::Failed) break;
    Reap(false);
    if (wait != net::Wait::Ready) continue;
    const net::Socket connection = net::Accept(socket_);
    if (connection != net::kNoSocket) Serve(connection);
  }
  Reap(true);
}

void Listener::Serve(net::Socket connection) {
  Running& running = sessions_.emplace_back();
  running.thread = std::thread([this, connection, &running] {
    Session(connection, options_, levels_, log_).Run();
    running.finished.store(true);
  });
}

void Listener::Reap(bool all) {
  for (auto it = sessions_.begin(); it != sessions_.end();) {
    if (!all && !it->finished.load()) {
      ++it;
      continue;
    }
    it->thread.join();
    it = sessions_.erase(it);
  }
}

}  // namespace kov::sim
