// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtadapters/QSettingsProfile.h"

#include <QSerialPortInfo>
#include <QStringList>
#include <algorithm>

#include "records/Cp1250.h"
#include "settings/LinkSettings.h"

namespace {

QString Q(const std::string& cp1250) { return QString::fromStdString(Utf8FromCp1250(cp1250)); }

std::string Cp(const QString& text) { return Cp1250FromUtf16(text.toStdU16String()); }

// QSettings takes "/" and "\\" in a key for group separators, but names the user types
// (diary types, field mappings) may hold them. They are kept as %2F and %5C, and "%" as
// %25, so that exactly the typed name comes back.
QString EncodeKey(const QString& key) {
  QString encoded;
  encoded.reserve(key.size());
  for (const QChar c : key) {
    if (c == QLatin1Char('%'))
      encoded += QLatin1String("%25");
    else if (c == QLatin1Char('/'))
      encoded += QLatin1String("%2F");
    else if (c == QLatin1Char('\\'))
      encoded += QLatin1String("%5C");
    else
      encoded += c;
  }
  return encoded;
}

// Any other "%" (a key written by hand) stays as it is.
QString DecodeKey(const QString& key) {
  QString decoded;
  decoded.reserve(key.size());
  for (qsizetype i = 0; i < key.size(); ++i) {
    const QString code = key.mid(i, 3).toUpper();
    if (code == QLatin1String("%25") || code == QLatin1String("%2F") ||
        code == QLatin1String("%5C")) {
      decoded += code == QLatin1String("%25")   ? QLatin1Char('%')
                 : code == QLatin1String("%2F") ? QLatin1Char('/')
                                                : QLatin1Char('\\');
      i += 2;
    } else {
      decoded += key[i];
    }
  }
  return decoded;
}

QString KeyPath(const std::string& section, const std::string& key) {
  return Q(section) + QLatin1Char('/') + EncodeKey(Q(key));
}

}  // namespace

QSettingsProfile::QSettingsProfile()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("VORT"), QStringLiteral("Duxel39"))) {}

QSettingsProfile::QSettingsProfile(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat)) {}

bool QSettingsProfile::commit() {
  m_settings->sync();
  return m_settings->status() == QSettings::NoError;
}

bool QSettingsProfile::readString(const std::string& section, const std::string& key,
                                  std::string& value) const {
  const QVariant v = m_settings->value(KeyPath(section, key));
  if (!v.isValid()) return false;
  // An INI value with unquoted commas (a diary type written by hand, "16,1200,...") reads
  // as a list; the profile means the text as it stands.
  if (v.typeId() == QMetaType::QStringList) {
    value = Cp(v.toStringList().join(QLatin1Char(',')));
    return true;
  }
  if (!v.canConvert<QString>()) return false;
  value = Cp(v.toString());
  return true;
}

bool QSettingsProfile::writeString(const std::string& section, const std::string& key,
                                   const std::string& value) {
  if (!m_settings->isWritable()) return false;
  m_settings->setValue(KeyPath(section, key), Q(value));
  return commit();
}

std::vector<std::string> QSettingsProfile::valueNames(const std::string& section) const {
  m_settings->beginGroup(Q(section));
  const QStringList keys = m_settings->childKeys();
  m_settings->endGroup();
  std::vector<std::string> names;
  names.reserve(keys.size());
  for (const QString& k : keys) names.push_back(Cp(DecodeKey(k)));
  return names;
}

bool QSettingsProfile::deleteValue(const std::string& section, const std::string& key) {
  if (!m_settings->isWritable()) return false;
  m_settings->remove(KeyPath(section, key));
  return commit();
}

bool QSettingsProfile::deleteSection(const std::string& section) {
  if (!m_settings->isWritable()) return false;
  m_settings->remove(Q(section));
  return commit();
}

std::array<std::string, 4> SystemDevicePaths() {
  std::vector<QString> usb;
  std::vector<QString> other;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    const QString path = info.systemLocation();
    if (info.hasVendorIdentifier() || path.contains(QLatin1String("USB")) ||
        path.contains(QLatin1String("ACM")))
      usb.push_back(path);
    else
      other.push_back(path);
  }
  // ttyUSB2 before ttyUSB10: shorter names first, then by name.
  const auto byName = [](const QString& a, const QString& b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
  };
  std::sort(usb.begin(), usb.end(), byName);
  std::sort(other.begin(), other.end(), byName);
  usb.insert(usb.end(), other.begin(), other.end());

  std::array<std::string, 4> devices;
  std::size_t next = 0;
  for (const QString& path : usb) {
    if (next == devices.size()) break;
    devices[next++] = Cp(path);
  }
  // The fall-backs fill the rest, each device once.
  for (const std::string& fallback : FallbackDevicePaths()) {
    if (next == devices.size()) break;
    if (std::find(devices.begin(), devices.begin() + next, fallback) == devices.begin() + next)
      devices[next++] = fallback;
  }
  return devices;
}
