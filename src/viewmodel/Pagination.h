// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records/CCasioPol.h"

class CCasioList;

// How a printout is laid out on pages, without any device: the drawing rectangle from the
// margins, the record selection, the print items and which lines go on which page.

// A margin in whole millimetres: centimetres times 10, truncated (1.55 cm is 15 mm). A margin
// typed as a round number of millimetres (2.3 cm) stays that number although its binary
// product falls just below it; negative margins count as 0.
int MarginMillimetres(double centimetres);

// a * b / c rounded half away from zero, in 64 bits; 0 when c is 0.
int MulDivRound(int a, int b, int c);

struct PrintRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const PrintRect&) const = default;
};

// The drawing rectangle of every page in device pixels, from the page size in millimetres
// and pixels and the four margins in centimetres.
PrintRect PrintRectangle(int pageWidthMm, int pageHeightMm, int pageWidthPx, int pageHeightPx,
                         double leftCm, double topCm, double rightCm, double bottomCm);

// The lines per page: the rectangle's height in whole lines, at least 1 (a font taller than
// the page still prints one line a page).
int LinesPerPage(const PrintRect& rect, int lineHeight);

// Which records are printed: all, only the marked or only the unmarked ones.
enum PrintSelection : int { kPrintAll = 0, kPrintMarked = 1, kPrintUnmarked = 2 };
bool IsPrinted(const CCasioPol& record, int selection);

// One print item per printed record, in list order, each filled by the record's
// GetPrintLines, and one empty end item after them.
std::vector<PrintLines> BuildPrintItems(const CCasioList& list, int selection,
                                        bool includeEmpty, int width);

// The page table: where each page starts (item index and the line of that item) and a
// closing entry (item count, kPageEnd).
inline constexpr int kPageEnd = 0xFFFF;
struct PageStart {
  std::size_t item = 0;
  int line = 0;
  bool operator==(const PageStart&) const = default;
};
struct PageTable {
  std::vector<PageStart> starts;  // one per page, then the closing entry
  int PageCount() const { return starts.empty() ? 0 : int(starts.size()) - 1; }
};

// Lays items of `itemLines` lines each (the empty end item included, so never empty) on
// pages of `linesPerPage` lines with one blank line after each item. An item that does not
// fit in what is left of a page moves to the next one; it is split instead when
// `allowBreak` is on and more than 3 of its lines are left, or when it is longer than a page.
// A split leaves the page's last line empty, and an item that would keep fewer than 2 lines
// on the page moves whole. The empty end item never opens a page of its own unless it is the
// only item (an empty selection prints one empty page).
PageTable Paginate(const std::vector<int>& itemLines, int linesPerPage, bool allowBreak);

// One printed line of a page: the item, the line within it, and its line slot from the
// page's top (blank lines between items count).
struct PageRow {
  std::size_t item = 0;
  int line = 0;
  int slot = 0;
  bool operator==(const PageRow&) const = default;
};
// The lines of page `page` (0-based) in order; empty for a page outside the table.
std::vector<PageRow> PageRows(const PageTable& table, int page, const std::vector<int>& itemLines);
