// SPDX-License-Identifier: GPL-3.0-or-later
#include "interchange/CalendarDays.h"

#include "records/CcReminder.h"

namespace {
const char* const kDayCodes[] = {"", "SU", "MO", "TU", "WE", "TH", "FR", "SA"};

int WeekdayOfPattern(const CcReminder& r) {
  const int w = r.m_pattern.m_weekday;
  return w >= 1 && w <= 7 ? w : 1;  // the diary sends 1 for an unset weekday
}
bool HasWeek(const CcReminder& r) { return r.m_pattern.m_week >= 1 && r.m_pattern.m_week <= 5; }
}  // namespace

// Days from civil (H. Hinnant's algorithm).
int64_t DayNumber(int year, int month, int day) {
  year -= month <= 2;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yoe = unsigned(year - era * 400);
  const unsigned doy = (153 * unsigned(month + (month > 2 ? -3 : 9)) + 2) / 5 + unsigned(day) - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + int64_t(doe) - 719468;
}

CalendarDate DateOfDay(int64_t z) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = unsigned(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const int d = int(doy - (153 * mp + 2) / 5 + 1);
  const int m = int(mp < 10 ? mp + 3 : mp - 9);
  return {int(int64_t(yoe) + era * 400 + (m <= 2)), m, d};
}

int WeekdayOf(int64_t day) {
  // 1970-01-01 was a Thursday (5).
  return int(((day % 7) + 7 + 4) % 7) + 1;
}

bool ReminderRingsOn(const CcReminder& r, bool two, const CalendarDate& date) {
  const CCasTime& p = r.m_pattern;
  if (two) {
    if (WeekdayOf(DayNumber(date.year, date.month, date.day)) != WeekdayOfPattern(r)) return false;
    if (p.m_month >= 1 && date.month != p.m_month) return false;
    return !HasWeek(r) || (date.day - 1) / 7 + 1 == p.m_week;
  }
  if (p.m_day < 1 && p.m_month < 1) return true;
  const int day = p.m_day >= 1 ? p.m_day : 1;
  if (date.day != day) return false;
  return p.m_month < 1 || date.month == p.m_month;
}

std::string ReminderRule(const CcReminder& r, bool two) {
  const CCasTime& p = r.m_pattern;
  const std::string month = p.m_month >= 1 ? ";BYMONTH=" + std::to_string(p.m_month) : "";
  if (two) {
    const std::string day =
        (HasWeek(r) ? std::to_string(p.m_week) : std::string()) + kDayCodes[WeekdayOfPattern(r)];
    if (p.m_month >= 1) return "FREQ=YEARLY" + month + ";BYDAY=" + day;
    return std::string(HasWeek(r) ? "FREQ=MONTHLY" : "FREQ=WEEKLY") + ";BYDAY=" + day;
  }
  if (p.m_day < 1 && p.m_month < 1) return "FREQ=DAILY";
  const std::string day = ";BYMONTHDAY=" + std::to_string(p.m_day >= 1 ? p.m_day : 1);
  if (p.m_month >= 1) return "FREQ=YEARLY" + month + day;
  return "FREQ=MONTHLY" + day;
}

std::optional<CalendarDate> FirstRing(const CcReminder& r, bool two, CalendarDate from) {
  const int64_t start = DayNumber(from.year, from.month, from.day);
  // 28 years repeat the calendar, weekdays and leap days included.
  for (int64_t d = start; d < start + 28 * 366; ++d) {
    const CalendarDate date = DateOfDay(d);
    if (ReminderRingsOn(r, two, date)) return date;
  }
  return std::nullopt;
}
