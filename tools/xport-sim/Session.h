#pragma once

#include <string>

#include "CommandLog.h"
#include "LevelSource.h"
#include "Net.h"
#include "Options.h"

namespace kov::sim {

// One connection: the band it is tuned to, its command count and its count of
// "GD" since the last "CF" are its own.
class Session {
 public:
  Session(net::Socket socket, const Options& options, const LevelSource& levels, CommandLog& log);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Serves the connection until the peer closes it, --close-after ends it or
  // the stop comes.
  void Run();

 private:
  // false: the connection ends.
  bool TakeCommands();
  bool Answer(const std::string& command);
  bool SendInPieces(const std::string& bytes);
  bool SendPiece(const char* bytes, std::size_t size);

  net::Socket socket_;
  const Options& options_;
  const LevelSource& levels_;
  CommandLog& log_;
  std::string pending_;
  double centreMHz_ = 455.0;
  int commands_ = 0;
  int gdSinceCF_ = 0;
};

}  // namespace kov::sim
