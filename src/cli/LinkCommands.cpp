// SPDX-License-Identifier: GPL-3.0-or-later
// duxel-cli receive, send and capture: the link engine of the program, driven from a Qt
// event loop over the serial line, with the settings of the program's profile.
#include "cli/LinkCommands.h"
#include "cli/CliCommon.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <clocale>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <vector>

#include "document/CDuxelDoc.h"
#include "link/CCasioModel.h"
#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/LinkObserver.h"
#include "link/ReceiveBuffer.h"
#include "qtadapters/LinkDriver.h"
#include "qtadapters/QSettingsProfile.h"
#include "qtadapters/QtSerialLine.h"
#include "records/Cp1250.h"
#include "resources/StringTable.h"
#include "settings/LinkSettings.h"

namespace {

// A message of several lines as one line of the command line.
std::string OneLine(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == '\r') {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

// What the user would see of the link: the status pane, the messages, the results.
class CliObserver : public LinkObserver {
 public:
  void statusText(const std::string& text) override {
    status = Utf8FromCp1250(text);
    if (text != LinkStatusText(-3, 0, false) && text != LinkStatusText(-2, 0, false) &&
        text != LinkStatusText(-1, 0, false))
      counts = status;
  }
  void message(int id, const std::string& detail, MessageIcon) override {
    std::string text = LoadString(id);
    if (!detail.empty()) text += "\n" + Utf8FromCp1250(detail);
    messages.push_back(OneLine(text));
    if (id == IDS_PORT_LOST)
      portLost = true;
    else
      notes.push_back(messages.back());
  }
  void beep() override {}
  bool isBufferWindowOpen() const override { return false; }
  void openBufferWindow() override {}
  void closeBufferWindow() override {}
  void refreshBufferWindow() override {}
  void sendFinished(const SendResult& result) override {
    sendResult = result;
    sendDone = true;
  }
  void captureFinished(const CaptureResult& result) override {
    captureResult = result;
    captureDone = true;
  }

  std::string lastMessage() const { return messages.empty() ? std::string() : messages.back(); }

  std::string status;  // UTF-8
  std::string counts;  // the last "Přijato:" / "Vysláno:" text, UTF-8
  std::vector<std::string> messages;
  std::vector<std::string> notes;  // messages other than the lost port
  bool portLost = false;
  bool sendDone = false;
  SendResult sendResult;
  bool captureDone = false;
  CaptureResult captureResult;
};

// Ctrl-C and SIGTERM end a link command as its own stop would: the handler only writes to
// a socket that the event loop watches.
class InterruptWatch {
 public:
  explicit InterruptWatch(std::function<void()> onInterrupt)
      : m_onInterrupt(std::move(onInterrupt)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0) return;
    ::fcntl(s_fds[1], F_SETFL, O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(s_fds[0], QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] {
      char c;
      while (::recv(s_fds[0], &c, 1, MSG_DONTWAIT) == 1) {
      }
      interrupted = true;
      m_onInterrupt();
    });
    std::signal(SIGINT, &InterruptWatch::handler);
    std::signal(SIGTERM, &InterruptWatch::handler);
  }
  ~InterruptWatch() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    m_notifier.reset();
    for (int& fd : s_fds) {
      if (fd >= 0) ::close(fd);
      fd = -1;
    }
  }
  bool interrupted = false;

 private:
  static void handler(int) {
    const char c = 1;
    if (s_fds[1] >= 0) [[maybe_unused]]
      auto n = ::write(s_fds[1], &c, 1);
  }
  static inline int s_fds[2] = {-1, -1};
  std::function<void()> m_onInterrupt;
  std::unique_ptr<QSocketNotifier> m_notifier;
};

// The settings of the profile, with what the command line gives in their place.
LinkSettings SettingsFor(const Profile& profile, const LineOptions& line) {
  LinkSettings s = LoadLinkSettings(profile, SystemDevicePaths());
  if (line.port) s.devices[s.port - 1] = Cp1250FromUtf8(*line.port);
  if (line.baud) s.baud = *line.baud;
  if (line.bits) s.bits = *line.bits;
  if (line.parity) s.parity = ParseParityText(*line.parity);
  if (line.delay) s.delay = *line.delay;
  if (line.noConvert) s.convertM2C = s.convertC2M = false;
  // Nobody looks at a buffer window here.
  s.autoOpenBuffer = s.autoCloseBuffer = false;
  return s;
}

void AddLineOptions(CLI::App* cmd, LineOptions& line) {
  cmd->add_option("--port", line.port, "the serial device (default: the profile's port)");
  cmd->add_option("--baud", line.baud, "line speed")
      ->check(CLI::IsMember({1200, 2400, 4800, 9600}));
  cmd->add_option("--bits", line.bits, "data bits")->check(CLI::IsMember({7, 8}));
  cmd->add_option("--parity", line.parity, "parity")->check(CLI::IsMember({"none", "odd", "even"}));
  cmd->add_option("--delay", line.delay, "ms after every character written (1..25)")
      ->check(CLI::Range(1, 25));
  cmd->add_flag("--no-convert", line.noConvert,
                "texts travel as they are, without the diary's character set");
}

