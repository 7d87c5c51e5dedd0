#include "Session.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "GDReply.h"
#include "StopSignal.h"

namespace kov::sim {

Session::Session(net::Socket socket, const Options& options, const LevelSource& levels,
                 CommandLog& log)
    : socket_(socket),
      options_(options),
      levels_(levels),
      log_(log),
      take_([this](CommandLines::Kind kind, std::string_view line) { return Take(kind, line); }) {}

Session::~Session() { net::Close(socket_); }

void Session::Run() {
  char buffer[4096];
  for (;;) {
    // After the stop, or once a send has failed, what the peer has already
    // sent is still logged (its "EX", say), one read of it: nothing more is
    // answered or waited for, and a peer that keeps sending cannot hold the
    // end back.
    const bool ending = lost_ || StopRequested();
    if (!ending) {
      const net::Wait wait = net::WaitReadable(socket_, -1);
      if (wait == net::Wait::Failed) return;
      if (wait != net::Wait::Ready) continue;
    }
    const net::IoResult received = net::Receive(socket_, buffer, sizeof buffer);
    if (received.status == net::Io::WouldBlock && !ending) continue;
    if (received.status != net::Io::Done) return;
    if (!lines_.Feed({buffer, received.bytes}, take_) || ending) return;
  }
}

bool Session::Take(CommandLines::Kind kind, std::string_view line) {
  if (kind == CommandLines::Kind::Dropped) {
    log_.Dropped(line);
    return true;
  }
  log_.Write(line);
  ++commands_;
  if (lost_ || StopRequested()) return true;
  if (options_.closeAfter > 0 && commands_ >= options_.closeAfter) return false;
  lost_ = !Answer(std::string(line.substr(0, line.size() - 2)));
  return true;
}

bool Session::Answer(const std::string& command) {
  if (command.rfind("CF", 0) == 0) {
    centreMHz_ = std::strtod(command.c_str() + 2, nullptr);
    gdSinceCF_ = 0;
    return options_.cfReply.empty() || SendInPieces(options_.cfReply);
  }
  if (command != "GD") return true;
  ++gdSinceCF_;
  if (options_.silent || (options_.answerRepeatOnly && gdSinceCF_ < 2)) return true;
  if (!net::SleepUnlessStopped(options_.replyDelayMs)) return true;
  const int pass = ++repliesPerBand_[std::llround(centreMHz_ * 1000.0)];
  return SendInPieces(GDReply(centreMHz_, options_.entries, pass, !options_.noMarker, levels_));
}

// false when the connection failed; the stop leaves the rest unsent.
bool Session::SendInPieces(const std::string& bytes) {
  const std::size_t step =
      options_.chunkBytes > 0 ? static_cast<std::size_t>(options_.chunkBytes) : bytes.size();
  for (std::size_t sent = 0; sent < bytes.size(); sent += step) {
    if (sent > 0 && !net::SleepUnlessStopped(options_.chunkGapMs)) return true;
    if (!SendPiece(bytes.data() + sent, std::min(step, bytes.size() - sent))) return false;
  }
  return true;
}

bool Session::SendPiece(const char* bytes, std::size_t size) {
  while (size > 0) {
    const net::IoResult result = net::Send(socket_, bytes, size);
    if (result.status == net::Io::Done) {
      bytes += result.bytes;
      size -= result.bytes;
      continue;
    }
    if (result.status != net::Io::WouldBlock) return false;
    const net::Wait wait = net::WaitWritable(socket_, -1);
    if (wait == net::Wait::Stopped) return true;
    if (wait == net::Wait::Failed) return false;
  }
  return true;
}

}  // namespace kov::sim
