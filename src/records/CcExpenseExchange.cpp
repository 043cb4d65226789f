// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcExpense.h"
#include "records/ExchangeColumns.h"
#include "records/Regional.h"

void CcExpenseList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  const auto& expense = static_cast<const CcExpense&>(record);
  columns.PutFieldTexts(
      {expense.m_date.m_day >= 1 ? ExchangeDateTime(expense.m_date) : ExchangeColumns::kNoDateTime,
       FormatExchangeAmount(expense.m_amount), expense.m_payment, expense.m_expense,
       expense.m_note});
}

void CcExpenseList::ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool) {
  auto& expense = static_cast<CcExpense&>(record);
  auto readDate = [&expense](const std::string& text) {
    int n[6];
    if (!ReadExchangeNumbers(text, n)) return;
    expense.m_date.m_year = ExchangeDatePart(n[0]);
    expense.m_date.m_month = ExchangeDatePart(n[1]);
    expense.m_date.m_day = ExchangeDatePart(n[2]);
  };
  auto readAmount = [&expense](const std::string& text) {
    double amount;
    if (ReadExchangeAmount(text, amount)) expense.m_amount = amount;
  };
  columns.TakeColumnTexts({{nullptr, readDate},
                           {nullptr, readAmount},
                           {&expense.m_payment, {}},
                           {&expense.m_expense, {}},
                           {&expense.m_note, {}}});
  // An expense needs an amount and a day to be one: zero and today stand in.
  if (expense.IsEmpty()) expense.m_amount = 0.0;
  if (expense.m_date.m_day < 1) {
    const LocalDateTime now = LocalNow();
    expense.m_date.m_year = int16_t(now.year);
    expense.m_date.m_month = int16_t(now.month);
    expense.m_date.m_day = int16_t(now.day);
  }
}
