// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/controls/RepeatButton.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

RepeatButton::RepeatButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      m_initialDelay(InitialDelay(kKeyboardDelay)),
      m_repeatInterval(RepeatInterval(kKeyboardSpeed)) {
  setAutoDefault(false);
  setFocusPolicy(Qt::TabFocus);
  m_timer.setSingleShot(false);
  // Never earlier than asked: the delays are the keyboard's.
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &RepeatButton::tick);
  // pressed/released also come from the space bar; a double click is a second press.
  connect(this, &QAbstractButton::pressed, this, [this] {
    m_timer.start(m_initialDelay);
  });
  connect(this, &QAbstractButton::released, this, [this] { m_timer.stop(); });
}

int RepeatButton::InitialDelay(int keyboardDelay) {
  return (std::clamp(keyboardDelay, 0, 3) + 1) * 250;
}

int RepeatButton::RepeatInterval(int keyboardSpeed) {
  return std::max(100, 500 / (std::clamp(keyboardSpeed, 0, 31) + 1));
}

void RepeatButton::setDelays(int initialDelay, int repeatInterval) {
  m_initialDelay = std::max(1, initialDelay);
  m_repeatInterval = std::max(1, repeatInterval);
}

void RepeatButton::tick() {
  if (!isDown() || !isEnabled()) {
    m_timer.stop();
    return;
  }
  // After the first tick the timer runs at the repeat interval.
  if (m_timer.interval() != m_repeatInterval) m_timer.setInterval(m_repeatInterval);
  emit clicked(false);
}

QSize RepeatButton::sizeHint() const {
  const int side = fontMetrics().height() + 10;
  return {side, side};
}

void RepeatButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  option.state &= ~QStyle::State_HasFocus;  // the focus rectangle is drawn below
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  // A filled triangle, sunken by one pixel while the button is down.
  const int shift = isDown() ? 1 : 0;
  const QRectF face = QRectF(rect()).adjusted(4, 4, -4, -4);
  const qreal side = std::min(face.width(), face.height()) * 0.6;
  const QPointF centre = face.center() + QPointF(shift, shift);
  const qreal half = side / 2;
  const qreal h = side * 0.5;
  QPainterPath arrow;
  if (text() == QLatin1String("U")) {
    arrow.moveTo(centre.x() - half, centre.y() + h / 2);
    arrow.lineTo(centre.x() + half, centre.y() + h / 2);
    arrow.lineTo(centre.x(), centre.y() - h / 2);
  } else {
    arrow.moveTo(centre.x() - half, centre.y() - h / 2);
    arrow.lineTo(centre.x() + half, centre.y() - h / 2);
    arrow.lineTo(centre.x(), centre.y() + h / 2);
  }
  arrow.closeSubpath();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(Qt::NoPen);
  painter.setBrush(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                   QPalette::ButtonText));
  painter.drawPath(arrow);

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(3, 3, -3, -3);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}
