// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace CLI {
class App;
}

// duxel-cli ports: the serial ports of this machine, the profile's marked, with whether this
// user may open each and, when not, what would help.
CLI::App* AddPortsCommand(CLI::App& app);
int RunPorts(int argc, char** argv);
