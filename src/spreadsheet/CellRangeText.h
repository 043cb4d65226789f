// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The cells of a rectangle of a worksheet image as tab-separated text, the form spreadsheet
// programs paste: one line per row from `firstRow` to `lastRow`, each ended by CR LF, the
// cell texts from `firstColumn` to `lastColumn` separated by tabs (empty for a cell without
// a record). A tab, CR or LF inside a cell text becomes a blank so the table keeps its shape.
// The corners may be given in any order; rows and columns below 1 count as 1.
std::string CellRangeText(std::span<const uint8_t> image, int firstRow, int firstColumn,
                          int lastRow, int lastColumn);
