// SPDX-License-Identifier: GPL-3.0-or-later
// An expense as diary items: seven fields, each closed by an LF but the last.
#include "records/CcExpense.h"

#include <charconv>
#include <clocale>
#include <cstdio>

#include "records/DiaryItems.h"

namespace {

// The diary's amount: eight significant digits with the trailing zeros kept ("%#.8g"),
// always with a full stop whatever the locale of the process says.
std::string AmountItem(double amount) {
  char text[64];
  std::snprintf(text, sizeof text, "%#.8g", amount);
  std::string result = text;
  const char* point = std::localeconv()->decimal_point;
  if (point && *point && std::string(point) != ".") {
    const std::size_t at = result.find(point);
    if (at != std::string::npos) result.replace(at, std::string(point).size(), ".");
  }
  return result;
}

// A decimal amount as the diary writes it, read the same way in any locale; 0.0 when the
// text does not begin with a number.
double ReadAmount(const std::string& text) {
  std::size_t at = 0;
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  if (at < text.size() && text[at] == '+') ++at;
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
  if (error != std::errc() || end == text.data() + at) return 0.0;
  return value;
}

}  // namespace

int CcExpense::SendToDiary(DiaryItemSink& link) const {
  char date[64];
  std::snprintf(date, sizeof date, "%04d%02d%02d\n", m_date.m_year, m_date.m_month, m_date.m_day);
  // The fifth and sixth fields are kept empty: the PC has nothing for them.
  const std::string items[] = {
      date,
      AmountItem(m_amount) + "\n",
      UserItemText(link, m_payment) + "\n",
      UserItemText(link, m_expense) + "\n",
      "\n",
      "\n",
      UserItemText(link, m_note),
  };
  bool first = true;
  for (const std::string& item : items) {
    if (!link.SendItem(item, kSelText, first ? kItemRestart | kItemAdvance : kItemAdvance))
      return 0;
    first = false;
  }
  return 1;
}

int CcExpense::SetFromDiaryItem(const char* text, uint8_t, int itemIndex, int) {
  std::string item = ReceivedText(text);
  if (item.empty()) return 1;
  const bool closed = RemoveFinalLf(item);
  switch (itemIndex) {
    case 0:
      // YYYYMMDD
      m_date.m_year = ReadItemNumber(item, 0, 4);
      m_date.m_month = ReadItemNumber(item, 4, 2);
      m_date.m_day = ReadItemNumber(item, 6, std::string::npos);
      break;
    case 1:
      m_amount = ReadAmount(item);
      break;
    case 2:
      m_payment += item;
      break;
    case 3:
      m_expense += item;
      break;
    case 6:
      m_note += item;
      break;
    default:
      break;
  }
  return closed ? 1 : 0;
}
