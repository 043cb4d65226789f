// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers the record kinds share when they turn themselves into diary items and back.

#include <cstddef>
#include <cstdint>
#include <string>

#include "records/CasioCharset.h"
#include "records/DiaryItemSink.h"

// A text of the diary is cut into items of at most this many characters.
constexpr std::size_t kTextPiece = 120;

// A text item built from user text, in the diary's character set when the link asks for it.
// Dates, times, patterns and markers never go through here.
inline std::string UserItemText(const DiaryItemSink& link, std::string text) {
  if (link.ConvertPcToDiary()) ::ConvertPcToDiary(text);
  return text;
}

// Sends a user text as consecutive pieces of at most 120 characters: the first restarts the
// running offset, every piece advances it. An empty text sends nothing. 0 when the link
// fails a piece (nothing more is sent).
inline int SendTextPieces(DiaryItemSink& link, const std::string& text, uint8_t selector) {
  const std::string converted = UserItemText(link, text);
  for (std::size_t at = 0; at < converted.size(); at += kTextPiece) {
    const int flags = at == 0 ? kItemRestart | kItemAdvance : kItemAdvance;
    if (!link.SendItem(converted.substr(at, kTextPiece), selector, flags)) return 0;
  }
  return 1;
}

// The received item as a string; a null pointer reads as an empty text.
inline std::string ReceivedText(const char* text) {
  return text ? std::string(text) : std::string();
}

// Removes a final LF, which closes a field that came in several items; true when there was one.
inline bool RemoveFinalLf(std::string& text) {
  if (text.empty() || text.back() != '\n') return false;
  text.pop_back();
  return true;
}

// Reads the decimal number in the field of `width` characters at `offset` (a width of
// std::string::npos runs to the end): blanks may stand first, then an optional sign, then
// at least one digit; the first other character ends the number. -1 (unset) when the field
// lies past the end of the text or does not begin with a number.
inline int16_t ReadItemNumber(const std::string& text, std::size_t offset, std::size_t width) {
  if (offset >= text.size()) return -1;
  const std::size_t end = width >= text.size() - offset ? text.size() : offset + width;
  std::size_t i = offset;
  while (i < end && text[i] == ' ') ++i;
  bool negative = false;
  if (i < end && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == end || text[i] < '0' || text[i] > '9') return -1;
  long value = 0;
  for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < 100000) value = value * 10 + (text[i] - '0');
  if (negative || value > INT16_MAX) return -1;
  return static_cast<int16_t>(value);
}