std::string ModeName(int mode) { return ModeSectionName(mode); }

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g s", seconds);
  return text;
}

// A timer's interval for a number of seconds, within what a timer takes.
int TimerMs(double seconds) { return static_cast<int>(std::min(seconds * 1000, 2e9)); }

// The engine and everything around it for one command.
struct Link {
  explicit Link(const LinkSettings& settings)
      : port(line), engine(port, buffer, observer), driver(engine, line) {
    engine.applySettings(settings);
  }
  QtSerialLine line;
  CCasioPort port;
  ReceiveBuffer buffer;
  CliObserver observer;
  LinkEngine engine;
  LinkDriver driver;
};

void WarnBadChecksums(int count) {
  if (count <= 0) return;
  char text[256];
  std::snprintf(text, sizeof text, LoadString(IDS_BAD_CHECKSUMS).c_str(), count);
  Warn(text);
}

}  // namespace

// ---------------------------------------------------------------------------------------

LinkCommands::LinkCommands(CLI::App& app) {
  m_receive = app.add_subcommand("receive", "receive a diary's transmission into a document");
  m_receive->add_option("--out", m_receiveOptions.out, "the document (created, or merged into)")
      ->required();
  m_receive
      ->add_option("--timeout", m_receiveOptions.timeout,
                   "give up after this many seconds (default: wait for the diary)")
      ->check(CLI::PositiveNumber);
  m_receive->add_option("--password", m_receiveOptions.password,
                        "password of the document when it is protected");
  AddLineOptions(m_receive, m_receiveOptions.line);
  m_receive->footer(ExitStatusHelp(
      "  3  the diary aborted the transmission; the records received before were stored\n"
      "A failure during the transmission (1) also stores what was received before it.\n"));

  m_send = app.add_subcommand("send", "send records of a document to the diary");
  m_send->add_option("FILE", m_sendOptions.file, "the document")->required();
  m_send
      ->add_option("--modes", m_sendOptions.modes,
                   "Memo,Telephone,... or all (SpreadSheet alone: the first marked worksheet)")
      ->required();
  m_send->add_option("--filter", m_sendOptions.filter, "which records (default all)")
      ->check(CLI::IsMember({"all", "marked", "unmarked"}));
  m_send->add_flag("--marks", m_sendOptions.marks, "marked records stay marked in the diary");
  m_send->add_option("--password", m_sendOptions.password, "password of a protected document");
  AddLineOptions(m_send, m_sendOptions.line);
  m_send->footer(ExitStatusHelp("A failure during the send (1) says how many records the diary "
                                "confirmed (\"Vysláno: N\").\n"));

  m_capture =
      app.add_subcommand("capture", "write a diary's transmission to a file, frame by frame");
  m_capture->add_option("--out", m_captureOptions.out, "the capture file")->required();
  m_capture
      ->add_option("--timeout", m_captureOptions.timeout,
                   "stop after this many seconds (default: at the end of the transmission)")
      ->check(CLI::PositiveNumber);
  AddLineOptions(m_capture, m_captureOptions.line);
  m_capture->footer(ExitStatusHelp(
      "  3  the diary aborted the transmission; what came before it was written\n"));
}

std::optional<int> LinkCommands::run(int argc, char** argv) const {
  if (*m_receive) return RunReceive(m_receiveOptions, argc, argv);
  if (*m_send) return RunSend(m_sendOptions, argc, argv);
  if (*m_capture) return RunCapture(m_captureOptions, argc, argv);
  return std::nullopt;
}

// ---------------------------------------------------------------------------------------
// receive

