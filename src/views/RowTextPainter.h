// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include <QString>

#include "records/CCasioPol.h"

// A RowPainter that paints nothing but remembers what a record drew, so that a record's
// one-line summary can be shown as plain text (list items, window lists, tests).
class RowTextPainter : public RowPainter {
 public:
  // Marks that stand in for the two graphics a row may hold.
  static const QString kTickMark;   // a done ToDo item, put before the row
  static const QString kAlarmMark;  // the alarm bitmap, put where it was drawn

  // Each character counts as this many pixels, so that parts advance from left to right.
  static constexpr int kCharWidth = 7;
  static constexpr int kAlarmWidth = 16;

  int TextWidth(const std::string& text) override;
  void DrawText(int x, int y, const std::string& text, RowColour colour) override;
  int DrawAlarmBitmap(int x, int y) override;
  void DrawTick(int x0, int y0, int x1, int y1, int x2, int y2) override;

  // The parts drawn so far, in drawing order, joined into one line. A part drawn right where
  // the last one ended continues it; a gap on screen, and the alarm bitmap, become one blank
  // (none is added where a part already has one at the joint).
  QString Line() const;
  // Forgets everything drawn.
  void Clear();

 private:
  void append(const QString& text, bool gap);

  QString m_line;
  int m_end = 0;  // x just after the last thing drawn
  bool m_tick = false;
  bool m_blankAfterAlarm = false;
};
