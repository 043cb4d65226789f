// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>

// The line settings a link command may give; what it leaves out comes from the profile.
struct LineOptions {
  std::optional<std::string> port;  // device path
  std::optional<int> baud;
  std::optional<int> bits;
  std::optional<std::string> parity;  // none, odd, even
  std::optional<int> delay;
  bool noConvert = false;
};

struct ReceiveOptions {
  std::string out;
  std::optional<double> timeout;  // seconds; none: until the transmission ends
  std::optional<std::string> password;
  LineOptions line;
};

struct SendOptions {
  std::string file;
  std::string modes;
  std::string filter = "all";
  bool marks = false;
  std::optional<std::string> password;
  LineOptions line;
};

struct CaptureOptions {
  std::string out;
  std::optional<double> timeout;
  LineOptions line;
};

// duxel-cli receive, send and capture: the link with a diary over a serial line.
class LinkCommands {
 public:
  // Adds the three commands to `app`.
  explicit LinkCommands(CLI::App& app);
  // Runs the command the user chose: its exit code, or nullopt when it was none of these.
  std::optional<int> run(int argc, char** argv) const;

 private:
  CLI::App* m_receive = nullptr;
  CLI::App* m_send = nullptr;
  CLI::App* m_capture = nullptr;
  ReceiveOptions m_receiveOptions;
  SendOptions m_sendOptions;
  CaptureOptions m_captureOptions;
};

int RunReceive(const ReceiveOptions& options, int argc, char** argv);
int RunSend(const SendOptions& options, int argc, char** argv);
int RunCapture(const CaptureOptions& options, int argc, char** argv);
