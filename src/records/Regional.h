// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// The regional settings that the display form and typed input of dates follow. The GUI
// fills them from the locale and the profile at start-up; tests set them directly.
struct RegionalSettings {
  int dateOrder = 0;  // 0 month-day-year, 1 day-month-year, 2 year-month-day
  char dateSep = '.';
  char timeSep = ':';
};

// The local date and time as the calendar shows it.
struct LocalDateTime {
  int year = 1970;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

const RegionalSettings& GetRegionalSettings();
void SetRegionalSettings(const RegionalSettings& settings);

// "Now" in local time; tests replace the clock so that dates with unset parts are fixed.
LocalDateTime LocalNow();
void SetNowProvider(std::function<LocalDateTime()> provider);  // empty restores the system clock
