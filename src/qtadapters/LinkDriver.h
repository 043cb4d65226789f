// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

class LinkEngine;
class QtSerialLine;

// Runs a non-blocking state machine (the link engine, or casio-sim's diary) from the Qt
// event loop. A turn is a call `turn(now)` with the time in milliseconds since the driver
// was made; it returns the time it next needs to run, or INT64_MAX when only input can
// give it work. The driver runs a turn when input arrives (kick, connected to the line's
// readyRead), when a single-shot timer at the wanted time fires, and whenever the owner
// calls kick() after changing the machine.
//
// Times are whole milliseconds, so one pause after a byte may come out up to a millisecond
// short of the character delay; the next byte never comes before the previous one's time
// plus the delay, so over any run of bytes the rate never exceeds one per delay.
//
// A kick from inside a turn (an observer that opens a message box with its own event loop)
// does not start a second turn: the turn in progress is followed by another at once.
class LinkDriver : public QObject {
  Q_OBJECT

 public:
  using Turn = std::function<int64_t(int64_t now)>;

  explicit LinkDriver(Turn turn, QObject* parent = nullptr);
  // Drives `engine`, running it on every readyRead and error of `line`.
  LinkDriver(LinkEngine& engine, QtSerialLine& line, QObject* parent = nullptr);

  // Runs a turn on every readyRead and error of `line` as well.
  void watch(QtSerialLine& line);

  // Milliseconds since the driver was made: the clock given to the turns.
  int64_t now() const { return m_clock.elapsed(); }

  // How many turns ran and the longest one, in nanoseconds of wall time (which includes
  // any time the system gave other programs) and of the thread's own CPU time.
  int64_t turns() const { return m_turns; }
  int64_t longestTurnNs() const { return m_longestNs; }
  int64_t longestTurnCpuNs() const { return m_longestCpuNs; }
  void resetStatistics() {
    m_turns = 0;
    m_longestNs = 0;
    m_longestCpuNs = 0;
  }

 public slots:
  // Runs a turn now.
  void kick();

 signals:
  // After every turn; `next` is what the turn asked for.
  void turnDone(qint64 next);

 private:
  Turn m_turn;
  QTimer m_timer;
  QElapsedTimer m_clock;
  bool m_inTurn = false;
  bool m_again = false;
  int64_t m_turns = 0;
  int64_t m_longestNs = 0;
  int64_t m_longestCpuNs = 0;
};
