#pragma once

#ifdef _WIN32
#include <winsock2.h>
// windows.h after winsock2.h, not before.
#include <windows.h>

#include "platform/Utf16.h"
#else
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
extern char** environ;
#endif

namespace kov::testing {

// Runs build/xport-sim (path from XPORT_SIM) on a free port of 127.0.0.1 for
// the life of the object, with its command log in a temporary file. Under
// Windows (and Wine) it runs xport-sim.exe.
class SimProcess {
 public:
  static const char* Path() { return std::getenv("XPORT_SIM"); }

#ifdef _WIN32
  explicit SimProcess(std::vector<std::string> options = {}) {
    char folder[MAX_PATH], file[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "sim", 0, file);
    logPath_ = file;
    std::string command = "\"" + WindowsPath(Path()) + "\" --port 0 --log \"" + logPath_ + "\"";
    for (const std::string& o : options) command += " \"" + o + "\"";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!CreatePipe(&read, &write, &inherit, 0)) return;
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = write;
    start.hStdError = write;
    PROCESS_INFORMATION info{};
    // Wide, as a user's shell starts it: its options may name files in any script.
    std::wstring wide = platform::Utf16(command);
    if (CreateProcessW(nullptr, wide.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &start, &info)) {
      process_ = info.hProcess;
      CloseHandle(info.hThread);
    }
    CloseHandle(write);
    std::string line;
    char c;
    DWORD n = 0;
    while (ReadFile(read, &c, 1, &n, nullptr) && n == 1 && c != '\n') line.push_back(c);
    CloseHandle(read);
    const std::size_t colon = line.rfind(':');
    if (colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
  }

  ~SimProcess() {
    Stop();
    DeleteFileA(logPath_.c_str());
  }

  bool Running() const { return process_ != nullptr && port_ > 0; }

  // Stops it as Ctrl+C would, through its stop event, so that it logs what
  // its peers sent last; ends it when it has not ended within 5 s. Its exit
  // status then.
  int Stop() {
    if (process_ == nullptr) return status_;
    const std::string name = "Local\\xport-sim-stop-" + std::to_string(GetProcessId(process_));
    const HANDLE stop = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (stop == nullptr || !SetEvent(stop) ||
        WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
      TerminateProcess(process_, 1);
      WaitForSingleObject(process_, INFINITE);
    }
    if (stop != nullptr) CloseHandle(stop);
    DWORD code = 1;
    GetExitCodeProcess(process_, &code);
    CloseHandle(process_);
    process_ = nullptr;
    status_ = static_cast<int>(code);
    return status_;
  }
#else
  explicit SimProcess(std::vector<std::string> options = {}) {
    char logTemplate[] = "/tmp/xport-sim-log-XXXXXX";
    const int logFd = mkstemp(logTemplate);
    if (logFd >= 0) close(logFd);
    logPath_ = logTemplate;

    std::vector<std::string> args = {Path(), "--port", "0", "--log", logPath_};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int out[2];
    if (pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);

    // The first line says where it listens.
    std::string line;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
    close(out[0]);
    const std::size_t colon = line.rfind(':');
    if (colon != std::string::npos) port_ = std::atoi(line.c_str() + colon + 1);
  }

  ~SimProcess() {
    Stop();
    std::remove(logPath_.c_str());
  }
  bool Running() const { return pid_ > 0 && port_ > 0; }
  pid_t Pid() const { return pid_; }

  // SIGTERM, then the exit status (-1 if it did not exit normally).
  int Stop() {
    if (pid_ <= 0) return status_;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return status_;
  }

  // Sends the signal and waits up to `limit` for the exit: its status, or -1
  // when it did not exit normally in time (it is then killed).
  int StopWith(int signal, std::chrono::milliseconds limit) {
    if (pid_ <= 0) return status_;
    kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(pid_, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const bool exited = ended == pid_ && WIFEXITED(status);
    if (ended == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    status_ = exited ? WEXITSTATUS(status) : -1;
    return status_;
  }
#endif

  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;
  int Port() const { return port_; }

  // The commands received so far, each with its CR LF, in order.
  std::vector<std::string> Commands() const {
    std::vector<std::string> commands;
    std::ifstream log(logPath_);
    std::string line;
    while (std::getline(log, line)) {
      const std::size_t space = line.find(' ');
      if (space == std::string::npos) continue;
      commands.push_back(Unescape(line.substr(space + 1)));
    }
    return commands;
  }

 private:
  // A path of the system under Wine ("/work/x.exe") as Windows sees it.
  static std::string WindowsPath(std::string path) {
    if (path.empty() || path[0] != '/') return path;
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    return "Z:" + path;
  }
  static std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\\' || i + 1 >= text.size()) {
        out.push_back(text[i]);
        continue;
      }
      const char e = text[++i];
      if (e == 'r') {
        out.push_back('\r');
      } else if (e == 'n') {
        out.push_back('\n');
      } else if (e == 'x' && i + 2 < text.size()) {
        out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
        i += 2;
      } else {
        out.push_back(e);
      }
    }
    return out;
  }

#ifdef _WIN32
  HANDLE process_ = nullptr;
#else
  pid_t pid_ = -1;
#endif
  int port_ = 0;
  int status_ = -1;
  std::string logPath_;
};

}  // namespace kov::testing
