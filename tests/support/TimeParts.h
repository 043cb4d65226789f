// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include "records/CCasTime.h"

// Time values for fixtures, built from their parts; -1 leaves a part unset.

// All seven parts, in the order CCasTime holds them.
inline CCasTime TimeFromParts(int year, int month, int day, int weekday, int week, int hour,
                              int minute) {
  CCasTime t;
  t.m_year = int16_t(year);
  t.m_month = int16_t(month);
  t.m_day = int16_t(day);
  t.m_weekday = int16_t(weekday);
  t.m_week = int16_t(week);
  t.m_hour = int16_t(hour);
  t.m_minute = int16_t(minute);
  return t;
}

inline CCasTime Date(int year, int month, int day) {
  return TimeFromParts(year, month, day, -1, -1, -1, -1);
}

inline CCasTime DateTime(int year, int month, int day, int hour, int minute) {
  return TimeFromParts(year, month, day, -1, -1, hour, minute);
}

inline CCasTime Time(int hour, int minute) {
  return TimeFromParts(-1, -1, -1, -1, -1, hour, minute);
}
