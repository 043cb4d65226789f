// SPDX-License-Identifier: GPL-3.0-or-later
// A schedule entry as diary items: date or date range, time range, alarm, description.
#include "records/CcScheduler.h"

#include "records/DiaryItems.h"

int CcScheduler::SendToDiary(DiaryItemSink& link) const {
  std::string date;
  m_start.FormatDiary(date, false);
  if (m_end.m_year >= 0) {
    date += '~';
    m_end.FormatDiary(date, false);
  }
  if (!link.SendItem(date, kSelDate, kItemRestart)) return 0;

  // An entry over several days has no times on the diary.
  if (m_end.m_year < 0 && m_start.m_hour >= 0) {
    std::string time;
    m_start.FormatDiary(time, true);
    if (m_end.m_hour >= 0) {
      time += '~';
      m_end.FormatDiary(time, true);
    }
    if (!link.SendItem(time, kSelTime, kItemRestart)) return 0;
  }

  if (m_alarm.m_hour >= 0) {
    std::string alarm;
    m_alarm.FormatDiary(alarm, true);
    if (!link.SendItem(alarm, kSelAlarm, kItemRestart)) return 0;
  }
  return SendTextPieces(link, m_text, kSelText);
}

int CcScheduler::SetFromDiaryItem(const char* text, uint8_t selector, int, int) {
  const std::string item = ReceivedText(text);
  // A description longer than 256 bytes reaches offsets whose high byte shows in the
  // selector.
  if (selector == kSelText || selector == kSelText2) {
    m_text += item;
    return 1;
  }
  if (selector < kSelText) return 1;

  const std::size_t tilde = item.find('~');
  const std::string first = item.substr(0, tilde);
  switch (selector) {
    case kSelDate:
      m_start.ParseDiary(first.c_str(), false);
      if (tilde != std::string::npos) m_end.ParseDiary(item.c_str() + tilde + 1, false);
      break;
    case kSelTime:
      m_start.ParseDiary(first.c_str(), true);
      if (tilde != std::string::npos) m_end.ParseDiary(item.c_str() + tilde + 1, true);
      break;
    case kSelAlarm:
      m_alarm.ParseDiary(item.substr(0, 5).c_str(), true);
      break;
    default:
      break;
  }
  return 1;
}
