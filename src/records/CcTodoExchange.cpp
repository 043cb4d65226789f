// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcTodo.h"
#include "records/ExchangeColumns.h"

void CcTodoList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  const auto& item = static_cast<const CcTodo&>(record);
  columns.PutFieldTexts({item.m_text, item.m_done ? ExchangeDateTime(item.m_completed)
                                                  : ExchangeColumns::kNoDateTime});
}

void CcTodoList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool) {
  auto& item = static_cast<CcTodo&>(record);
  auto readCompleted = [&item](const std::string& text) {
    int n[6];
    if (!ReadExchangeNumbers(text, n)) return;
    CCasTime completed;
    completed.m_year = ExchangeDatePart(n[0]);
    completed.m_month = ExchangeDatePart(n[1]);
    completed.m_day = ExchangeDatePart(n[2]);
    completed.m_hour = int16_t(n[3]);
    completed.m_minute = int16_t(n[4]);
    item.m_completed.CopyParts(completed);
    item.m_done = 1;
  };
  columns.TakeColumnTexts({{&item.m_text, {}}, {nullptr, readCompleted}});
  if (item.m_text.empty()) item.m_text = " ";
}
