// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcReminder.h"
#include "records/ExchangeColumns.h"

void CcReminderList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record,
                                  bool reminderTwo) {
  const auto& reminder = static_cast<const CcReminder&>(record);
  const CCasTime& p = reminder.m_pattern;
  std::string when;
  if (reminderTwo)
    when = p.m_month >= 1 ? ExchangePatternTime(p) : std::string("**-**-*");
  else
    when = p.m_month >= 1 ? ExchangeDateTime(p) : std::string(ExchangeColumns::kNoDateTime);
  columns.PutFieldTexts({reminder.m_text, when});
}

void CcReminderList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool reminderTwo) {
  auto& reminder = static_cast<CcReminder&>(record);
  auto readPattern = [&reminder, reminderTwo](const std::string& text) {
    int n[6];
    if (!ReadExchangeNumbers(text, n)) return;
    CCasTime& p = reminder.m_pattern;
    if (reminderTwo) {
      p.m_month = ExchangeDatePart(n[0]);
      p.m_week = ExchangeDatePart(n[1]);
      p.m_weekday = ExchangeDatePart(n[2]);
      reminder.m_weekdayPattern = 1;
    } else {
      p.m_year = ExchangeDatePart(n[0]);
      p.m_month = ExchangeDatePart(n[1]);
      p.m_day = ExchangeDatePart(n[2]);
    }
    p.m_hour = int16_t(n[3]);
    p.m_minute = int16_t(n[4]);
  };
  columns.TakeColumnTexts({{&reminder.m_text, {}}, {nullptr, readPattern}});
  if (reminder.m_text.empty()) reminder.m_text = " ";
}
