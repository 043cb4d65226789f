// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the link tests share: an observer that records what the user would see, a harness
// with a fake clock, an in-memory line and the engine, and a scripted diary.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/LinkObserver.h"
#include "link/MemoryLine.h"
#include "link/ReceiveBuffer.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"
#include "settings/LinkSettings.h"

namespace linktest {

inline CcMemo* Memo(const std::string& text, int mark = 0) {
  auto* r = new CcMemo;
  r->m_text = text;
  r->m_mark = uint16_t(mark);
  return r;
}

// Printable form of line bytes: controls as <CR>, <LF>, <XON>, <NAK>, ... others as they are.
inline std::string Show(const std::vector<uint8_t>& bytes) {
  std::string out;
  for (uint8_t b : bytes) {
    const char* name = b == 13 ? "CR" : b == 10 ? "LF" : b == 17 ? "XON" : b == 0x15 ? "NAK"
                     : b == 0x06 ? "ACK" : b == 0x01 ? "SOH" : b == 0x04 ? "EOT" : nullptr;
    char hex[8];
    std::snprintf(hex, sizeof hex, "<%02X>", b);
    if (name) out += std::string("<") + name + ">";
    else if (b >= 0x20 && b < 0x7F) out += char(b);
    else out += hex;
  }
  return out;
}

// One run of bytes expected on the line: the first at `at`, each next `step` ms later.
struct Burst {
  int64_t at;
  std::string bytes;
  int step;
};

// "time:<byte>" lines of a log of written bytes, for whole-value comparisons.
inline std::vector<std::string> Timeline(const std::vector<MemoryLine::Written>& written) {
  std::vector<std::string> out;
  for (const auto& w : written) out.push_back(std::to_string(w.at) + ":" + Show({w.byte}));
  return out;
}

inline std::vector<std::string> Timeline(const std::vector<Burst>& runs) {
  std::vector<std::string> out;
  for (const Burst& r : runs)
    for (std::size_t i = 0; i < r.bytes.size(); ++i)
      out.push_back(std::to_string(r.at + int64_t(i) * r.step) + ":" + Show({uint8_t(r.bytes[i])}));
  return out;
}

// Records what the user would see and hear.
class FakeObserver : public LinkObserver {
 public:
  struct Message {
    int id;
    std::string detail;
    MessageIcon icon;
    bool operator==(const Message&) const = default;
  };

  void statusText(const std::string& text) override {
    statuses.push_back(Utf8FromCp1250(text));
    events.push_back("status " + Utf8FromCp1250(text));
  }
  void message(int id, const std::string& detail, MessageIcon icon) override {
    messages.push_back({id, Utf8FromCp1250(detail), icon});
    events.push_back("message " + std::to_string(id));
    if (onMessage) onMessage();
  }
  void beep() override {
    ++beeps;
    events.push_back("beep");
  }
  bool isBufferWindowOpen() const override { return windowOpen; }
  void openBufferWindow() override {
    windowOpen = true;
    events.push_back("open window");
  }
  void closeBufferWindow() override {
    windowOpen = false;
    events.push_back("close window");
    if (engine) engine->bufferWindowClosed();
  }
  void refreshBufferWindow() override { ++refreshes; }
  void sheetSent(CDuxelDoc&, CCasioPol&) override { events.push_back("sheet sent"); }
  void sendFinished(const SendResult& result) override { finished.push_back(result); }
  void badChecksum(int total) override { checksumReports.push_back(total); }
  void captureProgress(int records) override { progress.push_back(records); }
  void captureFinished(const CaptureResult& result) override { captures.push_back(result); }

  // The user closes the buffer window.
  void userClosesWindow() {
    windowOpen = false;
    events.push_back("user closes window");
    if (engine) engine->bufferWindowClosed();
  }

  LinkEngine* engine = nullptr;
  std::function<void()> onMessage;
  std::vector<std::string> statuses;  // UTF-8
  std::vector<std::string> events;
  std::vector<Message> messages;
  std::vector<SendResult> finished;
  std::vector<int> checksumReports;
  std::vector<int> progress;
  std::vector<CaptureResult> captures;
  int beeps = 0;
  int refreshes = 0;
  bool windowOpen = false;
};

// A diary at the far end of the line. It answers the program's bytes the moment they
// arrive: XON to a line end during the wake-up, "#" to an end-of-record frame, ACK to NAK,
// to a complete block and to EOT. Each answer can be switched off; every frame and block it
// took is kept.
class TestDiary {
 public:
  bool answerWakeUp = true;
  bool answerHash = true;
  bool answerAck = true;
  std::string hashAnswer = "#";              // what it sends for an end of record
  std::vector<std::string> frames;           // ":..." texts, without the colon
  std::vector<std::vector<uint8_t>> blocks;  // SOH ... checksum
  int lineEnds = 0;

