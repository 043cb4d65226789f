// SPDX-License-Identifier: GPL-3.0-or-later
// A reminder as diary items: the repeat pattern, the alarm time and the text.
#include "records/CcReminder.h"

#include <cstdio>

#include "records/DiaryItems.h"

namespace {

// Two digits of a set part, else the diary's two dashes.
std::string TwoDigits(int16_t part) {
  if (part < 0) return "--";
  char text[16];
  std::snprintf(text, sizeof text, "%02d", part);
  return text;
}

}  // namespace

int CcReminder::SendToDiary(DiaryItemSink& link) const {
  // The pattern has the places of a diary date (no year) followed by week and weekday:
  // "-----MM-DD-----" for a day of the month, "-----MM----WW-D" for a weekday.
  std::string pattern = "-----" + TwoDigits(m_pattern.m_month) + "-";
  if (m_weekdayPattern) {
    // The diary needs a weekday in a weekday pattern; Sunday stands in for a missing one.
    const int weekday = m_pattern.m_weekday >= 0 ? m_pattern.m_weekday : 1;
    char digit[16];
    std::snprintf(digit, sizeof digit, "%d", weekday);
    pattern += "---" + TwoDigits(m_pattern.m_week) + "-" + digit;
  } else {
    pattern += TwoDigits(m_pattern.m_day) + "-----";
  }
  if (!link.SendItem(pattern, kSelDate, kItemRestart)) return 0;

  if (m_pattern.m_hour >= 0) {
    std::string alarm;
    m_pattern.FormatDiary(alarm, true);
    if (!link.SendItem(alarm, kSelAlarm, kItemRestart)) return 0;
  }
  return SendTextPieces(link, m_text, kSelText);
}

int CcReminder::SetFromDiaryItem(const char* text, uint8_t selector, int, int) {
  const std::string item = ReceivedText(text);
  switch (selector) {
    case kSelText:
      m_text += item;
      break;
    case kSelAlarm:
      m_pattern.ParseDiary(item.c_str(), true);
      break;
    case kSelDate:
      m_pattern.m_month = ReadItemNumber(item, 5, 2);
      m_pattern.m_day = ReadItemNumber(item, 8, 2);
      m_pattern.m_week = ReadItemNumber(item, 11, 2);
      m_pattern.m_weekday = ReadItemNumber(item, 14, 1);
      // Only a weekday pattern carries a weekday.
      m_weekdayPattern = m_pattern.m_weekday >= 0 ? 1 : 0;
      break;
    default:
      break;
  }
  return 1;
}
