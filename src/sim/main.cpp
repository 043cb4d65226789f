// SPDX-License-Identifier: GPL-3.0-or-later
// casio-sim: plays a Casio diary on a serial line, for tests, demonstrations and users
// without the hardware. It makes a pseudo-terminal of its own (--pty LINK: the program
// opens LINK as its serial port) or uses a serial device (--port DEVICE).
#include <CLI/CLI.hpp>
#include <clocale>

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>

#include "document/CDuxelDoc.h"
#include "json/DocumentJson.h"
#include "qtadapters/LinkDriver.h"
#include "qtadapters/QtSerialLine.h"
#include "records/Cp1250.h"
#include "sim/DiarySim.h"
#include "sim/PtyLine.h"

namespace {

int Fail(const std::string& line) {
  std::cerr << "casio-sim: " << line << "\n";
  return 1;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  if (text.size() < tail.size()) return false;
  std::string end = text.substr(text.size() - tail.size());
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == tail;
}

// A .dux document, or the JSON that duxel-cli dump prints.
bool LoadInput(const std::string& path, CDuxelDoc& doc, std::string& error) {
  if (EndsWith(path, ".json")) {
    std::ifstream in(path);
    if (!in) {
      error = path + ": cannot open the file";
      return false;
    }
    try {
      AppendJsonToDocument(nlohmann::json::parse(in), doc);
    } catch (const std::exception& e) {
      error = path + ": " + e.what();
      return false;
    }
    return true;
  }
  const DocResult r = doc.LoadFile(path, [] { return std::optional<std::string>(); });
  if (!r.ok()) {
    error = path + ": " + r.message + " (" + r.reason + ")";
    return false;
  }
  return true;
}

// Stores what the diary received: JSON by the extension, a .dux document otherwise. Both are
// written beside the target and renamed over it.
bool StoreOutput(const std::string& path, CDuxelDoc& doc, std::string& error) {
  if (!EndsWith(path, ".json")) {
    const DocResult r = doc.SaveFile(path);
    if (!r.ok()) error = path + ": " + r.reason;
    return r.ok();
  }
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << DocumentToJson(doc).dump(2) << "\n";
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      error = path + ": cannot write the file";
      return false;
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, path, ec);
  if (ec) {
    std::remove(temporary.c_str());
    error = path + ": " + ec.message();
    return false;
  }
  return true;
}

bool ParseModes(const std::string& text, std::vector<bool>& modes, std::string& error) {
  modes.assign(kModeCount, text.empty() || text == "all");
  if (text.empty() || text == "all") return true;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string name = text.substr(start, comma - start);
    const int mode = ModeFromSectionName(name);
    if (mode < 0) {
      error = "unknown mode \"" + name + "\"";
      return false;
    }
    modes[mode] = true;
    start = comma + 1;
  }
  return true;
}

