// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcMemo.h"
#include "records/ExchangeColumns.h"

void CcMemoList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  columns.PutFieldTexts({static_cast<const CcMemo&>(record).m_text});
}

void CcMemoList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool) {
  auto& memo = static_cast<CcMemo&>(record);
  columns.TakeColumnTexts({{&memo.m_text, {}}});
  // An empty memo could not be inserted: one blank makes it a memo.
  if (memo.m_text.empty()) memo.m_text = " ";
}
