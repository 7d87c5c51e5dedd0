// xport-sim: plays the device server and the spectrum analyser behind it on
// 127.0.0.1, for the tests and the demo. One connection at a time; commands
// end in CR LF; "GD" is answered with a 320-entry trace of the band of the
// last "CF", levels from a seeded synthetic spectrum.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

volatile sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

struct Options {
  int port = 10001;
  std::string logPath;
  int replyDelayMs = 0;
  int chunkBytes = 0;
  int chunkGapMs = 0;
  int entries = 320;
  bool silent = false;
  bool answerRepeatOnly = false;
  bool noMarker = false;
  int closeAfter = 0;
  std::string cfReply;
  std::uint32_t seed = 1;
};

void Usage() {
  std::fprintf(stderr,
               "usage: xport-sim [--port N] [--log FILE] [--reply-delay-ms MS]\n"
               "                 [--chunk-bytes N --chunk-gap-ms MS] [--entries N] [--silent]\n"
               "                 [--answer-repeat-only] [--no-marker] [--close-after N]\n"
               "                 [--cf-reply TEXT] [--seed N]\n"
               "Listens on 127.0.0.1 only; --port 0 picks a free port. Prints\n"
               "\"listening on 127.0.0.1:PORT\" when ready. Log lines: \"<ms> <command>\" with\n"
               "the command's bytes C-escaped (\\r, \\n, \\xHH).\n");
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    auto number = [&](int& out) {
      std::string v;
      if (!value(v)) return false;
      out = std::atoi(v.c_str());
      return true;
    };
    std::string text;
    int n = 0;
    if (a == "--port") {
      if (!number(o.port)) return false;
    } else if (a == "--log") {
      if (!value(o.logPath)) return false;
    } else if (a == "--reply-delay-ms") {
      if (!number(o.replyDelayMs)) return false;
    } else if (a == "--chunk-bytes") {
      if (!number(o.chunkBytes)) return false;
    } else if (a == "--chunk-gap-ms") {
      if (!number(o.chunkGapMs)) return false;
    } else if (a == "--entries") {
      if (!number(o.entries)) return false;
    } else if (a == "--silent") {
      o.silent = true;
    } else if (a == "--answer-repeat-only") {
      o.answerRepeatOnly = true;
    } else if (a == "--no-marker") {
      o.noMarker = true;
    } else if (a == "--close-after") {
      if (!number(o.closeAfter)) return false;
    } else if (a == "--cf-reply") {
      if (!value(o.cfReply)) return false;
    } else if (a == "--seed") {
      if (!number(n)) return false;
      o.seed = static_cast<std::uint32_t>(n);
    } else {
      return false;
    }
  }
  return true;
}

std::int64_t NowMs() {
  static const auto start = std::chrono::steady_clock::now();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}

