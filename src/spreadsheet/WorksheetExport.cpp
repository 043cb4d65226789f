// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/WorksheetExport.h"

#include <algorithm>
#include <string>

#include "records/CCasioPol.h"
#include "spreadsheet/CellDecoder.h"

WorksheetExport::WorksheetExport(const CCasioList& worksheets) {
  for (CCasioPol* record : worksheets) {
    auto* sheet = dynamic_cast<CcSpreadsheet*>(record);
    if (sheet && sheet->m_mark) {
      m_worksheet = sheet;
      break;
    }
  }
  if (!m_worksheet) return;
  if (m_worksheet->m_data.empty()) {
    m_status = WorksheetExportStatus::NoImage;
    return;
  }
  const std::span<const uint8_t> image(m_worksheet->m_data);
  const std::optional<UsedRange> range = GetUsedRange(image);
  if (!range) {
    m_status = WorksheetExportStatus::NoCells;
    return;
  }
  m_firstRow = range->firstRow;
  m_firstColumn = range->firstColumn;
  m_rowCount = range->lastRow - range->firstRow + 1;
  m_columnCount = range->lastColumn - range->firstColumn + 1;

  // One pass over the records instead of a lookup per cell: ListCells keeps the first record
  // of each row and column, as the lookup would find it, in row-major order.
  const std::vector<SheetCell> cells = ListCells(image);
  auto next = cells.begin();
  for (int row = range->firstRow; row <= range->lastRow; ++row) {
    auto* exportRow = new CcSpreadsheetIE;
    m_rows.AddTail(exportRow);
    exportRow->m_cells.resize(std::size_t(m_columnCount));
    for (; next != cells.end() && next->row == row; ++next)
      exportRow->m_cells[std::size_t(next->column - range->firstColumn)] = next->text;
  }
  m_status = WorksheetExportStatus::Ok;
}

WorksheetExport::~WorksheetExport() { m_rows.DeleteAll(); }

namespace {

std::string ClipboardText(const CcSpreadsheetList& list) {
  std::string text;
  for (const CCasioPol* record : list) {
    const auto* sheet = dynamic_cast<const CcSpreadsheet*>(record);
    if (!sheet) continue;
    std::string changed;
    sheet->m_changed.FormatDisplay(changed, false);
    text += sheet->m_name + "\r\n" + changed + "\r\n" +
            Format("%u", static_cast<unsigned>(sheet->m_data.size())) + "\r\n";
  }
  return text;
}

}  // namespace

std::size_t GetClipboardTextSize(const CcSpreadsheetList& list) {
  return ClipboardText(list).size() + 1;
}

std::size_t WriteClipboardText(const CcSpreadsheetList& list, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  const std::string text = ClipboardText(list);
  const std::size_t count = std::min(text.size(), size - 1);
  text.copy(buffer, count);
  buffer[count] = '\0';
  return count;
}
