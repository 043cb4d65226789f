// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/CDuxelView.h"

// Memo: one text field and the move buttons (memos keep the order the user gives them).
class CMemoView : public CDuxelView {
  Q_OBJECT
 public:
  CMemoView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr);
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;
};

// Telephone (nine fields) and BusinessCards (fifteen): the record's text array in the field
// edit with the caption column beside it.
class CFieldsView : public CDuxelView {
  Q_OBJECT
 public:
  CFieldsView(CDuxelDoc* doc, int mode, ViewHost& host, QWidget* parent = nullptr);
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;

 private:
  std::string* fieldsOf(CCasioPol& record) const;
  int m_count;
};

class CTelView : public CFieldsView {
  Q_OBJECT
 public:
  CTelView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr)
      : CFieldsView(doc, 1, host, parent) {}
};

class CBuscardView : public CFieldsView {
  Q_OBJECT
 public:
  CBuscardView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr)
      : CFieldsView(doc, 3, host, parent) {}
};
