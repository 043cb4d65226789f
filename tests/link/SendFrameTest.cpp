// SPDX-License-Identifier: GPL-3.0-or-later
// Sending in the frame protocol: the bytes, their order and their times on the line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"

using namespace linktest;

namespace {

// Plays whatever the port has recorded, as the engine would, and returns the written text.
std::string Play(Harness& h) {
  h.pc->clearWritten();
  for (int guard = 0; guard < 100000; ++guard) {
    int64_t wake = 0;
    const ScriptState state = h.port->RunScript(h.now, wake);
    if (state != ScriptState::Running) break;
    h.now = wake;
  }
  const std::vector<uint8_t> bytes = h.pc->writtenBytes();
  return std::string(bytes.begin(), bytes.end());
}

TEST(SendFrame, MemoABTransmissionIsExactOnTheWireWithTheCharacterDelay) {
  Harness h(10);
  CDuxelDoc doc;
  doc.GetList(kMemo)->AddTail(Memo("AB"));
  doc.GetList(kMemo)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);

  // PC to diary, every character 10 ms after the one before:
  //   CR LF                      wake-up; the diary answers XON at once
  //   :02000002A0005C            mode select Memo, then one more delay
  //   :028000004142FB            item 0x80, offset 0, "AB"
  //   :00000001FF                end of record; "#" comes back, read one delay later
  //   :000000FF01                end of transmission
  EXPECT_EQ(Timeline(h.pc->written()), Timeline(std::vector<Burst>{
                                           {0, "\r\n", 10},
                                           {20, ":02000002A0005C", 10},
                                           {180, ":028000004142FB", 10},
                                           {330, ":00000001FF", 10},
                                           {450, ":000000FF01", 10},
                                       }));
  // What the diary sent: XON, then "#".
  EXPECT_EQ(Show(h.diary->writtenBytes()), "<XON>#");
  ASSERT_EQ(h.observer.finished.size(), 1u);
  EXPECT_EQ(h.observer.finished[0].end, SendEnd::Completed);
  EXPECT_EQ(h.observer.finished[0].sent, 1);
  EXPECT_EQ(h.observer.statuses, (std::vector<std::string>{"Vysláno: 1", "Komunikace vypnuta"}));
  EXPECT_FALSE(doc.IsSending());
  EXPECT_EQ(h.now, 560);  // the last character's delay has passed
  doc.DeleteContents();
}

TEST(SendFrame, ModeSelectFrameOfEveryMode) {
  struct Case {
    int mode;
    const char* frame;
  };
  // Length 2, address 0, type 02, the mode code and 00, checksum.
  const Case cases[] = {
      {0, ":02000002A0005C"}, {1, ":0200000290006C"}, {2, ":02000002B0004C"},
      {3, ":02000002C0003C"}, {4, ":02000002C1003B"}, {5, ":02000002B1004B"},
      {6, ":0200000291006B"}, {7, ":02000002A1005B"}, {8, ":0200000292006A"},
      {9, ":020000020000FC"},
  };
  for (const Case& c : cases) {
    Harness h(5);
    h.port->SelectMode(c.mode);
    const int64_t start = h.now;
    EXPECT_EQ(Play(h), c.frame) << "mode " << c.mode;
    // 15 characters and one more delay after the selection.
    EXPECT_EQ(h.now - start, 16 * 5) << "mode " << c.mode;
    EXPECT_EQ(h.port->m_blockNumber, 0);
    EXPECT_EQ(h.port->m_lastBlock, 0);
  }
}

TEST(SendFrame, ItemFramesCarryOffsetAndSelector) {
  Harness h(1);
  // "AB" with selector 0x80: length 02, address 8000, type 00, 41 42, checksum FB.
  h.port->SendItem("AB", 0x80, 3);
  EXPECT_EQ(Play(h), ":028000004142FB");
  EXPECT_EQ(h.port->m_sendOffset, 2);

  // An empty item is one frame holding a zero byte.
  h.port->SendItem("", 0x80, 3);
  EXPECT_EQ(Play(h), ":01800000007F");
  EXPECT_EQ(h.port->m_sendOffset, 0);

  // Flags 2 continue the running offset: 0x8002 carries "C".
  h.port->SendItem("AB", 0x80, 3);
  h.port->SendItem("C", 0x80, 2);
  EXPECT_EQ(Play(h), ":028000004142FB:01800200433A");
  EXPECT_EQ(h.port->m_sendOffset, 3);

  // Flags 1 restart but do not advance: single-frame items such as dates.
  h.port->SendItem("x", 0xF0, 1);
  EXPECT_EQ(Play(h), ":01F000007897");
  EXPECT_EQ(h.port->m_sendOffset, 0);
}

