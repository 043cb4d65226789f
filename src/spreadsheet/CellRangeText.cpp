// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/CellRangeText.h"

#include <algorithm>

#include "spreadsheet/CellDecoder.h"

std::string CellRangeText(std::span<const uint8_t> image, int firstRow, int firstColumn,
                          int lastRow, int lastColumn) {
  if (firstRow > lastRow) std::swap(firstRow, lastRow);
  if (firstColumn > lastColumn) std::swap(firstColumn, lastColumn);
  firstRow = std::max(firstRow, 1);
  firstColumn = std::max(firstColumn, 1);
  lastRow = std::max(lastRow, 1);
  lastColumn = std::max(lastColumn, 1);
  std::string text;
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
      if (column > firstColumn) text += '\t';
      std::string cell = GetCellText(image, row, column).text;
      std::replace_if(cell.begin(), cell.end(),
                      [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
      text += cell;
    }
    text += "\r\n";
  }
  return text;
}
