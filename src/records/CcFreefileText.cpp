// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a free file.
#include "records/CcFreefile.h"

int CcFreefile::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  if (FindInText(m_title, pattern, matchCase, wholeWord)) return 1;
  return FindInText(m_body, pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcFreefile::GetPrintLines(PrintLines& lines, bool, int width) const {
  // The title keeps a fixed width of 32 characters whatever the page allows.
  AddPrintText(lines, 0, m_title, 32);
  AddPrintText(lines, 1, m_body, width);
}

int CcFreefile::DrawRow(RowPainter& painter, int top, bool selected) const {
  RowCursor row(painter, 10, top, selected);
  return row.Text(CutAtControl(m_title), RowColour::Text);
}
