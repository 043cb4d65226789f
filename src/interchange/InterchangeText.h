// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Texts between the records (Windows-1250, CR line breaks) and the UTF-8 of vCard and
// iCalendar (LF line breaks).

// A record text as UTF-8 with LF line breaks (CR LF and CR both become LF).
std::string Utf8Text(const std::string& cp1250);
// UTF-8 text as a record text: line breaks become CR; a character Windows-1250 lacks becomes
// its nearest letter (ø -> o, ő is kept, Ŋ -> N) or '?' and adds one to `replaced`.
// Malformed UTF-8 is read as Windows-1250 bytes (old address books write that unlabelled).
std::string RecordText(const std::string& utf8, int& replaced);
// Whether `text` is well-formed UTF-8.
bool IsUtf8(const std::string& text);
// ISO-8859-1 bytes as UTF-8.
std::string Utf8FromLatin1(const std::string& bytes);
// The bytes of a file as UTF-8 text: a UTF-8 byte order mark is dropped, a file beginning with
// the UTF-16 mark (as some Windows address books write) is converted; other bytes stay.
std::string WithoutByteOrderMark(const std::string& bytes);
