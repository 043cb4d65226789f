// SPDX-License-Identifier: GPL-3.0-or-later
// The event-loop driver: the link engine runs on input and at the times it asks for, and a
// turn is never started inside another.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <climits>
#include <string>

#include "PtyPair.h"
#include "PumpUntil.h"
#include "link/CCasioPort.h"
#include "link/LinkEngine.h"
#include "link/ReceiveBuffer.h"
#include "qtadapters/LinkDriver.h"
#include "qtadapters/QtSerialLine.h"
#include "records/CcMemo.h"
#include "records/Cp1250.h"
#include "settings/LinkSettings.h"

namespace {

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
  PtyPair pty;
  ASSERT_FALSE(pty.path.empty()) << "no pseudo-terminal";
  std::string answers;
  auto readAnswers = [&] {
    char buffer[64];
    for (ssize_t n; (n = ::read(pty.master, buffer, sizeof buffer)) > 0;) answers.append(buffer, n);
    return answers;
  };

  QtSerialLine line;
  CCasioPort port(line);
  ReceiveBuffer buffer;
  QuietObserver observer;
  LinkEngine engine(port, buffer, observer);
  LinkSettings settings;
  settings.devices = {pty.path, pty.path, pty.path, pty.path};
  settings.delay = 1;
  engine.applySettings(settings);
  ASSERT_TRUE(engine.openPort());
  engine.setReceiving(true);
  LinkDriver driver(engine, line);
  driver.kick();
  EXPECT_EQ(observer.statuses, std::vector<std::string>{"Příjem připraven"});

  // The diary wakes the program: the second line end earns XON.
  ASSERT_EQ(::write(pty.master, "\r\n", 2), 2);
  ASSERT_TRUE(PumpUntil([&] { return readAnswers() == "\x11"; })) << answers;
  // Mode select Memo, the item AB, the end of record: answered with "#".
  const std::string frames = ":02000002A0005C:028000004142FB:00000001FF";
  ASSERT_EQ(::write(pty.master, frames.data(), frames.size()), ssize_t(frames.size()));
  ASSERT_TRUE(PumpUntil([&] { return readAnswers() == "\x11#"; })) << answers;
  ASSERT_EQ(buffer.GetList(0)->GetCount(), 1u);
  EXPECT_EQ(static_cast<CcMemo*>(buffer.GetList(0)->GetHead())->m_text, "AB");
  ASSERT_EQ(::write(pty.master, ":000000FF01", 11), 11);

  // Nothing more comes: only the driver's timer can bring the pane back to ready, 2 s after
  // the last record.
  ASSERT_TRUE(PumpUntil([&] { return engine.receiveStatus() == 1; }, 5000));
  EXPECT_EQ(observer.statuses,
            (std::vector<std::string>{"Příjem připraven", "Přijato: 1", "Příjem připraven"}));
  EXPECT_EQ(observer.messages, std::vector<int>{});
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
