// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>
#include <QTimer>

// The "U" and "D" buttons that move a record up or down: an arrow face (up for the text
// "U", down for "D"), and, while held down, clicked() again and again like a held key:
// first after the initial delay, then at the repeat interval. Releasing the button over it
// gives the ordinary click once more; a double click counts as a second press.
class RepeatButton : public QPushButton {
  Q_OBJECT

 public:
  // `text` is "U" or "D"; it chooses the arrow and is not drawn.
  explicit RepeatButton(const QString& text, QWidget* parent = nullptr);

  // From the keyboard settings: delay 0..3 gives (delay + 1) x 250 ms; speed 0..31 gives
  // 500 / (speed + 1) ms but at least 100 ms. Out-of-range values are clamped.
  static int InitialDelay(int keyboardDelay);
  static int RepeatInterval(int keyboardSpeed);
  // The program's values: keyboard delay 0 and speed 31, so 250 ms and then 100 ms.
  static constexpr int kKeyboardDelay = 0;
  static constexpr int kKeyboardSpeed = 31;

  int initialDelay() const { return m_initialDelay; }
  int repeatInterval() const { return m_repeatInterval; }
  void setDelays(int initialDelay, int repeatInterval);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void tick();

  QTimer m_timer;
  int m_initialDelay;
  int m_repeatInterval;
};
