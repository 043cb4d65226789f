// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DocumentCommands.h"
#include "cli/CliCommon.h"

#include <fstream>
#include <iostream>

#include "json/DocumentJson.h"
#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"

int RunDump(const DumpOptions& options) {
  CDuxelDoc doc;
  std::string error;
  if (!LoadDocument(options.file, options.password, doc, error)) return Fail(error);
  std::cout << DocumentToJson(doc).dump(2) << "\n";
  return std::cout.good() ? 0 : Fail("cannot write to standard output");
}

int RunBuild(const BuildOptions& options) {
  std::ifstream in(options.json);
  if (!in) return Fail(options.json + ": cannot open the file");
  nlohmann::json j;
  try {
    j = nlohmann::json::parse(in);
  } catch (const nlohmann::json::exception& e) {
    return Fail(options.json + ": not valid JSON: " + e.what());
  }
  CDuxelDoc doc;
  try {
    AppendJsonToDocument(j, doc);
  } catch (const std::exception& e) {
    return Fail(options.json + ": " + e.what());
  }
  if (options.password) {
    const std::string password = Cp1250FromUtf8(*options.password);
    if (password.empty() || password.size() > 10)
      return Fail("the password must have 1 to 10 characters");
    doc.SetPassword(password);
  }
  const DocResult r = doc.SaveFile(options.out);
  if (!r.ok()) return Fail(r.reason);
  return 0;
}
