// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/Cp1250.h"

#include <cstdint>

namespace {

// Code points of the bytes 0x80..0xFF; 0x00..0x7F are ASCII. The five unassigned bytes keep
// the C1 control of the same number so that a text survives the trip through Unicode.
constexpr char16_t kHigh[128] = {
    // 0x80
    0x20AC,
    0x0081,
    0x201A,
    0x0083,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x0088,
    0x2030,
    0x0160,
    0x2039,
    0x015A,
    0x0164,
    0x017D,
    0x0179,
    // 0x90
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x0098,
    0x2122,
    0x0161,
    0x203A,
    0x015B,
    0x0165,
    0x017E,
    0x017A,
    // 0xA0
    0x00A0,
    0x02C7,
    0x02D8,
    0x0141,
    0x00A4,
    0x0104,
    0x00A6,
    0x00A7,
    0x00A8,
    0x00A9,
    0x015E,
    0x00AB,
    0x00AC,
    0x00AD,
    0x00AE,
    0x017B,
    // 0xB0
    0x00B0,
    0x00B1,
    0x02DB,
    0x0142,
    0x00B4,
    0x00B5,
    0x00B6,
    0x00B7,
    0x00B8,
    0x0105,
    0x015F,
    0x00BB,
    0x013D,
    0x02DD,
    0x013E,
    0x017C,
    // 0xC0
    0x0154,
    0x00C1,
    0x00C2,
    0x0102,
    0x00C4,
    0x0139,
    0x0106,
    0x00C7,
    0x010C,
    0x00C9,
    0x0118,
    0x00CB,
    0x011A,
    0x00CD,
    0x00CE,
    0x010E,
    // 0xD0
    0x0110,
    0x0143,
    0x0147,
    0x00D3,
    0x00D4,
    0x0150,
    0x00D6,
    0x00D7,
    0x0158,
    0x016E,
    0x00DA,
    0x0170,
    0x00DC,
    0x00DD,
    0x0162,
    0x00DF,
    // 0xE0
    0x0155,
    0x00E1,
    0x00E2,
    0x0103,
    0x00E4,
    0x013A,
    0x0107,
    0x00E7,
    0x010D,
    0x00E9,
    0x0119,
    0x00EB,
    0x011B,
    0x00ED,
    0x00EE,
    0x010F,
    // 0xF0
    0x0111,
    0x0144,
    0x0148,
    0x00F3,
    0x00F4,
    0x0151,
    0x00F6,
    0x00F7,
    0x0159,
    0x016F,
    0x00FA,
    0x0171,
    0x00FC,
    0x00FD,
    0x0163,
    0x02D9,
};

// The byte of a code point, or '?' when the code page has none.
char ByteFromUnicode(char32_t cp) {
  if (cp < 0x80) return char(cp);
  for (int i = 0; i < 128; ++i)
    if (kHigh[i] == cp) return char(0x80 + i);
  return '?';
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else {
    // Every code point of the table lies in the basic plane.
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

}  // namespace

char32_t UnicodeFromCp1250(unsigned char byte) {
  return byte < 0x80 ? char32_t(byte) : char32_t(kHigh[byte - 0x80]);
}

std::string Utf8FromCp1250(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) AppendUtf8(out, UnicodeFromCp1250(b));
  return out;
}

std::string Cp1250FromUtf8(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  const std::size_t n = utf8.size();
  std::size_t i = 0;
  while (i < n) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      out += char(lead);
      ++i;
      continue;
    }
    int len;
    char32_t cp;
    char32_t min;
    if (lead >= 0xC2 && lead <= 0xDF) {
      len = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      len = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
      // A stray continuation byte or a lead byte that no valid sequence has.
      out += '?';
      ++i;
      continue;
    }
    // A sequence cut short becomes one '?' covering the continuation bytes it did have.
    std::size_t j = i + 1;
    while (j < n && j < i + len && (static_cast<unsigned char>(utf8[j]) & 0xC0) == 0x80) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[j]) & 0x3F);
      ++j;
    }
    const bool complete = j == i + len;
    i = j;
    if (!complete || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += '?';
      continue;
    }
    out += ByteFromUnicode(cp);
  }
  return out;
}

std::string Cp1250FromUtf16(const std::u16string& units) {
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char16_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      // A pair lies outside the basic plane, where the code page has nothing.
      ++i;
      out += '?';
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      out += '?';
    } else {
      out += ByteFromUnicode(u);
    }
  }
  return out;
}

std::string UpperCp1250(const std::string& bytes) {
  std::string out(bytes);
  for (char& c : out) {
    const auto b = static_cast<unsigned char>(c);
    unsigned char up = b;
    if (b >= 'a' && b <= 'z') {
      up = b - 0x20;
    } else {
      switch (b) {
        case 0x9A:
          up = 0x8A;
          break;  // š
        case 0x9C:
          up = 0x8C;
          break;  // ś
        case 0x9D:
          up = 0x8D;
          break;  // ť
        case 0x9E:
          up = 0x8E;
          break;  // ž
        case 0x9F:
          up = 0x8F;
          break;  // ź
        case 0xB3:
          up = 0xA3;
          break;  // ł
        case 0xB9:
          up = 0xA5;
          break;  // ą
        case 0xBA:
          up = 0xAA;
          break;  // ş
        case 0xBE:
          up = 0xBC;
          break;  // ľ
        case 0xBF:
          up = 0xAF;
          break;  // ż
        default:
          // ŕ á ... ţ sit 0x20 above their capitals; ÷ is no letter.
          if (b >= 0xE0 && b <= 0xFE && b != 0xF7) up = b - 0x20;
          break;
      }
    }
    c = char(up);
  }
  return out;
}
