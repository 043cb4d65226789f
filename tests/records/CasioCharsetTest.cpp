// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CasioCharset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Bytes(std::initializer_list<uint8_t> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

using ByteMap = std::vector<std::pair<uint8_t, uint8_t>>;

// The expected result for the bytes 1..255 in order: listed bytes change, the others stay.
std::string ExpectedForAllBytes(const ByteMap& changes) {
  std::string out;
  for (int b = 1; b < 256; ++b) {
    uint8_t to = uint8_t(b);
    for (const auto& [from, target] : changes)
      if (from == b) to = target;
    out += char(to);
  }
  return out;
}

std::string AllBytesButZero() {
  std::string all;
  for (int b = 1; b < 256; ++b) all += char(b);
  return all;
}

TEST(CasioCharset, PcToDiaryWord) {
  // Příliš: ř and š lose their háček, í moves to the diary's code.
  std::string text = Bytes({0x50, 0xF8, 0xED, 0x6C, 0x69, 0x9A});
  ConvertPcToDiary(text);
  EXPECT_EQ(text, Bytes({0x50, 0x72, 0xA1, 0x6C, 0x69, 0x73}));
}

TEST(CasioCharset, DiaryToPcWord) {
  // Máme in the diary's set, then in Windows-1250.
  std::string text = Bytes({0x4D, 0xA0, 0x6D, 0x65});
  ConvertDiaryToPc(text);
  EXPECT_EQ(text, Bytes({0x4D, 0xE1, 0x6D, 0x65}));
}

TEST(CasioCharset, FoldCaption) {
  // Číslo domu
  std::string text = Bytes({0xC8, 0xED, 0x73, 0x6C, 0x6F, 0x20, 0x64, 0x6F, 0x6D, 0x75});
  FoldToAscii(text);
  EXPECT_EQ(text, "Cislo_domu");
}

TEST(CasioCharset, PrintableAsciiUnchanged) {
  std::string ascii;
  for (int c = 0x20; c < 0x7F; ++c) ascii += char(c);
  std::string toDiary = ascii;
  ConvertPcToDiary(toDiary);
  EXPECT_EQ(toDiary, ascii);
  std::string toPc = ascii;
  ConvertDiaryToPc(toPc);
  EXPECT_EQ(toPc, ascii);
}

TEST(CasioCharset, RoundTripLosesOnlyWhatTheDiaryLacks) {
  // Č ě Ë á -> diary -> PC gives C e Ë á.
  std::string text = Bytes({0xC8, 0xEC, 0xCB, 0xE1});
  ConvertPcToDiary(text);
  EXPECT_EQ(text, Bytes({0x43, 0x65, 0xCB, 0xA0}));
  ConvertDiaryToPc(text);
  EXPECT_EQ(text, Bytes({0x43, 0x65, 0xCB, 0xE1}));
}

TEST(CasioCharset, PcToDiaryEveryByte) {
  const ByteMap table = {
      {0xC1, 0xB5}, {0xE1, 0xA0},  // Á á
      {0xC4, 0x8E}, {0xE4, 0x84},  // Ä ä
      {0xC8, 0x43}, {0xE8, 0x63},  // Č č
      {0xCF, 0x44}, {0xEF, 0x64},  // Ď ď
      {0xC9, 0x90}, {0xE9, 0x82},  // É é
      {0xCC, 0x45}, {0xEC, 0x65},  // Ě ě
      {0xCB, 0xCB}, {0xEB, 0x89},  // Ë ë
      {0xCD, 0xB6}, {0xED, 0xA1},  // Í í
      {0xC5, 0x4C}, {0xE5, 0x6C},  // Ĺ ĺ
      {0xBC, 0x4C}, {0xBE, 0x6C},  // Ľ ľ
      {0xD2, 0x4E}, {0xF2, 0x6E},  // Ň ň
      {0xD3, 0xB7}, {0xF3, 0xA2},  // Ó ó
      {0xD6, 0x99}, {0xF6, 0x94},  // Ö ö
      {0xC0, 0x52}, {0xE0, 0x72},  // Ŕ ŕ
      {0xD8, 0x52}, {0xF8, 0x72},  // Ř ř
      {0x8A, 0x53}, {0x9A, 0x73},  // Š š
      {0xDF, 0xE1},                // ß
      {0x8D, 0x54}, {0x9D, 0x74},  // Ť ť
      {0xDA, 0xB8}, {0xFA, 0xA3},  // Ú ú
      {0xD9, 0x55}, {0xF9, 0x75},  // Ů ů
      {0xDC, 0x9A}, {0xFC, 0x81},  // Ü ü
      {0xDD, 0x59}, {0xFD, 0x79},  // Ý ý
      {0x8E, 0x5A}, {0x9E, 0x7A},  // Ž ž
      {0xA7, 0x15},                // §
      {0xF7, 0xF6},                // ÷
      {0xD7, 0xF5},                // ×
  };
  std::string text = AllBytesButZero();
  ConvertPcToDiary(text);
  EXPECT_EQ(text, ExpectedForAllBytes(table));
}

