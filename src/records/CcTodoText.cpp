// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a to-do item.
#include "records/CcTodo.h"

int CcTodo::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  return FindInText(m_text, pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcTodo::GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const {
  if (m_text.empty() && !includeEmpty) return;
  AddPrintText(lines, 0, m_text, width);
  AddPrintText(lines, 1, m_done ? "ano" : "ne", width);
}

int CcTodo::DrawRow(RowPainter& painter, int top, bool selected) const {
  // The text leaves room on the left for the tick of a done item.
  if (m_done) painter.DrawTick(10, top + 10, 13, top + 13, 17, top + 6);
  RowCursor row(painter, 20, top, selected);
  return row.Text(CutAtControl(m_text), RowColour::Text);
}
