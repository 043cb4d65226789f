// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Documents as duxel-cli's dump prints them and build reads them, for the tests that run the
// real programs.
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

using nlohmann::json;

// A time value; -1 leaves a part unset.
inline json T(int year, int month, int day, int weekday, int week, int hour, int minute) {
  return json{{"year", year}, {"month", month}, {"day", day},      {"weekday", weekday},
              {"week", week}, {"hour", hour},   {"minute", minute}};
}
inline json Unset() { return T(-1, -1, -1, -1, -1, -1, -1); }

// `texts` filled up with empty fields to `count`.
inline json Fields(std::vector<std::string> texts, std::size_t count) {
  texts.resize(count);
  return texts;
}

inline const char* const kModeNames[] = {"Memo",     "Telephone",  "Scheduler",   "BusinessCards",
                                         "ToDo",     "FreeFile",   "ReminderOne", "ReminderTwo",
                                         "Expenses", "SpreadSheet"};

// Every mode present, records in the given order.
inline json Document(std::map<std::string, json> records, bool isProtected = false) {
  json modes = json::object();
  for (const char* mode : kModeNames)
    modes[mode] = records.count(mode) ? records[mode] : json::array();
  return json{{"format", "D390"}, {"protected", isProtected}, {"modes", modes}};
}
