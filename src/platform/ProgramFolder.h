#pragma once

#include <string>

namespace kov::platform {

// The folder that holds the running program file, without a trailing
// separator.
std::string ProgramFolder();

// The path separator of this system ("\" on Windows, "/" elsewhere).
char PathSeparator();

}  // namespace kov::platform
