// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/ExpenseTotals.h"

#include "records/CCasioList.h"
#include "records/CcExpense.h"
#include "records/Regional.h"
#include "resources/StringTable.h"

namespace {
// Days from 1970-01-01 of a proleptic Gregorian date.
long DaysFromCivil(long y, long m, long d) {
  y -= m <= 2;
  const long era = (y >= 0 ? y : y - 399) / 400;
  const long yoe = y - era * 400;
  const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}
}  // namespace

long DayNumber(const CCasTime& date) {
  const LocalDateTime now = LocalNow();
  const long year = date.m_year >= 0 ? date.m_year : now.year;
  const long month = date.m_month >= 1 ? date.m_month : now.month;
  const long day = date.m_day >= 1 ? date.m_day : now.day;
  return DaysFromCivil(year, month, day);
}

ExpenseTotals ComputeExpenseTotals(const CCasioList& list, const ExpenseTotalsQuery& query) {
  ExpenseTotals totals;
  const long from = DayNumber(query.from);
  const long to = DayNumber(query.to);
  for (const CCasioPol* record : list) {
    const auto* expense = dynamic_cast<const CcExpense*>(record);
    if (!expense) continue;
    const long day = DayNumber(expense->m_date);
    if (day < from) continue;
    if (day > to) break;
    if (query.onlyMarked && !expense->m_mark) continue;
    if (query.paymentFilterOn && expense->m_payment != query.paymentFilter) continue;
    if (query.expenseFilterOn && expense->m_expense != query.expenseFilter) continue;
    ++totals.count;
    totals.total += expense->m_amount;
    const std::string& name = query.groupByExpense ? expense->m_expense : expense->m_payment;
    ExpenseGroup* group = nullptr;
    for (ExpenseGroup& g : totals.groups)
      if (g.name == name) group = &g;
    if (!group) group = &totals.groups.emplace_back(ExpenseGroup{name, 0});
    group->sum += expense->m_amount;
  }
  return totals;
}

std::string ReportLine(const std::string& label, const std::string& value, int width) {
  const std::size_t w = width > 0 ? std::size_t(width) : 0;
  if (label.size() + value.size() > w) return CpString(IDS_FONT_TOO_LARGE);
  return label + std::string(w - label.size() - value.size(), ' ') + value + "\r\n";
}

std::string ReportSeparator(int width) {
  return std::string(width > 0 ? std::size_t(width) : 0, '-') + "\r\n";
}

std::string ExpenseReport(const std::string& periodText, const ExpenseTotalsQuery& query,
                          const ExpenseTotals& totals, int width) {
  const std::string separator = ReportSeparator(width);
  std::string text = separator;
  text += ReportLine(CpString(IDS_TOTALS_PERIOD), periodText, width);
  if (query.paymentFilterOn || query.expenseFilterOn) {
    std::string label = CpStringToken(IDS_TOTALS_FILTER, 0);
    std::string value;
    if (query.paymentFilterOn) {
      label += CpStringToken(IDS_TOTALS_FILTER, 1);
      value += query.paymentFilter;
    }
    if (query.paymentFilterOn && query.expenseFilterOn) {
      label += "/";
      value += "/";
    }
    if (query.expenseFilterOn) {
      label += CpStringToken(IDS_TOTALS_FILTER, 2);
      value += query.expenseFilter;
    }
    text += ReportLine(label + ":", value, width);
  }
  text += ReportLine(CpStringToken(IDS_TOTALS_COUNT, query.onlyMarked ? 1 : 0),
                     Format("%u", totals.count), width);
  text += separator;
  const int grouping = query.groupByExpense ? 1 : 0;
  text += ReportLine(CpStringToken(IDS_TOTALS_GROUPS, grouping), "", width);
  for (const ExpenseGroup& group : totals.groups)
    text += ReportLine(" " + group.name, Format("%.12g", group.sum), width);
  text += separator;
  text += ReportLine(CpStringToken(IDS_TOTALS_SUM, grouping), Format("%.12g", totals.total), width);
  text += separator;
  return text;
}
