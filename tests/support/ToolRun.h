#pragma once

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

#include "platform/Utf16.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

#include <string>
#include <vector>

#include "TestFiles.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace kov::testing {

struct ToolRun {
  int status = -1;  // -1: it could not be started
  std::string out, err;
};

// Runs a program to its end with the arguments (UTF-8 texts; on Windows the
// command line goes in UTF-16, as a shell hands it over), its output and
// errors caught in files of `dir` as the bytes it wrote there.
inline ToolRun RunProgram(std::string program, const std::vector<std::string>& arguments,
                          const TempDir& dir) {
  ToolRun run;
  const auto out = dir / "tool-out.txt", err = dir / "tool-err.txt";
#ifdef _WIN32
  if (!program.empty() && program[0] == '/') program = "Z:" + program;  // a path under Wine
  std::replace(program.begin(), program.end(), '/', '\\');
  // No argument here holds a quote or ends in "\".
  std::wstring command = L"\"" + platform::Utf16(program) + L"\"";
  for (const std::string& a : arguments) command += L" \"" + platform::Utf16(a) + L"\"";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  STARTUPINFOW start{};
  start.cb = sizeof start;
  start.dwFlags = STARTF_USESTDHANDLES;
  for (auto [handle, file] : {std::pair{&start.hStdOutput, &out}, {&start.hStdError, &err}}) {
    *handle = CreateFileW(file->c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  PROCESS_INFORMATION process{};
  // No console: one of its own would have the exporter wait for Enter.
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                     nullptr, &start, &process)) {
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.status = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(start.hStdOutput);
  CloseHandle(start.hStdError);
#else
  std::vector<std::string> all = {program};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = -1;
  int status = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
      waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  posix_spawn_file_actions_destroy(&actions);
#endif
  run.out = Slurp(out);
  run.err = Slurp(err);
  return run;
}

}  // namespace kov::testing
