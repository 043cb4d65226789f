// SPDX-License-Identifier: GPL-3.0-or-later
// The lists' exchange operations on their own: the texts a record puts into its columns and
// the record a row of column texts gives, with buffers bound to a statement in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "ExchangeTestSupport.h"
#include "document/FieldMapping.h"
#include "records/DiaryRecords.h"
#include "records/ExchangeColumns.h"
#include "records/Regional.h"

namespace {

// Binds nothing anywhere: it remembers the columns and lengths it was given.
class MemoryStatement : public ExchangeStatement {
 public:
  struct Bound {
    int column;
    int length;
    bool operator==(const Bound&) const = default;
  };
  std::vector<Bound> parameters;
  std::vector<Bound> results;
  int failAt = 0;  // the column whose binding fails, 0 for none

  bool BindParameter(int column, char*, int length, long*) override {
    parameters.push_back({column, length});
    return column != failAt;
  }
  bool BindResultColumn(int column, char*, int length, long*) override {
    results.push_back({column, length});
    return column != failAt;
  }
};

std::vector<MappingPair> AllFields(const CCasioList& list) {
  const int n = list.GetFieldWidth(-1);
  return UsedPairs(OneToOnePairs(n, n), n, n);
}

// The column texts a record exports to.
std::vector<std::string> Export(CCasioList& list, const CCasioPol& record,
                                const std::vector<MappingPair>& used, bool reminderTwo = false) {
  ExchangeColumns columns;
  columns.Setup(true, used);
  MemoryStatement statement;
  EXPECT_EQ(list.BindColumns(columns, statement, true), 1);
  list.ExportRecord(columns, record, reminderTwo);
  std::vector<std::string> texts;
  for (int c = 0; c < columns.Count(); ++c) texts.push_back(columns.Text(c));
  return texts;
}

std::vector<std::string> Export(CCasioList& list, const CCasioPol& record,
                                bool reminderTwo = false) {
  return Export(list, record, AllFields(list), reminderTwo);
}

// The record a row gives: each text is put into its bound buffer as a driver does, cut to
// the buffer with a terminator, the length word holding the whole length.
template <typename Record>
std::unique_ptr<Record> Import(CCasioList& list, const std::vector<std::string>& row,
                               int mergeChar = 0, bool reminderTwo = false) {
  const int fields = list.GetFieldWidth(-1);
  ExchangeColumns columns;
  columns.Setup(false, UsedPairs(OneToOnePairs(int(row.size()), fields), int(row.size()), fields),
                mergeChar);
  MemoryStatement statement;
  EXPECT_EQ(list.BindColumns(columns, statement, false), 1);
  for (int c = 0; c < columns.Count(); ++c) {
    const std::string& text = row[std::size_t(columns.Key(c))];
    const std::size_t n = std::min<std::size_t>(text.size(), columns.BufferLength(c) - 1);
    std::memcpy(columns.Buffer(c), text.data(), n);
    columns.Buffer(c)[n] = '\0';
    *columns.Indicator(c) = long(text.size());
  }
  std::unique_ptr<Record> record(static_cast<Record*>(list.CreateRecord()));
  list.ImportRecord(columns, *record, reminderTwo);
  for (int c = 0; c < columns.Count(); ++c) EXPECT_EQ(columns.Text(c), "") << "buffer " << c;
  return record;
}

class ListExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    CCasioList::SetExchangeWidth(200);
    SetNowProvider([] { return LocalDateTime{2024, 6, 15, 12, 0, 0}; });
  }
  void TearDown() override { SetNowProvider({}); }
};

// ---- export texts

TEST_F(ListExchange, BindsOneBufferPerColumnAsLongAsTheFieldWidth) {
  CcTelefonList list;
  ExchangeColumns columns;
  // Fields 0 and 2 go to column 4, field 1 to column 1: two columns, in file order.
  columns.Setup(true, {{0, 4}, {1, 1}, {2, 4}});
  MemoryStatement statement;
  ASSERT_EQ(list.BindColumns(columns, statement, true), 1);
  EXPECT_EQ(statement.parameters, (std::vector<MemoryStatement::Bound>{{1, 200}, {2, 200}}));
  EXPECT_TRUE(statement.results.empty());

  ExchangeColumns imported;
  imported.Setup(false, {{3, 0}, {0, 0}});
  MemoryStatement reading;
  CCasioList::SetExchangeWidth(50);
  ASSERT_EQ(list.BindColumns(imported, reading, false), 1);
  EXPECT_EQ(reading.results, (std::vector<MemoryStatement::Bound>{{1, 50}, {2, 50}}));
}

