// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "records/CCasioList.h"
#include "records/CCasTime.h"
// An expense.
class CcExpense : public CCasioPol {
  DECLARE_SERIAL(CcExpense)

 public:
  CCasTime m_date;
  double m_amount = -1.0;  // -1.0 when never set
  std::string m_payment;
  std::string m_expense;
  std::string m_note;
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

class CcExpenseList : public CCasioList {
  DECLARE_SERIAL(CcExpenseList)

 public:
  std::string GetFieldName(int index) const override;
  int InsertSorted(CCasioPol* record) override;
  CCasioPol* CreateRecord() const override;
  void ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool reminderTwo) override;
  void ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool reminderTwo) override;
  int GetFieldWidth(int index) const override;
  int GetKind() const override;
};
