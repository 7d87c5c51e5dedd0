#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "CommandLines.h"
#include "CommandLog.h"
#include "LevelSource.h"
#include "Net.h"
#include "Options.h"

namespace kov::sim {

// One connection: the band it is tuned to, its command count, its count of
// "GD" since the last "CF" and its count of replies per band are its own.
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
  // false when --close-after ends the connection.
  bool Take(CommandLines::Kind kind, std::string_view line);
  // false when the connection failed.
  bool Answer(const std::string& command);
  bool SendInPieces(const std::string& bytes);
  bool SendPiece(const char* bytes, std::size_t size);

  net::Socket socket_;
  const Options& options_;
  const LevelSource& levels_;
  CommandLog& log_;
  CommandLines lines_;
  const CommandLines::Take take_;
  double centreMHz_ = 455.0;
  // A send failed: the peer is gone.
  bool lost_ = false;
  int commands_ = 0;
  int gdSinceCF_ = 0;
  // Replies sent per band, keyed by its centre in kHz: the run's pass for the
  // level source. Replies, not "GD"s: a "GD" left unanswered and then
  // repeated (--answer-repeat-only) is still one pass.
  std::map<std::int64_t, int> repliesPerBand_;
};

}  // namespace kov::sim