char ParityLetter(const std::string& parity) {
  if (parity == "odd") return 'O';
  if (parity == "even") return 'E';
  return 'N';
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // amounts always with a full stop

  CLI::App app{"casio-sim: a Casio diary on a serial line"};
  app.require_subcommand(1);
  app.failure_message([](const CLI::App*, const CLI::Error& e) {
    return "casio-sim: " + std::string(e.what()) + " (see --help)\n";
  });

  std::string ptyLink;
  std::string device;
  SimOptions options;
  int baud = 9600;
  int bits = 8;
  std::string parity = "none";
  auto* ptyOption =
      app.add_option("--pty", ptyLink, "make a pseudo-terminal and link its device here");
  auto* portOption = app.add_option("--port", device, "use this serial device");
  ptyOption->excludes(portOption);
  app.add_option("--delay", options.delay, "ms after every byte the diary writes (default 1)")
      ->check(CLI::Range(0, 1000));
  app.add_option("--baud", baud, "line speed with --port (default 9600)");
  double lingerSeconds = 0;
  app.add_option("--linger", lingerSeconds,
                 "keep the line open this many seconds after the transfer, so that the "
                 "program does not see the diary hang up (demos)")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--bits", bits, "data bits with --port (default 8)")->check(CLI::IsMember({7, 8}));
  app.add_option("--parity", parity, "parity with --port (default none)")
      ->check(CLI::IsMember({"none", "odd", "even"}));

  // Fault options, for tests.
  double timeoutSeconds = -1;
  auto addFaults = [&](CLI::App* role) {
    role->add_option("--timeout", timeoutSeconds,
                     "transmit: longest wait for an answer (default 30 s); accept: longest "
                     "silence of the program (default 60 s)");
    role->add_flag("!--no-convert", options.convert,
                   "texts travel as they are, without the diary's character set");
    role->add_option("--abort-after", options.abortAfter, "send \"!\" after N records")
        ->check(CLI::NonNegativeNumber);
  };

  std::string input;
  std::string modesText;
  bool marks = false;
  auto* transmit = app.add_subcommand("transmit", "send the records of a document to the program");
  transmit->add_option("INPUT", input, "a .dux document or the JSON of duxel-cli dump")->required();
  transmit->add_option("--modes", modesText, "modes to send, e.g. Memo,Telephone (default all)");
  transmit->add_flag("--marks", marks, "marked records end with a marked end of record");
  transmit
      ->add_option("--corrupt-checksum", options.corruptChecksum,
                   "frame N (from 1) goes out with a wrong checksum")
      ->check(CLI::PositiveNumber);
  addFaults(transmit);

  std::string out;
  auto* accept = app.add_subcommand("accept", "receive what the program sends and store it");
  accept->add_option("--out", out, "where to store it (.json or .dux)")->required();
  accept->add_option("--answer-late", options.answerLateMs, "answer N ms late")
      ->check(CLI::NonNegativeNumber);
  accept->add_flag("--never-answer", options.neverAnswer, "never answer anything");
  accept
      ->add_option("--drop-answer", options.dropAnswer,
                   "do not send acknowledgement N (\"#\" or ACK, from 1)")
      ->check(CLI::PositiveNumber);
  addFaults(accept);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  }
  if (ptyLink.empty() && device.empty()) return Fail("give --pty LINKPATH or --port DEVICE");
  options.timeoutMs = static_cast<int64_t>(
      1000 * (timeoutSeconds >= 0 ? timeoutSeconds : (*transmit ? 30.0 : 60.0)));

  // What the transmitting diary holds, read before the line is made.
  CDuxelDoc doc;
  std::vector<bool> modes;
  std::string error;
  if (*transmit) {
    if (!LoadInput(input, doc, error)) return Fail(error);
    if (!ParseModes(modesText, modes, error)) return Fail(error);
  }

  PtyLine pty;
  QtSerialLine serial;
  SerialLine* line = nullptr;
  if (!ptyLink.empty()) {
    if (!pty.create(ptyLink, &error)) return Fail(error);
    line = &pty;
  } else {
    LineSettings settings;
    settings.baud = baud;
    settings.dataBits = bits;
    settings.parity = ParityLetter(parity);
    const LineResult r = serial.open(Cp1250FromUtf8(device), settings);
    if (!r.ok()) return Fail(Utf8FromCp1250(r.reason));
    line = &serial;
  }

  std::unique_ptr<DiaryRole> role;
  Acceptor* acceptor = nullptr;
  if (*transmit) {
    role = std::make_unique<Transmitter>(*line, options, doc, modes, marks);
  } else {
    auto a = std::make_unique<Acceptor>(*line, options);
    acceptor = a.get();
    role = std::move(a);
  }
  if (line == &pty) role->unreadByPeer = [&pty] { return pty.unreadByPeer(); };

  LinkDriver driver([&](int64_t now) {
    const int64_t next = role->run(now);
    if (role->finished()) QCoreApplication::exit(0);
    return next;
  });
  if (line == &pty)
    QObject::connect(&pty, &PtyLine::readable, &driver, &LinkDriver::kick);
  else
    driver.watch(serial);
  driver.kick();
  if (!role->finished()) qapp.exec();
  if (lingerSeconds > 0) {
    // A diary stays connected after a transfer; the program keeps listening undisturbed.
    QTimer::singleShot(static_cast<int>(std::min(lingerSeconds, 2e6) * 1000), &qapp,
                       &QCoreApplication::quit);
    qapp.exec();
  }

  int code = role->exitCode();
  std::string message = role->message();
  if (acceptor) {
    // What arrived is kept even when the transfer broke off.
    if (!StoreOutput(out, acceptor->document(), error)) return Fail(error);
  }
  line->close();
  if (code != 0) return Fail(message);
  if (!message.empty()) std::cerr << "casio-sim: " << message << "\n";
  return 0;
}
