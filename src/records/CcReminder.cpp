// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcReminder.h"

IMPLEMENT_SERIAL(CcReminder, CCasioPol, 0)
IMPLEMENT_SERIAL(CcReminderList, CCasioList, 0)

void CcReminder::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteWord(m_weekdayPattern);
    m_pattern.StoreRaw(ar);
    ar.WriteText(m_text);
  } else {
    m_weekdayPattern = ar.ReadWord();
    m_pattern.LoadRaw(ar);
    m_text = ar.ReadText();
  }
}

// Day-of-month patterns come before weekday patterns; within each, the broader pattern
// (an unset part repeats more often) comes first.
int CcReminder::Compare(const CCasioPol& other) const {
  const auto& o = static_cast<const CcReminder&>(other);
  const CCasTime& a = m_pattern;
  const CCasTime& b = o.m_pattern;
  if (int c = PropertyFirst(m_weekdayPattern == 0, o.m_weekdayPattern == 0)) return c;
  if (m_weekdayPattern == 0) {
    if (int c = PropertyFirst(a.m_month < 0, b.m_month < 0)) return c;
    if (int c = PropertyFirst(a.m_day < 0, b.m_day < 0)) return c;
    if (int c = CompareInstant(a, b)) return c;
    return CompareText(m_text, o.m_text);
  }
  if (int c = PropertyFirst(a.m_month < 0, b.m_month < 0)) return c;
  if (int c = CompareNumber(a.m_month, b.m_month)) return c;
  if (int c = PropertyFirst(a.m_week < 0, b.m_week < 0)) return c;
  if (int c = CompareNumber(a.m_week, b.m_week)) return c;
  if (int c = CompareNumber(a.m_weekday, b.m_weekday)) return c;
  if (int c = PropertyFirst(a.m_hour < 0, b.m_hour < 0)) return c;
  if (int c = CompareNumber(a.m_hour, b.m_hour)) return c;
  if (a.m_minute >= 0)
    if (int c = CompareNumber(a.m_minute, b.m_minute)) return c;
  return CompareText(m_text, o.m_text);
}

int CcReminder::IsEmpty() const { return m_text.empty(); }

std::string CcReminderList::GetFieldName(int index) const {
  static const char* const names[] = {"Popis", "Datum"};
  return index >= 0 && index < 2 ? names[index] : std::string();
}

int CcReminderList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CcReminderList::CreateRecord() const { return new CcReminder; }
int CcReminderList::GetFieldWidth(int index) const {
  return index == -1 ? 2 : CCasioList::GetFieldWidth(index);
}
// Both reminder lists answer 6; the document's slot tells ReminderOne from ReminderTwo.
int CcReminderList::GetKind() const { return 6; }
