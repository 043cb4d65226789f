// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/LinkSettings.h"

namespace {

constexpr const char* kCasio = "Casio";
constexpr const char* kDuxel = "Duxel";

bool EqualsNoCase(const std::string& text, const char* word) {
  std::size_t i = 0;
  for (; word[i]; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != word[i]) return false;
  }
  return i == text.size();
}

bool ReadSwitch(const Profile& profile, const char* section, const char* key, bool onUnlessNo) {
  std::string text;
  if (!profile.readString(section, key, text)) return onUnlessNo;
  return onUnlessNo ? OnUnlessNo(text) : OnlyIfYes(text);
}

}  // namespace

std::array<std::string, 4> FallbackDevicePaths() {
  return {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3"};
}

// Only the digit after "COM" counts, so "COM12" means COM1 and "COM7" falls back to COM1.
int ParsePortText(const std::string& text) {
  if (text.size() < 4) return 1;
  const int port = text[3] - '0';
  return port >= 1 && port <= 4 ? port : 1;
}

int CheckBaud(int baud) {
  return baud == 1200 || baud == 2400 || baud == 4800 || baud == 9600 ? baud : 1200;
}

int CheckBits(int bits) { return bits == 7 || bits == 8 ? bits : 8; }

int ParseParityText(const std::string& text) {
  if (EqualsNoCase(text, "odd")) return 1;
  if (EqualsNoCase(text, "even")) return 2;
  return 0;
}

int CheckDelay(int delay) { return delay >= 1 && delay <= 25 ? delay : 10; }

bool OnUnlessNo(const std::string& text) { return !EqualsNoCase(text, "no"); }
bool OnlyIfYes(const std::string& text) { return EqualsNoCase(text, "yes"); }

std::string FormatPortText(int port) { return "COM" + std::to_string(port); }

std::string FormatParityText(int parity) {
  return parity == 1 ? "odd" : parity == 2 ? "even" : "none";
}

const char* YesNo(bool on) { return on ? "yes" : "no"; }

LinkSettings LoadLinkSettings(const Profile& profile,
                              const std::array<std::string, 4>& defaultDevices) {
  LinkSettings s;
  s.type = profile.getString(kCasio, "Type", "");
  s.port = ParsePortText(profile.getString(kCasio, "Port", "COM1"));
  s.baud = CheckBaud(profile.getInt(kCasio, "Baud", 1200));
  s.bits = CheckBits(profile.getInt(kCasio, "Bits", 8));
  s.parity = ParseParityText(profile.getString(kCasio, "Parity", "none"));
  s.delay = CheckDelay(profile.getInt(kCasio, "Delay", 10));
  s.autoreceive = ReadSwitch(profile, kCasio, "Autoreceive", true);
  for (int i = 0; i < 4; ++i) {
    std::string device = profile.getString(kCasio, "Device" + std::to_string(i + 1), "");
    s.devices[i] = device.empty() ? defaultDevices[i] : device;
  }
  s.convertM2C = ReadSwitch(profile, kDuxel, "ConvertM2C", true);
  s.convertC2M = ReadSwitch(profile, kDuxel, "ConvertC2M", true);
  s.autoOpenBuffer = ReadSwitch(profile, kDuxel, "AutoOpenBuffer", false);
  s.autoCloseBuffer = ReadSwitch(profile, kDuxel, "AutoCloseBuffer", false);
  return s;
}

bool SaveCasioSection(Profile& profile, const LinkSettings& s) {
  bool ok = profile.writeString(kCasio, "Type", s.type);
  ok = profile.writeInt(kCasio, "Delay", s.delay) && ok;
  ok = profile.writeString(kCasio, "Autoreceive", YesNo(s.autoreceive)) && ok;
  ok = profile.writeInt(kCasio, "Bits", s.bits) && ok;
  ok = profile.writeInt(kCasio, "Baud", s.baud) && ok;
  ok = profile.writeString(kCasio, "Port", FormatPortText(s.port)) && ok;
  ok = profile.writeString(kCasio, "Parity", FormatParityText(s.parity)) && ok;
  for (int i = 0; i < 4; ++i)
    ok = profile.writeString(kCasio, "Device" + std::to_string(i + 1), s.devices[i]) && ok;
  return ok;
}

bool SaveDuxelLinkKeys(Profile& profile, const LinkSettings& s) {
  bool ok = profile.writeString(kDuxel, "ConvertM2C", YesNo(s.convertM2C));
  ok = profile.writeString(kDuxel, "ConvertC2M", YesNo(s.convertC2M)) && ok;
  ok = profile.writeString(kDuxel, "AutoOpenBuffer", YesNo(s.autoOpenBuffer)) && ok;
  ok = profile.writeString(kDuxel, "AutoCloseBuffer", YesNo(s.autoCloseBuffer)) && ok;
  return ok;
}
