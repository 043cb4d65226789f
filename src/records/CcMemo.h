// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "records/CCasioList.h"

// A memo: one text.
class CcMemo : public CCasioPol {
  DECLARE_SERIAL(CcMemo)

 public:
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

class CcMemoList : public CCasioList {
  DECLARE_SERIAL(CcMemoList)

 public:
  std::string GetFieldName(int index) const override;
  int InsertSorted(CCasioPol* record) override;
  CCasioPol* CreateRecord() const override;
  void ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool reminderTwo) override;
  void ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool reminderTwo) override;
  int GetFieldWidth(int index) const override;
  int GetKind() const override;
};
