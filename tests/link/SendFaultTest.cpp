// SPDX-License-Identifier: GPL-3.0-or-later
// A diary that does not answer, answers wrongly or goes away; the user stopping a send.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

using namespace linktest;

namespace {

class SendFault : public ::testing::Test {
 protected:
  void SetUp() override { doc.GetList(kMemo)->m_selected = 1; }
  void TearDown() override { doc.DeleteContents(); }
  void addMemo(const std::string& text) { doc.GetList(kMemo)->AddTail(Memo(text)); }
  CDuxelDoc doc;
  TestDiary diary;
};

TEST_F(SendFault, NoAnswerToTheWakeUpGivesMessage128AfterFiftyTries) {
  Harness h(10);
  addMemo("AB");
  diary.answerWakeUp = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  // 50 x CR LF, 10 ms apart; the look for XON after each LF finds nothing; then "!".
  std::string wakeUps;
  for (int i = 0; i < 50; ++i) wakeUps += "\r\n";
  EXPECT_EQ(Timeline(h.pc->written()),
            Timeline(std::vector<Burst>{{0, wakeUps, 10}, {1000, "!", 10}}));
  EXPECT_EQ(h.observer.messages,
            (std::vector<FakeObserver::Message>{{128, "", MessageIcon::Stop}}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::NoHandshake);
  EXPECT_FALSE(doc.IsSending());
  EXPECT_FALSE(h.engine->isSending());
}

TEST_F(SendFault, LateXonIsFoundByTheNextLook) {
  Harness h(10);
  addMemo("AB");
  diary.answerWakeUp = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(35, &diary);  // two tries went out: CR 0, LF 10, CR 20, LF 30
  h.diary->writeByte(17);  // XON arrives late
  diary.answerWakeUp = true;
  h.runSend(&diary);
  // The look after the second LF (at 40) finds it; the mode select follows at once.
  EXPECT_EQ(Show(h.pc->writtenBytes()).substr(0, 25), "<CR><LF><CR><LF>:02000002");
  EXPECT_EQ(h.pc->written()[4].at, 40);
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Completed);
}

TEST_F(SendFault, NoHashWithinTenSecondsAbortsAfterTheRecord) {
  Harness h(10);
  addMemo("AB");
  addMemo("CD");
  diary.answerHash = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  // The end-of-record frame's last character at 430; the wait begins at 440 and looks
  // every 10 ms; the look at 10450 is more than 10 s after its start: "!".
  EXPECT_EQ(Timeline(h.pc->written()), Timeline(std::vector<Burst>{
                                           {0, "\r\n", 10},
                                           {20, ":02000002A0005C", 10},
                                           {180, ":028000004142FB", 10},
                                           {330, ":00000001FF", 10},
                                           {10450, "!", 10},
                                       }));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::NoAcknowledge);
  EXPECT_EQ(h.observer.finished.at(0).sent, 0);
  EXPECT_TRUE(h.observer.messages.empty());
}

TEST_F(SendFault, HashJustBeforeTheTimeOutStillCounts) {
  Harness h(10);
  addMemo("AB");
  diary.answerHash = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(10435, &diary);
  h.diary->writeText("#");
  h.runSend(&diary);
  // Read at 10440: the record is confirmed, the end of transmission follows.
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Completed);
  EXPECT_EQ(h.observer.finished.at(0).sent, 1);
  EXPECT_EQ(h.pc->written().back().at, 10440 + 100);
}

TEST_F(SendFault, ExclamationFromTheDiaryIsNotAnAnswer) {
  Harness h(10);
  addMemo("AB");
  diary.hashAnswer = "!";
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  // Only "#" as the first byte read ends the wait; the "!" is read and dropped, and the
  // wait runs out.
  EXPECT_EQ(h.pc->written().back().byte, '!');
  EXPECT_EQ(h.pc->written().back().at, 10450);
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::NoAcknowledge);
}

TEST_F(SendFault, WriteFailureMidFramePurgesAndStops) {
  Harness h(10);
  addMemo("AB");
  addMemo("CD");
  // The line fails after the wake-up, the mode select, the first record, its end, and
  // five characters of the second record's item.
  h.pc->failWritesAfter(2 + 15 + 15 + 11 + 5);
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  const int purgesBefore = h.pc->purgeCount();
  h.runSend(&diary);
  EXPECT_EQ(Show(h.pc->writtenBytes()), "<CR><LF>:02000002A0005C:028000004142FB:00000001FF:0280");
  // Purged once for the failed byte and once more for the "!" that could not go out.
  EXPECT_EQ(h.pc->purgeCount() - purgesBefore, 2);
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::WriteFailed);
  EXPECT_EQ(h.observer.finished.at(0).sent, 1);  // the first record was confirmed
  EXPECT_TRUE(h.engine->portOpen());             // a line error is not a lost port
}

