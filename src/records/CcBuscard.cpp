// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcBuscard.h"

IMPLEMENT_SERIAL(CcBuscard, CCasioPol, 0)
IMPLEMENT_SERIAL(CcBuscardList, CCasioList, 0)

void CcBuscard::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  SerializeTexts(ar, m_fields, kFields);
}

int CcBuscard::Compare(const CCasioPol& other) const {
  const auto& o = static_cast<const CcBuscard&>(other);
  return CompareTexts(m_fields, o.m_fields, kFields);
}

// A card needs both the company and the name.
int CcBuscard::IsEmpty() const { return m_fields[0].empty() || m_fields[1].empty(); }

std::string CcBuscardList::GetFieldName(int index) const {
  static const char* const names[] = {"Firma",    "Jmeno",  "Telefon",  "Funkce", "Oddeleni",
                                      "Post_box", "Adresa", "Dalnopis", "Telefax"};
  if (index >= 0 && index < 9) return names[index];
  if (index >= 9 && index < CcBuscard::kFields) return FreeFieldColumnName(3, index - 9);
  return {};
}

int CcBuscardList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CcBuscardList::CreateRecord() const { return new CcBuscard; }
int CcBuscardList::GetFieldWidth(int index) const {
  return index == -1 ? CcBuscard::kFields : CCasioList::GetFieldWidth(index);
}
int CcBuscardList::GetKind() const { return 3; }
