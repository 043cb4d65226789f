// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcTodo.h"

IMPLEMENT_SERIAL(CcTodo, CCasioPol, 0)
IMPLEMENT_SERIAL(CcTodoList, CCasioList, 0)

void CcTodo::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteText(m_text);
    m_completed.StoreRaw(ar);
    ar.WriteWord(m_done);
  } else {
    m_text = ar.ReadText();
    m_completed.LoadRaw(ar);
    m_done = ar.ReadWord();
  }
}

// Never equal, so the diary's to-do items are all kept: an open item goes before every
// done one, which puts a new open item at the head and a new done item before the first
// done item.
int CcTodo::Compare(const CCasioPol& other) const {
  return (!m_done && static_cast<const CcTodo&>(other).m_done) ? 1 : -1;
}

int CcTodo::IsEmpty() const { return m_text.empty(); }

std::string CcTodoList::GetFieldName(int index) const {
  static const char* const names[] = {"Popis", "Hotovo"};
  return index >= 0 && index < 2 ? names[index] : std::string();
}

int CcTodoList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CcTodoList::CreateRecord() const { return new CcTodo; }
int CcTodoList::GetFieldWidth(int index) const {
  return index == -1 ? 2 : CCasioList::GetFieldWidth(index);
}
int CcTodoList::GetKind() const { return 4; }
