// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Windows-1250 <-> Unicode. Texts of the core are Windows-1250 bytes; the GUI and the JSON
// of duxel-cli use UTF-8. The five bytes Windows-1250 leaves unassigned (0x81, 0x83, 0x88,
// 0x90, 0x98) map to U+0081, U+0083, U+0088, U+0090, U+0098, so every byte survives.

// Every Windows-1250 byte becomes its UTF-8 sequence.
std::string Utf8FromCp1250(const std::string& bytes);
// Characters Windows-1250 cannot hold, and malformed UTF-8, become '?'.
std::string Cp1250FromUtf8(const std::string& utf8);
// Characters Windows-1250 cannot hold become '?'.
std::string Cp1250FromUtf16(const std::u16string& units);
// The Unicode code point of one Windows-1250 byte.
char32_t UnicodeFromCp1250(unsigned char byte);
// Upper case as the Windows character functions give it for the Czech code page: ASCII
// letters and every Windows-1250 small letter that has a capital in the code page (š, ť, ž,
// ł, ą, ľ, ż, á ... ţ). ß, µ and non-letters stay as they are. Used by case-blind search.
std::string UpperCp1250(const std::string& bytes);
