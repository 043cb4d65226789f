// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

struct DumpOptions {
  std::string file;
  std::optional<std::string> password;
};

struct BuildOptions {
  std::string json;
  std::string out;
  std::optional<std::string> password;
};

// Each returns the exit code: 0 on success, 1 with one line on standard error on failure.
int RunDump(const DumpOptions& options);
int RunBuild(const BuildOptions& options);