TEST(CasioCharset, DiaryToPcEveryByte) {
  const ByteMap table = {
      {0x15, 0xA7}, {0x81, 0xFC}, {0x82, 0xE9}, {0x84, 0xE4}, {0x85, 'a'},  {0x88, 0xEC},
      {0x89, 0xEB}, {0x8A, 'e'},  {0x8B, 'i'},  {0x8D, 'i'},  {0x8E, 0xC4}, {0x90, 0xC9},
      {0x94, 0xF6}, {0x95, 'o'},  {0x96, 0xF9}, {0x97, 'u'},  {0x99, 0xD6}, {0x9A, 0xDC},
      {0x9B, 'c'},  {0x9D, 'Y'},  {0xA0, 0xE1}, {0xA1, 0xED}, {0xA2, 0xF3}, {0xA3, 0xFA},
      {0xA8, '?'},  {0xAD, '!'},  {0xB5, 0xC1}, {0xB6, 0xCD}, {0xB7, 0xD3}, {0xB8, 0xDA},
      {0xB9, 'A'},  {0xBA, 'E'},  {0xBB, 'I'},  {0xBC, 'O'},  {0xBD, 'U'},  {0xC7, 0xCC},
      {0xCA, 0xD9}, {0xCB, 0xCB}, {0xCC, 'I'},  {0xCD, 'A'},  {0xCE, 'a'},  {0xCF, 'O'},
      {0xD0, 'o'},  {0xD3, '3'},  {0xD8, 'F'},  {0xE1, 0xDF}, {0xF5, 0xD7}, {0xF6, 0xF7},
      {0xFD, '2'},
  };
  ASSERT_EQ(table.size(), 49u);
  std::string text = AllBytesButZero();
  ConvertDiaryToPc(text);
  EXPECT_EQ(text, ExpectedForAllBytes(table));
}

TEST(CasioCharset, FoldEveryByte) {
  const ByteMap table = {
      {0xE1, 'a'}, {0xE4, 'a'}, {0xE8, 'c'}, {0xEF, 'd'}, {0xE9, 'e'}, {0xEC, 'e'}, {0xEB, 'e'},
      {0xED, 'i'}, {0xE5, 'l'}, {0xBE, 'l'}, {0xF2, 'n'}, {0xF3, 'o'}, {0xF6, 'o'}, {0xE0, 'r'},
      {0xF8, 'r'}, {0x9A, 's'}, {0xDF, 's'}, {0x9D, 't'}, {0xFA, 'u'}, {0xF9, 'u'}, {0xFC, 'u'},
      {0xFD, 'y'}, {0x9E, 'z'}, {0xA7, 'S'}, {0xF7, '-'}, {0xD7, 'x'}, {0xC1, 'A'}, {0xC4, 'A'},
      {0xC8, 'C'}, {0xCF, 'D'}, {0xC9, 'E'}, {0xCC, 'E'}, {0xCB, 'E'}, {0xCD, 'I'}, {0xC5, 'L'},
      {0xBC, 'L'}, {0xD2, 'N'}, {0xD3, 'O'}, {0xD6, 'O'}, {0xC0, 'R'}, {0xD8, 'R'}, {0x8A, 'S'},
      {0x8D, 'T'}, {0xDA, 'U'}, {0xD9, 'U'}, {0xDC, 'U'}, {0xDD, 'Y'}, {0x8E, 'Z'}, {0x20, '_'},
  };
  ASSERT_EQ(table.size(), 49u);
  std::string text = AllBytesButZero();
  FoldToAscii(text);
  EXPECT_EQ(text, ExpectedForAllBytes(table));
}

TEST(CasioCharset, StopsAtTerminator) {
  // The conversions work on zero-terminated text: bytes after a zero stay untouched.
  std::string text = Bytes({0xE1, 0x00, 0xE1, 0x20});
  ConvertPcToDiary(text);
  EXPECT_EQ(text, Bytes({0xA0, 0x00, 0xE1, 0x20}));
  FoldToAscii(text);
  EXPECT_EQ(text, Bytes({0xA0, 0x00, 0xE1, 0x20}));
  std::string diary = Bytes({0xA0, 0x00, 0xA0});
  ConvertDiaryToPc(diary);
  EXPECT_EQ(diary, Bytes({0xE1, 0x00, 0xA0}));
}

}  // namespace
