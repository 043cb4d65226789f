// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/RowTextPainter.h"

#include "views/GuiText.h"

const QString RowTextPainter::kTickMark = QStringLiteral("✓ ");
const QString RowTextPainter::kAlarmMark = QStringLiteral("(!)");

int RowTextPainter::TextWidth(const std::string& text) {
  // Windows-1250 has one byte per character.
  return static_cast<int>(text.size()) * kCharWidth;
}

void RowTextPainter::DrawText(int x, int, const std::string& text, RowColour) {
  append(QStringFromCp1250(text), !m_line.isEmpty() && x > m_end);
  m_end = x + TextWidth(text);
}

int RowTextPainter::DrawAlarmBitmap(int x, int) {
  append(kAlarmMark, true);
  m_end = x + kAlarmWidth;
  // A picture is no text for the next part to run on from.
  m_blankAfterAlarm = true;
  return kAlarmWidth;
}

void RowTextPainter::DrawTick(int, int, int, int, int, int) { m_tick = true; }

void RowTextPainter::append(const QString& text, bool gap) {
  if (text.isEmpty()) return;
  gap = gap || m_blankAfterAlarm;
  m_blankAfterAlarm = false;
  if (gap && !m_line.isEmpty() && !m_line.back().isSpace() && !text.front().isSpace())
    m_line += u' ';
  m_line += text;
}

QString RowTextPainter::Line() const { return m_tick ? kTickMark + m_line : m_line; }

void RowTextPainter::Clear() {
  m_line.clear();
  m_end = 0;
  m_tick = false;
  m_blankAfterAlarm = false;
}
