// SPDX-License-Identifier: GPL-3.0-or-later
// Search, print lines and list-box row of a reminder.
#include "records/CcReminder.h"

#include "resources/StringTable.h"

namespace {

std::string WeekdayName(int weekday) {
  // Tokens 1 to 7 are Sunday to Saturday; 0 and 8 are placeholders for values out of range.
  if (weekday < 0 || weekday > 8) weekday = 0;
  return CpStringToken(IDS_WEEKDAYS, weekday);
}

// The repeat pattern in words. The row shows a weekday pattern's month and week together;
// the print line has room for only one of them and prefers the month.
std::string PatternText(const CcReminder& reminder, bool monthOrWeek) {
  const CCasTime& p = reminder.m_pattern;
  if (reminder.m_weekdayPattern) {
    std::string text;
    if (p.m_month >= 0) text += Format("%d.,", p.m_month);
    if (p.m_week >= 0 && !(monthOrWeek && p.m_month >= 0))
      text += Format("%d.%s, ", p.m_week, CpStringToken(IDS_REPEAT_WORDS, 1).c_str());
    return text + WeekdayName(p.m_weekday);
  }
  if (p.m_day < 0) return CpStringToken(IDS_REPEAT_WORDS, 0);
  if (p.m_month < 0) return Format("%s %d.", CpStringToken(IDS_REPEAT_WORDS, 2).c_str(), p.m_day);
  return Format("%d.%d.", p.m_day, p.m_month);
}

std::string AlarmText(const CCasTime& pattern) {
  std::string text;
  pattern.FormatDisplay(text, true);
  return text;
}

int OwnWidth(const std::string& text) { return static_cast<int>(text.size()); }

}  // namespace

int CcReminder::Find(const std::string& pattern, bool matchCase, bool wholeWord) const {
  return FindInText(m_text, pattern, matchCase, wholeWord) ? 1 : 0;
}

void CcReminder::GetPrintLines(PrintLines& lines, bool includeEmpty, int width) const {
  const std::string label = PatternText(*this, true);
  AddPrintText(lines, 0, label, OwnWidth(label));
  if (m_pattern.m_hour >= 0) {
    const std::string alarm = AlarmText(m_pattern);
    AddPrintText(lines, 1, alarm, OwnWidth(alarm));
  } else if (includeEmpty) {
    AddPrintText(lines, 1, std::string(), 0);
  }
  AddPrintText(lines, 2, m_text, width);
}

int CcReminder::DrawRow(RowPainter& painter, int top, bool selected) const {
  RowCursor row(painter, 10, top, selected);
  row.Text(PatternText(*this, false), RowColour::Secondary);
  if (m_pattern.m_hour >= 0) {
    row.AlarmBitmap();
    row.Text(AlarmText(m_pattern), RowColour::Secondary);
  }
  return row.Text(" " + CutAtControl(m_text), RowColour::Text);
}
