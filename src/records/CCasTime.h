// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

#include "records/CArchive.h"

// A date and time whose parts may each be unset (negative), as the diary allows a date
// without a year, a time without a date and so on.
class CCasTime : public CObject {
  DECLARE_SERIAL(CCasTime)

 public:
  int16_t m_year = -1;
  int16_t m_month = -1;    // 1..12
  int16_t m_day = -1;      // 1..31
  int16_t m_weekday = -1;  // 1..7, 1 = Sunday (reminder patterns)
  int16_t m_week = -1;     // week within the month (reminder patterns)
  int16_t m_hour = -1;     // 0..23
  int16_t m_minute = -1;   // 0..59

  // Object form: year, month, day, weekday, hour, minute as words (the week is not stored).
  void Serialize(CArchive& ar) override;
  // Raw form inside ToDo, Scheduler and Reminder records: 78 ED 45 00 and the seven parts.
  void StoreRaw(CArchive& ar) const;
  void LoadRaw(CArchive& ar);
  // Copies the seven parts of another value.
  void CopyParts(const CCasTime& other);
  bool SameParts(const CCasTime& other) const;

  // Diary form of data items: "YYYY-MM-DD" / "HH:MM" with dashes for unset parts.
  void FormatDiary(std::string& buffer, bool timeNotDate) const;
  // Returns 1 and sets the date or time parts, or 0 (and unsets them) when it does not read.
  int ParseDiary(const char* text, bool timeNotDate);

  // Display form; unset parts are taken from the current date and time.
  void FormatDisplay(std::string& buffer, bool timeNotDate) const;

  // Exchange form of the ODBC export: "YYYY-MM-DD ", "HH:MM:00" or the pattern "MM-WW-D ".
  void FormatExchange(std::string& buffer, bool timeNotDate, bool pattern) const;

  // Typed input of the editors. Separators in `text` are replaced by blanks. Returns 1 and
  // sets the parts, or 0 and leaves the value as it was.
  int ParseTyped(std::string& text, bool timeNotDate);

  // Seconds since 1970 of the parts read as universal time, unset parts from "now";
  // 0xFFFFFFFF when the date cannot be converted.
  uint32_t GetInstant() const;

  static int DaysInMonth(int month, int year);
};

// Reads a value stored in the object form into `value` (the read object is discarded).
void LoadTimeObject(CArchive& ar, CCasTime& value);
