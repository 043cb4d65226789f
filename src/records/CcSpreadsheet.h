// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "records/CCasioList.h"
#include <vector>
#include "records/CCasTime.h"
// A worksheet of the diary's spreadsheet.
class CcSpreadsheet : public CCasioPol {
  DECLARE_SERIAL(CcSpreadsheet)

 public:
  std::string m_name;
  CCasTime m_changed;  // last change
  // The worksheet image in the diary's own format; its size is stored as a word.
  std::vector<uint8_t> m_data;
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

class CcSpreadsheetList : public CCasioList {
  DECLARE_SERIAL(CcSpreadsheetList)

 public:
  std::string GetFieldName(int index) const override;
  int InsertSorted(CCasioPol* record) override;
  CCasioPol* CreateRecord() const override;
  void ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool reminderTwo) override;
  void ImportRecord(ExchangeColumns& columns, CCasioPol& record, bool reminderTwo) override;
  int GetFieldWidth(int index) const override;
  int GetKind() const override;
};

// One row of a worksheet exchanged through ODBC: its cell texts. Not a diary record and
// never held in a document.
class CcSpreadsheetIE : public CCasioPol {
  DECLARE_SERIAL(CcSpreadsheetIE)

 public:
  std::vector<std::string> m_cells;
  void Serialize(CArchive& ar) override;               // the mark word only
  int Compare(const CCasioPol& other) const override;  // always 1: arrival order
};
