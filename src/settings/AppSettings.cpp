// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/AppSettings.h"

#include "resources/StringTable.h"

const std::array<const char*, 10> kModeSections = {
    "Memo",        "Telephone",   "Scheduler", "BusinessCards", "ToDo",
    "FreeFile",    "ReminderOne", "ReminderTwo", "Expenses",    "SpreadSheet"};

AppSettings::AppSettings() {
  for (auto& names : freeNames) {
    for (size_t i = 0; i < names.size(); ++i) names[i] = "Free_" + std::to_string(i + 1);
  }
  for (int i = 0; i < 7; ++i) {
    expenses.payment[i] = CpStringToken(IDS_PAYMENT_TYPES, i);
    expenses.expense[i] = CpStringToken(IDS_EXPENSE_TYPES, i);
  }
}
