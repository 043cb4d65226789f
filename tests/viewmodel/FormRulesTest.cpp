// SPDX-License-Identifier: GPL-3.0-or-later
#include <functional>

#include <gtest/gtest.h>

#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "records/Regional.h"
#include "viewmodel/FormRules.h"
#include "viewmodel/RecordClipboard.h"
#include "viewmodel/ViewCommands.h"

namespace {

// Day-month-year with full stops, today 15 March 2001 at 10:20.
class FormRules : public ::testing::Test {
 protected:
  void SetUp() override {
    SetRegionalSettings(RegionalSettings{1, '.', ':'});
    SetNowProvider([] { return LocalDateTime{2001, 3, 15, 10, 20, 0}; });
  }
  void TearDown() override {
    SetNowProvider({});
    SetRegionalSettings(RegionalSettings{});
  }
};

// The seven parts as "y-m-d wd w h:m", -1 for unset.
std::string Parts(const CCasTime& t) {
  return Format("%d-%d-%d %d %d %d:%d", t.m_year, t.m_month, t.m_day, t.m_weekday, t.m_week,
                t.m_hour, t.m_minute);
}

TEST_F(FormRules, SchedulerStoring) {
  struct Row {
    SchedulerInput in;
    int result;
    std::string start, end, alarm;
  } rows[] = {
      // Single day: an end time without a start time is dropped.
      {{false, "3.5.2001", "", "12:00", false, ""}, kStored, "2001-5-3 -1 -1 -1:-1",
       "-1--1--1 -1 -1 -1:-1", "-1--1--1 -1 -1 -1:-1"},
      {{false, "3.5.2001", "9", "12:30", true, "8:45"}, kStored, "2001-5-3 -1 -1 9:0",
       "-1--1--1 -1 -1 12:30", "-1--1--1 -1 -1 8:45"},
      // Multi-day without an end date ends on its first day.
      {{true, "3.5.2001", "", "", false, ""}, kStored, "2001-5-3 -1 -1 -1:-1",
       "2001-5-3 -1 -1 -1:-1", "-1--1--1 -1 -1 -1:-1"},
      {{true, "3.5.2001", "7.5.2001", "", false, ""}, kStored, "2001-5-3 -1 -1 -1:-1",
       "2001-5-7 -1 -1 -1:-1", "-1--1--1 -1 -1 -1:-1"},
      // An empty date is today.
      {{false, "  ", "", "", false, ""}, kStored, "2001-3-15 -1 -1 -1:-1",
       "-1--1--1 -1 -1 -1:-1", "-1--1--1 -1 -1 -1:-1"},
      {{false, "31.4.2001", "", "", false, ""}, kEditDate, "", "", ""},
      {{false, "3.5.2001", "25:00", "", false, ""}, kEditTime, "", "", ""},
      {{false, "3.5.2001", "9", "x", false, ""}, kEditEndTime, "", "", ""},
      {{true, "3.5.2001", "40.5.2001", "", false, ""}, kEditTime, "", "", ""},
      {{false, "3.5.2001", "", "", true, "abc"}, kEditAlarm, "", "", ""},
  };
  for (const Row& row : rows) {
    CcScheduler r;
    r.m_text = "old";
    EXPECT_EQ(StoreScheduler(row.in, "new", r), row.result) << row.in.date;
    if (row.result != kStored) {
      EXPECT_EQ(r.m_text, "old");  // a refused store leaves the record as it was
      continue;
    }
    EXPECT_EQ(r.m_text, "new");
    EXPECT_EQ(Parts(r.m_start), row.start) << row.in.date << " " << row.in.time;
    EXPECT_EQ(Parts(r.m_end), row.end) << row.in.date << " " << row.in.time;
    EXPECT_EQ(Parts(r.m_alarm), row.alarm);
  }
}

TEST_F(FormRules, ReminderStoringAndClipboardText) {
  struct Row {
    bool two;
    ReminderInput in;
    int result;
    std::string pattern;  // Parts() of the stored pattern
    std::string clip;     // the record's clipboard text
  } rows[] = {
      {false, {0, "", 0, false, ""}, kStored, "-1--1--1 -1 -1 -1:-1", "Denn\xec\r\nT\r\n"},
      {false, {3, "", 0, false, ""}, kStored, "-1-3-1 -1 -1 -1:-1", "1.3.\r\nT\r\n"},
      {false, {0, "12", 0, true, "7:05"}, kStored, "-1--1-12 -1 -1 7:5",
       "M\xec" "s\xed\xe8n\xec 12. ! 7:05\r\nT\r\n"},
      {false, {0, "32", 0, false, ""}, kEditDay, "", ""},
      {false, {0, "1a", 0, false, ""}, kEditDay, "", ""},
      {true, {0, "0", 1, false, ""}, kStored, "-1--1--1 2 0 -1:-1",
       "0.T\xfd" "dn\xec, Po\r\nT\r\n"},
      {true, {5, "", 6, false, ""}, kStored, "-1-5--1 7 1 -1:-1",
       "5.,1.T\xfd" "dn\xec, So\r\nT\r\n"},
      {true, {0, "6", 1, false, ""}, kEditDay, "", ""},
  };
  for (const Row& row : rows) {
    CcReminder r;
    const int result = row.two ? StoreReminderTwo(row.in, "T", r) : StoreReminderOne(row.in, "T", r);
    EXPECT_EQ(result, row.result) << row.in.day;
    if (result != kStored) continue;
    EXPECT_EQ(Parts(r.m_pattern), row.pattern) << row.in.day;
    EXPECT_EQ(r.m_weekdayPattern, row.two ? 1 : 0);
    EXPECT_EQ(ClipboardText(row.two ? kReminderTwo : kReminderOne, {&r}), row.clip);
  }
}

TEST_F(FormRules, TodoAndExpenseStoring) {
  CcTodo todo;
  // Without "Hotovo" the edits are ignored, even when they would not read.
  EXPECT_EQ(StoreTodo(false, "3.5.2001", "xx", "job", todo), kStored);
  EXPECT_EQ(Parts(todo.m_completed), "-1--1--1 -1 -1 -1:-1");
  EXPECT_EQ(todo.m_done, 0);
  EXPECT_EQ(ClipboardText(kToDo, {&todo}), "job\r\n");
  EXPECT_EQ(StoreTodo(true, "", "9:00", "job", todo), kStored);  // no date: no time
  EXPECT_EQ(ClipboardText(kToDo, {&todo}), "*\r\njob\r\n");
  EXPECT_EQ(StoreTodo(true, "3.5.2001", "9:00", "job", todo), kStored);
  EXPECT_EQ(ClipboardText(kToDo, {&todo}), "3.5.2001 - 9:00\r\njob\r\n");
  EXPECT_EQ(StoreTodo(true, "3.5.2001", "99", "x", todo), kEditAlarm);
  EXPECT_EQ(todo.m_text, "job");

  struct Row {
    const char* amount;
    int result;
    double stored;
  } rows[] = {{"12.349", kStored, 12.34}, {"12.3", kStored, 12.3}, {"0", kStored, 0},
              {"99999999", kStored, 99999999}, {"100000000", kEditAmount, 0},
              {"-1", kEditAmount, 0}, {"abc", kEditAmount, 0}};
  for (const Row& row : rows) {
    CcExpense e;
    EXPECT_EQ(StoreExpense({"", row.amount, "Cash", "Fuel"}, "n", e), row.result) << row.amount;
    if (row.result == kStored) {
      EXPECT_EQ(e.m_amount, row.stored);
      EXPECT_EQ(ClipboardText(kExpenses, {&e}),
                "15.3.2001\r\n" + AmountText(row.stored) + "\r\nCash\r\nFuel\r\nn\r\n");
    }
  }
}

TEST(SchedulerToday, FirstRowDatedToday) {
  const int t = 20010315, y = 20010314, m = 20010316;
  struct Row {
    std::vector<int> dates;
    int row;
  } rows[] = {
      {{y, t, t, m}, 1}, {{t}, -1}, {{t, t}, 0}, {{y, y, y, t, t, t, t, m, m}, 3},
      {{y, m}, 1},  // no day of today: the upper end of the last pair
      {{y, y, y, y}, 3}, {{m, m, m}, 1}, {{t, t, t, t, t, t, t}, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(SchedulerTodayRow(row.dates, t), row.row);
}

TEST(FreeFileText, ImportExportAndName) {
  // 70000 bytes of lines "abc" CR LF: the first 61440 bytes are read, LFs dropped.
  std::string file;
  while (file.size() < 70000) file += "abc\r\n";
  file.resize(70000);
  const std::string body = FreeFileImportBody(file);
  EXPECT_EQ(body.size(), kFreeFileBodyLimit);  // 61440 * 4/5 = 49152 is cut to 20480
  EXPECT_EQ(body.substr(0, 9), "abc\rabc\ra");
  EXPECT_EQ(FreeFileImportBody(std::string(100, 'x') + "\n" + std::string(61339, 'y') + "zz"),
            std::string(100, 'x') + std::string(20380, 'y'));
  EXPECT_EQ(FreeFileExportText("a\rb\r\nc"), "a\r\nb\r\nc");
  struct {
    const char* title;
    const char* name;
  } names[] = {{"Nakup.txt", "Nakup.txt"}, {"Dlouhynazev.doc", "Dlouhyna"},
               {"ab cd", "ab"}, {"zprava.text1", "zprava.tex"}, {"", ""}};
  for (const auto& n : names) EXPECT_EQ(FreeFileExportName(n.title), n.name) << n.title;
}

TEST(SendDialog, SpreadSheetGoesAloneWithOnlyMarked) {
  std::array<bool, 10> has;
  has.fill(true);
  has[5] = false;  // a diary without FreeFile
  std::array<bool, 10> checked{};
  checked[1] = checked[5] = true;
  SendDialogRules d(has, checked, 2, true);
  EXPECT_FALSE(d.checked(5));  // the diary lacks it
  EXPECT_FALSE(d.modeEnabled(5));
  EXPECT_FALSE(d.modeEnabled(9));  // Telephone is checked
  d.setChecked(1, false);
  ASSERT_TRUE(d.modeEnabled(9));
  d.setChecked(9, true);
  EXPECT_EQ(d.filter(), 1);
  EXPECT_FALSE(d.marks());
  EXPECT_FALSE(d.filterEnabled(0));
  EXPECT_TRUE(d.filterEnabled(1));
  EXPECT_FALSE(d.filterEnabled(2));
  EXPECT_FALSE(d.marksEnabled());
  for (int mode = 0; mode < 9; ++mode) EXPECT_FALSE(d.modeEnabled(mode)) << mode;
  d.setChecked(9, false);
  EXPECT_EQ(d.filter(), 2);
  EXPECT_TRUE(d.marks());
  EXPECT_TRUE(d.modeEnabled(0));
}

TEST(RecordClipboardData, RoundTripAndVersions) {
  CcTelefon t;
  t.m_fields[0] = "Jan";
  t.m_fields[1] = "123";
  t.m_mark = 1;
  const std::vector<uint8_t> data = StoreClipboardRecord(kTelephone, t);
  // 400, a new class tag, schema 0, "CcTelefonList", one record.
  const std::vector<uint8_t> head = {0x90, 0x01, 0xFF, 0xFF, 0x00, 0x00, 0x0D, 0x00, 'C', 'c',
                                     'T', 'e', 'l', 'e', 'f', 'o', 'n', 'L', 'i', 's', 't', 0x01, 0x00};
  EXPECT_EQ(std::vector<uint8_t>(data.begin(), data.begin() + head.size()), head);
  ClipLoad status;
  std::unique_ptr<CCasioPol> back = LoadClipboardRecord(kTelephone, data.data(), data.size(), &status);
  ASSERT_EQ(status, ClipLoad::Ok);
  EXPECT_EQ(ClipboardText(kTelephone, {back.get()}), "Jan\r\n123\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_EQ(back->Compare(t), 0);

  std::vector<uint8_t> old = data;
  old[0] = 0x85;  // 389
  EXPECT_EQ(LoadClipboardRecord(kTelephone, old.data(), old.size(), &status), nullptr);
  EXPECT_EQ(status, ClipLoad::OldVersion);
  // A Telephone list under the Memo format, and every cut of the data, read as nothing.
  EXPECT_EQ(LoadClipboardRecord(kMemo, data.data(), data.size(), &status), nullptr);
  EXPECT_EQ(status, ClipLoad::Broken);
  // A null object reference where the list belongs.
  const uint8_t null[] = {0x90, 0x01, 0x00, 0x00};
  EXPECT_EQ(LoadClipboardRecord(kToDo, null, sizeof null, &status), nullptr);
  EXPECT_EQ(status, ClipLoad::Broken);
  for (std::size_t n = 2; n < data.size(); ++n)
    EXPECT_EQ(LoadClipboardRecord(kTelephone, data.data(), n), nullptr) << n;
}

TEST(ViewCommandEnabling, Rules) {
  using F = ViewFacts::Focus;
  using namespace ViewCommand;
  ViewFacts f;
  f.count = 1;
  f.focus = F::List;
  struct Row {
    int id;
    std::function<void(ViewFacts&)> change;
    bool enabled;
  } rows[] = {
      {kAdd, [](ViewFacts&) {}, false},
      {kAdd, [](ViewFacts& v) { v.fieldsHaveContent = true; }, true},
      {kNew, [](ViewFacts& v) { v.mode = 9; }, false},
      {kDelete, [](ViewFacts& v) { v.count = 0; }, false},
      {kDelete, [](ViewFacts& v) { v.focus = F::FieldEdit; }, false},
      {kCopy, [](ViewFacts& v) { v.focus = F::FieldEdit; }, false},
      {kPaste, [](ViewFacts&) {}, false},
      {kPaste, [](ViewFacts& v) { v.clipboardHasRecord = true; }, true},
      {kUndo, [](ViewFacts& v) { v.fieldsModified = true; }, false},
      {kFindNext, [](ViewFacts& v) { v.searchText = true; }, false},
      {kFindNext, [](ViewFacts& v) { v.searchText = true; v.count = 2; }, true},
      {kSend, [](ViewFacts& v) { v.sending = true; }, true},
      {kSend, [](ViewFacts&) {}, false},
      {kExport, [](ViewFacts& v) { v.count = 0; }, false},
  };
  for (const Row& row : rows) {
    ViewFacts v = f;
    row.change(v);
    EXPECT_EQ(ViewCommandEnabled(row.id, v, nullptr), row.enabled) << row.id;
  }
}

}  // namespace
