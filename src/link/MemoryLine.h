// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/SerialLine.h"

// One end of an in-memory serial line. Two ends made by MemoryLine::makePair see what the
// other wrote, in order, the moment it is written. Each end logs what it wrote with the
// time of a clock the test supplies, and faults can be injected: failing opens, failing
// writes after a number of bytes, modem lines that cannot be raised, a device that vanishes.
class MemoryLine : public SerialLine {
 public:
  struct Written {
    int64_t at;
    uint8_t byte;
  };

  // A connected pair. The first end starts closed (the program opens it), the second open
  // (the test plays the diary on it without opening).
  static std::pair<std::unique_ptr<MemoryLine>, std::unique_ptr<MemoryLine>> makePair();

  LineResult open(const std::string& device, const LineSettings& settings) override;
  bool close() override;
  bool isOpen() const override { return m_open; }
  int queued() override;
  int read(uint8_t* buffer, int n) override;
  bool writeByte(uint8_t byte) override;
  bool purge() override;
  LineResult setDtr() override;
  LineResult setRts() override;
  bool resourceLost() const override { return m_lost; }

  // Writes a whole text (the diary's side of a test); false when a byte failed.
  bool writeBytes(const std::vector<uint8_t>& bytes);
  bool writeText(const std::string& text);
  // Everything waiting to be read, read at once.
  std::vector<uint8_t> readAll();

  // The clock that stamps the log of written bytes.
  void setClock(std::function<int64_t()> clock) { m_clock = std::move(clock); }
  const std::vector<Written>& written() const { return m_written; }
  // The written bytes without their times.
  std::vector<uint8_t> writtenBytes() const;
  void clearWritten() { m_written.clear(); }

  // Faults. The next opens fail with `result` (until cleared with a default LineResult).
  void setOpenResult(LineResult result) { m_openResult = std::move(result); }
  // Raising DTR (or RTS) fails with `result`.
  void setDtrResult(LineResult result) { m_dtrResult = std::move(result); }
  void setRtsResult(LineResult result) { m_rtsResult = std::move(result); }
  // After `count` more bytes every write fails (a line error, the device stays).
  void failWritesAfter(int count) { m_writesLeft = count; }
  // The device disappears: every later read and write fails and resourceLost() is true.
  void vanish() { m_lost = true; }

  // What the last open asked for, and how often the queues were purged.
  const std::string& openedDevice() const { return m_device; }
  const LineSettings& openedSettings() const { return m_settings; }
  int purgeCount() const { return m_purges; }
  bool dtr() const { return m_dtr; }
  bool rts() const { return m_rts; }

 private:
  MemoryLine* m_peer = nullptr;
  std::deque<uint8_t> m_input;
  std::vector<Written> m_written;
  std::function<int64_t()> m_clock;
  bool m_open = false;
  bool m_lost = false;
  bool m_dtr = false;
  bool m_rts = false;
  int m_writesLeft = -1;  // -1: no limit
  int m_purges = 0;
  LineResult m_openResult;
  LineResult m_dtrResult;
  LineResult m_rtsResult;
  std::string m_device;
  LineSettings m_settings;
};
