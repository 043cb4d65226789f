// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcTelefon.h"

IMPLEMENT_SERIAL(CcTelefon, CCasioPol, 0)
IMPLEMENT_SERIAL(CcTelefonList, CCasioList, 0)

void CcTelefon::Serialize(CArchive& ar) {
  CCasioPol::Serialize(ar);
  SerializeTexts(ar, m_fields, kFields);
}

int CcTelefon::Compare(const CCasioPol& other) const {
  const auto& o = static_cast<const CcTelefon&>(other);
  return CompareTexts(m_fields, o.m_fields, kFields);
}

int CcTelefon::IsEmpty() const { return m_fields[0].empty(); }

std::string CcTelefonList::GetFieldName(int index) const {
  static const char* const names[] = {"Jmeno", "Telefon", "Adresa"};
  if (index >= 0 && index < 3) return names[index];
  if (index >= 3 && index < CcTelefon::kFields) return FreeFieldColumnName(1, index - 3);
  return {};
}

int CcTelefonList::InsertSorted(CCasioPol* record) { return InsertInOrder(record); }
CCasioPol* CcTelefonList::CreateRecord() const { return new CcTelefon; }
int CcTelefonList::GetFieldWidth(int index) const {
  return index == -1 ? CcTelefon::kFields : CCasioList::GetFieldWidth(index);
}
int CcTelefonList::GetKind() const { return 1; }
