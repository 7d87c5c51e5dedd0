#pragma once

#ifndef _WIN32
#include <signal.h>
#endif

namespace kov::wfexport {

// For the program, once at its start: Ctrl+C, SIGTERM and a closed terminal
// (on Windows Ctrl+C, Ctrl+Break and a closed console window) remove the
// files kept for removal, then end the program as that signal would; a
// file-size limit fails the write (reported as a full disk is) instead of
// killing the program. An ignored signal stays ignored.
void HandleInterruptions();

// Holds interruptions off for a few steps, so that none comes between
// making a file and keeping it for removal, or between renaming one and
// letting it go.
class HeldOff {
 public:
  HeldOff();
  ~HeldOff();
  HeldOff(const HeldOff&) = delete;
  HeldOff& operator=(const HeldOff&) = delete;

 private:
#ifndef _WIN32
  sigset_t before_;
#endif
};

// While kept, the file is removed at an interruption; the text must live
// until it is let go. A slot for LetGo, or -1 when every slot is taken.
int RemoveOnInterruption(const char* path);
void LetGo(int slot);

}  // namespace kov::wfexport
