// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a telephone entry.
#include "records/CcTelefon.h"

int CcTelefon::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  for (const std::string& field : m_fields)
    if (FindInText(field, pattern, matchCase, wholeWord)) return 1;
  return 0;
}

void CcTelefon::GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const {
  for (int i = 0; i < kFields; ++i)
    if (!m_fields[i].empty() || includeEmpty)
      AddPrintText(lines, static_cast<uint16_t>(i), m_fields[i], width);
}

int CcTelefon::DrawRow(RowPainter& painter, int top, bool selected) const {
  RowCursor row(painter, 10, top, selected);
  return row.Text(CutAtControl(m_fields[0]), RowColour::Text);
}