int RunReceive(const ReceiveOptions& options, int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // amounts always with a full stop
  QSettingsProfile profile;
  const LinkSettings settings = SettingsFor(profile, options.line);
  const CCasioModel model = ChooseCurrentModel(profile, settings.type);

  // The document is read first: a wrong password or a damaged file shows before the diary
  // has sent anything.
  CDuxelDoc doc;
  std::string error;
  const bool exists = std::filesystem::exists(options.out);
  if (exists && !LoadDocument(options.out, options.password, doc, error)) return Fail(error);
  // Nor may the records be received only to find that they cannot be stored.
  const std::filesystem::path folder =
      std::filesystem::absolute(std::filesystem::path(options.out)).parent_path();
  if (!std::filesystem::is_directory(folder) || ::access(folder.c_str(), W_OK) != 0)
    return Fail(options.out + ": the folder cannot be written to");

  Link link(settings);
  if (!link.engine.openPort()) return Fail(link.observer.lastMessage());
  link.engine.setReceiving(true);

  enum class End { None, Ended, TimedOut, Interrupted, Lost };
  End end = End::None;
  bool reception = false;
  int lastState = 1;
  auto stop = [&](End why) {
    if (end != End::None) return;
    end = why;
    QCoreApplication::exit(0);
  };
  QObject::connect(&link.driver, &LinkDriver::turnDone, [&] {
    if (link.engine.receiveStatus() == 2) reception = true;
    if (link.observer.portLost) {
      // A diary that closes the line right after its transmission (the far end of a
      // pseudo-terminal) has ended it: the receiver was waiting for a new one.
      stop(reception && lastState == 1 ? End::Ended : End::Lost);
      return;
    }
    if (link.port.m_open) lastState = link.port.m_state;
    // The transmission ended and 2 s of silence followed: the link pane shows ready again.
    if (reception && link.engine.receiveStatus() == 1) stop(End::Ended);
  });
  InterruptWatch interrupt([&] { stop(End::Interrupted); });
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, [&] { stop(End::TimedOut); });
  if (options.timeout) timeout.start(TimerMs(*options.timeout));

  link.driver.kick();
  if (end == End::None) qapp.exec();
  link.engine.setReceiving(false);
  link.port.Close();

  bool anything = false;
  for (int mode = 0; mode < kModeCount; ++mode)
    anything = anything || !link.buffer.GetList(mode)->IsEmpty();
  if (!anything) {
    switch (end) {
      case End::Lost:
        return Fail(link.observer.lastMessage());
      case End::Interrupted:
        return Fail("interrupted; nothing was received");
      case End::TimedOut:
        return Fail("nothing was received within " + Seconds(*options.timeout));
      default:
        break;
    }
  }

  const std::string counts =
      link.observer.counts.empty() ? link.observer.status : link.observer.counts;
  // A .dux document holds every mode: what the diary sent is kept even when the chosen
  // diary type lacks its mode (the type is only what the program expected).
  std::vector<std::string> unexpected;
  for (int mode = 0; mode < kModeCount; ++mode)
    if (!model.HasMode(mode) && !link.buffer.GetList(mode)->IsEmpty())
      unexpected.push_back(std::to_string(link.buffer.GetList(mode)->GetCount()) + " of " +
                           ModeName(mode));
  MoveAllToDocument(link.buffer, doc, CCasioModel());
  if (anything || !exists) {
    const DocResult r = doc.SaveFile(options.out);
    if (!r.ok()) return Fail(options.out + ": " + r.reason);
  }
  std::cout << counts << "\n";
  if (!unexpected.empty()) {
    std::string list;
    for (const std::string& item : unexpected) list += (list.empty() ? "" : ", ") + item;
    std::cout << "stored, though the diary type \"" << Utf8FromCp1250(model.m_name)
              << "\" lacks their modes: " << list << "\n";
  }
  // What the program would have shown in message boxes (a worksheet that was too long).
  for (const std::string& note : link.observer.notes) Warn(note);
  WarnBadChecksums(link.engine.badChecksums());

  // "!" from the diary broke the transmission off; it may then have closed the line too.
  if (link.port.m_diaryAborts > 0 && (end == End::Ended || end == End::Lost)) {
    Warn("the diary aborted the transmission; the records received before were stored");
    return kExitDiaryAborted;
  }
  switch (end) {
    case End::Lost:
      return Fail(link.observer.lastMessage() + " The records received so far were stored.");
    case End::Interrupted:
      return Fail("interrupted; the records received so far were stored");
    case End::TimedOut:
      return Fail("the transmission did not end within " + Seconds(*options.timeout) +
                  "; the records received so far were stored");
    default:
      return 0;
  }
}

// ---------------------------------------------------------------------------------------
// send

