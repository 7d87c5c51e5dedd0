#pragma once

namespace kov::wfexport {

// Whether the program has a console window of its own: started from
// Windows Explorer (a recording dropped on it, or a double click) rather
// than from a command prompt, whose window stays. Never elsewhere.
bool OwnConsoleWindow();

// In a window of its own, before it closes: how the export ended (or, run
// with nothing, how to use it), then a wait for Enter.
void WaitForEnter(int status, bool noArguments);

}  // namespace kov::wfexport
