// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcScheduler.h"

IMPLEMENT_SERIAL(CcScheduler, CCasioPol, 0)
IMPLEMENT_SERIAL(CcSchedulerList, CCasioList, 0)

void CcScheduler::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring()) {
    m_start.StoreRaw(ar);
    m_end.StoreRaw(ar);
    m_alarm.StoreRaw(ar);
    ar.WriteText(m_text);
  } else {
    m_start.LoadRaw(ar);
    m_end.LoadRaw(ar);
    m_alarm.LoadRaw(ar);
    m_text = ar.ReadText();
  }
}

int CcScheduler::Compare(const CCasioPol& other) const {
  const auto& o = static_cast<const CcScheduler&>(other);
  if (int c = PropertyFirst(m_start.m_day < 0, o.m_start.m_day < 0)) return c;
  if (int c = CompareInstant(m_start, o.m_start)) return c;
  if (int c = CompareInstant(m_end, o.m_end)) return c;
  return CompareText(m_text, o.m_text);
}

int CcScheduler::IsEmpty() const { return m_text.empty(); }

std::string CcSchedulerList::GetFieldName(int index) const {
  static const char* const names[] = {"Popis", "Zacatek", "Konec", "Alarm"};
  return index >= 0 && index < 4 ? names[index] : std::string();
}

int CcSchedulerList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CcSchedulerList::CreateRecord() const { return new CcScheduler; }
int CcSchedulerList::GetFieldWidth(int index) const {
  return index == -1 ? 4 : CCasioList::GetFieldWidth(index);
}
int CcSchedulerList::GetKind() const { return 2; }
