// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of an expense.
#include "records/CcExpense.h"

namespace {

// Eight significant digits hold every amount up to 99999999. The blank after the number
// belongs to the text that is searched and printed.
std::string AmountText(double amount) { return Format("%.8g ", amount); }

int OwnWidth(const std::string& text) { return static_cast<int>(text.size()); }

}  // namespace

int CcExpense::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  for (const std::string* text : {&m_payment, &m_expense, &m_note})
    if (FindInText(*text, pattern, matchCase, wholeWord)) return 1;
  return FindInText(AmountText(m_amount), pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcExpense::GetPrintLines(PrintLines& lines, bool, int) const {
  std::string date;
  m_date.FormatDisplay(date, false);
  const std::string amount = AmountText(m_amount);
  AddPrintText(lines, 0, date, OwnWidth(date));
  AddPrintText(lines, 1, amount, OwnWidth(amount));
  AddPrintText(lines, 2, m_payment, OwnWidth(m_payment));
  AddPrintText(lines, 3, m_expense, OwnWidth(m_expense));
  AddPrintText(lines, 4, m_note, OwnWidth(m_note));
}

int CcExpense::DrawRow(RowPainter& painter, int top, bool selected) const {
  std::string first;
  m_date.FormatDisplay(first, false);
  // -1.0 is the amount of an expense that was never given one.
  if (m_amount != -1.0) first += " - " + AmountText(m_amount);
  first += m_payment;
  if (!m_payment.empty() && !m_expense.empty()) first += " : ";

  std::string second = m_expense;
  if (!m_note.empty()) second += ", " + m_note;

  RowCursor row(painter, 10, top, selected);
  row.Text(first, RowColour::Secondary);
  return row.Text(CutAtControl(second), RowColour::Text);
}
