// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Byte-for-byte conversions between Windows-1250 and the diary's own character set.
// A byte without a table entry stays as it is; no byte becomes 0, so lengths never change.

// PC to diary: letters the diary lacks lose their diacritic.
void ConvertPcToDiary(std::string& text);
// Diary to PC.
void ConvertDiaryToPc(std::string& text);
// Windows-1250 letters to plain ASCII and blanks to underscores (ODBC column names).
void FoldToAscii(std::string& text);
