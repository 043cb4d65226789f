// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSerialPort>
#include <string>

#include "link/SerialLine.h"

// The serial line over Qt Serial Port: a real device (a USB adapter, /dev/ttyS0) or a
// pseudo-terminal. Input arrives through the Qt event loop: the port reads what the system
// holds into its own buffer and emits readyRead, so queued() counts what the loop has
// fetched. Nothing here waits.
//
// A device that goes away (a USB adapter pulled out) or whose other end hangs up (the far
// side of a pseudo-terminal closed) makes the line lost: the port is closed so that the
// system stops reporting it, and every later read and write fails.
class QtSerialLine : public SerialLine {
 public:
  QtSerialLine();
  ~QtSerialLine() override;
  QtSerialLine(const QtSerialLine&) = delete;
  QtSerialLine& operator=(const QtSerialLine&) = delete;

  LineResult open(const std::string& device, const LineSettings& settings) override;
  bool close() override;
  bool isOpen() const override;
  int queued() override;
  int read(uint8_t* buffer, int n) override;
  bool writeByte(uint8_t byte) override;
  bool purge() override;
  LineResult setDtr() override;
  LineResult setRts() override;
  bool resourceLost() const override { return m_lost; }

  // The port, for its readyRead and errorOccurred signals (a driver runs the engine on both).
  QSerialPort& port() { return m_port; }

 private:
  void onError(QSerialPort::SerialPortError error);
  bool peerHungUp() const;
  void markLost();
  LineResult modemLine(bool dtr);

  QSerialPort m_port;
  std::string m_device;
  bool m_lost = false;
  int m_errorsInRow = 0;
};

// The group that owns the device at `path` (symbolic links followed); empty when unknown.
std::string DeviceGroup(const std::string& path);

// What stands between this user and a device, as far as the system's permissions tell.
struct DevicePermissions {
  unsigned mode = 0;       // the permission bits (0660 ...)
  std::string owner;       // names, Windows-1250; a number when the name is unknown
  std::string group;
  bool isOwner = false;    // the user owns the device
  bool groupNow = false;   // the running program has the device's group
  bool groupListed = false;  // the group database lists the user in it (maybe since the login)
  bool root = false;
};

// The advice for a device these permissions keep the user from reading and writing
// (Windows-1250): join the group, when its members may read and write; log in again, when the
// user was added to that group after logging in; else the owner, group and permissions, which
// only the administrator can change. Empty when the permissions allow both.
std::string AccessAdvice(const DevicePermissions& permissions);

struct PortAccess {
  bool exists = false;
  bool mayOpen = false;     // this user may read and write it
  std::string group;        // the group to join, when joining it would give access
  std::string advice;       // Windows-1250; empty when the user may open it or it is missing
};

// Whether this user may open the serial device `device` (symbolic links followed), and when
// not, why and what would help. The one place the program's dialogs and duxel-cli take this
// advice from.
PortAccess CheckPortAccess(const std::string& device);
// CheckPortAccess(device).advice.
std::string PortAccessAdvice(const std::string& device);
