// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a schedule entry.
#include "records/CcScheduler.h"

namespace {

std::string Display(const CCasTime& value, bool timeNotDate) {
  std::string text;
  value.FormatDisplay(text, timeNotDate);
  return text;
}

// The date line shared by the print and the row: a date range for a multi-day entry,
// otherwise the day with its time or time range. An entry counts as multi-day when its end
// year is set, the same test that decides whether a date range goes to the diary.
std::string DateText(const CcScheduler& entry) {
  std::string text = Display(entry.m_start, false);
  if (entry.m_end.m_year >= 0) {
    text += "~" + Display(entry.m_end, false);
  } else if (entry.m_start.m_hour >= 0) {
    text += ", " + Display(entry.m_start, true);
    if (entry.m_end.m_hour >= 0) text += "~" + Display(entry.m_end, true);
  }
  return text;
}

int OwnWidth(const std::string& text) { return static_cast<int>(text.size()); }

}  // namespace

int CcScheduler::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  return FindInText(m_text, pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcScheduler::GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const {
  const std::string date = DateText(*this);
  AddPrintText(lines, 0, date, OwnWidth(date));
  if (m_alarm.m_hour >= 0) {
    const std::string alarm = Display(m_alarm, true);
    AddPrintText(lines, 1, alarm, OwnWidth(alarm));
  } else if (includeEmpty) {
    AddPrintText(lines, 1, std::string(), 0);
  }
  if (!m_text.empty() || includeEmpty) AddPrintText(lines, 2, m_text, width);
}

int CcScheduler::DrawRow(RowPainter& painter, int top, bool selected) const {
  RowCursor row(painter, 10, top, selected);
  row.Text(DateText(*this), RowColour::Secondary);
  if (m_alarm.m_hour >= 0) {
    row.AlarmBitmap();
    row.Text(Display(m_alarm, true), RowColour::Secondary);
  }
  return row.Text(" " + CutAtControl(m_text), RowColour::Text);
}
