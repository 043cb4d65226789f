// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcBuscard.h"
#include "records/ExchangeColumns.h"

void CcBuscardList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  const auto& card = static_cast<const CcBuscard&>(record);
  columns.PutFieldTexts(
      std::vector<std::string>(card.m_fields, card.m_fields + CcBuscard::kFields));
}

void CcBuscardList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool) {
  auto& card = static_cast<CcBuscard&>(record);
  std::vector<ExchangeColumns::ImportField> fields(CcBuscard::kFields);
  for (int i = 0; i < CcBuscard::kFields; ++i) fields[i].text = &card.m_fields[i];
  columns.TakeColumnTexts(fields);
  // A card needs its company and its name to be a card.
  if (card.m_fields[0].empty()) card.m_fields[0] = " ";
  if (card.m_fields[1].empty()) card.m_fields[1] = " ";
}
