// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a worksheet.
#include "records/CcSpreadsheet.h"

#include "resources/StringTable.h"

namespace {

std::string ChangedText(const CCasTime& changed) {
  std::string text;
  changed.FormatDisplay(text, false);
  return text;
}

}  // namespace

int CcSpreadsheet::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  if (FindInText(m_name, pattern, matchCase, wholeWord)) return 1;
  return FindInText(ChangedText(m_changed), pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcSpreadsheet::GetPrintLines(PrintLines& lines, bool, int) const {
  const std::string changed = ChangedText(m_changed);
  AddPrintText(lines, 0, m_name, 20);
  AddPrintText(lines, 1, changed, static_cast<int>(changed.size()));
  AddPrintText(lines, 2, Format("%u", static_cast<unsigned>(m_data.size())), 8);
}

int CcSpreadsheet::DrawRow(RowPainter& painter, int top, bool selected) const {
  RowCursor row(painter, 10, top, selected);
  row.Text(CutAtControl(m_name), RowColour::Text);
  const std::string details =
      Format(CpString(IDS_SHEET_ROW).c_str(), ChangedText(m_changed).c_str(),
             static_cast<unsigned>(m_data.size()));
  return row.Text(details, RowColour::Secondary);
}
