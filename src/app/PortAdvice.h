// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QList>
#include <QString>

#include "link/SerialLine.h"

class QWidget;

// A serial port the system lists: its device path and what the system says it is (the USB
// adapter's product name, "ttyS0" ...).
struct SerialPortChoice {
  QString path;
  QString description;
};

// The serial ports of the system, USB adapters first; pseudo-terminals are never listed
// (type their path).
QList<SerialPortChoice> ListSerialPorts();

// Whether the device at `path` (core text) could be opened, found out without opening it
// (an open port of the program stays undisturbed): missing, not a device the user may read
// and write, or fine. A permission problem carries the device's group.
LineResult CheckDeviceAccess(const std::string& path);

// The details of a port that cannot be opened: the system's reason and, when the user lacks
// the permission to open `device` (core text), the group that owns it and how to join it.
// Empty for success.
QString PortFailureDetail(const std::string& device, const LineResult& result);

// Beeps and shows message 130 ("Nejde otevřít sériové rozhraní. ...") with the stop icon,
// followed after an empty line by PortFailureDetail.
void ShowPortOpenFailed(QWidget* parent, const std::string& device, const LineResult& result);