TEST_F(ListExchange, BindingStopsAtTheFirstFailure) {
  CcMemoList list;
  ExchangeColumns columns;
  columns.Setup(false, {{0, 0}, {1, 0}, {2, 0}});
  MemoryStatement statement;
  statement.failAt = 2;
  EXPECT_EQ(list.BindColumns(columns, statement, false), 0);
  EXPECT_EQ(statement.results.size(), 2u);
}

std::vector<int> Parts(const CCasTime& t) {
  return {t.m_year, t.m_month, t.m_day, t.m_weekday, t.m_week, t.m_hour, t.m_minute};
}

TEST_F(ListExchange, MemoTextWithItsLineBreaksAsCrLf) {
  CcMemoList list;
  CcMemo memo;
  memo.m_text = W("první\rdruhý\r");
  EXPECT_EQ(Export(list, memo), (std::vector<std::string>{W("první\r\ndruhý\r\n")}));
}

TEST_F(ListExchange, TelephoneAndBusinessCardFieldsUnchanged) {
  CcTelefonList phones;
  CcTelefon phone;
  for (int i = 0; i < 9; ++i) phone.m_fields[i] = "t" + std::to_string(i);
  phone.m_fields[4] = "";
  EXPECT_EQ(Export(phones, phone),
            (std::vector<std::string>{"t0", "t1", "t2", "t3", "", "t5", "t6", "t7", "t8"}));

  CcBuscardList cards;
  CcBuscard card;
  std::vector<std::string> expected;
  for (int i = 0; i < 15; ++i) expected.push_back(card.m_fields[i] = std::string(1, char('a' + i)));
  EXPECT_EQ(Export(cards, card), expected);
}

TEST_F(ListExchange, ToDoCompletionOrStars) {
  CcTodoList list;
  CcTodo open;
  open.m_text = W("koupit mléko");
  open.m_completed = Time(2001, 5, 3, 10, 30);  // held but not done: not written
  EXPECT_EQ(Export(list, open), (std::vector<std::string>{W("koupit mléko"), "**-**-** **:**:**"}));
  CcTodo done;
  done.m_text = "hotovo";
  done.m_done = 1;
  done.m_completed = Time(2001, 5, 3, 10, 30);
  EXPECT_EQ(Export(list, done), (std::vector<std::string>{"hotovo", "2001-05-03 10:30:00"}));
}

TEST_F(ListExchange, SchedulerTimesWhenTheyHaveADayOrAnHour) {
  struct Case {
    const char* name;
    CCasTime start, end, alarm;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"full", Time(2024, 3, 15, 9, 30), Time(2024, 3, 15, 10, 45), Time(-1, -1, -1, 9, 15),
       {"x", "2024-03-15 09:30:00", "2024-03-15 10:45:00", "0000-00-00 09:15:00"}},
      // A date without a time writes zeros for the time.
      {"date only", Time(2024, 3, 15, -1, -1), Time(-1, -1, -1, -1, -1), Time(-1, -1, -1, -1, -1),
       {"x", "2024-03-15 00:00:00", "**-**-** **:**:**", "**-**-** **:**:**"}},
      // An hour alone is enough; an hour of 0 without a day is not, nor an alarm at 0.
      {"hour only", Time(-1, -1, -1, 7, 5), Time(-1, -1, -1, 0, 30), Time(-1, -1, -1, 0, 45),
       {"x", "0000-00-00 07:05:00", "**-**-** **:**:**", "**-**-** **:**:**"}},
  };
  CcSchedulerList list;
  for (const Case& c : cases) {
    CcScheduler entry;
    entry.m_text = "x";
    entry.m_start = c.start;
    entry.m_end = c.end;
    entry.m_alarm = c.alarm;
    EXPECT_EQ(Export(list, entry), c.expected) << c.name;
  }
}

