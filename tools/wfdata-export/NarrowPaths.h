#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace kov::wfexport {

// Files named by paths as the command line gives them: bytes of the system's
// code page on Windows (Japanese, say), which std::filesystem would convert
// through the wrong one. Everything here hands the bytes to the system.

// Opens a file for writing alone, empty: a new one, or one that no other
// program holds (left by a program that was killed), taken over. Nothing,
// with the reason, when another program holds it or it cannot be made.
std::FILE* TakeFile(const std::string& path, std::string& problem);

// Puts `from` in the place of `to`, replacing a file there; "" or why not.
std::string MoveOver(const std::string& from, const std::string& to);

// The size of an open file, 0 when unknown.
std::uint64_t SizeOf(std::FILE* file);

bool IsFolder(const std::string& path);

// Whether the path names a device or a pipe (the null device, a terminal, a
// named pipe): an output there is written as it is, never replaced.
bool IsStream(const std::string& path);
// Opens such a one for writing; nothing, with the reason, when it cannot.
std::FILE* OpenStream(const std::string& path, std::string& problem);

// The last part of a path, after its last "/" or "\".
std::string LastPart(const std::string& path);

// A name as UTF-8 text to show in a page: from the system's code page on
// Windows; elsewhere bytes that are no UTF-8 become U+FFFD.
std::string DisplayName(const std::string& name);

}  // namespace kov::wfexport
