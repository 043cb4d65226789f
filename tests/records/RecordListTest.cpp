// SPDX-License-Identifier: GPL-3.0-or-later
// Record ordering, emptiness and the lists' insertion policies.
#include <gtest/gtest.h>

#include <memory>

#include "document/CDuxelDoc.h"
#include "records/Cp1250.h"
#include "records/DiaryRecords.h"
#include "records/Regional.h"

namespace {

class RecordList : public ::testing::Test {
 protected:
  void SetUp() override {
    SetNowProvider([] { return LocalDateTime{2024, 6, 15, 12, 0, 0}; });
  }
  void TearDown() override { SetNowProvider({}); }
};

CcTelefon* Phone(const std::string& name, const std::string& number = "") {
  auto* r = new CcTelefon;
  r->m_fields[0] = name;
  r->m_fields[1] = number;
  return r;
}

std::vector<std::string> Names(const CCasioList& list) {
  std::vector<std::string> out;
  for (const CCasioPol* r : list) out.push_back(static_cast<const CcTelefon*>(r)->m_fields[0]);
  return out;
}

TEST_F(RecordList, TelephoneSortsByUnsignedBytesAndRefusesDuplicates) {
  CcTelefonList list;
  // "Žák" (8E E1 6B) sorts after "Zeman", "ábel" (E1 ...) after both, "" first.
  for (const char* name : {"Zeman", "\x8E\xE1k", "Adam",
                           "\xE1"
                           "bel",
                           "", "Adam"}) {
    std::unique_ptr<CcTelefon> r(Phone(name));
    if (list.InsertSorted(r.get())) r.release();
  }
  EXPECT_EQ(Names(list), (std::vector<std::string>{"", "Adam", "Zeman", "\x8E\xE1k",
                                                   "\xE1"
                                                   "bel"}));
  EXPECT_EQ((*std::next(list.begin()))->m_duplicates, 1u);
  EXPECT_EQ(list.m_modified, 1u);
  list.DeleteAll();
}

TEST_F(RecordList, EqualTelephoneIsRefusedAndLaterFieldsDecideTheOrder) {
  CcTelefonList list;
  std::unique_ptr<CcTelefon> a(Phone("Novák", "1")), b(Phone("Novák", "1")), c(Phone("Novák", "2"));
  EXPECT_EQ(a->Compare(*b), 0);
  EXPECT_EQ(a->Compare(*c), 1);
  EXPECT_EQ(c->Compare(*a), -1);
  EXPECT_EQ(list.InsertSorted(a.get()), 1);
  EXPECT_EQ(list.InsertSorted(b.get()), 0);
  EXPECT_EQ(list.GetCount(), 1u);
  list.RemoveAll();
}

TEST_F(RecordList, MemosAndFreeFilesGoToTheHeadWorksheetsToTheTail) {
  CcMemoList memos;
  for (int i = 0; i < 2; ++i) {
    auto* m = new CcMemo;
    m->m_text = "same";
    m->m_mark = uint16_t(i);
    EXPECT_EQ(memos.InsertSorted(m), 1);
  }
  ASSERT_EQ(memos.GetCount(), 2u);
  EXPECT_EQ(memos.GetHead()->m_mark, 1);  // the newer first
  memos.DeleteAll();

  CcFreefileList files;
  auto* f1 = new CcFreefile;
  auto* f2 = new CcFreefile;
  files.InsertSorted(f1);
  files.InsertSorted(f2);
  EXPECT_EQ(files.GetHead(), f2);
  files.DeleteAll();

  CcSpreadsheetList sheets;  // worksheets go to the tail
  auto* s1 = new CcSpreadsheet;
  sheets.InsertSorted(s1);
  EXPECT_EQ(sheets.InsertSorted(new CcSpreadsheet), 1);
  EXPECT_EQ(sheets.GetHead(), s1);
  sheets.DeleteAll();
}

TEST_F(RecordList, TodoOpenItemsFirstAndNothingRefused) {
  CcTodoList list;
  auto add = [&](const char* text, uint16_t done) {
    auto* t = new CcTodo;
    t->m_text = text;
    t->m_done = done;
    EXPECT_EQ(list.InsertSorted(t), 1);
  };
  add("done1", 1);
  add("open1", 0);
  add("done2", 1);  // before the first done item
  add("open2", 0);  // at the head
  add("open2", 0);  // identical: kept too
  std::vector<std::string> texts;
  for (const CCasioPol* r : list) texts.push_back(static_cast<const CcTodo*>(r)->m_text);
  EXPECT_EQ(texts, (std::vector<std::string>{"open2", "open2", "open1", "done2", "done1"}));
  list.DeleteAll();
}

TEST_F(RecordList, SchedulerWithoutStartDayComesFirst) {
  CcSchedulerList list;
  auto add = [&](int day, int hour, const char* text) {
    auto* s = new CcScheduler;
    s->m_start.m_year = 2001;
    s->m_start.m_month = 5;
    s->m_start.m_day = int16_t(day);
    s->m_start.m_hour = int16_t(hour);
    s->m_start.m_minute = 0;
    s->m_text = text;
    list.InsertSorted(s);
  };
  add(3, 10, "b");
  add(2, 23, "a");
  add(-1, 8, "no day");
  add(3, 9, "c");
  add(3, 10, "a2");
  std::vector<std::string> texts;
  for (const CCasioPol* r : list) texts.push_back(static_cast<const CcScheduler*>(r)->m_text);
  EXPECT_EQ(texts, (std::vector<std::string>{"no day", "a", "c", "a2", "b"}));
  list.DeleteAll();
}

TEST_F(RecordList, ExpensesWithEqualDateAndTextsLargerAmountFirst) {
  CcExpenseList list;
  for (double amount : {10.0, 99.5, 10.0, 0.5}) {
    auto* e = new CcExpense;
    e->m_date.m_year = 2001;
    e->m_date.m_month = 1;
    e->m_date.m_day = 2;
    e->m_amount = amount;
    if (!list.InsertSorted(e)) delete e;
  }
  std::vector<double> amounts;
  for (const CCasioPol* r : list) amounts.push_back(static_cast<const CcExpense*>(r)->m_amount);
  EXPECT_EQ(amounts, (std::vector<double>{99.5, 10.0, 0.5}));
  list.DeleteAll();
}

TEST_F(RecordList, ReminderOrder) {
  auto make = [](uint16_t flag, int month, int day, int week, int weekday, int hour,
                 const char* text) {
    auto* r = new CcReminder;
    r->m_weekdayPattern = flag;
    r->m_pattern.m_month = int16_t(month);
    r->m_pattern.m_day = int16_t(day);
    r->m_pattern.m_week = int16_t(week);
    r->m_pattern.m_weekday = int16_t(weekday);
    r->m_pattern.m_hour = int16_t(hour);
    r->m_pattern.m_minute = hour < 0 ? -1 : 0;
    r->m_text = text;
    return r;
  };
  CcReminderList list;
  list.InsertSorted(make(1, 5, -1, 2, 3, -1, "weekday may"));
  list.InsertSorted(make(0, 12, 24, -1, -1, 9, "christmas"));
  list.InsertSorted(make(1, -1, -1, 1, 2, 8, "weekday every month"));
  list.InsertSorted(make(0, -1, 5, -1, -1, -1, "monthly 5th"));
  list.InsertSorted(make(0, -1, -1, -1, -1, 7, "daily"));
  list.InsertSorted(make(0, 3, 1, -1, -1, -1, "march"));
  list.InsertSorted(make(1, 5, -1, 2, 1, -1, "weekday may sunday"));
  std::vector<std::string> texts;
  for (const CCasioPol* r : list) texts.push_back(static_cast<const CcReminder*>(r)->m_text);
  EXPECT_EQ(texts,
            (std::vector<std::string>{"daily", "monthly 5th", "march", "christmas",
                                      "weekday every month", "weekday may sunday", "weekday may"}));
  list.DeleteAll();
}

TEST_F(RecordList, Emptiness) {
  struct Case {
    const char* what;
    std::function<CCasioPol*()> make;
    int empty;
  };
  auto expense = [](double amount) {
    auto* e = new CcExpense;
    e->m_amount = amount;
    return e;
  };
  auto card = [](const char* company, const char* name) {
    auto* c = new CcBuscard;
    c->m_fields[0] = company;
    c->m_fields[1] = name;
    return c;
  };
  const Case cases[] = {
      {"new memo", [] { return new CcMemo; }, 1},
      {"new expense", [] { return new CcExpense; }, 1},
      {"expense 0", [&] { return expense(0.0); }, 0},
      {"expense 99999999", [&] { return expense(99999999.0); }, 0},
      {"expense 99999999.5", [&] { return expense(99999999.5); }, 1},
      {"card without name", [&] { return card("F", ""); }, 1},
      {"card without company", [&] { return card("", "N"); }, 1},
      {"card", [&] { return card("x", "x"); }, 0},
      {"phone number only", [] { return Phone("", "123"); }, 1},
      {"free file body only", [] { auto* f = new CcFreefile; f->m_body = "b"; return f; }, 1},
      {"unnamed sheet", [] { return new CcSpreadsheet; }, 1},
      {"exchange row", [] { return new CcSpreadsheetIE; }, 0},
  };
  for (const Case& c : cases) {
    std::unique_ptr<CCasioPol> r(c.make());
    EXPECT_EQ(r->IsEmpty(), c.empty) << c.what;
  }
}

TEST_F(RecordList, KindsFactoriesAndExchangeFields) {
  CDuxelDoc doc;
  struct Case {
    int mode;
    int kind;
    const CRuntimeClass* record;
    int fields;
    std::string firstName, lastName;
  };
  const Case cases[] = {
      {kMemo, 0, RUNTIME_CLASS(CcMemo), 1, "Poznamka", "Poznamka"},
      {kTelephone, 1, RUNTIME_CLASS(CcTelefon), 9, "Jmeno", "Free_6"},
      {kScheduler, 2, RUNTIME_CLASS(CcScheduler), 4, "Popis", "Alarm"},
      {kBusinessCards, 3, RUNTIME_CLASS(CcBuscard), 15, "Firma", "Free_6"},
      {kToDo, 4, RUNTIME_CLASS(CcTodo), 2, "Popis", "Hotovo"},
      {kFreeFile, 5, RUNTIME_CLASS(CcFreefile), 0, "", ""},
      {kReminderOne, 6, RUNTIME_CLASS(CcReminder), 2, "Popis", "Datum"},
      {kReminderTwo, 6, RUNTIME_CLASS(CcReminder), 2, "Popis", "Datum"},
      {kExpenses, 8, RUNTIME_CLASS(CcExpense), 5, "Datum", "Popis"},
      {kSpreadSheet, 9, RUNTIME_CLASS(CcSpreadsheet), 0, "", ""},
  };
  for (const Case& c : cases) {
    CCasioList* list = doc.GetList(c.mode);
    EXPECT_EQ(list->GetKind(), c.kind) << c.mode;
    std::unique_ptr<CCasioPol> r(list->CreateRecord());
    EXPECT_EQ(r->GetRuntimeClass(), c.record) << c.mode;
    EXPECT_EQ(list->GetFieldWidth(-1), c.fields) << c.mode;
    EXPECT_EQ(list->GetFieldName(0), c.firstName) << c.mode;
    EXPECT_EQ(list->GetFieldName(c.fields - 1), c.lastName) << c.mode;
  }
}

TEST_F(RecordList, FreeFieldColumnNamesComeFromTheCaptions) {
  SetFreeFieldCaptionProvider([](int mode, int index) {
    if (mode == 1 && index == 0) return Cp1250FromUtf8("Číslo domu: ");
    return std::string("Pole: ");
  });
  CcTelefonList phones;
  CcBuscardList cards;
  EXPECT_EQ(phones.GetFieldName(3), "Cislo_domu");
  EXPECT_EQ(phones.GetFieldName(4), "Pole");
  EXPECT_EQ(cards.GetFieldName(8), "Telefax");
  EXPECT_EQ(cards.GetFieldName(9), "Pole");
  SetFreeFieldCaptionProvider({});
  EXPECT_EQ(phones.GetFieldName(3), "Free_1");
}

}  // namespace
