// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Cp1250.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

// "Příliš žluťoučký kůň úpěl ďábelské ódy" in both encodings.
const std::string kPangramCp1250 =
    "P\xF8\xEDli\x9A \x9Elu\x9Do"
    "u\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1"
    "belsk\xE9 \xF3"
    "dy";
const std::string kPangramUtf8 =
    "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD k\xC5\xAF\xC5\x88 "
    "\xC3\xBAp\xC4\x9Bl \xC4\x8F\xC3\xA1"
    "belsk\xC3\xA9 \xC3\xB3"
    "dy";

TEST(Cp1250, PangramBothWays) {
  EXPECT_EQ(Utf8FromCp1250(kPangramCp1250), kPangramUtf8);
  EXPECT_EQ(Cp1250FromUtf8(kPangramUtf8), kPangramCp1250);
}

struct ByteCase {
  uint8_t byte;
  char32_t codePoint;
  std::string utf8;
};

// A sample of every region of the code page, the five unassigned bytes among them.
const std::vector<ByteCase> kByteCases = {
    {0x00, 0x0000, Bytes({0x00})},
    {0x41, 0x0041, Bytes({0x41})},
    {0x7F, 0x007F, Bytes({0x7F})},
    {0x80, 0x20AC, Bytes({0xE2, 0x82, 0xAC})},  // €
    {0x81, 0x0081, Bytes({0xC2, 0x81})},        // unassigned
    {0x82, 0x201A, Bytes({0xE2, 0x80, 0x9A})},  // ‚
    {0x83, 0x0083, Bytes({0xC2, 0x83})},        // unassigned
    {0x84, 0x201E, Bytes({0xE2, 0x80, 0x9E})},  // „
    {0x88, 0x0088, Bytes({0xC2, 0x88})},        // unassigned
    {0x8A, 0x0160, Bytes({0xC5, 0xA0})},        // Š
    {0x8C, 0x015A, Bytes({0xC5, 0x9A})},        // Ś
    {0x8D, 0x0164, Bytes({0xC5, 0xA4})},        // Ť
    {0x8E, 0x017D, Bytes({0xC5, 0xBD})},        // Ž
    {0x90, 0x0090, Bytes({0xC2, 0x90})},        // unassigned
    {0x93, 0x201C, Bytes({0xE2, 0x80, 0x9C})},  // “
    {0x96, 0x2013, Bytes({0xE2, 0x80, 0x93})},  // –
    {0x98, 0x0098, Bytes({0xC2, 0x98})},        // unassigned
    {0x99, 0x2122, Bytes({0xE2, 0x84, 0xA2})},  // ™
    {0x9A, 0x0161, Bytes({0xC5, 0xA1})},        // š
    {0x9E, 0x017E, Bytes({0xC5, 0xBE})},        // ž
    {0xA0, 0x00A0, Bytes({0xC2, 0xA0})},        // no-break space
    {0xA1, 0x02C7, Bytes({0xCB, 0x87})},        // ˇ
    {0xA5, 0x0104, Bytes({0xC4, 0x84})},        // Ą
    {0xA7, 0x00A7, Bytes({0xC2, 0xA7})},        // §
    {0xAB, 0x00AB, Bytes({0xC2, 0xAB})},        // «
    {0xB6, 0x00B6, Bytes({0xC2, 0xB6})},        // ¶
    {0xBC, 0x013D, Bytes({0xC4, 0xBD})},        // Ľ
    {0xBE, 0x013E, Bytes({0xC4, 0xBE})},        // ľ
    {0xC8, 0x010C, Bytes({0xC4, 0x8C})},        // Č
    {0xCC, 0x011A, Bytes({0xC4, 0x9A})},        // Ě
    {0xD7, 0x00D7, Bytes({0xC3, 0x97})},        // ×
    {0xD8, 0x0158, Bytes({0xC5, 0x98})},        // Ř
    {0xD9, 0x016E, Bytes({0xC5, 0xAE})},        // Ů
    {0xDF, 0x00DF, Bytes({0xC3, 0x9F})},        // ß
    {0xEC, 0x011B, Bytes({0xC4, 0x9B})},        // ě
    {0xF7, 0x00F7, Bytes({0xC3, 0xB7})},        // ÷
    {0xF8, 0x0159, Bytes({0xC5, 0x99})},        // ř
    {0xF9, 0x016F, Bytes({0xC5, 0xAF})},        // ů
    {0xFE, 0x0163, Bytes({0xC5, 0xA3})},        // ţ
    {0xFF, 0x02D9, Bytes({0xCB, 0x99})},        // ˙
};

TEST(Cp1250, SingleBytes) {
  for (const ByteCase& c : kByteCases) {
    SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << int(c.byte));
    EXPECT_EQ(uint32_t(UnicodeFromCp1250(c.byte)), uint32_t(c.codePoint));
    EXPECT_EQ(Utf8FromCp1250(std::string(1, char(c.byte))), c.utf8);
    EXPECT_EQ(Cp1250FromUtf8(c.utf8), std::string(1, char(c.byte)));
    EXPECT_EQ(Cp1250FromUtf16(std::u16string(1, char16_t(c.codePoint))),
              std::string(1, char(c.byte)));
  }
}

