// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Records of every kind built from their fields, for the tables of the record tests. `Text`
// turns a text of the test into the record's bytes (as it is, or UTF-8 into Windows-1250).
#include <memory>
#include <string>
#include <vector>

#include "TimeParts.h"
#include "records/DiaryRecords.h"

inline std::string AsIs(const std::string& text) { return text; }

// A reminder's pattern; -1 leaves a part unset.
inline CCasTime Pattern(int month, int day, int week, int weekday, int hour, int minute) {
  return TimeFromParts(-1, month, day, weekday, week, hour, minute);
}

template <std::string (*Text)(const std::string&)>
struct RecordsOf {
  using Ptr = std::unique_ptr<CCasioPol>;
  static Ptr Memo(const std::string& text) {
    auto r = std::make_unique<CcMemo>();
    r->m_text = Text(text);
    return r;
  }
  static Ptr Telefon(const std::vector<std::string>& fields) {
    auto r = std::make_unique<CcTelefon>();
    for (std::size_t i = 0; i < fields.size(); ++i) r->m_fields[i] = Text(fields[i]);
    return r;
  }
  static Ptr Buscard(const std::vector<std::string>& fields) {
    auto r = std::make_unique<CcBuscard>();
    for (std::size_t i = 0; i < fields.size(); ++i) r->m_fields[i] = Text(fields[i]);
    return r;
  }
  static Ptr Todo(const std::string& text, bool done, const CCasTime& completed) {
    auto r = std::make_unique<CcTodo>();
    r->m_text = Text(text);
    r->m_done = done ? 1 : 0;
    r->m_completed = completed;
    return r;
  }
  static Ptr Freefile(const std::string& title, const std::string& body) {
    auto r = std::make_unique<CcFreefile>();
    r->m_title = Text(title);
    r->m_body = Text(body);
    return r;
  }
  static Ptr Scheduler(const CCasTime& start, const CCasTime& end, const CCasTime& alarm,
                       const std::string& text) {
    auto r = std::make_unique<CcScheduler>();
    r->m_start = start;
    r->m_end = end;
    r->m_alarm = alarm;
    r->m_text = Text(text);
    return r;
  }
  static Ptr Reminder(bool weekdayPattern, const CCasTime& pattern, const std::string& text) {
    auto r = std::make_unique<CcReminder>();
    r->m_weekdayPattern = weekdayPattern ? 1 : 0;
    r->m_pattern = pattern;
    r->m_text = Text(text);
    return r;
  }
  static Ptr Expense(const CCasTime& date, double amount, const std::string& payment,
                     const std::string& expense, const std::string& note) {
    auto r = std::make_unique<CcExpense>();
    r->m_date = date;
    r->m_amount = amount;
    r->m_payment = Text(payment);
    r->m_expense = Text(expense);
    r->m_note = Text(note);
    return r;
  }
};
