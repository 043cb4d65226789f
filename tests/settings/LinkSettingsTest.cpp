// SPDX-License-Identifier: GPL-3.0-or-later
// The link's settings: stored texts, defaults and fall-backs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/LinkSettings.h"
#include "settings/MemoryProfile.h"

namespace {

TEST(LinkSettings, DefaultsOfAnEmptyProfile) {
  const MemoryProfile p;
  const LinkSettings s = LoadLinkSettings(p, {"/dev/a", "/dev/b", "/dev/c", "/dev/d"});
  EXPECT_EQ(s.type, "");
  EXPECT_EQ(s.port, 1);
  EXPECT_EQ(s.baud, 1200);
  EXPECT_EQ(s.bits, 8);
  EXPECT_EQ(s.parity, 0);
  EXPECT_EQ(s.delay, 10);
  EXPECT_TRUE(s.autoreceive);
  EXPECT_TRUE(s.convertM2C);
  EXPECT_TRUE(s.convertC2M);
  EXPECT_FALSE(s.autoOpenBuffer);
  EXPECT_FALSE(s.autoCloseBuffer);
  EXPECT_EQ(s.devices, (std::array<std::string, 4>{"/dev/a", "/dev/b", "/dev/c", "/dev/d"}));
  EXPECT_EQ(s.device(), "/dev/a");
  EXPECT_EQ(
      LoadLinkSettings(p).devices,
      (std::array<std::string, 4>{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3"}));
}

TEST(LinkSettings, PortIsTheFourthCharacter) {
  struct Case {
    const char* text;
    int port;
  };
  const Case cases[] = {{"COM1", 1},  {"COM2", 2}, {"COM3", 3}, {"COM4", 4}, {"COM7", 1},
                        {"COM0", 1},  {"COM", 1},  {"", 1},     {"com2", 2}, {"COM12", 1},
                        {"COM23", 2}, {"XYZ3", 3}, {"COMx", 1}, {"COM-", 1}};
  for (const Case& c : cases) {
    MemoryProfile p;
    p.writeString("Casio", "Port", c.text);
    EXPECT_EQ(LoadLinkSettings(p).port, c.port) << c.text;
  }
}

TEST(LinkSettings, NumbersOutOfRangeTakeTheirDefaults) {
  struct Case {
    const char* key;
    const char* text;
    int baud, bits, delay;
  };
  const Case cases[] = {
      {"Baud", "2400", 2400, 8, 10},  {"Baud", "4800", 4800, 8, 10}, {"Baud", "9600", 9600, 8, 10},
      {"Baud", "19200", 1200, 8, 10}, {"Baud", "300", 1200, 8, 10},  {"Baud", "fast", 1200, 8, 10},
      {"Bits", "7", 1200, 7, 10},     {"Bits", "8", 1200, 8, 10},    {"Bits", "6", 1200, 8, 10},
      {"Bits", "", 1200, 8, 10},      {"Delay", "1", 1200, 8, 1},    {"Delay", "25", 1200, 8, 25},
      {"Delay", "0", 1200, 8, 10},    {"Delay", "26", 1200, 8, 10},  {"Delay", "-5", 1200, 8, 10},
      {"Delay", "x", 1200, 8, 10},
  };
  for (const Case& c : cases) {
    MemoryProfile p;
    p.writeString("Casio", c.key, c.text);
    const LinkSettings s = LoadLinkSettings(p);
    EXPECT_EQ(s.baud, c.baud) << c.key << "=" << c.text;
    EXPECT_EQ(s.bits, c.bits) << c.key << "=" << c.text;
    EXPECT_EQ(s.delay, c.delay) << c.key << "=" << c.text;
  }
}

TEST(LinkSettings, ParityWordsWithoutRegardToCase) {
  struct Case {
    const char* text;
    int parity;
  };
  const Case cases[] = {{"none", 0}, {"odd", 1},   {"even", 2}, {"EVEN", 2},  {"Odd", 1},
                        {"mark", 0}, {"space", 0}, {"", 0},     {"evens", 0}, {"od", 0}};
  for (const Case& c : cases) {
    MemoryProfile p;
    p.writeString("Casio", "Parity", c.text);
    EXPECT_EQ(LoadLinkSettings(p).parity, c.parity) << c.text;
  }
}

TEST(LinkSettings, YesNoSwitches) {
  struct Case {
    const char* section;
    const char* key;
    const char* text;  // nullptr: missing
    bool on;
  };
  const Case cases[] = {
      {"Casio", "Autoreceive", nullptr, true},  {"Casio", "Autoreceive", "no", false},
      {"Casio", "Autoreceive", "NO", false},    {"Casio", "Autoreceive", "nope", true},
      {"Casio", "Autoreceive", "", true},       {"Duxel", "ConvertM2C", "No", false},
      {"Duxel", "ConvertC2M", "0", true},       {"Duxel", "AutoOpenBuffer", nullptr, false},
      {"Duxel", "AutoOpenBuffer", "yes", true}, {"Duxel", "AutoOpenBuffer", "YES", true},
      {"Duxel", "AutoOpenBuffer", "y", false},  {"Duxel", "AutoCloseBuffer", "Yes", true},
      {"Duxel", "AutoCloseBuffer", "1", false},
  };
  for (const Case& c : cases) {
    MemoryProfile p;
    if (c.text) p.writeString(c.section, c.key, c.text);
    const LinkSettings s = LoadLinkSettings(p);
    const std::string key = c.key;
    const bool on = key == "Autoreceive"      ? s.autoreceive
                    : key == "ConvertM2C"     ? s.convertM2C
                    : key == "ConvertC2M"     ? s.convertC2M
                    : key == "AutoOpenBuffer" ? s.autoOpenBuffer
                                              : s.autoCloseBuffer;
    EXPECT_EQ(on, c.on) << c.key << "=" << (c.text ? c.text : "(missing)");
  }
}

TEST(LinkSettings, DeviceKeysOverrideTheDefaults) {
  MemoryProfile p;
  p.writeString("Casio", "Device2", "/dev/pts/7");
  p.writeString("Casio", "Device3", "");  // empty: the default
  p.writeString("Casio", "Port", "COM2");
  const LinkSettings s = LoadLinkSettings(p, {"a", "b", "c", "d"});
  EXPECT_EQ(s.devices, (std::array<std::string, 4>{"a", "/dev/pts/7", "c", "d"}));
  EXPECT_EQ(s.device(), "/dev/pts/7");
}

TEST(LinkSettings, SavedInTheirOrderAndForms) {
  LinkSettings s;
  s.type = "SF-4300";
  s.port = 3;
  s.baud = 9600;
  s.bits = 7;
  s.parity = 2;
  s.delay = 5;
  s.autoreceive = false;
  s.devices = {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyS1"};
  s.convertM2C = false;
  s.autoOpenBuffer = true;
  MemoryProfile p;
  EXPECT_TRUE(SaveCasioSection(p, s));
  EXPECT_TRUE(SaveDuxelLinkKeys(p, s));
  std::vector<std::string> casio;
  for (const std::string& key : p.valueNames("Casio"))
    casio.push_back(key + "=" + p.getString("Casio", key, ""));
  EXPECT_EQ(casio, (std::vector<std::string>{"Type=SF-4300", "Delay=5", "Autoreceive=no", "Bits=7",
                                             "Baud=9600", "Port=COM3", "Parity=even",
                                             "Device1=/dev/ttyUSB0", "Device2=/dev/ttyUSB1",
                                             "Device3=/dev/ttyS0", "Device4=/dev/ttyS1"}));
  std::vector<std::string> duxel;
  for (const std::string& key : p.valueNames("Duxel"))
    duxel.push_back(key + "=" + p.getString("Duxel", key, ""));
  EXPECT_EQ(duxel, (std::vector<std::string>{"ConvertM2C=no", "ConvertC2M=yes",
                                             "AutoOpenBuffer=yes", "AutoCloseBuffer=no"}));
  // And they read back the same.
  const LinkSettings back = LoadLinkSettings(p);
  EXPECT_EQ(back.port, 3);
  EXPECT_EQ(back.parity, 2);
  EXPECT_FALSE(back.autoreceive);
  EXPECT_FALSE(back.convertM2C);
  EXPECT_TRUE(back.autoOpenBuffer);
}

TEST(LinkSettings, SaveReportsAFailingStore) {
  MemoryProfile p;
  p.setFailWrites(true);
  EXPECT_FALSE(SaveCasioSection(p, LinkSettings()));
  EXPECT_FALSE(SaveDuxelLinkKeys(p, LinkSettings()));
}

}  // namespace
