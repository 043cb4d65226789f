// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/ClassRegistry.h"

#include "records/CArchive.h"
#include "records/CCasTime.h"
#include "records/DiaryRecords.h"

// An explicit table rather than self-registration: objects of a static library that nothing
// references would be left out by the linker, and their classes with them.
const CRuntimeClass* FindSerialClass(const std::string& name) {
  static const CRuntimeClass* const classes[] = {
      RUNTIME_CLASS(CCasTime),          RUNTIME_CLASS(CCasioPol),
      RUNTIME_CLASS(CCasioList),        RUNTIME_CLASS(CcMemo),
      RUNTIME_CLASS(CcMemoList),        RUNTIME_CLASS(CcTelefon),
      RUNTIME_CLASS(CcTelefonList),     RUNTIME_CLASS(CcScheduler),
      RUNTIME_CLASS(CcSchedulerList),   RUNTIME_CLASS(CcBuscard),
      RUNTIME_CLASS(CcBuscardList),     RUNTIME_CLASS(CcTodo),
      RUNTIME_CLASS(CcTodoList),        RUNTIME_CLASS(CcFreefile),
      RUNTIME_CLASS(CcFreefileList),    RUNTIME_CLASS(CcReminder),
      RUNTIME_CLASS(CcReminderList),    RUNTIME_CLASS(CcExpense),
      RUNTIME_CLASS(CcExpenseList),     RUNTIME_CLASS(CcSpreadsheet),
      RUNTIME_CLASS(CcSpreadsheetList), RUNTIME_CLASS(CcSpreadsheetIE),
  };
  for (const CRuntimeClass* c : classes)
    if (name == c->m_lpszClassName) return c;
  return nullptr;
}
