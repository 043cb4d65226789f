// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CasioCharset.h"

#include <cstdint>

namespace {

struct Pair {
  uint8_t from;
  uint8_t to;
};

// Windows-1250 to the diary's set. Letters the diary has keep their accent at the diary's
// code; the Czech ones it lacks fall back to the bare letter.
constexpr Pair kPcToDiary[] = {
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

// The diary's set to Windows-1250. Diary letters with no Czech counterpart become the bare
// letter, a few signs become their nearest ASCII look-alike.
constexpr Pair kDiaryToPc[] = {
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

// Windows-1250 letters to plain ASCII for ODBC column names, which must be plain
// identifiers; the blank becomes an underscore for the same reason.
constexpr Pair kFoldToAscii[] = {
    {0xE1, 'a'}, {0xE4, 'a'},               // á ä
    {0xE8, 'c'},                            // č
    {0xEF, 'd'},                            // ď
    {0xE9, 'e'}, {0xEC, 'e'}, {0xEB, 'e'},  // é ě ë
    {0xED, 'i'},                            // í
    {0xE5, 'l'}, {0xBE, 'l'},               // ĺ ľ
    {0xF2, 'n'},                            // ň
    {0xF3, 'o'}, {0xF6, 'o'},               // ó ö
    {0xE0, 'r'}, {0xF8, 'r'},               // ŕ ř
    {0x9A, 's'}, {0xDF, 's'},               // š ß
    {0x9D, 't'},                            // ť
    {0xFA, 'u'}, {0xF9, 'u'}, {0xFC, 'u'},  // ú ů ü
    {0xFD, 'y'},                            // ý
    {0x9E, 'z'},                            // ž
    {0xA7, 'S'},                            // §
    {0xF7, '-'},                            // ÷
    {0xD7, 'x'},                            // ×
    {0xC1, 'A'}, {0xC4, 'A'},               // Á Ä
    {0xC8, 'C'},                            // Č
    {0xCF, 'D'},                            // Ď
    {0xC9, 'E'}, {0xCC, 'E'}, {0xCB, 'E'},  // É Ě Ë
    {0xCD, 'I'},                            // Í
    {0xC5, 'L'}, {0xBC, 'L'},               // Ĺ Ľ
    {0xD2, 'N'},                            // Ň
    {0xD3, 'O'}, {0xD6, 'O'},               // Ó Ö
    {0xC0, 'R'}, {0xD8, 'R'},               // Ŕ Ř
    {0x8A, 'S'},                            // Š
    {0x8D, 'T'},                            // Ť
    {0xDA, 'U'}, {0xD9, 'U'}, {0xDC, 'U'},  // Ú Ů Ü
    {0xDD, 'Y'},                            // Ý
    {0x8E, 'Z'},                            // Ž
    {' ', '_'},
};

// Replaces each byte up to the first zero by its table entry. The tables are searched from
// the start, so a key listed twice maps by its first entry.
template <std::size_t N>
void ConvertInPlace(std::string& text, const Pair (&table)[N]) {
  for (char& c : text) {
    const auto b = static_cast<uint8_t>(c);
    if (b == 0) break;
    for (const Pair& p : table) {
      if (p.from == b) {
        c = char(p.to);
        break;
      }
    }
  }
}

}  // namespace

void ConvertPcToDiary(std::string& text) { ConvertInPlace(text, kPcToDiary); }

void ConvertDiaryToPc(std::string& text) { ConvertInPlace(text, kDiaryToPc); }

void FoldToAscii(std::string& text) { ConvertInPlace(text, kFoldToAscii); }
