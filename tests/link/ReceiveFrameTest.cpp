// SPDX-License-Identifier: GPL-3.0-or-later
// Receiving text frames: the answers, the records in the receive buffer, the status texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

using namespace linktest;

namespace {

class ReceiveFrame : public ::testing::Test {
 protected:
  void SetUp() override {
    h.engine->setReceiving(true);
    h.runUntil(0);
  }
  // The diary's wake-up: two line ends, answered by one XON.
  void wakeUp() {
    h.diarySends("\r\n");
    ASSERT_EQ(h.answers(), "<XON>");
  }
  const CcMemo* memo(int i) {
    return static_cast<const CcMemo*>(*std::next(h.buffer.GetList(kMemo)->begin(), i));
  }
  Harness h{10};
};

TEST_F(ReceiveFrame, FirstLineEndIsNotAnsweredTheSecondIs) {
  EXPECT_EQ(h.observer.statuses, (std::vector<std::string>{"Příjem připraven"}));
  h.diarySends("\r");
  EXPECT_EQ(h.answers(), "");
  h.diarySends("\n");
  EXPECT_EQ(h.answers(), "<XON>");
  // Between frames a CR starts over: its LF earns the next XON.
  h.diarySends("\r");
  EXPECT_EQ(h.answers(), "");
  h.diarySends("\n");
  EXPECT_EQ(h.answers(), "<XON>");
}

TEST_F(ReceiveFrame, MemoABBecomesOneUnmarkedRecord) {
  wakeUp();
  h.diarySends(":02000002A0005C");  // select Memo
  h.diarySends(":028000004142FB");  // "AB", selector 0x80
  EXPECT_EQ(h.answers(), "");
  h.diarySends(":00000001FF");  // end of record
  EXPECT_EQ(h.answers(), "#");
  ASSERT_EQ(h.buffer.GetList(kMemo)->GetCount(), 1u);
  EXPECT_EQ(memo(0)->m_text, "AB");
  EXPECT_EQ(memo(0)->m_mark, 0);
  EXPECT_TRUE(h.buffer.HasPendingData(kMemo));
  EXPECT_EQ(h.engine->receiveStatus(), 2);
  h.diarySends(":000000FF01");  // end of transmission: no answer, nothing added
  EXPECT_EQ(h.answers(), "");
  EXPECT_EQ(h.buffer.GetList(kMemo)->GetCount(), 1u);
  EXPECT_EQ(h.port->m_state, 1);
  EXPECT_EQ(h.observer.statuses, (std::vector<std::string>{"Příjem připraven", "Přijato: 1"}));
}

TEST_F(ReceiveFrame, MarkedEndOfRecordMarksTheRecord) {
  wakeUp();
  h.diarySends(":02000002A0005C:028000004142FB:008000017F");
  EXPECT_EQ(h.answers(), "#");
  ASSERT_EQ(h.buffer.GetList(kMemo)->GetCount(), 1u);
  EXPECT_EQ(memo(0)->m_mark, 1);
  EXPECT_EQ(h.port->m_mark, 1);
}

TEST_F(ReceiveFrame, ModeSelectDiscardsTheRecordUnderConstruction) {
  wakeUp();
  // "AB" goes into a memo, then Telephone is selected: the memo is dropped unfinished.
  h.diarySends(":02000002A0005C:028000004142FB:0200000290006C");
  h.diarySends(":0380000058590AC2:00000001FF");  // "XY" LF into field 0
  EXPECT_TRUE(h.buffer.GetList(kMemo)->IsEmpty());
  ASSERT_EQ(h.buffer.GetList(kTelephone)->GetCount(), 1u);
  const auto* phone = static_cast<const CcTelefon*>(h.buffer.GetList(kTelephone)->GetHead());
  EXPECT_EQ(phone->m_fields[0], "XY");
}

TEST_F(ReceiveFrame, ItemsWithSelector71ChangeNothing) {
  wakeUp();
  // Telephone; an item "AB" with selector 0x71; then "XY" LF.
  h.diarySends(":0200000290006C:0271000041420A:0380000058590AC2:00000001FF");
  const auto* phone = static_cast<const CcTelefon*>(h.buffer.GetList(kTelephone)->GetHead());
  ASSERT_NE(phone, nullptr);
  EXPECT_EQ(phone->m_fields[0], "XY");
  EXPECT_EQ(phone->m_fields[1], "");
}

TEST_F(ReceiveFrame, LowerCaseHexDecodesOnlyUpToIt) {
  wakeUp();
  // "AB", then a frame whose second data byte is written "4a": the byte keeps what the
  // frame buffer held there before ("B"), so the memo reads "ABCB".
  h.diarySends(":02000002A0005C:028000004142FB:02800000434aEF:00000001FF");
  ASSERT_EQ(h.buffer.GetList(kMemo)->GetCount(), 1u);
  EXPECT_EQ(memo(0)->m_text, "ABCB");
  // Such a frame is counted as one with a bad checksum; the others were good.
  EXPECT_EQ(h.engine->badChecksums(), 1);
  EXPECT_EQ(h.observer.checksumReports, (std::vector<int>{1}));
}

TEST_F(ReceiveFrame, WrongChecksumIsUsedAnywayButCounted) {
  wakeUp();
  h.diarySends(":02000002A0005C:02800000414200:00000001FF");  // checksum 00 instead of FB
  EXPECT_EQ(h.answers(), "#");
  EXPECT_EQ(memo(0)->m_text, "AB");
  EXPECT_EQ(h.engine->badChecksums(), 1);
}

TEST_F(ReceiveFrame, ExclamationInsideAFrameAbortsIt) {
  wakeUp();
  EXPECT_EQ(h.port->m_diaryAborts, 0);
  h.diarySends(":02000002A0005C:0280000041!42FB");
  EXPECT_EQ(h.port->m_state, 1);
  // Counted, so that the program can tell a broken-off transmission from a finished one.
  EXPECT_EQ(h.port->m_diaryAborts, 1);
  // The receiver waits for a new wake-up; the rest of the frame is ignored.
  h.diarySends(":00000001FF");
  EXPECT_EQ(h.answers(), "");
  h.diarySends("\r\n");
  EXPECT_EQ(h.answers(), "<XON>");
  // Between frames too.
  h.diarySends(":02000002A0005C!");
  EXPECT_EQ(h.port->m_diaryAborts, 2);
}

TEST_F(ReceiveFrame, ColonRestartsAFrame) {
  wakeUp();
  h.diarySends(":02000002A0005C:0280:028000004142FB:00000001FF");
  EXPECT_EQ(memo(0)->m_text, "AB");
}

TEST_F(ReceiveFrame, FreeFileInSeveralPartsBecomesOneRecord) {
  wakeUp();
  h.diarySends(":02000002B1004B");  // select FreeFile
  h.diarySends(":01700000018E");    // start of a file
  h.diarySends(":01900000541B");    // title "T"
  h.diarySends(":00000001FF");      // end of the first part
  EXPECT_EQ(h.answers(), "#");
  EXPECT_TRUE(h.buffer.GetList(kFreeFile)->IsEmpty());
  h.diarySends(":0380000048690DBF");  // "Hi" CR
  h.diarySends(":00000001FF");
  h.diarySends(":02800300596FB3");  // "Yo" at offset 3
  h.diarySends(":00000001FF");
  EXPECT_EQ(h.answers(), "##");
  EXPECT_TRUE(h.buffer.GetList(kFreeFile)->IsEmpty());
  h.diarySends(":018000001A65");  // the file's end mark
  h.diarySends(":00000001FF");
  EXPECT_EQ(h.answers(), "#");
  ASSERT_EQ(h.buffer.GetList(kFreeFile)->GetCount(), 1u);
  const auto* file = static_cast<const CcFreefile*>(h.buffer.GetList(kFreeFile)->GetHead());
  EXPECT_EQ(file->m_title, "T");
  EXPECT_EQ(file->m_body, "Hi\r\nYo");
  EXPECT_EQ(h.buffer.m_received, 1);
}

TEST_F(ReceiveFrame, UnknownModeIgnoresFramesUntilTheNextSelect) {
  wakeUp();
  h.diarySends(":02000002EE000E");  // code EE: no mode
  h.diarySends(":028000004142FB:00000001FF");
  EXPECT_EQ(h.answers(), "#");  // still acknowledged
  for (int m = 0; m < 10; ++m) EXPECT_TRUE(h.buffer.GetList(m)->IsEmpty()) << m;
  EXPECT_EQ(h.buffer.m_received, 0);
}

TEST_F(ReceiveFrame, DuplicatesAreRefusedAndCounted) {
  wakeUp();
  h.diarySends(":0200000290006C");
  // Ann, Bob, Ann again, Cid, Dan: five received, four accepted.
  for (const char* item : {":03800000416E6E60", ":03800000426F626A", ":03800000416E6E60",
                           ":038000004369646D", ":0380000044616E6A"}) {
    h.diarySends(item);
    h.diarySends(":00000001FF");
  }
  EXPECT_EQ(h.answers(), "#####");
  EXPECT_EQ(h.buffer.GetList(kTelephone)->GetCount(), 4u);
  EXPECT_EQ(h.buffer.m_received, 5);
  EXPECT_EQ(h.buffer.m_accepted, 4);
  // One count while every record was new, both once a duplicate came.
  EXPECT_EQ(h.observer.statuses,
            (std::vector<std::string>{"Příjem připraven", "Přijato: 1", "Přijato: 2",
                                      "Přijato: 3 / 2", "Přijato: 4 / 3", "Přijato: 5 / 4"}));
  EXPECT_EQ(h.buffer.GetList(kTelephone)->GetHead()->m_duplicates, 1u);  // Ann
}

TEST_F(ReceiveFrame, ReadyAgainAfterTwoSecondsOfSilence) {
  wakeUp();
  h.diarySends(":02000002A0005C:028000004142FB:00000001FF:000000FF01");
  const int64_t last = h.now;
  h.runUntil(last + 2000);
  EXPECT_EQ(h.engine->receiveStatus(), 2);
  EXPECT_EQ(h.observer.statuses.back(), "Přijato: 1");
  h.runUntil(last + 2001);
  EXPECT_EQ(h.engine->receiveStatus(), 1);
  EXPECT_EQ(h.observer.statuses.back(), "Příjem připraven");
}

TEST_F(ReceiveFrame, NoFallBackWhileATransmissionIsOpen) {
  wakeUp();
  h.diarySends(":02000002A0005C:028000004142FB:00000001FF");  // no end of transmission
  h.runUntil(h.now + 60000);
  EXPECT_EQ(h.engine->receiveStatus(), 2);
}

TEST_F(ReceiveFrame, ConversionOfReceivedTextFollowsTheSetting) {
  // A byte the character tables convert; the record gets it converted or as it came.
  for (bool convert : {true, false}) {
    Harness g(10);
    g.settings.convertC2M = convert;
    g.engine->applySettings(g.settings);
    g.engine->setReceiving(true);
    g.runUntil(0);
    g.diarySends("\r\n");
    // Memo, item 0x80 with the single byte 0x84, end.
    g.diarySends(":02000002A0005C:0180000084FB:00000001FF");
    const auto* m = static_cast<const CcMemo*>(g.buffer.GetList(kMemo)->GetHead());
    ASSERT_NE(m, nullptr);
    // The diary's 0x84 is the PC's "ä" (0xE4).
    EXPECT_EQ(m->m_text, convert ? "\xE4" : "\x84") << convert;
  }
}

TEST_F(ReceiveFrame, ReceivingOffShowsTheStatusAndStopsListening) {
  h.engine->setReceiving(false);
  h.runUntil(h.now);
  EXPECT_EQ(h.observer.statuses.back(), "Komunikace vypnuta");
  EXPECT_EQ(h.engine->receiveStatus(), 0);
  h.diarySends("\r\n");
  EXPECT_EQ(h.answers(), "");
}

// The buffer window opens at the first record of a reception; closed by the user it stays
// closed until the reception is over; with automatic closing the program closes it when
// the receiver is ready again, and that close does not count as the user's.
TEST_F(ReceiveFrame, BufferWindowOpensAndTheUserClosedFlagHolds) {
  h.settings.autoOpenBuffer = true;
  h.settings.autoCloseBuffer = true;
  h.engine->applySettings(h.settings);
  wakeUp();
  h.diarySends(":02000002A0005C:028000004142FB:00000001FF");
  EXPECT_TRUE(h.observer.windowOpen);
  h.observer.userClosesWindow();
  EXPECT_TRUE(h.buffer.m_userClosed);
  h.diarySends(":028000004142FB:00000001FF");
  EXPECT_FALSE(h.observer.windowOpen);  // not reopened during this reception
  h.diarySends(":000000FF01");
  h.runUntil(h.now + 2001);
  EXPECT_EQ(h.engine->receiveStatus(), 1);
  EXPECT_FALSE(h.buffer.m_userClosed);  // cleared when the receiver is ready again
  // The next reception opens it again, and the program's own close leaves the flag clear.
  h.diarySends("\r\n:02000002A0005C:028000004142FB:00000001FF:000000FF01");
  EXPECT_TRUE(h.observer.windowOpen);
  h.runUntil(h.now + 2001);
  EXPECT_FALSE(h.observer.windowOpen);
  EXPECT_FALSE(h.buffer.m_userClosed);
  EXPECT_FALSE(h.buffer.m_closedByProgram);
  EXPECT_EQ(h.observer.events,
            (std::vector<std::string>{"status Příjem připraven", "open window", "status Přijato: 1",
                                      "user closes window", "status Přijato: 2",
                                      "status Příjem připraven", "open window", "status Přijato: 3",
                                      "close window", "status Příjem připraven"}));
}

TEST_F(ReceiveFrame, UserClosingWhileReadyDoesNotKeepTheWindowClosed) {
  h.settings.autoOpenBuffer = true;
  h.engine->applySettings(h.settings);
  h.observer.windowOpen = true;
  h.observer.userClosesWindow();  // receive status 1: no reception in progress
  EXPECT_FALSE(h.buffer.m_userClosed);
  wakeUp();
  h.diarySends(":02000002A0005C:028000004142FB:00000001FF");
  EXPECT_TRUE(h.observer.windowOpen);
}

TEST_F(ReceiveFrame, VanishedPortDuringReceptionKeepsWhatWasConfirmed) {
  wakeUp();
  h.diarySends(":02000002A0005C:028000004142FB:00000001FF:028000004344F7");
  h.pc->vanish();
  h.runUntil(h.now + 10);
  EXPECT_FALSE(h.engine->portOpen());
  EXPECT_EQ(h.buffer.GetList(kMemo)->GetCount(), 1u);
  EXPECT_EQ(h.observer.messages.back().id, IDS_PORT_LOST);
  EXPECT_EQ(h.observer.statuses.back(), "Komunikace vypnuta");
}

}  // namespace
