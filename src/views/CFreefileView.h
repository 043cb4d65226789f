// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "views/CDuxelView.h"

class QLineEdit;

// FreeFile: a title and a long body; imports and exports plain text files of its own.
class CFreefileView : public CDuxelView {
  Q_OBJECT
 public:
  CFreefileView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr);
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;
  void ClearFields() override;
  bool AreFieldsModified() const override;
  // A text file as a new record: its first 61440 bytes without LF, at most 20480 characters,
  // titled with the file's name.
  void ImportRecords() override;
  // The current record's body as a text file.
  void ExportRecords() override;

 private:
  QLineEdit* m_title;  // 180
};

// Expenses: date, amount, payment and expense type, note; button 345 opens the totals.
class CExpenseView : public CDuxelView {
  Q_OBJECT
 public:
  CExpenseView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr);
  ~CExpenseView() override;
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  bool HasFieldsContent() override;
  void ClearFields() override;

 public slots:
  void showExpenseTotals() override;

 protected:
  // The totals need records: button 345 follows the Find command's enabling.
  void updateCounters() override;

 private:
  // Selects `text` in a type box: an equal entry, else (with "AddTypes") a new entry, else
  // only the box's edit text.
  void setType(class QComboBox* box, const QString& text);

  QLineEdit* m_date;           // 197
  QLineEdit* m_amount;         // 343
  class QComboBox* m_payment;  // 339
  class QComboBox* m_expense;  // 338
  class QPushButton* m_totals;  // 345
};
