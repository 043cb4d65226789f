// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

struct PrintOptions {
  std::string file;                     // the document
  std::string mode;                     // a mode's section name: Memo, Telephone, ...
  std::string out;                      // the PDF to write
  std::string filter = "all";           // all, marked, unmarked
  std::optional<std::string> password;  // of a protected document
};

// duxel-cli print: the pages the program prints for one mode, written to a PDF file with
// the profile's "Printing" settings.
class PrintCommand {
 public:
  // Adds the command to `app`.
  explicit PrintCommand(CLI::App& app);
  // Runs it when the user chose it: its exit code, else nullopt.
  std::optional<int> run(int argc, char** argv) const;

 private:
  CLI::App* m_print = nullptr;
  PrintOptions m_options;
};

// Writes the PDF and prints "pages: N" and "lines per page: L". Returns 0, or 1 with one line on standard error.
int RunPrint(const PrintOptions& options, int argc, char** argv);
