// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>
#include <array>

#include "app/PortAdvice.h"
#include "settings/LinkSettings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// "Parametry přenosu": parity, data bits, line speed, port and character delay of the
// diary link, and the device each of COM1..COM4 stands for, chosen from the ports the
// system lists or typed (a pseudo-terminal, a device the system does not list).
//
// The dialog only edits a copy: after exec() returns Accepted, settings() holds the choice;
// the caller stores it, reopens the port (CCasioPort::ApplySettings + OpenFromSettings) and
// switches receiving off when that fails (ShowPortOpenFailed shows the reason).
class TransferDialog : public QDialog {
  Q_OBJECT
 public:
  // `maxSpeed` is the current diary type's top rate: a stored rate above it is lowered to it
  // and the faster rates are disabled. `ports` fills the device lists.
  TransferDialog(const LinkSettings& settings, int maxSpeed, QWidget* parent = nullptr,
                 const QList<SerialPortChoice>& ports = ListSerialPorts());

  // The settings with the dialog's choices: port, baud, bits, parity, delay, devices; the
  // other members as given.
  LinkSettings settings() const;

  void accept() override;

 private:
  void showDeviceState();

  LinkSettings m_settings;
  QList<SerialPortChoice> m_ports;
  std::array<QRadioButton*, 3> m_parity{};
  std::array<QRadioButton*, 2> m_bits{};
  std::array<QRadioButton*, 4> m_baud{};
  std::array<QRadioButton*, 4> m_port{};
  std::array<QComboBox*, 4> m_device{};
  std::array<QLabel*, 4> m_deviceNote{};
  QLineEdit* m_delay = nullptr;
  QLabel* m_deviceState = nullptr;
};