TEST(Cp1250, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += char(b);
  const std::string utf8 = Utf8FromCp1250(all);
  // 128 ASCII bytes, and each of the other 128 characters takes two or three bytes.
  EXPECT_GE(utf8.size(), 128u + 2 * 128u);
  EXPECT_EQ(Cp1250FromUtf8(utf8), all);

  std::set<char32_t> seen;
  for (int b = 0; b < 256; ++b) seen.insert(UnicodeFromCp1250(uint8_t(b)));
  EXPECT_EQ(seen.size(), 256u) << "two bytes share a code point";
}

struct DecodeCase {
  const char* name;
  std::string utf8;
  std::string expected;
};

TEST(Cp1250, UnknownAndMalformedUtf8BecomesQuestionMark) {
  const std::vector<DecodeCase> cases = {
      {"n with tilde", Bytes({0x61, 0xC3, 0xB1, 0x62}), "a?b"},
      {"CJK", Bytes({0xE4, 0xB8, 0xAD}), "?"},
      {"emoji, four bytes", Bytes({0x41, 0xF0, 0x9F, 0x98, 0x80, 0x42}), "A?B"},
      {"stray continuation", Bytes({0x41, 0x80, 0x42}), "A?B"},
      {"truncated at end", Bytes({0x41, 0xC4}), "A?"},
      {"truncated before ASCII", Bytes({0xC4, 0x41}), "?A"},
      {"three-byte cut after two", Bytes({0xE2, 0x82, 0x41}), "?A"},
      {"overlong slash", Bytes({0xC0, 0xAF}), "??"},
      {"overlong three-byte", Bytes({0xE0, 0x80, 0xAF}), "?"},
      {"encoded surrogate", Bytes({0xED, 0xA0, 0x80}), "?"},
      {"beyond U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80}), "?"},
      {"invalid lead F5", Bytes({0xF5, 0x41}), "?A"},
      {"invalid lead FF", Bytes({0xFF}), "?"},
  };
  for (const DecodeCase& c : cases) EXPECT_EQ(Cp1250FromUtf8(c.utf8), c.expected) << c.name;
}

TEST(Cp1250, Utf16) {
  EXPECT_EQ(Cp1250FromUtf16(u"\u010C\u20AC\u0090a"), Bytes({0xC8, 0x80, 0x90, 0x61}));
  // A pair outside the basic plane is one character, and one '?'.
  EXPECT_EQ(Cp1250FromUtf16(std::u16string{u'x', 0xD83D, 0xDE00, u'y'}), "x?y");
  // Lone surrogates.
  EXPECT_EQ(Cp1250FromUtf16(std::u16string{0xDE00, u'a', 0xD83D}), "?a?");
  EXPECT_EQ(Cp1250FromUtf16(u"\u00F1"), "?");
}

TEST(Cp1250, UpperEveryByte) {
  // Small letter -> capital; every byte not listed stays as it is (ß, µ, ÷, ˙ among them).
  const std::vector<std::pair<uint8_t, uint8_t>> changed = {
      {0x9A, 0x8A},  // š Š
      {0x9C, 0x8C},  // ś Ś
      {0x9D, 0x8D},  // ť Ť
      {0x9E, 0x8E},  // ž Ž
      {0x9F, 0x8F},  // ź Ź
      {0xB3, 0xA3},  // ł Ł
      {0xB9, 0xA5},  // ą Ą
      {0xBA, 0xAA},  // ş Ş
      {0xBE, 0xBC},  // ľ Ľ
      {0xBF, 0xAF},  // ż Ż
      {0xE0, 0xC0}, {0xE1, 0xC1}, {0xE2, 0xC2}, {0xE3, 0xC3}, {0xE4, 0xC4}, {0xE5, 0xC5},
      {0xE6, 0xC6}, {0xE7, 0xC7}, {0xE8, 0xC8}, {0xE9, 0xC9}, {0xEA, 0xCA}, {0xEB, 0xCB},
      {0xEC, 0xCC}, {0xED, 0xCD}, {0xEE, 0xCE}, {0xEF, 0xCF}, {0xF0, 0xD0}, {0xF1, 0xD1},
      {0xF2, 0xD2}, {0xF3, 0xD3}, {0xF4, 0xD4}, {0xF5, 0xD5}, {0xF6, 0xD6}, {0xF8, 0xD8},
      {0xF9, 0xD9}, {0xFA, 0xDA}, {0xFB, 0xDB}, {0xFC, 0xDC}, {0xFD, 0xDD}, {0xFE, 0xDE},
  };
  std::string expected;
  std::string all;
  for (int b = 0; b < 256; ++b) {
    all += char(b);
    uint8_t up = uint8_t(b);
    if (b >= 'a' && b <= 'z') up = uint8_t(b - 0x20);
    for (const auto& [lower, upper] : changed)
      if (lower == b) up = upper;
    expected += char(up);
  }
  EXPECT_EQ(UpperCp1250(all), expected);
}

}  // namespace
