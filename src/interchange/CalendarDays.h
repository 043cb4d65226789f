// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "interchange/Interchange.h"

class CcReminder;

// Day numbers of the proleptic Gregorian calendar (0 = 1970-01-01).
int64_t DayNumber(int year, int month, int day);
CalendarDate DateOfDay(int64_t day);
// 1 = Sunday ... 7 = Saturday, as the diary counts weekdays.
int WeekdayOf(int64_t day);

// Whether a reminder of the ReminderOne (`two` false) or ReminderTwo mode rings on `date`.
// ReminderOne: no day, every day; a day without a month, that day of every month; day and
// month, once a year (a month alone stands for its 1st). ReminderTwo: the weekday, in the
// month when one is set, in the given week of the month (1 the first seven days, ... 5 the
// days from the 29th) when a week 1..5 is set, else in every week.
bool ReminderRingsOn(const CcReminder& reminder, bool two, const CalendarDate& date);
// The RRULE of that pattern ("FREQ=MONTHLY;BYDAY=2TU").
std::string ReminderRule(const CcReminder& reminder, bool two);
// The first date on or after `from` the reminder rings on (searched over 28 years).
std::optional<CalendarDate> FirstRing(const CcReminder& reminder, bool two, CalendarDate from);
