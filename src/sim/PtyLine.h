// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>
#include <string>

#include "link/SerialLine.h"

// The simulator's end of a pseudo-terminal: the master side of a pair whose slave device
// is linked at a path for the program to open as its serial port. Both ends are raw. The
// simulator keeps the slave open as well, so the line stays up while the program opens and
// closes its side, and so that it can see how much of what it wrote the program has not
// read yet (the system discards that when the master closes).
class PtyLine : public QObject, public SerialLine {
  Q_OBJECT

 public:
  PtyLine() = default;
  ~PtyLine() override;

  // Makes the pair and links `linkPath` to the slave (an existing link is replaced). False
  // with `error` set when that fails.
  bool create(const std::string& linkPath, std::string* error);
  // The slave device's own path.
  const std::string& slavePath() const { return m_slavePath; }

  // The line is open from create() on; open() only reports that.
  LineResult open(const std::string& device, const LineSettings& settings) override;
  bool close() override;
  bool isOpen() const override { return m_master >= 0; }
  int queued() override;
  int read(uint8_t* buffer, int n) override;
  bool writeByte(uint8_t byte) override;
  bool purge() override;
  LineResult setDtr() override { return {}; }
  LineResult setRts() override { return {}; }
  bool resourceLost() const override { return false; }

  // Bytes written here that the program has not read yet.
  int unreadByPeer() const;

 signals:
  void readable();

 private:
  int m_master = -1;
  int m_slave = -1;
  std::string m_slavePath;
  std::string m_linkPath;
  std::unique_ptr<QSocketNotifier> m_notifier;
};
