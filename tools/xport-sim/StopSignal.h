#pragma once

#include <string>

#include "Net.h"

// The stop: SIGTERM and SIGINT, or on Windows Ctrl+C, Ctrl+Break, the
// closing of the console window and the event "Local\xport-sim-stop-<pid>".
// Waits end at once when it comes.
namespace kov::sim {

// Starts listening for the stop; false, with the reason, when it cannot. On
// Windows the socket library must be started first.
bool InstallStopHandlers(std::string& error);

bool StopRequested();

// Becomes readable, and stays so, once the stop is asked for: every wait
// watches it beside its own socket.
net::Socket StopWakeHandle();

}  // namespace kov::sim
