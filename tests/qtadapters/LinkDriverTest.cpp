// SPDX-License-Identifier: GPL-3.0-or-later
// The event-loop driver: the link engine runs on input and at the times it asks for, and a
// turn is never started inside another.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <climits>
#include <functional>
#include <string>

#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "qtadapters/LinkDriver.h"
#include "qtadapters/QtSerialLine.h"
#include "records/CcMemo.h"
#include "records/Cp1250.h"
#include "settings/LinkSettings.h"

namespace {

bool PumpUntil(const std::function<bool()>& done, int limitMs = 3000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

class QuietObserver : public LinkObserver {
 public:
  void statusText(const std::string& text) override { statuses.push_back(Utf8FromCp1250(text)); }
  void message(int id, const std::string&, MessageIcon) override { messages.push_back(id); }
  void beep() override {}
  bool isBufferWindowOpen() const override { return false; }
  void openBufferWindow() override {}
  void closeBufferWindow() override {}
  void refreshBufferWindow() override {}
  std::vector<std::string> statuses;
  std::vector<int> messages;
};

TEST(LinkDriver, RunsTheEngineOnInputAndAtTheTimesItAsksFor) {
  int master = -1, slave = -1;
  char name[256] = {};
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  for (int fd : {master, slave}) {
    struct termios t {};
    tcgetattr(fd, &t);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
  }
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  std::string answers;
  auto readAnswers = [&] {
    char buffer[64];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) answers.append(buffer, n);
    return answers;
  };

  QtSerialLine line;
  CCasioPort port(line);
  ReceiveBuffer buffer;
  QuietObserver observer;
  LinkEngine engine(port, buffer, observer);
  LinkSettings settings;
  settings.devices = {name, name, name, name};
  settings.delay = 1;
  engine.applySettings(settings);
  ASSERT_TRUE(engine.openPort());
  engine.setReceiving(true);
  LinkDriver driver(engine, line);
  driver.kick();
  EXPECT_EQ(observer.statuses, std::vector<std::string>{"Příjem připraven"});

  // The diary wakes the program: the second line end earns XON.
  ASSERT_EQ(::write(master, "\r\n", 2), 2);
  ASSERT_TRUE(PumpUntil([&] { return readAnswers() == "\x11"; })) << answers;
  // Mode select Memo, the item AB, the end of record: answered with "#".
  const std::string frames = ":02000002A0005C:028000004142FB:00000001FF";
  ASSERT_EQ(::write(master, frames.data(), frames.size()), ssize_t(frames.size()));
  ASSERT_TRUE(PumpUntil([&] { return readAnswers() == "\x11#"; })) << answers;
  ASSERT_EQ(buffer.GetList(0)->GetCount(), 1u);
  EXPECT_EQ(static_cast<CcMemo*>(buffer.GetList(0)->GetHead())->m_text, "AB");
  ASSERT_EQ(::write(master, ":000000FF01", 11), 11);

  // Nothing more comes: only the driver's timer can bring the pane back to ready, 2 s after
  // the last record.
  ASSERT_TRUE(PumpUntil([&] { return engine.receiveStatus() == 1; }, 5000));
  EXPECT_EQ(observer.statuses,
            (std::vector<std::string>{"Příjem připraven", "Přijato: 1", "Příjem připraven"}));
  EXPECT_EQ(observer.messages, std::vector<int>{});
  ::close(master);
  ::close(slave);
}

TEST(LinkDriver, KickInsideATurnRunsTheNextTurnAfterIt) {
  int depth = 0;
  int deepest = 0;
  int turns = 0;
  LinkDriver* self = nullptr;
  LinkDriver driver([&](int64_t) {
    ++depth;
    deepest = std::max(deepest, depth);
    // The first turn kicks again, as an observer's message box would with its own loop.
    if (++turns == 1) self->kick();
    --depth;
    return INT64_MAX;
  });
  self = &driver;
  driver.kick();
  EXPECT_EQ(turns, 1);
  PumpUntil([&] { return turns == 2; }, 500);
  EXPECT_EQ(turns, 2);
  EXPECT_EQ(deepest, 1);
  EXPECT_EQ(driver.turns(), 2);
  // A turn that wants nothing more gets no more turns.
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(turns, 2);
}

TEST(LinkDriver, TurnRunsAgainAtTheTimeItAskedFor) {
  int turns = 0;
  LinkDriver* self = nullptr;
  int64_t asked = 0;
  int64_t ranAt = -1;
  LinkDriver driver([&](int64_t now) {
    ++turns;
    if (turns == 1) {
      asked = now + 30;
      return asked;
    }
    ranAt = now;
    return int64_t(INT64_MAX);
  });
  self = &driver;
  driver.kick();
  ASSERT_TRUE(PumpUntil([&] { return turns == 2; }));
  // Never before the time it asked for.
  EXPECT_GE(ranAt, asked);
  (void)self;
}

}  // namespace
