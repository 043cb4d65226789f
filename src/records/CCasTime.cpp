// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CCasTime.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "records/Regional.h"

IMPLEMENT_SERIAL(CCasTime, CObject, 0)

namespace {

// Older diaries and files hold two-digit years; the diary's own range is 1970 to 2037.
int16_t CorrectYear(int16_t year) {
  if (year >= 70 && year <= 99) return int16_t(year + 1900);
  if (year >= 0 && year <= 37) return int16_t(year + 2000);
  return year;
}

void AppendFormat(std::string& buffer, const char* format, int a) {
  char text[32];
  std::snprintf(text, sizeof text, format, a);
  buffer += text;
}

void AppendFormat3(std::string& buffer, const char* format, int a, char sep1, int b, char sep2,
                   int c) {
  char text[64];
  const char s1[2] = {sep1, 0};
  const char s2[2] = {sep2, 0};
  std::snprintf(text, sizeof text, format, a, s1, b, s2, c);
  buffer += text;
}

// Reads the fixed-width field at `offset` of a diary text as a decimal number: blanks may
// stand before the digits (years are written with "%4d"), and the digits end the number.
// The field is cut at the text's terminator, so a short text simply fails to read.
// Returns 1 and the number, 0 when no digit comes first, -1 when the field starts with '-'
// (the diary's mark of an unset part).
int ReadDiaryField(const char* text, std::size_t length, std::size_t offset, std::size_t width,
                   int& value) {
  if (offset >= length) return 0;
  const std::size_t end = offset + width < length ? offset + width : length;
  std::size_t i = offset;
  if (text[i] == '-') return -1;
  while (i < end && text[i] == ' ') ++i;
  if (i == end || text[i] < '0' || text[i] > '9') return 0;
  value = 0;
  for (; i < end && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
  return 1;
}

bool IsTypedSeparator(char c, char regional) {
  return c == regional || std::strchr("\\/ :.-,", c) != nullptr;
}

// Days from 1970-01-01 to the given day of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int month, int day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

}  // namespace

void CCasTime::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    uint8_t* at = ar.WriteSpace(6 * 2);
    for (int16_t part : {m_year, m_month, m_day, m_weekday, m_hour, m_minute}) {
      CArchive::PutWord(at, uint16_t(part));
      at += 2;
    }
  } else {
    m_year = CorrectYear(int16_t(ar.ReadWord()));
    m_month = int16_t(ar.ReadWord());
    m_day = int16_t(ar.ReadWord());
    m_weekday = int16_t(ar.ReadWord());
    m_week = -1;  // this form has no week
    m_hour = int16_t(ar.ReadWord());
    m_minute = int16_t(ar.ReadWord());
  }
}

void CCasTime::StoreRaw(CArchive& ar) const {
  // A constant lead-in that readers skip; kept so files stay byte-identical.
  static const uint8_t kLeadIn[4] = {0x78, 0xED, 0x45, 0x00};
  uint8_t* at = ar.WriteSpace(sizeof kLeadIn + 7 * 2);
  std::memcpy(at, kLeadIn, sizeof kLeadIn);
  at += sizeof kLeadIn;
  for (int16_t part : {m_year, m_month, m_day, m_weekday, m_week, m_hour, m_minute}) {
    CArchive::PutWord(at, uint16_t(part));
    at += 2;
  }
}

void CCasTime::LoadRaw(CArchive& ar) {
  uint8_t leadIn[4];
  ar.ReadBlock(leadIn, sizeof leadIn);
  m_year = CorrectYear(int16_t(ar.ReadWord()));
  m_month = int16_t(ar.ReadWord());
  m_day = int16_t(ar.ReadWord());
  m_weekday = int16_t(ar.ReadWord());
  m_week = int16_t(ar.ReadWord());
  m_hour = int16_t(ar.ReadWord());
  m_minute = int16_t(ar.ReadWord());
}

void CCasTime::CopyParts(const CCasTime& other) {
  m_year = other.m_year;
  m_month = other.m_month;
  m_day = other.m_day;
  m_weekday = other.m_weekday;
  m_week = other.m_week;
  m_hour = other.m_hour;
  m_minute = other.m_minute;
}

bool CCasTime::SameParts(const CCasTime& other) const {
  return m_year == other.m_year && m_month == other.m_month && m_day == other.m_day &&
         m_weekday == other.m_weekday && m_week == other.m_week && m_hour == other.m_hour &&
         m_minute == other.m_minute;
}

