// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli: the command-line front end over the Duxel core.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/CliCommon.h"
#include "cli/DocumentCommands.h"
#include "cli/ExchangeCommands.h"
#include "cli/InterchangeCommands.h"
#include "cli/LinkCommands.h"
#include "cli/PortsCommand.h"
#include "cli/PrintCommand.h"
#include "cli/SheetCommand.h"

int main(int argc, char** argv) {
  CLI::App app{"Duxel: documents of Casio digital diaries from the command line"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "duxel-cli " DUXEL_VERSION);
  app.failure_message([](const CLI::App*, const CLI::Error& e) {
    return "duxel-cli: " + std::string(e.what()) + " (see --help)\n";
  });

  DumpOptions dump;
  auto* dumpCmd = app.add_subcommand("dump", "print a .dux document as JSON");
  dumpCmd->add_option("FILE", dump.file, "the document")->required();
  dumpCmd->add_option("--password", dump.password, "password of a protected document");

  BuildOptions build;
  auto* buildCmd = app.add_subcommand("build", "write a .dux document from its JSON");
  buildCmd->add_option("JSON", build.json, "the JSON form of the document")->required();
  buildCmd->add_option("OUT", build.out, "the document to write")->required();
  buildCmd->add_option("--password", build.password, "protect the document with a password");

  SheetOptions sheet;
  auto* sheetCmd = app.add_subcommand("sheet", "print the cells of a worksheet");
  sheetCmd->add_option("FILE", sheet.file, "the document")->required();
  sheetCmd->add_option("--index", sheet.index, "the worksheet, counted from 0 (default 0)");
  sheetCmd->add_option("--password", sheet.password, "password of a protected document");

  LinkCommands link(app);
  ExchangeCommands exchange(app);
  InterchangeCommands interchange(app);
  CLI::App* portsCmd = AddPortsCommand(app);
  PrintCommand print(app);
  AddExitStatusHelp(app);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);  // --help and --version give 0
    return code == 0 ? kExitDone : kExitUsage;
  }
  if (*dumpCmd) return RunDump(dump);
  if (*buildCmd) return RunBuild(build);
  if (*sheetCmd) return RunSheet(sheet);
  if (auto code = link.run(argc, argv)) return *code;
  if (auto code = exchange.run()) return *code;
  if (auto code = interchange.run()) return *code;
  if (*portsCmd) return RunPorts(argc, argv);
  if (auto code = print.run(argc, argv)) return *code;
  return 2;
}
