#include "Session.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "GDReply.h"
#include "StopSignal.h"

namespace kov::sim {

Session::Session(net::Socket socket, const Options& options, const LevelSource& levels,
                 CommandLog& log)
    : socket_(socket), options_(options), levels_(levels), log_(log) {}

Session::~Session() { net::Close(socket_); }

void Session::Run() {
  char buffer[4096];
  for (;;) {
    // After the stop, what the peer has already sent is still logged (its
    // "EX", say), but nothing more is answered or waited for.
    const bool stopping = StopRequested();
    if (!stopping) {
      const net::Wait wait = net::WaitReadable(socket_, -1);
      if (wait == net::Wait::Failed) return;
      if (wait != net::Wait::Ready) continue;
    }
    const net::IoResult received = net::Receive(socket_, buffer, sizeof buffer);
    if (received.status == net::Io::WouldBlock && !stopping) continue;
    if (received.status != net::Io::Done) return;
    pending_.append(buffer, received.bytes);
    if (!TakeCommands()) return;
  }
}

bool Session::TakeCommands() {
  for (std::size_t end; (end = pending_.find("\r\n")) != std::string::npos;) {
    const std::string command = pending_.substr(0, end);
    log_.Write(pending_.substr(0, end + 2));
    pending_.erase(0, end + 2);
    ++commands_;
    if (StopRequested()) continue;
    if (options_.closeAfter > 0 && commands_ >= options_.closeAfter) return false;
    if (!Answer(command)) return false;
  }
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
