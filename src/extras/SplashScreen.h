// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

// The start-up picture: a borderless window in the middle of the screen while the main
// window comes up. It closes itself after `lifetime` ms (3000 by default) or at the first
// key press or mouse button press anywhere in the program, and then deletes itself.
class SplashScreen : public QWidget {
  Q_OBJECT
 public:
  explicit SplashScreen(int lifetime = 3000);
  ~SplashScreen() override;

  // The picture shown: the program's icon, name, version and what it is for.
  static QPixmap picture();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_picture;
  QTimer m_timer;
};

// Shows the splash; it goes away by itself. Call it when the main window is created, and not
// when the program was started to open a file or for another shell action. Null (nothing
// shown) from the second call of a run on.
SplashScreen* ShowSplash(int lifetime = 3000);
