// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a memo.
#include "records/CcMemo.h"

int CcMemo::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  return FindInText(m_text, pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcMemo::GetPrintLines(PrintLines& lines, bool, int width) const {
  AddPrintText(lines, 0, m_text, width);
}

int CcMemo::DrawRow(RowPainter& painter, int top, bool selected) const {
  RowCursor row(painter, 10, top, selected);
  return row.Text(CutAtControl(m_text), RowColour::Text);
}
