// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/controls/QtRowPainter.h"

#include <QPainter>
#include <QPainterPath>

#include "views/GuiText.h"

QtRowPainter::QtRowPainter(QPainter& painter, int left, const Colours& colours, bool selected)
    : m_painter(painter),
      m_metrics(painter.font()),
      m_left(left),
      m_colours(colours),
      m_selected(selected) {}

QColor QtRowPainter::colourOf(RowColour colour) const {
  switch (colour) {
    case RowColour::Secondary:
      return m_colours.secondary;
    case RowColour::Highlight:
      return m_colours.highlight;
    case RowColour::Text:
      break;
  }
  return m_colours.text;
}

int QtRowPainter::TextWidth(const std::string& text) {
  return m_metrics.horizontalAdvance(QStringFromCp1250(text));
}

void QtRowPainter::DrawText(int x, int y, const std::string& text, RowColour colour) {
  // The record gives the top of the text; Qt draws from the baseline.
  m_painter.setPen(colourOf(colour));
  m_painter.drawText(m_left + x, y + m_metrics.ascent(), QStringFromCp1250(text));
}

int QtRowPainter::DrawAlarmBitmap(int x, int y) {
  // A small alarm clock: a ring with two hands and two bells, in the text colour.
  const QRectF face(m_left + x + 3.5, y + 2.5, 9, 9);
  m_painter.save();
  m_painter.setRenderHint(QPainter::Antialiasing, true);
  QPen pen(m_selected ? m_colours.highlight : m_colours.text, 1.2);
  m_painter.setPen(pen);
  m_painter.setBrush(Qt::NoBrush);
  m_painter.drawEllipse(face);
  const QPointF centre = face.center();
  m_painter.drawLine(centre, centre + QPointF(0, -3));
  m_painter.drawLine(centre, centre + QPointF(2.5, 0));
  m_painter.drawLine(face.topLeft() + QPointF(-1, 1), face.topLeft() + QPointF(1, -1));
  m_painter.drawLine(face.topRight() + QPointF(1, 1), face.topRight() + QPointF(-1, -1));
  m_painter.restore();
  return kAlarmWidth;
}

void QtRowPainter::DrawTick(int x0, int y0, int x1, int y1, int x2, int y2) {
  m_painter.save();
  m_painter.setPen(QPen(m_selected ? m_colours.highlight : m_colours.text, 2));
  const QPoint points[3] = {{m_left + x0, y0}, {m_left + x1, y1}, {m_left + x2, y2}};
  m_painter.drawPolyline(points, 3);
  m_painter.restore();
}
