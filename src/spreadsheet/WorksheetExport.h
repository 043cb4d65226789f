// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

#include "records/CcSpreadsheet.h"

class CCasioList;

// Why a worksheet export has no rows.
enum class WorksheetExportStatus {
  Ok,                 // the rows are ready
  NoMarkedWorksheet,  // no worksheet is marked: message IDS_NO_MARKED_SHEET, stop icon
  NoImage,            // the marked worksheet has no image: nothing to say
  NoCells,            // its image holds no cell record: nothing to say
};


// The table that the export of a marked worksheet writes: one CcSpreadsheetIE per row from
// the smallest to the largest used row, each holding the cell texts from the smallest to the
// largest used column (empty texts for cells without a record). A worksheet whose cells lie
// in rows 3..5 and columns 2..3 gives 3 rows of 2 texts, B3 C3 / B4 C4 / B5 C5.
//
// The cell records are found from the header, where the cell lookup finds them too, so the
// table always agrees with what the grid shows.
//
// The object owns the rows and deletes them when it goes; Rows() is the temporary list that
// stands in for the document's worksheet list while the exchange writes it. Clearing the
// worksheet's mark afterwards is left to the caller, which knows whether the export ran.
class WorksheetExport {
 public:
  // Builds the rows of the first marked worksheet of `worksheets`.
  explicit WorksheetExport(const CCasioList& worksheets);
  ~WorksheetExport();
  WorksheetExport(const WorksheetExport&) = delete;
  WorksheetExport& operator=(const WorksheetExport&) = delete;

  WorksheetExportStatus Status() const { return m_status; }
  // The first marked worksheet; null when none is marked.
  CcSpreadsheet* Worksheet() const { return m_worksheet; }
  // The export rows in order; empty unless Status() is Ok.
  CcSpreadsheetList& Rows() { return m_rows; }
  const CcSpreadsheetList& Rows() const { return m_rows; }
  // The row and column the table starts at (1-based), and its size.
  int FirstRow() const { return m_firstRow; }
  int FirstColumn() const { return m_firstColumn; }
  int RowCount() const { return m_rowCount; }
  int ColumnCount() const { return m_columnCount; }

 private:
  WorksheetExportStatus m_status = WorksheetExportStatus::NoMarkedWorksheet;
  CcSpreadsheet* m_worksheet = nullptr;
  CcSpreadsheetList m_rows;
  int m_firstRow = 0;
  int m_firstColumn = 0;
  int m_rowCount = 0;
  int m_columnCount = 0;
};

// The plain text of worksheets put on the clipboard beside the record format: per worksheet
// its name, its last-change time as the list shows it and its image size in decimal, each
// line ended by CR LF; then a terminating zero. Records of the list that are not worksheets
// are passed over.

// The byte count of that text, terminator included.
std::size_t GetClipboardTextSize(const CcSpreadsheetList& list);
// Writes the text into `buffer` of `size` bytes, cut to fit, always zero-terminated when
// `size` is not 0; returns the bytes written before the terminator.
std::size_t WriteClipboardText(const CcSpreadsheetList& list, char* buffer, std::size_t size);
