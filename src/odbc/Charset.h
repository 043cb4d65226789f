// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The character set of a table file. Character data in SQL_C_CHAR buffers is passed through in
// this set unchanged; SQL_C_WCHAR buffers are converted to and from UTF-16.
enum class Charset { Ansi, Utf8 };

// "ANSI" is Windows-1250, "UTF8" (or "UTF-8") UTF-8; letter case is ignored. Anything else
// gives nothing.
std::optional<Charset> CharsetFromName(std::string_view name);
const char* CharsetName(Charset charset);

// Whether every byte of the text is a character of the set. NUL is never one: a text file
// column cannot hold it. Windows-1250 leaves 0x81, 0x83, 0x88, 0x90 and 0x98 unassigned.
bool IsValidText(std::string_view text, Charset charset);

// Text in the set -> UTF-16 code units (native byte order, as SQLWCHAR holds them). Nothing
// when a byte is not a character of the set.
std::optional<std::u16string> Utf16FromText(std::string_view text, Charset charset);

// UTF-16 -> text in the set. Nothing when a unit sequence is malformed or a character has no
// place in the set.
std::optional<std::string> TextFromUtf16(std::u16string_view units, Charset charset);
