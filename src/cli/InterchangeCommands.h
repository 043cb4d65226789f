// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

struct InterchangeOptions {
  std::string file;                     // the document
  std::string path;                     // --out for export, --in for import
  std::string modes;                    // export: comma-separated section names
  std::string mode = "Telephone";       // vcard import: Telephone or BusinessCards
  std::string filter = "all";           // all, marked, unmarked
  std::string version = "3.0";          // vCard 3.0 or 4.0
  std::string from;                     // ical export: reminders start on or after this day
  std::optional<std::string> password;  // of a protected document
};

// duxel-cli vcard export|import and ical export|import.
class InterchangeCommands {
 public:
  explicit InterchangeCommands(CLI::App& app);
  // The exit code of the command the user chose, or nullopt when it was none of these.
  std::optional<int> run() const;

 private:
  CLI::App* m_vcardExport = nullptr;
  CLI::App* m_vcardImport = nullptr;
  CLI::App* m_icalExport = nullptr;
  CLI::App* m_icalImport = nullptr;
  InterchangeOptions m_options[4];
};
