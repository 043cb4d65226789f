// SPDX-License-Identifier: GPL-3.0-or-later
#include "qtadapters/LinkDriver.h"

#include <time.h>

#include <algorithm>
#include <climits>

#include "link/LinkEngine.h"
#include "qtadapters/QtSerialLine.h"

LinkDriver::LinkDriver(Turn turn, QObject* parent) : QObject(parent), m_turn(std::move(turn)) {
  m_clock.start();
  m_timer.setSingleShot(true);
  // The character delays are a few milliseconds; a coarse timer would stretch them.
  m_timer.setTimerType(Qt::PreciseTimer);
  connect(&m_timer, &QTimer::timeout, this, &LinkDriver::kick);
}

LinkDriver::LinkDriver(LinkEngine& engine, QtSerialLine& line, QObject* parent)
    : LinkDriver([&engine](int64_t now) { return engine.run(now); }, parent) {
  watch(line);
}

void LinkDriver::watch(QtSerialLine& line) {
  connect(&line.port(), &QSerialPort::readyRead, this, &LinkDriver::kick);
  // A lost device shows in the next turn; the error itself does not come through readyRead.
  connect(&line.port(), &QSerialPort::errorOccurred, this, &LinkDriver::kick, Qt::QueuedConnection);
}

namespace {

// CPU time of the calling thread: a turn's own work, without the time the system gave
// other programs meanwhile.
int64_t ThreadCpuNs() {
#ifdef CLOCK_THREAD_CPUTIME_ID
  struct timespec ts {};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts) == 0)
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
#endif
  return 0;
}

}  // namespace

void LinkDriver::kick() {
  if (m_inTurn) {
    m_again = true;
    return;
  }
  m_inTurn = true;
  QElapsedTimer took;
  took.start();
  const int64_t cpu = ThreadCpuNs();
  const int64_t next = m_turn(now());
  m_longestCpuNs = std::max(m_longestCpuNs, ThreadCpuNs() - cpu);
  m_longestNs = std::max<int64_t>(m_longestNs, took.nsecsElapsed());
  m_inTurn = false;
  ++m_turns;

  if (m_again) {
    // Something came while the turn was busy: look at it at once.
    m_again = false;
    m_timer.start(0);
  } else if (next == INT64_MAX) {
    m_timer.stop();
  } else {
    const int64_t wait = std::max<int64_t>(0, next - now());
    m_timer.start(static_cast<int>(std::min<int64_t>(wait, INT_MAX)));
  }
  emit turnDone(next);
}
