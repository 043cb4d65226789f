// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "records/CCasTime.h"

class CcExpense;
class CcReminder;
class CcScheduler;
class CcTodo;

// How the record forms turn what the user typed into record values. Each function either
// takes every value into the record and returns kStored, or names the control whose text did
// not read (the form then shows message 124 there) and leaves the record as it was.

constexpr int kStored = 0;
// Control ids of the forms' edits, as the failing control of a store.
constexpr int kEditDate = 197;      // date (Scheduler, ToDo, Expenses)
constexpr int kEditTime = 200;      // Scheduler: start time, or the end date when multi-day
constexpr int kEditEndTime = 208;   // Scheduler: end time
constexpr int kEditAlarm = 198;     // alarm time (ToDo: the completion time)
constexpr int kEditDay = 206;       // reminders: day or week
constexpr int kEditAmount = 343;    // Expenses

struct SchedulerInput {
  bool multiDay = false;
  std::string date;     // 197
  std::string time;     // 200
  std::string endTime;  // 208
  bool alarmOn = false;  // 204
  std::string alarm;    // 198
};
int StoreScheduler(const SchedulerInput& input, const std::string& text, CcScheduler& record);

struct ReminderInput {
  int month = 0;         // entry of combo 205: 0 "*" (every month), else the month
  std::string day;       // 206: day (ReminderOne) or week (ReminderTwo)
  int weekday = 0;       // entry of combo 143 (ReminderTwo): 0 Sunday .. 6 Saturday
  bool alarmOn = false;  // 204
  std::string alarm;     // 198
};
int StoreReminderOne(const ReminderInput& input, const std::string& text, CcReminder& record);
int StoreReminderTwo(const ReminderInput& input, const std::string& text, CcReminder& record);

int StoreTodo(bool done, const std::string& date, const std::string& time,
              const std::string& text, CcTodo& record);

// Expenses: the date (empty means today) and the amount, a number from 0 to 99999999 kept
// to two decimals (cut, not rounded). kEditAmount also when the amount is out of range.
struct ExpenseInput {
  std::string date;
  std::string amount;
  std::string payment;
  std::string expense;
};
int StoreExpense(const ExpenseInput& input, const std::string& note, CcExpense& record);
// The amount text as the form shows it: "%.8g".
std::string AmountText(double amount);
// Reads an amount as "%lg" does (leading number, rest ignored); false when nothing reads.
bool ReadAmount(const std::string& text, double& amount);
// "%.8g", cut after two decimals, read again.
double CutAmount(double amount);

// The row to select when a Scheduler view opens: the first of the rows dated today, found by
// the binary search over the rows' start dates (which are in date order), or -1 with fewer
// than two rows. `dates` holds each row's start date as year*10000+month*100+day with unset
// parts from today.
int SchedulerTodayRow(const std::vector<int>& dates, int today);
// The same over `count` rows whose day keys `dateOf` gives, looking only at the rows it needs.
int SchedulerTodayRow(int count, const std::function<int(int)>& dateOf, int today);
// That day key of a value.
int DayKey(const CCasTime& value);

// FreeFile's own text files.
constexpr std::size_t kFreeFileReadLimit = 61440;
constexpr std::size_t kFreeFileBodyLimit = 20480;
// The body of an imported file: its first 61440 bytes, without LF bytes, at most 20480.
std::string FreeFileImportBody(const std::string& fileBytes);
// The body as a file: each CR becomes CR LF (an LF already after it is kept once).
std::string FreeFileExportText(const std::string& body);
// The suggested file name: up to 8 letters and digits of the title, then, when a dot follows
// them, the dot and up to 3 more.
std::string FreeFileExportName(const std::string& title);

// The send dialog's mode boxes, filter and marks switch. With SpreadSheet checked (it can
// only be checked alone) the filter is "only marked", marks are off and those controls are
// disabled; unchecking it brings back what the user had.
class SendDialogRules {
 public:
  // `hasMode`: the modes of the diary type; `checked`: the lists' selection flags (a mode the
  // type lacks is unchecked); `filter` 0 all, 1 only marked, 2 only unmarked.
  SendDialogRules(const std::array<bool, 10>& hasMode, const std::array<bool, 10>& checked,
                  int filter, bool marks);

  void setChecked(int mode, bool on);
  void setFilter(int filter);
  void setMarks(bool on);

  bool checked(int mode) const { return m_checked[mode]; }
  int filter() const { return m_filter; }
  bool marks() const { return m_marks; }
  bool modeEnabled(int mode) const;
  // Radio 111 (0), 112 (1), 113 (2).
  bool filterEnabled(int filter) const;
  bool marksEnabled() const { return !m_checked[9]; }
  bool anyChecked() const;

 private:
  void apply();

  std::array<bool, 10> m_hasMode;
  std::array<bool, 10> m_checked;
  int m_filter;
  bool m_marks;
  bool m_kept = false;
  int m_keptFilter = 0;
  bool m_keptMarks = false;
};
