// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a business card.
#include "records/CcBuscard.h"

int CcBuscard::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  for (const std::string& field : m_fields)
    if (FindInText(field, pattern, matchCase, wholeWord)) return 1;
  return 0;
}

void CcBuscard::GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const {
  for (int i = 0; i < kFields; ++i)
    if (!m_fields[i].empty() || includeEmpty)
      AddPrintText(lines, static_cast<uint16_t>(i), m_fields[i], width);
}

int CcBuscard::DrawRow(RowPainter& painter, int top, bool selected) const {
  // The company leads; the person's name follows in the secondary colour.
  RowCursor row(painter, 10, top, selected);
  row.Text(CutAtControl(m_fields[0]), RowColour::Text);
  if (!m_fields[0].empty()) row.Text(" - ", RowColour::Secondary);
  return row.Text(m_fields[1], RowColour::Secondary);
}
