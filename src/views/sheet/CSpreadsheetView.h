// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/ReceiveBuffer.h"
#include "views/CDuxelView.h"

class ExchangeUi;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class SpreadsheetGrid;

// The SpreadSheet mode (9): the document's worksheets in the list box; for the selected one
// its name (edit 180), its last change (515) and the 8 x 4 grid of its cells, with the full
// text of the focused cell in the read-only main edit. Export writes the first marked
// worksheet's cells as a table and clears its mark. New and Import do not apply here.
// Worksheets moved in from the receive buffer are named "Tabulka %d" by the view's running
// counter, whether the view's own buffer commands or the main frame's move them.
class CSpreadsheetView : public CDuxelView, public BufferMoveView {
  Q_OBJECT

 public:
  CSpreadsheetView(CDuxelDoc* doc, ViewHost& host, QWidget* parent = nullptr);

  void initialUpdate() override;
  bool StoreFields(CCasioPol& record) override;
  void ShowRecord(const CCasioPol& record) override;
  void ClearFields() override;
  bool HasFieldsContent() override;
  void ExportRecords() override;
  std::string ClipboardText(const std::vector<const CCasioPol*>& records) const override;
  bool AreFieldsModified() const override;
  void SetFieldsModified(bool modified) override;
  bool commandState(int id, bool* checked) const override;
  void runCommand(int id) override;
  void print(bool preview) override;

  // BufferMoveView
  bool HasView(int mode) const override { return mode == kSpreadSheetMode; }
  int NextSheetNumber() override { return m_tableCounter++; }
  void RecordMoved(int mode, CCasioPol* record) override;

  SpreadsheetGrid* grid() const { return m_grid; }
  QLineEdit* nameEdit() const { return m_name; }
  QLabel* changedLabel() const { return m_changed; }
  QPlainTextEdit* cellEdit() const { return m_cellText; }
  // The number the next worksheet from the receive buffer is named with ("Tabulka %d").
  int tableCounter() const { return m_tableCounter; }

  // For tests: the exchange asks this instead of the view's own dialogs.
  void setExchangeUi(ExchangeUi* ui) { m_exchangeUi = ui; }

 private:
  static constexpr int kSpreadSheetMode = 9;
  bool gridHasFocus() const;
  void moveBuffer(bool allModes);
  void showCellText(const QString& text);

  SpreadsheetGrid* m_grid;
  QLineEdit* m_name;            // 180
  QLabel* m_changed;            // 515
  QPlainTextEdit* m_cellText;   // 136
  QLabel* m_cellFree;           // 140
  int m_tableCounter = 1;
  ExchangeUi* m_exchangeUi = nullptr;
  CCasioPol* m_moved = nullptr;  // the last worksheet a buffer move brought
};
