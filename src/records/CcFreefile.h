// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "records/CCasioList.h"

// A free file: a title and a body of text.
class CcFreefile : public CCasioPol {
  DECLARE_SERIAL(CcFreefile)

 public:
  std::string m_title;
  // The body: text with CR LF line ends. Its length is the stored body length.
  std::string m_body;
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

class CcFreefileList : public CCasioList {
  DECLARE_SERIAL(CcFreefileList)

 public:
  std::string GetFieldName(int index) const override;
  int InsertSorted(CCasioPol* record) override;
  CCasioPol* CreateRecord() const override;
  int GetFieldWidth(int index) const override;
  int GetKind() const override;
};
