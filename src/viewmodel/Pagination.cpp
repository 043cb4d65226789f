// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewmodel/Pagination.h"

#include <cmath>
#include <cstdint>

#include "records/CCasioList.h"

int MarginMillimetres(double centimetres) {
  if (!(centimetres > 0)) return 0;
  // The small allowance keeps 2.3 cm at 23 mm (2.3 * 10 is 22.999... in binary) without
  // lifting a true fraction such as 1.55 cm to the next millimetre.
  return int(std::floor(centimetres * 10.0 + 1e-7));
}

int MulDivRound(int a, int b, int c) {
  if (c == 0) return 0;
  const int64_t product = int64_t(a) * b;
  const int64_t half = (c < 0 ? -int64_t(c) : int64_t(c)) / 2;
  const bool negative = (product < 0) != (c < 0);
  const int64_t magnitude = (product < 0 ? -product : product) + half;
  const int64_t quotient = magnitude / (c < 0 ? -int64_t(c) : int64_t(c));
  return int(negative ? -quotient : quotient);
}

PrintRect PrintRectangle(int pageWidthMm, int pageHeightMm, int pageWidthPx, int pageHeightPx,
                         double leftCm, double topCm, double rightCm, double bottomCm) {
  PrintRect rect;
  rect.left = MulDivRound(pageWidthPx, MarginMillimetres(leftCm), pageWidthMm);
  rect.top = MulDivRound(pageHeightPx, MarginMillimetres(topCm), pageHeightMm);
  rect.right = pageWidthPx - MulDivRound(pageWidthPx, MarginMillimetres(rightCm), pageWidthMm);
  rect.bottom =
      pageHeightPx - MulDivRound(pageHeightPx, MarginMillimetres(bottomCm), pageHeightMm);
  return rect;
}

int LinesPerPage(const PrintRect& rect, int lineHeight) {
  if (lineHeight <= 0) return 1;
  const int lines = (rect.bottom - rect.top) / lineHeight;
  return lines < 1 ? 1 : lines;
}

bool IsPrinted(const CCasioPol& record, int selection) {
  if (selection == kPrintMarked) return record.m_mark != 0;
  if (selection == kPrintUnmarked) return record.m_mark == 0;
  return true;
}

std::vector<PrintLines> BuildPrintItems(const CCasioList& list, int selection,
                                        bool includeEmpty, int width) {
  std::vector<PrintLines> items;
  for (const CCasioPol* record : list) {
    if (!IsPrinted(*record, selection)) continue;
    items.emplace_back();
    record->GetPrintLines(items.back(), includeEmpty, width);
  }
  items.emplace_back();
  return items;
}

PageTable Paginate(const std::vector<int>& itemLines, int linesPerPage, bool allowBreak) {
  const int L = linesPerPage < 1 ? 1 : linesPerPage;
  const std::size_t N = itemLines.size();
  PageTable table;
  int used = 0;     // lines used on the current page
  int placed = 0;   // lines of the current item already on earlier pages
  std::size_t i = 0;
  while (i < N) {
    const bool endItem = i + 1 == N && itemLines[i] == 0;
    // The empty end item only needs a page when nothing was printed at all.
    if (used == 0 && !(endItem && !table.starts.empty())) table.starts.push_back({i, placed});
    const int rest = itemLines[i] - placed;
    const int total = used + rest;
    if (total < L) {
      used = total + 1;  // the item and one blank line
      placed = 0;
      ++i;
      if (used == L) used = 0;
    } else if (total == L) {
      used = 0;  // the item ends the page; no blank line
      placed = 0;
      ++i;
    } else {
      if ((allowBreak && rest > 3) || rest > L) {
        if (used == 0) {
          // A fresh page: whatever the page holds must go on it, or a page of one or two
          // lines would never make progress.
          placed += L > 1 ? L - 1 : 1;
        } else {
          placed += L - 1 - used;  // the page's last line stays empty
          if (placed < 2) placed = 0;
        }
      } else {
        placed = 0;
      }
      used = 0;
    }
  }
  table.starts.push_back({N, kPageEnd});
  return table;
}

std::vector<PageRow> PageRows(const PageTable& table, int page, const std::vector<int>& itemLines) {
  std::vector<PageRow> rows;
  if (page < 0 || page >= table.PageCount()) return rows;
  const PageStart from = table.starts[std::size_t(page)];
  const PageStart to = table.starts[std::size_t(page) + 1];
  const std::size_t N = itemLines.size();
  int slot = 0;
  for (std::size_t item = from.item; item <= to.item && item < N; ++item) {
    int first = item == from.item ? from.line : 0;
    int last = itemLines[item];
    if (item == to.item && to.line != kPageEnd) last = to.line;
    for (int line = first; line < last; ++line) rows.push_back({item, line, slot++});
    ++slot;  // the blank line after the item
  }
  return rows;
}
