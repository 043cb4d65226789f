// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>
#include <string>

class CcSpreadsheet;
class QLabel;
class QLineEdit;
class QScrollBar;

// A read-only window of 8 rows by 4 columns onto a worksheet's cells, with column headers
// (the letters of the columns shown) and row headers (their numbers) that follow the two
// scroll bars. Columns scroll from position 0 to 250 (columns 1..254), rows from 0 to 9991
// (rows 1..9999). Cell texts come from the worksheet decoder; nothing is edited.
//
// The cells take the keyboard focus: the arrow keys move it (scrolling at the edges), Tab
// walks the cells in reading order, Shift with an arrow or a click widens the selection, and
// Ctrl+C copies the selected cells as tab-separated text.
class SpreadsheetGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kRows = 8;
  static constexpr int kColumns = 4;
  static constexpr int kMaxColumnPosition = 250;
  static constexpr int kMaxRowPosition = 9991;

  explicit SpreadsheetGrid(QWidget* parent = nullptr);

  // The worksheet shown; null empties every cell. The grid does not own it.
  void setWorksheet(const CcSpreadsheet* sheet);
  const CcSpreadsheet* worksheet() const { return m_sheet; }
  // Reads the cells again (the worksheet's image changed).
  void refill();

  void setCellFont(const QFont& font);

  int columnPosition() const;
  int rowPosition() const;
  QScrollBar* horizontalBar() const { return m_hbar; }
  QScrollBar* verticalBar() const { return m_vbar; }

  // What the headers and cell controls show now (visible row 0..7, column 0..3).
  QString columnHeader(int column) const;
  QString rowHeader(int row) const;
  QLineEdit* cell(int row, int column) const { return m_cells[std::size_t(row * kColumns + column)]; }
  QString cellText(int row, int column) const;

  // The full text of the worksheet's cell at `row`, `column` (1-based), as the main edit
  // shows it for the focused cell; empty without a worksheet.
  QString fullCellText(int row, int column) const;

  // The selection in worksheet rows and columns (1-based): from the anchor to the current
  // cell. A focused cell starts a new selection unless Shift is held.
  void selectCells(int anchorRow, int anchorColumn, int row, int column);
  // The selected cells as tab-separated core text, CR LF line ends.
  std::string selectionText() const;
  void copySelection() const;

 signals:
  // A cell got the focus: its full text (empty without a worksheet).
  void cellFocused(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fillHeaders();
  void fillCells();
  void paintSelection();
  void moveFocus(int dRow, int dColumn, bool extend);
  // The cell control `index` shows the current cell now.
  void cellEntered(int index, bool extend);
  int indexOf(QObject* control) const;

  const CcSpreadsheet* m_sheet = nullptr;
  std::array<QLabel*, kColumns> m_columnHeaders{};
  std::array<QLabel*, kRows> m_rowHeaders{};
  std::array<QLineEdit*, kRows * kColumns> m_cells{};
  QScrollBar* m_hbar;
  QScrollBar* m_vbar;
  // Selection corners in worksheet coordinates.
  int m_anchorRow = 1, m_anchorColumn = 1, m_row = 1, m_column = 1;
  bool m_extending = false;
};