void SleepMs(int ms) {
  if (ms > 0 && !g_stop) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

// Level in dB at a frequency: a noise floor near -90 dB and a few carriers
// 30 to 70 dB above it, all fixed by the seed.
int LevelAt(double mhz, std::uint32_t seed) {
  const auto bin = static_cast<std::uint32_t>(std::lround(mhz * 32.0));
  double level = -90.0 + static_cast<double>(Hash(bin ^ (seed * 0x9E3779B9u)) % 9) - 4.0;
  for (std::uint32_t k = 0; k < 40; ++k) {
    const std::uint32_t h = Hash(seed * 131u + k);
    const double centre = 450.0 + static_cast<double>(h % 100000) / 100.0;  // 450..1450 MHz
    const double height = 30.0 + static_cast<double>(Hash(h) % 41);         // 30..70 dB
    const double distance = std::fabs(mhz - centre);
    if (distance < 0.4) level = std::max(level, -90.0 + height * (1.0 - distance / 0.4));
  }
  return static_cast<int>(std::lround(std::clamp(level, -100.0, 0.0)));
}

std::string Reply(double centreMHz, const Options& o) {
  std::string reply = "GD \r\n";
  if (!o.noMarker) reply += "/ \r\n";
  for (int k = 0; k < o.entries; ++k) {
    const double mhz = centreMHz - 5.0 + k * (10.0 / 320.0);
    const int level = LevelAt(mhz, o.seed);
    char entry[40];
    std::snprintf(entry, sizeof entry, "F%09.4fL%c%03d \r\n", std::max(mhz, 0.0),
                  level < 0 ? '-' : '+', std::abs(level));
    reply += entry;
  }
  if (!o.noMarker) reply += "/ \r\n";
  return reply;
}

bool SendAll(int fd, const std::string& bytes, const Options& o) {
  const std::size_t step = o.chunkBytes > 0 ? static_cast<std::size_t>(o.chunkBytes) : bytes.size();
  for (std::size_t pos = 0; pos < bytes.size() && !g_stop; pos += step) {
    const std::string chunk = bytes.substr(pos, step);
    std::size_t sent = 0;
    while (sent < chunk.size()) {
      const ssize_t n = ::send(fd, chunk.data() + sent, chunk.size() - sent, MSG_NOSIGNAL);
      if (n < 0) {
        if (errno == EINTR && !g_stop) continue;
        return false;
      }
      sent += static_cast<std::size_t>(n);
    }
    if (pos + step < bytes.size()) SleepMs(o.chunkGapMs);
  }
  return true;
}

void Serve(int fd, const Options& o, std::FILE* log) {
  std::string pending;
  double centre = 455.0;
  int commands = 0;
  int gdSinceCF = 0;
  char buffer[4096];
  for (;;) {
    // On SIGTERM, what the peer has already sent is still logged (its "EX",
    // say), but nothing more is answered.
    const bool stopping = g_stop != 0;
    if (!stopping) {
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, 100) <= 0) continue;
    }
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, stopping ? MSG_DONTWAIT : 0);
    if (n <= 0) return;
    pending.append(buffer, static_cast<std::size_t>(n));
    std::size_t end;
    while ((end = pending.find("\r\n")) != std::string::npos) {
      const std::string bytes = pending.substr(0, end + 2);
      const std::string command = pending.substr(0, end);
      pending.erase(0, end + 2);
      ++commands;
      if (log != nullptr) {
        std::fprintf(log, "%lld %s\n", static_cast<long long>(NowMs()), Escaped(bytes).c_str());
        std::fflush(log);
      }
      if (stopping) continue;
      if (o.closeAfter > 0 && commands >= o.closeAfter) return;
      if (command.rfind("CF", 0) == 0) {
        centre = std::atof(command.c_str() + 2);
        gdSinceCF = 0;
        if (!o.cfReply.empty() && !SendAll(fd, o.cfReply, o)) return;
      } else if (command == "GD") {
        ++gdSinceCF;
        if (o.silent || (o.answerRepeatOnly && gdSinceCF < 2)) continue;
        SleepMs(o.replyDelayMs);
        if (!SendAll(fd, Reply(centre, o), o)) return;
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    Usage();
    return 2;
  }
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);

  std::FILE* log = nullptr;
  if (!o.logPath.empty() && (log = std::fopen(o.logPath.c_str(), "w")) == nullptr) {
    std::perror(o.logPath.c_str());
    return 1;
  }

  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(o.port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);  // never any other address
  if (::bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      ::listen(listener, 4) != 0) {
    std::perror("xport-sim: bind");
    return 1;
  }
  socklen_t len = sizeof addr;
  ::getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
  std::printf("listening on 127.0.0.1:%d\n", ntohs(addr.sin_port));
  std::fflush(stdout);

  while (!g_stop) {
    pollfd p{listener, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    const int fd = ::accept(listener, nullptr, nullptr);
    if (fd < 0) continue;
    Serve(fd, o, log);
    ::close(fd);
  }
  ::close(listener);
  if (log != nullptr) std::fclose(log);
  return 0;
}
