// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the worksheet decoder as an image and as a cell's content: the
// cell lookup, the listing, the used range and the export rows must stay inside the bytes
// and end.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "records/CcSpreadsheet.h"
#include "spreadsheet/CellDecoder.h"
#include "spreadsheet/WorksheetExport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> image(data, size);

  // Every listed cell is what the lookup finds.
  for (const SheetCell& cell : ListCells(image)) {
    const CellText found = GetCellText(image, cell.row, cell.column);
    if (!found.found || found.text != cell.text) __builtin_trap();
  }
  // A few lookups of cells that may not exist.
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) (void)GetCellText(image, row, column);

  // The same bytes as the content of a cell, its kind taken from the first byte.
  if (size > 0) (void)DecodeCellContent(data[0], image.subspan(1));
  (void)DecodeCellContent(0x81, image);

  // The export rows, when the table stays small enough for a fuzzing run.
  const auto range = GetUsedRange(image);
  if (range &&
      (range->lastRow - range->firstRow + 1) * (range->lastColumn - range->firstColumn + 1) <=
          4096) {
    CcSpreadsheetList sheets;
    auto* sheet = new CcSpreadsheet;
    sheet->m_data.assign(data, data + size);
    sheet->m_mark = 1;
    sheets.AddTail(sheet);
    {
      const WorksheetExport rows(sheets);
      if (rows.Status() != WorksheetExportStatus::Ok) __builtin_trap();
    }
    sheets.DeleteAll();
  }
  return 0;
}