TEST_F(SendFault, VanishedPortStopsCleanlyAndKeepsTheConfirmedCount) {
  Harness h(10);
  addMemo("AB");
  addMemo("CD");
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(500, &diary);  // the first record has been confirmed at 450
  h.pc->vanish();
  h.runSend(&diary);
  EXPECT_FALSE(h.engine->isSending());
  EXPECT_FALSE(h.engine->portOpen());
  EXPECT_FALSE(h.pc->isOpen());
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::PortLost);
  EXPECT_EQ(h.observer.finished.at(0).sent, 1);
  EXPECT_EQ(h.observer.messages,
            (std::vector<FakeObserver::Message>{{IDS_PORT_LOST, "", MessageIcon::Stop}}));
  EXPECT_EQ(h.observer.statuses.back(), "Komunikace vypnuta");
  EXPECT_FALSE(doc.IsSending());
  // Nothing was written after the device went away.
  EXPECT_LE(h.pc->written().back().at, 500);
}

TEST_F(SendFault, SendOnAPortThatCouldNotOpenFailsAtTheFirstByte) {
  Harness h(10, false);
  addMemo("AB");
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  EXPECT_TRUE(h.pc->written().empty());
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::WriteFailed);
}

TEST_F(SendFault, StopWhileWaitingForHashEndsAfterTheEndOfTransmission) {
  Harness h(10);
  addMemo("AB");
  addMemo("CD");
  diary.answerHash = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(2000, &diary);
  EXPECT_TRUE(h.engine->isSending());
  h.engine->interruptSend();
  h.runSend(&diary);
  // The wait looks at 2010, sees the stop, and the end of transmission goes out.
  EXPECT_EQ(Timeline(h.pc->written()), Timeline(std::vector<Burst>{
                                           {0, "\r\n", 10},
                                           {20, ":02000002A0005C", 10},
                                           {180, ":028000004142FB", 10},
                                           {330, ":00000001FF", 10},
                                           {2010, ":000000FF01", 10},
                                       }));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Interrupted);
  EXPECT_EQ(h.observer.finished.at(0).sent, 0);
  EXPECT_FALSE(doc.IsSending());
}

TEST_F(SendFault, StopInsideARecordFinishesItsFramesFirst) {
  Harness h(10);
  addMemo("AB");
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(200, &diary);  // in the middle of the item frame
  h.engine->interruptSend();
  h.runSend(&diary);
  // No frame is cut: the record's items go out whole, then, before the record's end, the
  // end of transmission.
  EXPECT_EQ(Show(h.pc->writtenBytes()), "<CR><LF>:02000002A0005C:028000004142FB:000000FF01");
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Interrupted);
}

TEST_F(SendFault, StopBetweenRecordsSendsTheEndOfTransmissionNext) {
  Harness h(10);
  addMemo("AB");
  addMemo("CD");
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(440, &diary);  // waiting for "#", which the diary has sent
  h.engine->interruptSend();
  h.runSend(&diary);
  // The wait reads at 450 and finds "#" before it looks at the stop: the record counts.
  EXPECT_EQ(Show(h.pc->writtenBytes()),
            "<CR><LF>:02000002A0005C:028000004142FB:00000001FF:000000FF01");
  EXPECT_EQ(h.observer.finished.at(0).sent, 1);
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Interrupted);
}

TEST_F(SendFault, StopDuringAFreeFilePartWaitSendsNothingMoreOfTheFile) {
  Harness h(10);
  auto* file = new CcFreefile;
  file->m_title = "T";
  file->m_body = "body";
  doc.GetList(kFreeFile)->AddTail(file);
  doc.GetList(kFreeFile)->m_selected = 1;
  diary.answerHash = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runUntil(1500, &diary);
  h.engine->interruptSend();
  h.runSend(&diary);
  // Start mark 0x70, title 0x90, the part's end; then the stop: the end of transmission.
  EXPECT_EQ(diary.frames, (std::vector<std::string>{"02000002B1004B", "01700000018E",
                                                    "01900000541B", "00000001FF", "000000FF01"}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Interrupted);
}

TEST_F(SendFault, NestedRunFromAMessageBoxDoesNothing) {
  Harness h(10);
  addMemo("AB");
  diary.answerWakeUp = false;
  std::vector<int64_t> nested;
  std::size_t writtenAtMessage = 0;
  h.observer.onMessage = [&] {
    writtenAtMessage = h.pc->written().size();
    nested.push_back(h.engine->run(h.now + 100000));
  };
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  EXPECT_EQ(nested, (std::vector<int64_t>{LinkEngine::kNoDeadline}));
  EXPECT_EQ(h.pc->written().size(), writtenAtMessage);
  EXPECT_EQ(h.observer.finished.size(), 1u);
}

TEST_F(SendFault, EngineRefusesASecondSendOrACaptureWhileSending) {
  Harness h(10);
  addMemo("AB");
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  EXPECT_FALSE(h.engine->startSend({&doc, 0, false}));
  std::string error;
  EXPECT_FALSE(h.engine->startCapture("/dev/null", &error));
  EXPECT_EQ(error, "the link is busy");
  h.runSend(&diary);
  EXPECT_EQ(h.observer.finished.size(), 1u);
}

}  // namespace
