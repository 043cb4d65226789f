// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running the real programs side by side: each in the background with its output in files,
// a private profile folder, waiting with a time limit.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace e2e {

namespace fs = std::filesystem;

inline std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

struct Result {
  bool exited = false;  // false: killed by a signal or by the time limit
  int code = -1;
  std::string out;
  std::string err;
};

// A program running in the background. Its profile lives in `home` (XDG_CONFIG_HOME), so
// the user's own settings are never read or written.
class Process {
 public:
  Process(const std::vector<std::string>& args, const fs::path& home, const std::string& tag)
      : m_out(home / (tag + ".out")), m_err(home / (tag + ".err")) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
      if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0) env.push_back(*e);
    env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
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
  Result wait(double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (running() && std::chrono::steady_clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (running()) {
      ::kill(m_pid, SIGKILL);
      int status = 0;
      ::waitpid(m_pid, &status, 0);
      m_reaped = true;
      m_result.exited = false;
    }
    m_result.out = ReadText(m_out);
    m_result.err = ReadText(m_err);
    return m_result;
  }

  // Asks the program to stop (Ctrl-C).
  void interrupt() {
    if (running()) ::kill(m_pid, SIGINT);
  }

 private:
  void reap(int status) {
    m_reaped = true;
    m_result.exited = WIFEXITED(status);
    m_result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  pid_t m_pid = -1;
  bool m_reaped = false;
  fs::path m_out;
  fs::path m_err;
  Result m_result;
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
