#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace kov::platform {

// A path inside the program and its tools is UTF-8 text. On Windows it goes to
// the system as UTF-16, so that a folder named in any script, or longer than
// the ANSI calls allow, is reached as the operator named it; elsewhere a path
// is the system's own bytes.

// std::fopen for such a path (_wfopen on Windows).
std::FILE* OpenFile(const std::string& path, const char* mode);

// The path as std::filesystem takes it, and back: the narrow constructor
// would read the bytes in the ANSI code page on Windows.
std::filesystem::path FsPath(const std::string& path);
std::string PathText(const std::filesystem::path& path);

}  // namespace kov::platform
