// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory profile and integer reading.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/MemoryProfile.h"

namespace {

TEST(MemoryProfile, ValuesKeepTheirOrderAndCanBeDeleted) {
  MemoryProfile p;
  EXPECT_TRUE(p.writeString("Casio", "Port", "COM2"));
  EXPECT_TRUE(p.writeString("Casio", "Baud", "9600"));
  EXPECT_TRUE(p.writeString("Duxel", "SaveOnExit", "no"));
  EXPECT_TRUE(p.writeString("Casio", "Port", "COM3"));  // overwrites in place
  EXPECT_EQ(p.valueNames("Casio"), (std::vector<std::string>{"Port", "Baud"}));
  EXPECT_EQ(p.getString("Casio", "Port", "x"), "COM3");
  EXPECT_EQ(p.getString("Casio", "port", "x"), "x");  // names are case-sensitive
  EXPECT_EQ(p.getString("Nothing", "Port", "x"), "x");
  EXPECT_TRUE(p.deleteValue("Casio", "Port"));
  EXPECT_TRUE(p.deleteValue("Casio", "Port"));  // deleting what is gone succeeds
  EXPECT_EQ(p.valueNames("Casio"), (std::vector<std::string>{"Baud"}));
  EXPECT_TRUE(p.deleteSection("Casio"));
  EXPECT_TRUE(p.deleteSection("Casio"));
  EXPECT_TRUE(p.valueNames("Casio").empty());
  EXPECT_EQ(p.sectionNames(), (std::vector<std::string>{"Duxel"}));
}

TEST(MemoryProfile, FailingStoreChangesNothing) {
  MemoryProfile p;
  p.writeString("Model", "a", "1");
  p.setFailWrites(true);
  p.setFailDeletes(true);
  EXPECT_FALSE(p.writeString("Model", "b", "2"));
  EXPECT_FALSE(p.writeInt("Model", "c", 3));
  EXPECT_FALSE(p.deleteValue("Model", "a"));
  EXPECT_FALSE(p.deleteSection("Model"));
  EXPECT_EQ(p.valueNames("Model"), (std::vector<std::string>{"a"}));
}

TEST(MemoryProfile, IntegersAreStoredAsDecimalText) {
  MemoryProfile p;
  EXPECT_TRUE(p.writeInt("Casio", "Delay", -12));
  EXPECT_EQ(p.getString("Casio", "Delay", ""), "-12");
  EXPECT_EQ(p.getInt("Casio", "Delay", 10), -12);
  EXPECT_EQ(p.getInt("Casio", "Missing", 10), 10);
}

TEST(ProfileInt, OnlyWholeDecimalIntegersRead) {
  struct Case {
    const char* text;
    bool read;
    int value;
  };
  const Case cases[] = {
      {"9600", true, 9600},
      {" 25 ", true, 25},
      {"+7", true, 7},
      {"-1", true, -1},
      {"0", true, 0},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"", false, 0},
      {" ", false, 0},
      {"-", false, 0},
      {"12abc", false, 0},
      {"abc", false, 0},
      {"1 2", false, 0},
      {"0x10", false, 0},
      {"99999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    int value = 12345;
    EXPECT_EQ(ParseProfileInt(c.text, value), c.read) << '"' << c.text << '"';
    EXPECT_EQ(value, c.read ? c.value : 12345) << '"' << c.text << '"';
  }
}

}  // namespace