void CCasTime::FormatDiary(std::string& buffer, bool timeNotDate) const {
  if (timeNotDate) {
    if (m_hour >= 0)
      AppendFormat(buffer, "%02d:", m_hour);
    else
      buffer += "--:";
    if (m_minute >= 0)
      AppendFormat(buffer, "%02d", m_minute);
    else
      buffer += "--";
    return;
  }
  if (m_year >= 0)
    AppendFormat(buffer, "%4d-", m_year);
  else
    buffer += "-----";
  if (m_month >= 1)
    AppendFormat(buffer, "%02d-", m_month);
  else
    buffer += "---";
  if (m_day >= 1)
    AppendFormat(buffer, "%02d", m_day);
  else
    buffer += "--";
}

int CCasTime::ParseDiary(const char* text, bool timeNotDate) {
  const std::size_t length = std::strlen(text);
  int value = 0;
  if (timeNotDate) {
    int16_t parts[2];
    const std::size_t offsets[2] = {0, 3};
    for (int i = 0; i < 2; ++i) {
      const int r = ReadDiaryField(text, length, offsets[i], 2, value);
      if (r == 0) {
        m_hour = m_minute = -1;
        return 0;
      }
      parts[i] = r > 0 ? int16_t(value) : int16_t(-1);
    }
    m_hour = parts[0];
    m_minute = parts[1];
    return 1;
  }
  m_weekday = -1;
  int16_t parts[3];
  const std::size_t offsets[3] = {0, 5, 8};
  const std::size_t widths[3] = {4, 2, 2};
  for (int i = 0; i < 3; ++i) {
    const int r = ReadDiaryField(text, length, offsets[i], widths[i], value);
    if (r == 0) {
      m_year = m_month = m_day = -1;
      return 0;
    }
    parts[i] = r > 0 ? int16_t(value) : int16_t(-1);
  }
  m_year = parts[0];
  m_month = parts[1];
  m_day = parts[2];
  return 1;
}

void CCasTime::FormatDisplay(std::string& buffer, bool timeNotDate) const {
  const LocalDateTime now = LocalNow();
  const RegionalSettings& regional = GetRegionalSettings();
  if (timeNotDate) {
    const int hour = m_hour >= 0 ? m_hour : now.hour;
    const int minute = m_minute >= 0 ? m_minute : now.minute;
    char text[48];
    const char sep[2] = {regional.timeSep, 0};
    std::snprintf(text, sizeof text, "%d%s%02d", hour, sep, minute);
    buffer += text;
    return;
  }
  const int year = m_year >= 0 ? m_year : now.year;
  const int month = m_month >= 0 ? m_month : now.month;
  const int day = m_day >= 0 ? m_day : now.day;
  const char sep = regional.dateSep;
  switch (regional.dateOrder) {
    case 1:
      AppendFormat3(buffer, "%d%s%d%s%4d", day, sep, month, sep, year);
      break;
    case 2:
      AppendFormat3(buffer, "%02d%s%d%s%d", year, sep, month, sep, day);
      break;
    default:
      AppendFormat3(buffer, "%d%s%d%s%4d", month, sep, day, sep, year);
      break;
  }
}

void CCasTime::FormatExchange(std::string& buffer, bool timeNotDate, bool pattern) const {
  // Exchange columns always hold a full, fixed-width value, so unset parts become zeros.
  if (timeNotDate) {
    if (m_hour >= 0)
      AppendFormat(buffer, "%02d:", m_hour);
    else
      buffer += "00:";
    if (m_minute >= 0)
      AppendFormat(buffer, "%02d:00", m_minute);
    else
      buffer += "00:00";
  } else if (pattern) {
    if (m_month >= 0)
      AppendFormat(buffer, "%02d-", m_month);
    else
      buffer += "00-";
    if (m_week >= 0)
      AppendFormat(buffer, "%02d-", m_week);
    else
      buffer += "00-";
    if (m_weekday >= 0)
      AppendFormat(buffer, "%d ", m_weekday);
    else
      buffer += "0 ";
  } else {
    if (m_year >= 0)
      AppendFormat(buffer, "%4d-", m_year);
    else
      buffer += "0000-";
    if (m_month >= 0)
      AppendFormat(buffer, "%02d-", m_month);
    else
      buffer += "00-";
    if (m_day >= 0)
      AppendFormat(buffer, "%02d ", m_day);
    else
      buffer += "00 ";
  }
}

