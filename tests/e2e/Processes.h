// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running the real programs side by side: each in the background with its output in files,
// a private profile folder, waiting with a time limit.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "RunProgram.h"

namespace e2e {

namespace fs = std::filesystem;

// A folder of its own for one test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "duxel-e2e-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(m_path, ec);
  }
  const fs::path& path() const { return m_path; }
  fs::path operator/(const std::string& name) const { return m_path / name; }

 private:
  fs::path m_path;
};

// A program running in the background. Its profile lives in `home` (XDG_CONFIG_HOME), so
// the user's own settings are never read or written.
class Process {
 public:
  Process(const std::vector<std::string>& args, const fs::path& home, const std::string& tag)
      : m_out(home / (tag + ".out")), m_err(home / (tag + ".err")) {
    ProgramOptions options;
    options.environment = EnvironmentWith({{"XDG_CONFIG_HOME", (home / "config").string()}});
    m_pid = StartProgram(args, m_out, m_err, options);
  }
  ~Process() {
    if (m_pid > 0 && !m_reaped) {
      ::kill(m_pid, SIGKILL);
      ::waitpid(m_pid, nullptr, 0);
    }
  }

  bool running() {
    if (m_pid <= 0 || m_reaped) return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
      reap(status);
      return false;
    }
    return true;
  }

  // Waits for the end, at most `seconds`; a program still running then is killed.
  // exited is false when it was killed by a signal or by the time limit.
  ProgramResult wait(double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (running() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (running()) {
      ::kill(m_pid, SIGKILL);
      int status = 0;
      ::waitpid(m_pid, &status, 0);
      reap(status);
    }
    m_result.out = ReadWholeFile(m_out);
    m_result.err = ReadWholeFile(m_err);
    return m_result;
  }

  // Asks the program to stop (Ctrl-C).
  void interrupt() {
    if (running()) ::kill(m_pid, SIGINT);
  }

 private:
  void reap(int status) {
    m_reaped = true;
    SetEnding(m_result, status);
  }

  pid_t m_pid = -1;
  bool m_reaped = false;
  fs::path m_out;
  fs::path m_err;
  ProgramResult m_result;
};

// Waits until `path` exists (the simulator's link to its pseudo-terminal).
inline bool WaitForPath(const fs::path& path, double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < until) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

}  // namespace e2e
