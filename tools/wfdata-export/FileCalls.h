#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace kov::wfexport {

// The exporter's calls on files named by paths, UTF-8 texts: on Windows they
// reach the system in UTF-16, so that a name in any script, or a path longer
// than the ANSI calls take, names the file the operator gave; elsewhere a
// path is the system's own bytes.

// Opens an input to read, as a descriptor of the C runtime (binary on
// Windows); -1 with errno when it cannot. Others may meanwhile read, write,
// rename or remove the file: the program sets its last recording aside by
// renaming it, whether or not an export of it runs.
int OpenInput(const std::string& path);
// The same as a C stream, "rb".
std::FILE* OpenInputFile(const std::string& path);

// Opens a file for writing alone, empty: a new one, or one that no other
// program holds (left by a program that was killed), taken over. Nothing,
// with the reason, when another program holds it or it cannot be made.
std::FILE* TakeFile(const std::string& path, std::string& problem);

// Puts `from` in the place of `to`, replacing a file there; "" or why not.
std::string MoveOver(const std::string& from, const std::string& to);

// The size of an open file, 0 when unknown.
std::uint64_t SizeOf(std::FILE* file);

bool IsFolder(const std::string& path);

// std::remove for such a path.
void RemoveFile(const std::string& path);

// Whether the path names a device or a pipe (the null device, a terminal, a
// named pipe): an output there is written as it is, never replaced.
bool IsStream(const std::string& path);
// Opens such a one for writing; nothing, with the reason, when it cannot.
std::FILE* OpenStream(const std::string& path, std::string& problem);

// The last part of a path, after its last "/" or "\".
std::string LastPart(const std::string& path);

// A name as UTF-8 text to show in a page: bytes that are no UTF-8 (a Linux
// file name may hold any) become U+FFFD.
std::string DisplayName(const std::string& name);

}  // namespace kov::wfexport