TEST_F(ListExchange, ReminderPatternsOfBothModes) {
  CcReminderList list;
  CcReminder monthly;
  monthly.m_text = W("nájem");
  monthly.m_pattern = Time(-1, 5, 12, 8, 0);
  EXPECT_EQ(Export(list, monthly, false),
            (std::vector<std::string>{W("nájem"), "0000-05-12 08:00:00"}));
  CcReminder weekly;
  weekly.m_text = W("schůze");
  weekly.m_weekdayPattern = 1;
  weekly.m_pattern = Time(-1, 3, -1, 7, 0, 4, 2);
  EXPECT_EQ(Export(list, weekly, true),
            (std::vector<std::string>{W("schůze"), "03-02-4 07:00:00"}));
  CcReminder noMonth;
  noMonth.m_text = "t";
  noMonth.m_pattern = Time(-1, -1, 12, 8, 0, 4, 2);
  EXPECT_EQ(Export(list, noMonth, false), (std::vector<std::string>{"t", "**-**-** **:**:**"}));
  EXPECT_EQ(Export(list, noMonth, true), (std::vector<std::string>{"t", "**-**-*"}));
}

TEST_F(ListExchange, ExpenseDateAmountAndTypes) {
  struct Case {
    CCasTime date;
    double amount;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {Time(2024, 3, 15, -1, -1), 12.5,
       {"2024-03-15 00:00:00", "12.5", "Cash", "Meals", W("oběd")}},
      {Time(2024, 3, -1, -1, -1), 0.1 + 0.2,
       {"**-**-** **:**:**", "0.3", "Cash", "Meals", W("oběd")}},
      {Time(2024, 3, 1, -1, -1), 99999999,
       {"2024-03-01 00:00:00", "99999999", "Cash", "Meals", W("oběd")}},
      {Time(2024, 3, 1, -1, -1), 1234567.891,
       {"2024-03-01 00:00:00", "1234567.9", "Cash", "Meals", W("oběd")}},
  };
  CcExpenseList list;
  for (const Case& c : cases) {
    CcExpense expense;
    expense.m_date = c.date;
    expense.m_amount = c.amount;
    expense.m_payment = "Cash";
    expense.m_expense = "Meals";
    expense.m_note = W("oběd");
    EXPECT_EQ(Export(list, expense), c.expected) << c.amount;
  }
}

TEST_F(ListExchange, WorksheetRowsWriteTheirCells) {
  CcSpreadsheetList rows;
  auto* first = new CcSpreadsheetIE;
  first->m_cells = {"Item", "Price", ""};
  rows.AddTail(first);
  EXPECT_EQ(rows.GetFieldWidth(-1), 3);
  EXPECT_EQ(rows.GetFieldName(2), "Sloupec_3");
  EXPECT_EQ(rows.GetFieldName(3), "");
  EXPECT_EQ(Export(rows, *first), (std::vector<std::string>{"Item", "Price", ""}));
  rows.DeleteAll();
}

// ---- the limits of a column

TEST_F(ListExchange, AColumnTakesWidthMinusTwoCharacters) {
  struct Case {
    const char* name;
    std::string text;
    std::string expected;
  };
  const std::string x196(196, 'x'), x197(197, 'x'), x198(198, 'x');
  const std::vector<Case> cases = {
      {"cut", std::string(300, 'x'), x198},
      {"CR with two left", x196 + "\r" + "y", x196 + "\r\n"},
      {"CR with one left", x197 + "\r" + "y", x197 + " "},
      {"exactly full", x198, x198},
  };
  CcMemoList list;
  for (const Case& c : cases) {
    CcMemo memo;
    memo.m_text = c.text;
    EXPECT_EQ(Export(list, memo), (std::vector<std::string>{c.expected})) << c.name;
  }
}

TEST_F(ListExchange, TwoFieldsInOneColumnAreJoinedByCrLf) {
  CcTelefonList list;
  CcTelefon phone;
  phone.m_fields[0] = "Jan";
  phone.m_fields[1] = "123";
  phone.m_fields[2] = "Praha";
  // Fields 0 and 1 to column 0, field 2 to column 1.
  EXPECT_EQ(Export(list, phone, {{0, 0}, {1, 0}, {2, 1}}),
            (std::vector<std::string>{"Jan\r\n123", "Praha"}));
  // An empty first text leaves no empty line.
  phone.m_fields[0] = "";
  EXPECT_EQ(Export(list, phone, {{0, 0}, {1, 0}}), (std::vector<std::string>{"123"}));
  // The joined text stays within the column.
  phone.m_fields[0] = std::string(190, 'a');
  phone.m_fields[1] = "0123456789";
  EXPECT_EQ(Export(list, phone, {{0, 0}, {1, 0}}),
            (std::vector<std::string>{std::string(190, 'a') + "\r\n012345"}));
}