TEST(SendFrame, ThreeHundredByteItemGoesOutAsFramesOf120And120And60) {
  Harness h(1);
  const std::string text = std::string(120, 'A') + std::string(120, 'B') + std::string(60, 'C');
  h.port->SendItem(text, 0x80, 3);
  auto hex = [](const char* byte, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += byte;
    return s;
  };
  // Addresses 0x8000, 0x8078, 0x80F0; checksums 90, A0, A0.
  EXPECT_EQ(Play(h), ":78800000" + hex("41", 120) + "90" + ":78807800" + hex("42", 120) + "A0" +
                         ":3C80F000" + hex("43", 60) + "A0");
  EXPECT_EQ(h.port->m_sendOffset, 300);
}

TEST(SendFrame, AFrameOf120BytesTakes251Delays) {
  Harness h(3);
  h.port->SendItem(std::string(120, 'z'), 0x80, 3);
  Play(h);
  const auto& w = h.pc->written();
  ASSERT_EQ(w.size(), 251u);
  for (std::size_t i = 1; i < w.size(); ++i) ASSERT_EQ(w[i].at - w[i - 1].at, 3) << i;
}

TEST(SendFrame, ItemsLongerThanAnyBufferAreSentWhole) {
  Harness h(1);
  // 1000 bytes: eight frames of 120 and one of 40, offsets running on.
  h.port->SendItem(std::string(1000, 'q'), 0x80, 3);
  const std::string wire = Play(h);
  ASSERT_EQ(wire.size(), 8u * 251 + (1 + 2 * (4 + 40) + 2));
  std::vector<std::string> addresses;
  for (std::size_t at = 0; at < wire.size(); at += 251) addresses.push_back(wire.substr(at + 3, 4));
  EXPECT_EQ(addresses, (std::vector<std::string>{"8000", "8078", "80F0", "8168", "81E0", "8258",
                                                 "82D0", "8348", "83C0"}));
  std::string last = ":2883C000";
  for (int i = 0; i < 40; ++i) last += "71";
  EXPECT_EQ(wire.substr(8 * 251), last + "ED");
  EXPECT_EQ(h.port->m_sendOffset, 1000);
}

TEST(SendFrame, EndOfRecordFramesFollowTheTransferMarksSwitch) {
  for (bool transferMarks : {false, true}) {
    Harness h(1);
    CDuxelDoc doc;
    doc.GetList(kMemo)->AddTail(Memo("A", 1));
    doc.GetList(kMemo)->AddTail(Memo("B", 0));
    doc.GetList(kMemo)->m_selected = 1;
    TestDiary diary;
    ASSERT_TRUE(h.engine->startSend({&doc, 0, transferMarks}));
    h.runSend(&diary);
    // A marked record's end carries address 0x8000 only when marks travel.
    const std::vector<std::string> expected = {
        "02000002A0005C", "01800000413E",  // "A", marked
        transferMarks ? "008000017F" : "00000001FF", "01800000423D",  // "B"
        "00000001FF", "000000FF01",
    };
    EXPECT_EQ(diary.frames, expected);
    EXPECT_EQ(h.observer.finished.at(0).sent, 2);
    doc.DeleteContents();
  }
}

TEST(SendFrame, FilterSkipsRecordsWithoutCountingThem) {
  for (int filter : {0, 1, 2}) {
    Harness h(1);
    CDuxelDoc doc;
    doc.GetList(kMemo)->AddTail(Memo("M", 1));  // marked
    doc.GetList(kMemo)->AddTail(Memo("U", 0));  // unmarked
    doc.GetList(kMemo)->m_selected = 1;
    TestDiary diary;
    ASSERT_TRUE(h.engine->startSend({&doc, filter, false}));
    h.runSend(&diary);
    std::vector<std::string> items;
    for (const std::string& f : diary.frames)
      if (f.substr(6, 2) == "00") items.push_back(f);
    // "M" is 4D (checksum 32), "U" is 55 (checksum 2A).
    const std::vector<std::string> expected =
        filter == 0   ? std::vector<std::string>{"018000004D32", "01800000552A"}
        : filter == 1 ? std::vector<std::string>{"018000004D32"}
                      : std::vector<std::string>{"01800000552A"};
    EXPECT_EQ(items, expected) << "filter " << filter;
    EXPECT_EQ(h.observer.finished.at(0).sent, int(expected.size()));
    doc.DeleteContents();
  }
}