  // Reads what the program wrote since the last call; true when it wrote an answer.
  bool react(MemoryLine& line) {
    bool answered = false;
    for (uint8_t b : line.readAll()) answered = take(line, b) || answered;
    return answered;
  }

 private:
  bool take(MemoryLine& line, uint8_t b) {
    if (m_inBlock) {
      m_block.push_back(b);
      if (m_block.size() >= 4 && m_block.size() == std::size_t(m_block[3]) + 5) {
        blocks.push_back(m_block);
        m_inBlock = false;
        return answerAck && line.writeByte(0x06);
      }
      return false;
    }
    if (m_inFrame) {
      m_frame += char(b);
      if (m_frame.size() == 2) m_length = std::stoi(m_frame, nullptr, 16);
      if (m_frame.size() >= 2 && m_frame.size() == std::size_t(2 * m_length + 10)) {
        frames.push_back(m_frame);
        m_inFrame = false;
        if (m_frame.substr(6, 2) == "01" && answerHash) return line.writeText(hashAnswer);
      }
      return false;
    }
    if (b == ':') {
      m_inFrame = true;
      m_frame.clear();
      return false;
    }
    if (b == 10 || b == 13) {
      ++lineEnds;
      return b == 10 && answerWakeUp && line.writeByte(17);
    }
    if (b == 0x15) {
      m_blockMode = true;
      return answerWakeUp && line.writeByte(0x06);
    }
    if (m_blockMode && b == 0x01) {
      m_inBlock = true;
      m_block = {b};
      return false;
    }
    if (m_blockMode && b == 0x04) return answerAck && line.writeByte(0x06);
    return false;
  }

  bool m_inFrame = false;
  bool m_inBlock = false;
  bool m_blockMode = false;
  std::string m_frame;
  int m_length = 0;
  std::vector<uint8_t> m_block;
};

// The program's side: port, buffer, observer and engine over one end of a memory line,
// with a clock the test moves.
class Harness {
 public:
  explicit Harness(int delay = 10, bool open = true) {
    auto pair = MemoryLine::makePair();
    pc = std::move(pair.first);
    diary = std::move(pair.second);
    pc->setClock([this] { return now; });
    diary->setClock([this] { return now; });
    port = std::make_unique<CCasioPort>(*pc);
    engine = std::make_unique<LinkEngine>(*port, buffer, observer);
    observer.engine = engine.get();
    settings.delay = delay;
    settings.devices = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS1"};
    engine->applySettings(settings);
    if (open) {
      EXPECT_TRUE(engine->openPort());
    }
  }

  // Runs the engine as an event loop would: at each time it asks for, and again at once
  // whenever the diary answered. Stops when the engine has nothing due before `until`;
  // the clock then stands at `until`.
  void runUntil(int64_t until, TestDiary* peer = nullptr) {
    for (int guard = 0; guard < 2000000; ++guard) {
      const int64_t wake = engine->run(now);
      if (peer && peer->react(*diary)) continue;
      if (wake == LinkEngine::kNoDeadline || wake > until) {
        now = until;
        return;
      }
      now = std::max(now, wake);
    }
    ADD_FAILURE() << "the engine never settled";
  }

  // Runs until the send has ended (or `limit` passed).
  void runSend(TestDiary* peer, int64_t limit = 10000000) {
    for (int guard = 0; guard < 2000000 && engine->isSending(); ++guard) {
      const int64_t wake = engine->run(now);
      if (peer && peer->react(*diary)) continue;
      if (!engine->isSending()) return;
      if (wake == LinkEngine::kNoDeadline || wake > limit) {
        ADD_FAILURE() << "the send waits for nothing at " << now;
        return;
      }
      now = std::max(now, wake);
    }
  }

  // The diary writes `text`; the engine runs at once, as on readyRead.
  void diarySends(const std::string& text) {
    diary->writeText(text);
    engine->run(now);
  }
  void diarySends(const std::vector<uint8_t>& bytes) {
    diary->writeBytes(bytes);
    engine->run(now);
  }
  // What the program answered since the last call.
  std::string answers() {
    const std::vector<uint8_t> bytes = diary->readAll();
    return Show(bytes);
  }

  int64_t now = 0;
  std::unique_ptr<MemoryLine> pc;
  std::unique_ptr<MemoryLine> diary;
  std::unique_ptr<CCasioPort> port;
  ReceiveBuffer buffer;
  FakeObserver observer;
  std::unique_ptr<LinkEngine> engine;
  LinkSettings settings;
};

}  // namespace linktest