TEST_F(ListExchange, AMappingMayWriteFieldsInAnotherOrder) {
  CcTodoList list;
  CcTodo item;
  item.m_text = W("úkol");
  EXPECT_EQ(Export(list, item, {{0, 1}, {1, 0}}),
            (std::vector<std::string>{"**-**-** **:**:**", W("úkol")}));
}

// ---- import

TEST_F(ListExchange, SurplusColumnsJoinTheLastFieldByTheMergeCharacter) {
  CcTelefonList list;
  const std::vector<std::string> row = {"Jan", "1", "2", "3", "4",     "5",
                                        "6",   "7", "a", "b", "c\r\nd"};
  auto byCr = Import<CcTelefon>(list, row, 0);
  EXPECT_EQ(byCr->m_fields[8], "a\rb\rc\rd");
  EXPECT_EQ(byCr->m_fields[0], "Jan");
  auto byBlank = Import<CcTelefon>(list, row, 1);
  EXPECT_EQ(byBlank->m_fields[8], "a b c\rd");
}

TEST_F(ListExchange, TwoColumnsIntoOneMemoWithMergeZeroGiveACr) {
  CcMemoList list;
  EXPECT_EQ(Import<CcMemo>(list, {W("první"), W("druhá")})->m_text, W("první\rdruhá"));
  // An empty column adds nothing, not even a separator.
  EXPECT_EQ(Import<CcMemo>(list, {W("první"), "", W("třetí")})->m_text, W("první\rtřetí"));
}

TEST_F(ListExchange, AColumnGivesAtMostWidthMinusTwoAndARecordAtMost384) {
  CcMemoList list;
  // Each column is cut to 198; the record stops at 384 with the separators counted as two.
  const std::string a(250, 'a'), b(250, 'b'), c(50, 'c');
  EXPECT_EQ(Import<CcMemo>(list, {a, b, c})->m_text,
            std::string(198, 'a') + "\r" + std::string(184, 'b'));
  EXPECT_EQ(Import<CcMemo>(list, {std::string(150, 'a'), std::string(150, 'b'), b})->m_text,
            std::string(150, 'a') + "\r" + std::string(150, 'b') + "\r" + std::string(80, 'b'));

  CcTelefonList phones;
  auto phone = Import<CcTelefon>(phones, {a, b, c, "d"});
  EXPECT_EQ(phone->m_fields[0], std::string(198, 'a'));
  EXPECT_EQ(phone->m_fields[1], std::string(186, 'b'));
  EXPECT_EQ(phone->m_fields[2], "");
  EXPECT_EQ(phone->m_fields[3], "");
}

TEST_F(ListExchange, AmountsKeepTwoDecimalsCutNotRounded) {
  struct Case {
    std::string text;
    double amount;
  };
  const std::vector<Case> cases = {
      {"12.349", 12.34}, {"12.3", 12.3},     {"0.999", 0.99},
      {" +7", 7.0},      {"1e3", 1000.0},    {"12,34", 12.0},  // the comma ends the number
      {"abc", 0.0},      {"", 0.0},           // does not read: the empty amount becomes 0
      {"-5", 0.0},       {"123456789", 0.0},  // out of range: empty, so 0
  };
  CcExpenseList list;
  for (const Case& c : cases) {
    auto expense = Import<CcExpense>(list, {"2024-03-15 00:00:00", c.text});
    EXPECT_EQ(expense->m_amount, c.amount) << "[" << c.text << "]";
  }
}

TEST_F(ListExchange, ExpenseWithoutADayTakesToday) {
  CcExpenseList list;
  auto dated = Import<CcExpense>(list, {"2001-05-03 10:30:00", "1", "Cash", "Meals", "x"});
  EXPECT_EQ(Parts(dated->m_date), (std::vector<int>{2001, 5, 3, -1, -1, -1, -1}));
  EXPECT_EQ(dated->m_payment, "Cash");
  EXPECT_EQ(dated->m_note, "x");
  auto undated = Import<CcExpense>(list, {"**-**-** **:**:**", "1"});
  EXPECT_EQ(Parts(undated->m_date), (std::vector<int>{2024, 6, 15, -1, -1, -1, -1}));
}

