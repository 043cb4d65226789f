// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

// Runs the event loop until `done` holds (at most `limitMs`); whether it came to hold.
inline bool PumpUntil(const std::function<bool()>& done, int limitMs = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}
