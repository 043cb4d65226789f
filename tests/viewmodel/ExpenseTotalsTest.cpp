// SPDX-License-Identifier: GPL-3.0-or-later
// Expense totals: the period walk, filters, grouping, mark choice and the report's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TimeParts.h"
#include "records/CcExpense.h"
#include "records/Cp1250.h"
#include "records/Regional.h"
#include "viewmodel/ExpenseTotals.h"

namespace {

std::string W(const std::string& utf8) { return Cp1250FromUtf8(utf8); }
std::string Sp(int n) { return std::string(std::size_t(n), ' '); }

class ExpenseTotalsTest : public testing::Test {
 protected:
  void SetUp() override {
    SetNowProvider([] { return LocalDateTime{2024, 6, 15, 12, 0, 0}; });
  }
  void TearDown() override {
    m_list.DeleteAll();
    SetNowProvider({});
  }
  void Add(CCasTime date, double amount, const char* payment, const char* expense,
           bool marked = false) {
    auto* e = new CcExpense;
    e->m_date = date;
    e->m_amount = amount;
    e->m_payment = payment;
    e->m_expense = expense;
    e->m_mark = marked ? 1 : 0;
    m_list.AddTail(e);  // list order, as the walk sees it
  }
  static ExpenseTotalsQuery Period(CCasTime from, CCasTime to) {
    ExpenseTotalsQuery q;
    q.from = from;
    q.to = to;
    return q;
  }
  CcExpenseList m_list;
};

TEST_F(ExpenseTotalsTest, PeriodWithoutExpenses) {
  Add(Date(2024, 1, 10), 5, "Cash", "Fuel");
  Add(Date(2024, 4, 2), 6, "Cash", "Fuel");
  const ExpenseTotalsQuery q = Period(Date(2024, 3, 1), Date(2024, 3, 31));
  const ExpenseTotals totals = ComputeExpenseTotals(m_list, q);
  EXPECT_EQ(totals.count, 0u);
  EXPECT_EQ(totals.total, 0.0);
  EXPECT_TRUE(totals.groups.empty());
  const std::string dashes(40, '-');
  EXPECT_EQ(ExpenseReport("01.03.2024 - 31.03.2024", q, totals, 40),
            W(dashes + "\r\n" +
              "Období:" + Sp(10) + "01.03.2024 - 31.03.2024\r\n" +
              "Celkem položek:" + Sp(24) + "0\r\n" +
              dashes + "\r\n" +
              "Platby:" + Sp(33) + "\r\n" +
              dashes + "\r\n" +
              "Součet plateb:" + Sp(25) + "0\r\n" +
              dashes + "\r\n"));
}

TEST_F(ExpenseTotalsTest, ToDateIncludedAndWalkStopsAfterIt) {
  Add(Date(2024, 2, 28), 1, "Cash", "Meals");
  Add(Date(2024, 3, 1), 10, "Cash", "Meals");
  Add(Date(2024, 3, 5), 2.5, "VISA", "Fuel");
  Add(DateTime(2024, 3, 10, 23, 59), 7.25, "Cash", "Fuel");  // on the to-date
  Add(Date(2024, 3, 11), 100, "Cash", "Fuel");
  Add(Date(2024, 3, 2), 1000, "Cash", "Fuel");  // out of order: the walk has stopped
  const ExpenseTotalsQuery q = Period(Date(2024, 3, 1), Date(2024, 3, 10));
  const ExpenseTotals totals = ComputeExpenseTotals(m_list, q);
  EXPECT_EQ(totals.count, 3u);
  EXPECT_EQ(totals.total, 19.75);
  ASSERT_EQ(totals.groups.size(), 2u);
  EXPECT_EQ(totals.groups[0].name, "Cash");
  EXPECT_EQ(totals.groups[0].sum, 17.25);
  EXPECT_EQ(totals.groups[1].name, "VISA");
  EXPECT_EQ(totals.groups[1].sum, 2.5);
  const std::string dashes(30, '-');
  EXPECT_EQ(ExpenseReport("1.3.2024 - 10.3.2024", q, totals, 30),
            W(dashes + "\r\n" +
              "Období:" + Sp(3) + "1.3.2024 - 10.3.2024\r\n" +
              "Celkem položek:" + Sp(14) + "3\r\n" +
              dashes + "\r\n" +
              "Platby:" + Sp(23) + "\r\n" +
              " Cash" + Sp(20) + "17.25\r\n" +
              " VISA" + Sp(22) + "2.5\r\n" +
              dashes + "\r\n" +
              "Součet plateb:" + Sp(11) + "19.75\r\n" +
              dashes + "\r\n"));
}

TEST_F(ExpenseTotalsTest, FiltersGroupingAndMarks) {
  Add(Date(2024, 3, 1), 1, "Cash", "Fuel", true);
  Add(Date(2024, 3, 2), 2, "VISA", "Fuel");
  Add(Date(2024, 3, 3), 4, "Cash", "Meals", true);
  Add(Date(2024, 3, 4), 8, "Cash", "Fuel");
  struct Row {
    bool payOn;
    bool expOn;
    bool byExpense;
    bool marked;
    unsigned count;
    double total;
    std::string filterLine;  // UTF-8; empty when no filter line
  };
  const std::vector<Row> rows = {
      {true, true, false, false, 2, 9, "Filtr plateb/výdajů:" + Sp(11) + "Cash/Fuel"},
      {true, false, false, false, 3, 13, "Filtr plateb:" + Sp(23) + "Cash"},
      {false, true, true, false, 3, 11, "Filtr výdajů:" + Sp(23) + "Fuel"},
      {false, false, true, true, 2, 5, ""},
  };
  for (const Row& row : rows) {
    ExpenseTotalsQuery q = Period(Date(2024, 3, 1), Date(2024, 3, 31));
    q.paymentFilterOn = row.payOn;
    q.paymentFilter = "Cash";
    q.expenseFilterOn = row.expOn;
    q.expenseFilter = "Fuel";
    q.groupByExpense = row.byExpense;
    q.onlyMarked = row.marked;
    const ExpenseTotals totals = ComputeExpenseTotals(m_list, q);
    EXPECT_EQ(totals.count, row.count);
    EXPECT_EQ(totals.total, row.total);
    const std::string report = ExpenseReport("x", q, totals, 40);
    const std::string line3 = report.substr(84, report.find("\r\n", 84) - 84);
    if (!row.filterLine.empty()) EXPECT_EQ(line3, W(row.filterLine));
    else
      EXPECT_EQ(line3, W(row.marked ? "Celkem označených položek:" + Sp(13) + "2"
                                    : "Celkem položek:" + Sp(24) + "3"));
  }
  // Grouped by expense type: the heading and the groups follow that choice.
  ExpenseTotalsQuery q = Period(Date(2024, 3, 1), Date(2024, 3, 31));
  q.groupByExpense = true;
  const std::string report = ExpenseReport("x", q, ComputeExpenseTotals(m_list, q), 20);
  EXPECT_NE(report.find(W("Výdaje:" + Sp(13) + "\r\n Fuel" + Sp(13) + "11\r\n Meals" + Sp(13) +
                          "4\r\n")),
            std::string::npos);
  EXPECT_NE(report.find(W("Součet výdajů:" + Sp(4) + "15\r\n")), std::string::npos);
}

TEST(ReportLine, WidthRule) {
  EXPECT_EQ(ReportLine("ab", "cd", 6), "ab  cd\r\n");
  EXPECT_EQ(ReportLine("abc", "def", 6), "abcdef\r\n");  // exactly W: no blank
  EXPECT_EQ(ReportLine("abc", "defg", 6), W("Chyba - příliš velké písmo.\r\n"));
  EXPECT_EQ(ReportLine("", "", 0), "\r\n");
  EXPECT_EQ(ReportSeparator(3), "---\r\n");
}

TEST(DayNumber, UnsetPartsAreToday) {
  SetNowProvider([] { return LocalDateTime{2024, 6, 15, 12, 0, 0}; });
  EXPECT_EQ(DayNumber(Date(1970, 1, 1)), 0);
  EXPECT_EQ(DayNumber(Date(2024, 3, 1)) - DayNumber(Date(2024, 2, 28)), 2);  // leap year
  EXPECT_EQ(DayNumber(CCasTime{}), DayNumber(Date(2024, 6, 15)));
  SetNowProvider({});
}

}  // namespace