TEST_F(ListExchange, SchedulerTimesReadBackAndStarsLeaveThemUnset) {
  CcSchedulerList list;
  auto entry = Import<CcScheduler>(
      list, {"porada", "2001-05-03 10:30:00", "**-**-** **:**:**", "0000-00-00 09:15:00"});
  EXPECT_EQ(entry->m_text, "porada");
  EXPECT_EQ(Parts(entry->m_start), (std::vector<int>{2001, 5, 3, -1, -1, 10, 30}));
  EXPECT_EQ(Parts(entry->m_end), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(Parts(entry->m_alarm), (std::vector<int>{-1, -1, -1, -1, -1, 9, 15}));
  // Not six numbers: the value stays as the new record had it.
  auto partial = Import<CcScheduler>(list, {"x", "2001-05-03"});
  EXPECT_EQ(Parts(partial->m_start), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1}));
}

TEST_F(ListExchange, ToDoStarsLeaveItOpenAndADateMakesItDone) {
  CcTodoList list;
  auto open = Import<CcTodo>(list, {"a", "**-**-** **:**:**"});
  EXPECT_EQ(open->m_done, 0);
  EXPECT_EQ(Parts(open->m_completed), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1}));
  auto done = Import<CcTodo>(list, {"b", "2001-05-03 10:30:00"});
  EXPECT_EQ(done->m_done, 1);
  EXPECT_EQ(Parts(done->m_completed), (std::vector<int>{2001, 5, 3, -1, -1, 10, 30}));
}

TEST_F(ListExchange, ReminderPatternsReadBack) {
  CcReminderList list;
  auto one = Import<CcReminder>(list, {W("nájem"), "0000-05-12 08:00:00"}, 0, false);
  EXPECT_EQ(Parts(one->m_pattern), (std::vector<int>{-1, 5, 12, -1, -1, 8, 0}));
  EXPECT_EQ(one->m_weekdayPattern, 0);
  auto two = Import<CcReminder>(list, {W("schůze"), "03-02-4 07:00:00"}, 0, true);
  EXPECT_EQ(Parts(two->m_pattern), (std::vector<int>{-1, 3, -1, 4, 2, 7, 0}));
  EXPECT_EQ(two->m_weekdayPattern, 1);
  auto none = Import<CcReminder>(list, {"t", "**-**-*"}, 0, true);
  EXPECT_EQ(Parts(none->m_pattern), (std::vector<int>{-1, -1, -1, -1, -1, -1, -1}));
  EXPECT_EQ(none->m_weekdayPattern, 0);
}

TEST_F(ListExchange, EmptyTextsBecomeABlankSoThatTheRecordCanBeInserted) {
  CcMemoList memos;
  EXPECT_EQ(Import<CcMemo>(memos, {""})->m_text, " ");
  CcTodoList todos;
  EXPECT_EQ(Import<CcTodo>(todos, {"", ""})->m_text, " ");
  CcSchedulerList schedule;
  EXPECT_EQ(Import<CcScheduler>(schedule, {""})->m_text, " ");
  CcReminderList reminders;
  EXPECT_EQ(Import<CcReminder>(reminders, {""})->m_text, " ");
  CcTelefonList phones;
  auto phone = Import<CcTelefon>(phones, {"", "123"});
  EXPECT_EQ(phone->m_fields[0], " ");
  EXPECT_EQ(phone->m_fields[1], "123");
  CcBuscardList cards;
  auto card = Import<CcBuscard>(cards, {"", "", "777"});
  EXPECT_EQ(card->m_fields[0], " ");
  EXPECT_EQ(card->m_fields[1], " ");
  EXPECT_EQ(card->m_fields[2], "777");
  auto named = Import<CcBuscard>(cards, {"Firma", W("Jméno")});
  EXPECT_EQ(named->m_fields[0], "Firma");
  EXPECT_EQ(named->m_fields[1], W("Jméno"));
}

TEST_F(ListExchange, ANullColumnReadsAsEmpty) {
  CcTelefonList list;
  ExchangeColumns columns;
  columns.Setup(false, {{0, 0}, {1, 1}});
  MemoryStatement statement;
  ASSERT_EQ(list.BindColumns(columns, statement, false), 1);
  std::strcpy(columns.Buffer(0), "Jan");
  *columns.Indicator(0) = 3;
  std::strcpy(columns.Buffer(1), "stale");
  *columns.Indicator(1) = -1;  // SQL_NULL_DATA
  CcTelefon phone;
  list.ImportRecord(columns, phone, false);
  EXPECT_EQ(phone.m_fields[0], "Jan");
  EXPECT_EQ(phone.m_fields[1], "");
}

}  // namespace
