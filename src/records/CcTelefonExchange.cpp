// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcTelefon.h"
#include "records/ExchangeColumns.h"

void CcTelefonList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  const auto& entry = static_cast<const CcTelefon&>(record);
  columns.PutFieldTexts(
      std::vector<std::string>(entry.m_fields, entry.m_fields + CcTelefon::kFields));
}

void CcTelefonList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool) {
  auto& entry = static_cast<CcTelefon&>(record);
  std::vector<ExchangeColumns::ImportField> fields(CcTelefon::kFields);
  for (int i = 0; i < CcTelefon::kFields; ++i) fields[i].text = &entry.m_fields[i];
  columns.TakeColumnTexts(fields);
  // An entry without a name is empty and would be refused.
  if (entry.m_fields[0].empty()) entry.m_fields[0] = " ";
}
