// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PortAdvice.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QSerialPortInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "qtadapters/QtSerialLine.h"
#include "records/Cp1250.h"
#include "views/GuiText.h"
#include "views/Messages.h"

namespace {

QString UserName() {
  const QString user = qEnvironmentVariable("USER");
  return user.isEmpty() ? QStringLiteral("$USER") : user;
}

// The group that owns the device.
std::string GroupForAdvice(const std::string& path) { return DeviceGroup(path); }

// What the user can do about a device they may not open. Every piece of advice of the
// program's windows comes from here, so that the serial line's own advice (naming the group
// only where joining it would help) takes its place in this one spot.
QString PermissionAdvice(const std::string& device, const std::string& knownGroup) {
  const PortAccess access = CheckPortAccess(device);
  // Joining a group helps only when its members may read and write the device; otherwise the
  // serial line's advice says what the permissions are and who can change them.
  const std::string group = !access.group.empty() ? access.group : knownGroup;
  if (group.empty() || (access.exists && access.group.empty()))
    return QStringFromCp1250(access.advice);
  return QStringLiteral(
             "Zařízení patří skupině %1, přidejte se do ní:\n"
             "  sudo usermod -a -G %1 %2\n"
             "a pak se odhlaste a znovu přihlaste.")
      .arg(QStringFromCp1250(group), UserName());
}

}  // namespace

QList<SerialPortChoice> ListSerialPorts() {
  QList<SerialPortChoice> usb;
  QList<SerialPortChoice> other;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    SerialPortChoice choice{info.systemLocation(), info.description()};
    if (!info.manufacturer().isEmpty() && !choice.description.contains(info.manufacturer()))
      choice.description = info.manufacturer() + QLatin1Char(' ') + choice.description;
    if (choice.description.trimmed().isEmpty()) choice.description = info.portName();
    (info.hasVendorIdentifier() ? usb : other).append(choice);
  }
  // ttyUSB2 before ttyUSB10: shorter names first, then by name.
  const auto byName = [](const SerialPortChoice& a, const SerialPortChoice& b) {
    return a.path.size() != b.path.size() ? a.path.size() < b.path.size() : a.path < b.path;
  };
  std::sort(usb.begin(), usb.end(), byName);
  std::sort(other.begin(), other.end(), byName);
  return usb + other;
}

LineResult CheckDeviceAccess(const std::string& path) {
  if (path.empty()) return {LineError::NotFound, Cp1250FromUtf8(std::strerror(ENOENT)), {}};
  const QByteArray system = QFile::encodeName(QStringFromCp1250(path));
  struct stat st {};
  if (::stat(system.constData(), &st) != 0) {
    const int error = errno;
    return {error == EACCES ? LineError::PermissionDenied : LineError::NotFound,
            path + ": " + Cp1250FromUtf8(std::strerror(error)),
            error == EACCES ? GroupForAdvice(path) : std::string()};
  }
  if (!S_ISCHR(st.st_mode))
    return {LineError::Other, path + ": " + Cp1250FromUtf8(std::strerror(ENOTTY)), {}};
  if (::access(system.constData(), R_OK | W_OK) != 0) {
    const int error = errno;
    return {error == EACCES ? LineError::PermissionDenied : LineError::Other,
            path + ": " + Cp1250FromUtf8(std::strerror(error)),
            error == EACCES ? GroupForAdvice(path) : std::string()};
  }
  return {};
}

QString PortFailureDetail(const std::string& device, const LineResult& result) {
  if (result.ok()) return {};
  QString detail = QStringFromCp1250(result.reason);
  if (result.error == LineError::PermissionDenied) {
    const QString hint = PermissionAdvice(device, result.deviceGroup);
    if (!hint.isEmpty()) detail += detail.isEmpty() ? hint : QStringLiteral("\n") + hint;
  }
  return detail;
}

void ShowPortOpenFailed(QWidget* parent, const std::string& device, const LineResult& result) {
  QApplication::beep();
  // The reason and the advice stay in view: hidden details would be missed.
  const QString detail = PortFailureDetail(device, result);
  AskMessage(parent, QMessageBox::Critical,
             UiText(IDS_PORT_OPEN_FAILED) + (detail.isEmpty() ? QString() : "\n\n" + detail));
}
