// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "settings/Profile.h"

// Device paths used for COM1..COM4 when the profile names none and the caller knows no
// better (the GUI passes the ports the system lists): the first USB serial adapters.
std::array<std::string, 4> FallbackDevicePaths();

// The settings of the diary link: section "Casio" (type, line, delay, receiving, and our own
// "Device1".."Device4", the device each of COM1..COM4 stands for) and the link's keys of
// section "Duxel" (character conversions, automatic buffer window).
struct LinkSettings {
  std::string type;  // name of the current diary type; empty when none was chosen
  int port = 1;      // 1..4 for COM1..COM4
  int baud = 1200;   // 1200, 2400, 4800 or 9600
  int bits = 8;      // 7 or 8
  int parity = 0;    // 0 none, 1 odd, 2 even
  int delay = 10;    // character delay in milliseconds, 1..25
  bool autoreceive = true;
  std::array<std::string, 4> devices = FallbackDevicePaths();  // device of COM1..COM4
  bool convertM2C = true;  // PC text to the diary's character set when sending
  bool convertC2M = true;  // received text to the PC's character set
  bool autoOpenBuffer = false;
  bool autoCloseBuffer = false;

  // The device path of the chosen port.
  const std::string& device() const { return devices[port - 1]; }
};

// Reading rules of the stored texts, each with its fall-back.
int ParsePortText(const std::string& text);    // fourth character 1..4, else 1
int CheckBaud(int baud);                       // one of the four rates, else 1200
int CheckBits(int bits);                       // 7 or 8, else 8
int ParseParityText(const std::string& text);  // "odd" 1, "even" 2 (any case), else 0
int CheckDelay(int delay);                     // 1..25, else 10
bool OnUnlessNo(const std::string& text);      // any text but "no" (any case) is on
bool OnlyIfYes(const std::string& text);       // only "yes" (any case) is on

// Stored forms.
std::string FormatPortText(int port);      // "COM%d"
std::string FormatParityText(int parity);  // "none", "odd", "even"
const char* YesNo(bool on);                // "yes", "no"

// Reads every link setting; missing or unreadable values take their defaults. A device
// key that is missing or empty takes `defaultDevices` of its port.
LinkSettings LoadLinkSettings(
    const Profile& profile,
    const std::array<std::string, 4>& defaultDevices = FallbackDevicePaths());
// Writes section "Casio" in the order "Type", "Delay", "Autoreceive", "Bits", "Baud",
// "Port", "Parity", then "Device1".."Device4". False when a write failed.
bool SaveCasioSection(Profile& profile, const LinkSettings& settings);
// Writes "ConvertM2C", "ConvertC2M", "AutoOpenBuffer", "AutoCloseBuffer" of section
// "Duxel" in that order. False when a write failed.
bool SaveDuxelLinkKeys(Profile& profile, const LinkSettings& settings);
