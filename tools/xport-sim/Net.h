#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The few socket calls the simulator makes, over Berkeley sockets or Winsock.
// Every wait also watches for the stop (StopSignal.h) and ends as soon as it
// is asked for.
namespace kov::sim::net {

#ifdef _WIN32
using Socket = std::uintptr_t;
#else
using Socket = int;
#endif
inline constexpr Socket kNoSocket = static_cast<Socket>(-1);

// Starts the socket library; false, with the reason, when it cannot.
bool Start(std::string& error);

struct Listening {
  Socket socket = kNoSocket;  // kNoSocket on failure
  int port = 0;
  std::string error;
};

// A listening socket on 127.0.0.1, never on any other address; port 0 picks a
// free port. A port held by another listener is refused.
Listening ListenOnLoopback(int port);

// The next waiting connection as a non-blocking socket; kNoSocket when none.
Socket Accept(Socket listener);

void Close(Socket socket);

enum class Io { Done, Closed, WouldBlock, Failed };

struct IoResult {
  Io status;
  std::size_t bytes = 0;
};

IoResult Receive(Socket socket, char* buffer, std::size_t size);
// Never raises SIGPIPE.
IoResult Send(Socket socket, const char* bytes, std::size_t size);

enum class Wait { Ready, Stopped, TimedOut, Failed };

// Until the socket has data (or end of stream) to read, or room to write; a
// negative timeout waits as long as it takes. A stop already asked for wins.
Wait WaitReadable(Socket socket, int timeoutMs);
Wait WaitWritable(Socket socket, int timeoutMs);

// false when the stop came first.
bool SleepUnlessStopped(int ms);

}  // namespace kov::sim::net
