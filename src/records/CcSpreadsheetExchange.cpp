// SPDX-License-Identifier: GPL-3.0-or-later
#include "records/CcSpreadsheet.h"
#include "records/ExchangeColumns.h"

// During a worksheet export the list holds exchange rows: column i is the row's cell i.
void CcSpreadsheetList::ExportRecord(ExchangeColumns& columns, const CCasioPol& record, bool) {
  const auto* row = dynamic_cast<const CcSpreadsheetIE*>(&record);
  columns.PutFieldTexts(row ? row->m_cells : std::vector<std::string>());
}

// Worksheets are never imported from a table.
void CcSpreadsheetList::ImportRecord(ExchangeColumns& columns, CCasioPol&, bool) {
  columns.EmptyBuffers();
}
