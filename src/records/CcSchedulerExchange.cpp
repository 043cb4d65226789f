// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcScheduler.h"
#include "records/ExchangeColumns.h"

namespace {
// A start or end is written when it has a day or an hour, the alarm when it has an hour.
std::string DateTimeText(const CCasTime& value, bool needsDayOrHour) {
  const bool present = needsDayOrHour ? (value.m_day >= 1 || value.m_hour >= 1) : value.m_hour >= 1;
  return present ? ExchangeDateTime(value) : ExchangeColumns::kNoDateTime;
}

// All seven parts are replaced by what the column holds.
void ReadDateTime(CCasTime& value, const std::string& text) {
  int n[6];
  if (!ReadExchangeNumbers(text, n)) return;
  CCasTime read;
  read.m_year = ExchangeDatePart(n[0]);
  read.m_month = ExchangeDatePart(n[1]);
  read.m_day = ExchangeDatePart(n[2]);
  read.m_hour = int16_t(n[3]);
  read.m_minute = int16_t(n[4]);
  value.CopyParts(read);
}
}  // namespace

void CcSchedulerList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  const auto& entry = static_cast<const CcScheduler&>(record);
  columns.PutFieldTexts({entry.m_text, DateTimeText(entry.m_start, true),
                         DateTimeText(entry.m_end, true), DateTimeText(entry.m_alarm, false)});
}

void CcSchedulerList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool) {
  auto& entry = static_cast<CcScheduler&>(record);
  columns.TakeColumnTexts({
      {&entry.m_text, {}},
      {nullptr, [&entry](const std::string& t) { ReadDateTime(entry.m_start, t); }},
      {nullptr, [&entry](const std::string& t) { ReadDateTime(entry.m_end, t); }},
      {nullptr, [&entry](const std::string& t) { ReadDateTime(entry.m_alarm, t); }},
  });
  if (entry.m_text.empty()) entry.m_text = " ";
}
