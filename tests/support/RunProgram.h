// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Running a real program from a test: standard input empty, both outputs captured through
// files (a pipe could fill up and stall a program that writes much), optionally with an
// environment and a working folder of its own.
#include <fcntl.h>
#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

// How a program ended and what it wrote.
struct ProgramResult {
  int startError = 0;   // what posix_spawn said when the program could not be started, else 0
  bool exited = false;  // false when it was not started or died of a signal
  int exitCode = -1;    // its exit status when it exited, else -1
  int signal = 0;       // the signal that ended it, else 0
  std::string out;
  std::string err;
};

struct ProgramOptions {
  // "NAME=value" entries; the test's own environment when absent.
  std::optional<std::vector<std::string>> environment;
  // The test's own working folder when empty.
  std::filesystem::path workingDirectory;
};

// The whole file as it is; empty when it cannot be read.
inline std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The test's own environment with `set` put in (replacing what it had) and `unset` taken out.
inline std::vector<std::string> EnvironmentWith(const std::map<std::string, std::string>& set,
                                                const std::vector<std::string>& unset = {}) {
  std::vector<std::string> entries;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    bool drop = set.count(name) != 0;
    for (const std::string& u : unset) drop = drop || u == name;
    if (!drop) entries.push_back(entry);
  }
  for (const auto& [name, value] : set) entries.push_back(name + "=" + value);
  return entries;
}

// Starts `argv` (the program first; looked up on PATH when it has no slash) in the background,
// standard input from /dev/null, standard output and error into the files named. Returns its
// process id, or -1 with `error` (when given) set to what posix_spawn said.
inline pid_t StartProgram(const std::vector<std::string>& argv,
                          const std::filesystem::path& outPath,
                          const std::filesystem::path& errPath, const ProgramOptions& options = {},
                          int* error = nullptr) {
  std::vector<std::string> args = argv;
  std::vector<char*> argp;
  for (auto& a : args) argp.push_back(a.data());
  argp.push_back(nullptr);
  std::vector<std::string> env;
  std::vector<char*> envp;
  if (options.environment) {
    env = *options.environment;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (!options.workingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argp[0], &actions, nullptr, argp.data(),
                              options.environment ? envp.data() : environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error) *error = rc;
  return rc == 0 ? pid : -1;
}

// Fills in how the program ended from the status waitpid gave.
inline void SetEnding(ProgramResult& result, int status) {
  result.exited = WIFEXITED(status);
  result.exitCode = result.exited ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// Runs `argv` to its end. Its outputs go through the files "stdout" and "stderr" in `scratch`.
inline ProgramResult RunProgram(const std::vector<std::string>& argv,
                                const std::filesystem::path& scratch,
                                const ProgramOptions& options = {}) {
  const std::filesystem::path outPath = scratch / "stdout";
  const std::filesystem::path errPath = scratch / "stderr";
  ProgramResult result;
  const pid_t pid = StartProgram(argv, outPath, errPath, options, &result.startError);
  if (pid < 0) return result;
  int status = 0;
  ::waitpid(pid, &status, 0);
  SetEnding(result, status);
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  return result;
}