int CCasTime::ParseTyped(std::string& text, bool timeNotDate) {
  const std::size_t terminator = text.find('\0');
  const std::size_t length = terminator == std::string::npos ? text.size() : terminator;

  std::size_t pos = 0;
  while (pos < length && text[pos] == ' ') ++pos;
  if (pos == length) {
    // An emptied field clears the value; a date beside a set time cannot be left
    // without a day, so it becomes today.
    if (timeNotDate) {
      m_hour = m_minute = -1;
    } else if (m_hour < 0) {
      m_year = m_month = m_day = -1;
    } else {
      const LocalDateTime now = LocalNow();
      m_year = int16_t(now.year);
      m_month = int16_t(now.month);
      m_day = int16_t(now.day);
    }
    return 1;
  }

  const RegionalSettings& regional = GetRegionalSettings();
  const char regionalSep = timeNotDate ? regional.timeSep : regional.dateSep;
  for (std::size_t i = pos; i < length; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (!IsTypedSeparator(c, regionalSep)) return 0;
    text[i] = ' ';
  }

  // Up to three numbers; very long digit runs are capped, the range checks refuse them.
  long numbers[3] = {0, 0, 0};
  int count = 0;
  for (std::size_t i = pos; count < 3 && i < length;) {
    if (text[i] == ' ') {
      ++i;
      continue;
    }
    long n = 0;
    for (; i < length && text[i] != ' '; ++i) {
      n = n * 10 + (text[i] - '0');
      if (n > 1000000) n = 1000000;
    }
    numbers[count++] = n;
  }
  if (count == 0) return 0;

  if (timeNotDate) {
    const long hour = numbers[0], minute = numbers[1], second = numbers[2];
    if (hour > 23 || minute > 59 || second > 59) return 0;
    m_hour = int16_t(hour);
    m_minute = int16_t(minute);
    return 1;
  }

  if (count < 2) return 0;
  long year, month, day;
  switch (regional.dateOrder) {
    case 1:
      day = numbers[0], month = numbers[1], year = numbers[2];
      break;
    case 2:
      // With only two numbers this order reads them as month and day.
      if (count == 2)
        month = numbers[0], day = numbers[1], year = 0;
      else
        year = numbers[0], month = numbers[1], day = numbers[2];
      break;
    default:
      month = numbers[0], day = numbers[1], year = numbers[2];
      break;
  }
  if (day < 1 || month < 1 || month > 12) return 0;
  if (count == 2) year = LocalNow().year;
  if (year < 1970 || year > 2037) return 0;
  if (day > DaysInMonth(int(month), int(year))) return 0;
  m_year = int16_t(year);
  m_month = int16_t(month);
  m_day = int16_t(day);
  return 1;
}

// The parts are read as universal time, unset ones filled from the local "now" (the day also
// when it is 0). Parts beyond their range roll over into the next unit as the C library's
// calendar conversion does (31 April is 1 May, hour 24 the next day), so a pattern whose
// day is filled from today still orders sensibly. The instant is worked out in 64 bits from
// the calendar itself, so the process's time zone plays no part. It cannot be converted, and
// 0xFFFFFFFF is returned, when it lies before 1970-01-01 00:00 or past what 32 bits hold
// (2106-02-07 06:28). 0xFFFFFFFF itself is never a valid instant, since the seconds are 0.
uint32_t CCasTime::GetInstant() const {
  const LocalDateTime now = LocalNow();
  int64_t year = m_year >= 0 ? m_year : now.year;
  int64_t month = m_month >= 0 ? m_month : now.month;
  const int64_t day = m_day >= 1 ? m_day : now.day;
  const int64_t hour = m_hour >= 0 ? m_hour : now.hour;
  const int64_t minute = m_minute >= 0 ? m_minute : now.minute;

  // Month 0 is December of the year before, month 13 January of the next.
  year += (month - 1 >= 0 ? (month - 1) / 12 : (month - 12) / 12);
  month = ((month - 1) % 12 + 12) % 12 + 1;

  constexpr uint32_t kInvalid = 0xFFFFFFFFu;
  const int64_t days = DaysFromCivil(year, int(month), 1) + (day - 1);
  const int64_t seconds = days * 86400 + hour * 3600 + minute * 60;
  if (seconds < 0 || seconds >= int64_t(kInvalid)) return kInvalid;
  return uint32_t(seconds);
}

int CCasTime::DaysInMonth(int month, int year) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
  return kDays[month - 1];
}
