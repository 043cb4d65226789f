// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliCommon.h"

#include <CLI/CLI.hpp>
#include <iostream>

#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"

int Fail(const std::string& line) {
  std::cerr << "duxel-cli: " << line << "\n";
  return 1;
}

std::string ExitStatusHelp(const std::string& extra) {
  return "Exit status:\n"
         "  0  done\n"
         "  1  failed; the message on standard error says why\n"
         "  2  the command line was wrong\n" +
         extra;
}

void AddExitStatusHelp(CLI::App& app) {
  if (app.get_footer().empty()) app.footer(ExitStatusHelp());
  for (CLI::App* command : app.get_subcommands({}))
    if (command->get_footer().empty()) command->footer(ExitStatusHelp());
}

void Warn(const std::string& line) { std::cerr << "duxel-cli: " << line << "\n"; }

bool LoadDocument(const std::string& path, const std::optional<std::string>& password,
                  CDuxelDoc& doc, std::string& error) {
  const DocResult r = doc.LoadFile(path, [&]() -> std::optional<std::string> {
    if (!password) return std::nullopt;
    return Cp1250FromUtf8(*password);
  });
  if (r.ok()) return true;
  if (r.status == LoadStatus::WrongPassword && !password)
    error = path + ": the document is protected; give its --password";
  else
    error = path + ": " + r.message + " (" + r.reason + ")";
  return false;
}
