// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFontMetrics>

#include "records/CCasioPol.h"

class QPainter;

// Paints what a record draws for its list row onto a QPainter, in the painter's font: texts
// in the colours of their roles, the alarm bitmap, the tick of a done ToDo item. Positions
// are the record's pixels, relative to the row rectangle's left edge and the given top.
class QtRowPainter : public RowPainter {
 public:
  struct Colours {
    QColor text;       // the mode's list text colour
    QColor secondary;  // the secondary list colour: dates, times, amounts
    QColor highlight;  // the highlight text colour of a selected row
  };

  // `selected`: the tick and the alarm bitmap take the highlight colour too.
  QtRowPainter(QPainter& painter, int left, const Colours& colours, bool selected);

  int TextWidth(const std::string& text) override;
  void DrawText(int x, int y, const std::string& text, RowColour colour) override;
  int DrawAlarmBitmap(int x, int y) override;
  void DrawTick(int x0, int y0, int x1, int y1, int x2, int y2) override;

  static constexpr int kAlarmWidth = 16;

 private:
  QColor colourOf(RowColour colour) const;

  QPainter& m_painter;
  QFontMetrics m_metrics;
  int m_left;
  Colours m_colours;
  bool m_selected;
};
