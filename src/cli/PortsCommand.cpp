// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PortsCommand.h"

#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "qtadapters/QSettingsProfile.h"
#include "qtadapters/QtSerialLine.h"
#include "records/Cp1250.h"
#include "settings/LinkSettings.h"

namespace {

// The device a path names, links followed, so that /dev/serial/by-id/... and the profile's
// own spelling meet the listed /dev/ttyUSB0.
std::string Canonical(const std::string& utf8) {
  const QString path = QString::fromStdString(utf8);
  const QString target = QFileInfo(path).canonicalFilePath();
  return (target.isEmpty() ? path : target).toStdString();
}

std::string Line(bool marked, const std::string& device, const std::string& description,
                 const std::string& maker) {
  std::string line = (marked ? "* " : "  ") + device;
  if (!description.empty() || !maker.empty()) {
    line += "  " + (description.empty() ? std::string("(no description)") : description);
    if (!maker.empty()) line += ", " + maker;
  }
  const PortAccess access = CheckPortAccess(Cp1250FromUtf8(device));
  if (!access.exists) return line + "  - not present";
  if (access.mayOpen) return line + "  - may be opened";
  return line + "  - may not be opened: " + Utf8FromCp1250(access.advice);
}

}  // namespace

CLI::App* AddPortsCommand(CLI::App& app) {
  return app.add_subcommand("ports",
                            "list the serial ports, the profile's marked with *, and whether "
                            "this user may open each");
}

int RunPorts(int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  QSettingsProfile profile;
  const LinkSettings settings = LoadLinkSettings(profile, SystemDevicePaths());
  const std::string chosen = Utf8FromCp1250(settings.device());
  const std::string chosenDevice = Canonical(chosen);
  bool chosenListed = false;
  std::vector<std::string> lines;
  for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
    const std::string device = port.systemLocation().toStdString();
    const bool marked = Canonical(device) == chosenDevice;
    chosenListed = chosenListed || marked;
    lines.push_back(Line(marked, device, port.description().toStdString(),
                         port.manufacturer().toStdString()));
  }
  // The profile's port is shown even when the system does not list it (a pseudo-terminal,
  // an adapter that is unplugged).
  if (!chosenListed && !chosen.empty()) lines.push_back(Line(true, chosen, {}, {}));
  for (const std::string& line : lines) std::cout << line << "\n";
  return kExitDone;
}
