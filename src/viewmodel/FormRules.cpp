// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/FormRules.h"

#include <cstdio>
#include <cstdlib>

#include "records/DiaryRecords.h"
#include "records/Regional.h"

namespace {

// The form's edits hand over at most 20 characters, leading blanks skipped.
std::string Typed(const std::string& text) {
  std::string t = text.substr(0, 20);
  const std::size_t first = t.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : t.substr(first);
}

bool ParseDate(const std::string& text, CCasTime& value) {
  std::string t = Typed(text);
  return value.ParseTyped(t, false) != 0;
}

bool ParseTime(const std::string& text, CCasTime& value) {
  std::string t = Typed(text);
  return value.ParseTyped(t, true) != 0;
}

void SetToday(CCasTime& value) {
  const LocalDateTime now = LocalNow();
  value.m_year = int16_t(now.year);
  value.m_month = int16_t(now.month);
  value.m_day = int16_t(now.day);
}

// A whole number alone (blanks around it allowed); false for anything else.
bool ReadWholeNumber(const std::string& text, int& number) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  long n = 0;
  std::size_t digits = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits)
    n = std::min(n * 10 + (text[i] - '0'), 1000000L);
  if (digits == 0 || text.find_first_not_of(' ', i) != std::string::npos) return false;
  number = int(n);
  return true;
}

// The alarm time of a form: with check 204 edit 198 must read as a time; without it none.
bool ReadAlarm(bool on, const std::string& text, CCasTime& value) {
  value.m_hour = value.m_minute = -1;
  return !on || ParseTime(text, value);
}

int StoreReminder(const ReminderInput& input, const std::string& text, CcReminder& record,
                  bool weekdays) {
  CCasTime pattern;
  if (input.month > 0) pattern.m_month = int16_t(input.month);
  const std::string day = Typed(input.day);
  const int low = weekdays ? 0 : 1, high = weekdays ? 5 : 31;
  int16_t& part = weekdays ? pattern.m_week : pattern.m_day;
  if (!day.empty()) {
    int n = 0;
    if (!ReadWholeNumber(day, n) || n < low || n > high) return kEditDay;
    part = int16_t(n);
  } else if (input.month > 0) {
    part = 1;  // a month without a day or week means its first one
  }
  if (!ReadAlarm(input.alarmOn, input.alarm, pattern)) return kEditAlarm;
  if (weekdays) pattern.m_weekday = int16_t(input.weekday + 1);
  record.m_pattern.CopyParts(pattern);
  record.m_weekdayPattern = weekdays ? 1 : 0;
  record.m_text = text;
  return kStored;
}

}  // namespace

int StoreScheduler(const SchedulerInput& input, const std::string& text, CcScheduler& record) {
  CCasTime start, end, alarm;
  if (Typed(input.date).empty())
    SetToday(start);
  else if (!ParseDate(input.date, start))
    return kEditDate;
  if (input.multiDay) {
    if (Typed(input.time).empty()) {
      end.m_year = start.m_year;
      end.m_month = start.m_month;
      end.m_day = start.m_day;
    } else if (!ParseDate(input.time, end)) {
      return kEditTime;
    }
  } else {
    if (!Typed(input.time).empty() && !ParseTime(input.time, start)) return kEditTime;
    // An end time alone would be an interval without a beginning.
    if (!Typed(input.endTime).empty() && start.m_hour >= 0 && !ParseTime(input.endTime, end))
      return kEditEndTime;
  }
  if (!ReadAlarm(input.alarmOn, input.alarm, alarm)) return kEditAlarm;
  record.m_text = text;
  record.m_start.CopyParts(start);
  record.m_end.CopyParts(end);
  record.m_alarm.CopyParts(alarm);
  return kStored;
}

int StoreReminderOne(const ReminderInput& input, const std::string& text, CcReminder& record) {
  return StoreReminder(input, text, record, false);
}

int StoreReminderTwo(const ReminderInput& input, const std::string& text, CcReminder& record) {
  return StoreReminder(input, text, record, true);
}

int StoreTodo(bool done, const std::string& date, const std::string& time,
              const std::string& text, CcTodo& record) {
  // An open item has no completion date, whatever the edits still hold.
  const std::string dateText = done ? Typed(date) : std::string();
  const std::string timeText = done && !dateText.empty() ? Typed(time) : std::string();
  CCasTime value;
  if (!dateText.empty() && !ParseDate(dateText, value)) return kEditDate;
  if (!timeText.empty() && !ParseTime(timeText, value)) return kEditAlarm;
  record.m_text = text;
  record.m_completed.CopyParts(value);
  record.m_done = done ? 1 : 0;
  return kStored;
}

std::string AmountText(double amount) {
  char text[64];
  std::snprintf(text, sizeof text, "%.8g", amount);
  return text;
}

bool ReadAmount(const std::string& text, double& amount) {
  return std::sscanf(text.c_str(), "%lg", &amount) == 1;
}

