// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcMemo.h"

IMPLEMENT_SERIAL(CcMemo, CCasioPol, 0)
IMPLEMENT_SERIAL(CcMemoList, CCasioList, 0)

void CcMemo::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  if (ar.IsStoring())
    ar.WriteText(m_text);
  else
    m_text = ar.ReadText();
}

int CcMemo::Compare(const CCasioPol& other) const {
  return CompareText(m_text, static_cast<const CcMemo&>(other).m_text);
}

int CcMemo::IsEmpty() const { return m_text.empty(); }

std::string CcMemoList::GetFieldName(int index) const {
  return index == 0 ? "Poznamka" : std::string();
}

// Memos keep the order in which they came: the newest first.
int CcMemoList::InsertSorted(CCasioPol* record) { return InsertAtHead(record); }
CCasioPol* CcMemoList::CreateRecord() const { return new CcMemo; }
int CcMemoList::GetFieldWidth(int index) const {
  return index == -1 ? 1 : CCasioList::GetFieldWidth(index);
}
int CcMemoList::GetKind() const { return 0; }