int RunSend(const SendOptions& options, int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // amounts always with a full stop
  QSettingsProfile profile;
  const LinkSettings settings = SettingsFor(profile, options.line);
  const CCasioModel model = ChooseCurrentModel(profile, settings.type);

  // Which modes: the send dialog's check boxes.
  std::vector<bool> chosen(kModeCount, false);
  if (options.modes == "all") {
    // All means every mode of the text frames; a worksheet goes alone.
    for (int mode = 0; mode < kSpreadSheet; ++mode) chosen[mode] = true;
  } else {
    std::size_t start = 0;
    while (start <= options.modes.size()) {
      const std::size_t comma = std::min(options.modes.find(',', start), options.modes.size());
      const std::string name = options.modes.substr(start, comma - start);
      const int mode = ModeFromSectionName(name);
      if (mode < 0) return Fail("unknown mode \"" + name + "\"");
      chosen[mode] = true;
      start = comma + 1;
    }
    if (chosen[kSpreadSheet])
      for (int mode = 0; mode < kSpreadSheet; ++mode)
        if (chosen[mode])
          return Fail("SpreadSheet goes alone (the first marked worksheet); send " +
                      ModeName(mode) + " separately");
  }

  CDuxelDoc doc;
  std::string error;
  if (!LoadDocument(options.file, options.password, doc, error)) return Fail(error);
  for (int mode = 0; mode < kModeCount; ++mode) {
    const bool has = model.HasMode(mode);
    // A mode the diary type lacks is never sent.
    if (chosen[mode] && !has && options.modes != "all")
      Warn(ModeName(mode) + " is not sent: the diary type \"" + Utf8FromCp1250(model.m_name) +
           "\" has no such mode");
    doc.GetList(mode)->m_selected = chosen[mode] && has ? 1 : 0;
  }

  SendRequest request;
  request.document = &doc;
  request.filter = options.filter == "marked" ? 1 : options.filter == "unmarked" ? 2 : 0;
  request.transferMarks = options.marks;

  Link link(settings);
  if (!link.engine.openPort()) return Fail(link.observer.lastMessage());
  link.engine.setReceiving(false);
  if (!link.engine.startSend(request)) return Fail("the send could not start");

  QObject::connect(&link.driver, &LinkDriver::turnDone, [&] {
    if (link.observer.sendDone) QCoreApplication::exit(0);
  });
  InterruptWatch interrupt([&] {
    link.engine.interruptSend();
    link.driver.kick();
  });
  link.driver.kick();
  if (!link.observer.sendDone) qapp.exec();
  link.port.Close();

  const SendResult& result = link.observer.sendResult;
  const std::string sent = Utf8FromCp1250(LinkStatusText(result.sent, 0, true));
  switch (result.end) {
    case SendEnd::Completed:
      std::cout << sent << "\n";
      return 0;
    case SendEnd::Interrupted:
      return Fail("interrupted; " + sent);
    case SendEnd::NoMarkedSheet:
    case SendEnd::NoHandshake:
      return Fail(link.observer.lastMessage());
    case SendEnd::PortLost:
      return Fail(link.observer.lastMessage() + " " + sent);
    case SendEnd::NoAcknowledge:
      return Fail("the diary did not acknowledge record " + std::to_string(result.sent + 1) + "; " +
                  sent);
    case SendEnd::WriteFailed:
      return Fail("a character could not be written to the line; " + sent);
    case SendEnd::RecordFailed:
      return Fail("record " + std::to_string(result.sent + 1) +
                  " could not be turned into diary items; " + sent);
  }
  return 1;
}

// ---------------------------------------------------------------------------------------
// capture

int RunCapture(const CaptureOptions& options, int argc, char** argv) {
  QCoreApplication qapp(argc, argv);
  std::setlocale(LC_NUMERIC, "C");  // amounts always with a full stop
  QSettingsProfile profile;
  const LinkSettings settings = SettingsFor(profile, options.line);

  Link link(settings);
  if (!link.engine.openPort()) return Fail(link.observer.lastMessage());
  std::string error;
  if (!link.engine.startCapture(options.out, &error)) return Fail(options.out + ": " + error);

  bool timedOut = false;
  bool interrupted = false;
  QObject::connect(&link.driver, &LinkDriver::turnDone, [&] {
    if (link.observer.captureDone) QCoreApplication::exit(0);
  });
  InterruptWatch interrupt([&] {
    interrupted = true;
    link.engine.stopCapture();
    link.driver.kick();
  });
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, [&] {
    timedOut = true;
    link.engine.stopCapture();
    link.driver.kick();
  });
  if (options.timeout) timeout.start(TimerMs(*options.timeout));
  link.driver.kick();
  if (!link.observer.captureDone) qapp.exec();
  link.port.Close();

  const CaptureResult& result = link.observer.captureResult;
  std::cout << Utf8FromCp1250(LinkStatusText(result.records, 0, false)) << "\n";
  WarnBadChecksums(result.badChecksums);
  switch (result.end) {
    case CaptureEnd::TransmissionEnded:
      return 0;
    case CaptureEnd::DiaryAborted:
      Warn("the diary aborted the transmission; what came before it was written");
      return kExitDiaryAborted;
    case CaptureEnd::Stopped:
      if (timedOut)
        return Fail("the transmission did not end within " + Seconds(*options.timeout) +
                    "; the capture was stopped");
      return interrupted ? Fail("interrupted; the capture was stopped") : 0;
    case CaptureEnd::WriteFailed:
      return Fail("a character could not be written to the line");
    case CaptureEnd::FileFailed:
      return Fail(options.out + ": the capture file could not be written");
    case CaptureEnd::PortLost:
      return Fail(link.observer.lastMessage());
  }
  return 1;
}
