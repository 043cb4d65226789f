// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "records/CCasTime.h"

class CCasioList;

// The expense totals: the sum of the expenses of a period, filtered by payment and expense
// type and by mark, grouped by one of the two types, written as a fixed-width text report.
// Texts are Windows-1250; report lines end with CR LF.

// The calendar day of a date (days since 1970-01-01); unset parts are today's.
long DayNumber(const CCasTime& date);

struct ExpenseTotalsQuery {
  CCasTime from, to;           // the period, both days included
  bool paymentFilterOn = false;
  std::string paymentFilter;   // compared exactly with the expense's payment type
  bool expenseFilterOn = false;
  std::string expenseFilter;   // compared exactly with the expense's expense type
  bool groupByExpense = false; // false: by payment type ("platby"), true: by expense type
  bool onlyMarked = false;     // "se značkou"
};

struct ExpenseGroup {
  std::string name;
  double sum = 0;
};

struct ExpenseTotals {
  unsigned count = 0;
  double total = 0;
  std::vector<ExpenseGroup> groups;  // in the order of their first expense
};

// Walks the expenses of `list` in list order (sorted by date): skips those before the
// from-day, stops at the first one after the to-day, and adds up the rest that pass the mark
// choice and the filters that are on.
ExpenseTotals ComputeExpenseTotals(const CCasioList& list, const ExpenseTotalsQuery& query);

// A report line of exactly `width` characters: the label, blanks, the value, then CR LF.
// When label and value together are longer, the line is "Chyba - příliš velké písmo." and
// CR LF instead.
std::string ReportLine(const std::string& label, const std::string& value, int width);
// `width` hyphens and CR LF.
std::string ReportSeparator(int width);

// One report block: separator, period ("from - to"), the filter line when a filter is on,
// the count, separator, the grouping's heading, a line per group, separator, the total,
// separator.
std::string ExpenseReport(const std::string& periodText, const ExpenseTotalsQuery& query,
                          const ExpenseTotals& totals, int width);
