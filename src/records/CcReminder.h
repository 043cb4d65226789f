// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "records/CCasioList.h"
#include "records/CCasTime.h"
// A reminder; the list holding it says whether ReminderOne or ReminderTwo.
class CcReminder : public CCasioPol {
  DECLARE_SERIAL(CcReminder)

 public:
  uint16_t m_weekdayPattern = 0;  // 1: month/week/weekday pattern, 0: day of month
  CCasTime m_pattern;             // the pattern and the alarm time; no year
  std::string m_text;
  void Serialize(CArchive& ar) override;
  int SendToDiary(DiaryItemSink& link) const override;
  int SetFromDiaryItem(const char* text, uint8_t selector, int itemIndex,
                       int chunkIndex) override;
  int Compare(const CCasioPol& other) const override;
  int IsEmpty() const override;
  int DrawRow(RowPainter& painter, int top, bool selected) const override;
  int Find(const std::string& pattern, bool matchCase, bool wholeWord) const override;
  void GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const override;
};

class CcReminderList : public CCasioList {
  DECLARE_SERIAL(CcReminderList)

 public:
  std::string GetFieldName(int index) const override;
  int InsertSorted(CCasioPol* record) override;
  CCasioPol* CreateRecord() const override;
  void ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool reminderTwo) override;
  void ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool reminderTwo) override;
  int GetFieldWidth(int index) const override;
  int GetKind() const override;
};