double CutAmount(double amount) {
  std::string text = AmountText(amount);
  const std::size_t dot = text.find('.');
  // An exponent form has no decimals to cut.
  if (dot != std::string::npos && text.find('e') == std::string::npos &&
      text.size() - dot - 1 > 2) {
    text.resize(dot + 3);
    ReadAmount(text, amount);
  }
  return amount;
}

int StoreExpense(const ExpenseInput& input, const std::string& note, CcExpense& record) {
  CCasTime date;
  if (Typed(input.date).empty())
    SetToday(date);
  else if (!ParseDate(input.date, date))
    return kEditDate;
  double amount = 0;
  if (!ReadAmount(input.amount, amount) || !(amount >= 0 && amount <= 99999999))
    return kEditAmount;
  record.m_date.CopyParts(date);
  record.m_amount = CutAmount(amount);
  record.m_payment = input.payment;
  record.m_expense = input.expense;
  record.m_note = note;
  return kStored;
}

int DayKey(const CCasTime& value) {
  const LocalDateTime now = LocalNow();
  const int year = value.m_year >= 0 ? value.m_year : now.year;
  const int month = value.m_month >= 0 ? value.m_month : now.month;
  const int day = value.m_day >= 1 ? value.m_day : now.day;
  return year * 10000 + month * 100 + day;
}

int SchedulerTodayRow(const std::vector<int>& days, int today) {
  return SchedulerTodayRow(int(days.size()), [&days](int row) { return days[row]; }, today);
}

int SchedulerTodayRow(int count, const std::function<int(int)>& dates, int today) {
  if (count < 2) return -1;
  int low = 0, high = count - 1, row = -1;
  while (high - low + 1 > 2) {
    const int n = high - low + 1;
    const int mid = low + (n + 1) / 2 - 1;
    if (dates(mid) == today) {
      row = mid;
      break;
    }
    if (dates(mid) < today)
      low = mid;
    else
      high = mid;
  }
  if (row < 0) row = dates(low) == today ? low : high;
  while (row > 0 && dates(row - 1) == today) --row;
  return row;
}

std::string FreeFileImportBody(const std::string& fileBytes) {
  std::string body;
  const std::size_t n = std::min(fileBytes.size(), kFreeFileReadLimit);
  body.reserve(n);
  for (std::size_t i = 0; i < n; ++i)
    if (fileBytes[i] != '\n') body += fileBytes[i];
  if (body.size() > kFreeFileBodyLimit) body.resize(kFreeFileBodyLimit);
  return body;
}

std::string FreeFileExportText(const std::string& body) {
  std::string out;
  for (std::size_t i = 0; i < body.size(); ++i) {
    if (body[i] == '\n' && i > 0 && body[i - 1] == '\r') continue;
    out += body[i];
    if (body[i] == '\r') out += '\n';
  }
  return out;
}

std::string FreeFileExportName(const std::string& title) {
  auto alnum = [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  };
  std::string name;
  std::size_t i = 0;
  while (i < title.size() && name.size() < 8 && alnum(title[i])) name += title[i++];
  if (i < title.size() && title[i] == '.') {
    name += '.';
    ++i;
    for (int k = 0; k < 3 && i < title.size() && alnum(title[i]); ++k) name += title[i++];
  }
  return name;
}

SendDialogRules::SendDialogRules(const std::array<bool, 10>& hasMode,
                                 const std::array<bool, 10>& checked, int filter, bool marks)
    : m_hasMode(hasMode), m_checked(checked), m_filter(filter), m_marks(marks) {
  for (int mode = 0; mode < 10; ++mode)
    if (!m_hasMode[mode]) m_checked[mode] = false;
  // SpreadSheet goes alone.
  if (m_checked[9])
    for (int mode = 0; mode < 9; ++mode) m_checked[mode] = false;
  apply();
}

void SendDialogRules::setChecked(int mode, bool on) {
  if (mode < 0 || mode > 9 || (on && !modeEnabled(mode))) return;
  m_checked[mode] = on;
  apply();
}

void SendDialogRules::setFilter(int filter) {
  if (filterEnabled(filter)) m_filter = filter;
}

void SendDialogRules::setMarks(bool on) {
  if (marksEnabled()) m_marks = on;
}

bool SendDialogRules::anyChecked() const {
  for (bool c : m_checked)
    if (c) return true;
  return false;
}

bool SendDialogRules::modeEnabled(int mode) const {
  if (!m_hasMode[mode]) return false;
  if (mode < 9) return !m_checked[9];
  for (int other = 0; other < 9; ++other)
    if (m_checked[other]) return false;
  return true;
}

bool SendDialogRules::filterEnabled(int filter) const { return filter == 1 || !m_checked[9]; }

void SendDialogRules::apply() {
  if (m_checked[9]) {
    // Worksheets go as chosen by their marks, and their marks never go.
    if (!m_kept) {
      m_kept = true;
      m_keptFilter = m_filter;
      m_keptMarks = m_marks;
    }
    m_filter = 1;
    m_marks = false;
  } else if (m_kept && !anyChecked()) {
    m_kept = false;
    m_filter = m_keptFilter;
    m_marks = m_keptMarks;
  }
}