TEST(SendFrame, EmptyOrUntickedModesAreNotSelected) {
  Harness h(1);
  CDuxelDoc doc;
  doc.GetList(kTelephone)->m_selected = 1;  // ticked but empty
  doc.GetList(kScheduler)->AddTail(new CcScheduler);
  doc.GetList(kScheduler)->m_selected = 0;  // holds a record but not ticked
  doc.GetList(kMemo)->AddTail(Memo("AB"));
  doc.GetList(kMemo)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  EXPECT_EQ(diary.frames, (std::vector<std::string>{"02000002A0005C", "028000004142FB",
                                                    "00000001FF", "000000FF01"}));
  doc.DeleteContents();
}

TEST(SendFrame, NothingTickedSendsOnlyTheWakeUpAndTheEnd) {
  Harness h(10);
  CDuxelDoc doc;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  EXPECT_EQ(Timeline(h.pc->written()),
            Timeline(std::vector<Burst>{{0, "\r\n", 10}, {20, ":000000FF01", 10}}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Completed);
  EXPECT_EQ(h.observer.finished.at(0).sent, 0);
}

TEST(SendFrame, ReceivingIsOffDuringTheSendAndComesBackAfterIt) {
  Harness h(1);
  h.engine->setReceiving(true);
  h.runUntil(0);
  EXPECT_EQ(h.engine->receiveStatus(), 1);
  CDuxelDoc doc;
  doc.GetList(kMemo)->AddTail(Memo("AB"));
  doc.GetList(kMemo)->m_selected = 1;
  h.engine->prepareSend();
  EXPECT_FALSE(h.engine->receiving());
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  TestDiary diary;
  h.runSend(&diary);
  EXPECT_TRUE(h.engine->receiving());
  EXPECT_EQ(h.observer.statuses,
            (std::vector<std::string>{"Příjem připraven", "Vysílání připraveno", "Vysláno: 1",
                                      "Příjem připraven",
                                      // the receiver, off during the send, is ready again
                                      "Příjem připraven"}));
  EXPECT_EQ(h.engine->receiveStatus(), 1);
  doc.DeleteContents();
}

TEST(SendFrame, CancelledSendDialogRestoresReceiving) {
  Harness h(1);
  h.engine->setReceiving(true);
  h.runUntil(0);
  h.engine->prepareSend();
  h.engine->cancelSend();
  EXPECT_TRUE(h.engine->receiving());
  EXPECT_EQ(
      h.observer.statuses,
      (std::vector<std::string>{"Příjem připraven", "Vysílání připraveno", "Příjem připraven"}));
}

TEST(SendFrame, TelephoneWithEmptyFieldsIsEightLineEndsAndAnEmptyItem) {
  Harness h(1);
  CDuxelDoc doc;
  doc.GetList(kTelephone)->AddTail(new CcTelefon);
  doc.GetList(kTelephone)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  // Offsets run on: LF items at 0x8000..0x8007, the empty item at 0x8008 as one zero byte.
  EXPECT_EQ(diary.frames, (std::vector<std::string>{
                              "0200000290006C", "018000000A75", "018001000A74", "018002000A73",
                              "018003000A72", "018004000A71", "018005000A70", "018006000A6F",
                              "018007000A6E", "018008000077", "00000001FF", "000000FF01"}));
  doc.DeleteContents();
}

TEST(SendFrame, FreeFileOf850BytesWaitsForTheDiaryAfterEachPart) {
  Harness h(1);
  CDuxelDoc doc;
  auto* file = new CcFreefile;
  file->m_title = "T";
  file->m_body = std::string(850, 'x');
  doc.GetList(kFreeFile)->AddTail(file);
  doc.GetList(kFreeFile)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 0, false}));
  h.runSend(&diary);
  // Long frames shortened to their header and checksum. Pieces of 100 bytes at offsets 0,
  // 0x64, 0xC8, 0x12C; after every fourth the diary acknowledges and the offset restarts;
  // the last piece (50 bytes) is acknowledged too; then the end mark 0x1A and the record's
  // own end.
  std::vector<std::string> frames;
  for (const std::string& f : diary.frames)
    frames.push_back(f.size() > 20 ? f.substr(0, 8) + "~" + f.substr(f.size() - 2) : f);
  EXPECT_EQ(frames, (std::vector<std::string>{
                        "02000002B1004B", "01700000018E", "01900000541B", "00000001FF",
                        "64800000~3C", "64806400~D8", "6480C800~74", "64812C00~0F", "00000001FF",
                        "64800000~3C", "64806400~D8", "6480C800~74", "64812C00~0F", "00000001FF",
                        "32800000~DE", "00000001FF", "018000001A65", "00000001FF", "000000FF01"}));
  EXPECT_EQ(Show(h.diary->writtenBytes()), "<XON>#####");
  EXPECT_EQ(h.observer.finished.at(0).sent, 1);
  doc.DeleteContents();
}

}  // namespace
