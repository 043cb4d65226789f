// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSettings>
#include <memory>
#include <string>
#include <vector>

#include "settings/Profile.h"

// The user's profile over QSettings: organisation "VORT", application "Duxel39" (on Linux
// the INI file ~/.config/VORT/Duxel39.conf, on Windows the registry). A section is a
// settings group. The core's Windows-1250 texts are stored as Unicode and converted at
// this boundary, both ways.
class QSettingsProfile : public Profile {
 public:
  QSettingsProfile();
  // A profile kept in the INI file at `iniPath` (tests, portable setups).
  explicit QSettingsProfile(const QString& iniPath);

  bool readString(const std::string& section, const std::string& key,
                  std::string& value) const override;
  bool writeString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> valueNames(const std::string& section) const override;
  bool deleteValue(const std::string& section, const std::string& key) override;
  bool deleteSection(const std::string& section) override;

  // Where the profile is stored (a file name, or the registry path).
  QString location() const { return m_settings->fileName(); }

 private:
  bool commit();

  std::unique_ptr<QSettings> m_settings;
};

// The device each of COM1..COM4 stands for when the profile names none: the serial ports
// the system lists, USB adapters first, then the rest by name; the places left over are
// filled with the fall-back paths of the settings model.
std::array<std::string, 4> SystemDevicePaths();
