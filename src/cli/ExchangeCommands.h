// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

struct ExchangeOptions {
  std::string file;                     // the document
  std::string mode;                     // a mode's section name: Memo, Telephone, ...
  std::string path;                     // the table file (--out for export, --in for import)
  std::optional<std::string> driver;    // default: our text driver
  std::optional<std::string> mapping;   // default: "Všechna pole"
  std::optional<std::string> password;  // of a protected document
};

// duxel-cli export and import: the ODBC exchange of one mode of a document with a file.
class ExchangeCommands {
 public:
  // Adds the two commands to `app`.
  explicit ExchangeCommands(CLI::App& app);
  // Runs the command the user chose: its exit code, or nullopt when it was neither.
  std::optional<int> run() const;

 private:
  CLI::App* m_export = nullptr;
  CLI::App* m_import = nullptr;
  ExchangeOptions m_exportOptions;
  ExchangeOptions m_importOptions;
};

// Each returns the exit code: 0 on success, 1 with one line on standard error on failure.
int RunExport(const ExchangeOptions& options);
int RunImport(const ExchangeOptions& options);
