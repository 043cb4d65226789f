// SPDX-License-Identifier: GPL-3.0-or-later
// Sending a worksheet in the block protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"

using namespace linktest;

namespace {

// A worksheet whose image bytes are 00 01 02 ... (n - 1).
CcSpreadsheet* Sheet(int size, int mark) {
  auto* s = new CcSpreadsheet;
  s->m_name = "T";
  for (int i = 0; i < size; ++i) s->m_data.push_back(uint8_t(i));
  s->m_mark = uint16_t(mark);
  return s;
}

std::string Range(int from, int to) {
  std::string s;
  for (int i = from; i <= to; ++i) s += char(i);
  return s;
}

TEST(SendBlock, WorksheetOf130BytesIsThreeBlocksAndEot) {
  Harness h(10);
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->AddTail(Sheet(20, 0));  // not marked: not the one sent
  CcSpreadsheet* sheet = Sheet(130, 1);
  doc.GetList(kSpreadSheet)->AddTail(sheet);
  doc.GetList(kSpreadSheet)->m_selected = 1;
  doc.GetList(kMemo)->AddTail(new CcMemo);  // ignored in block mode
  doc.GetList(kMemo)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runSend(&diary);

  // NAK wakes the diary (ACK comes back). Each block: SOH, number, its complement, length,
  // data, sum of the data; every block byte at least 15 ms after the one before. The data
  // sums are E0 (00..3F), E0 (40..7F) and 01 (80 81). After the last block's ACK: EOT.
  const std::string block1 = std::string("\x01\x01\xFE\x40", 4) + Range(0x00, 0x3F) + "\xE0";
  const std::string block2 = std::string("\x01\x02\xFD\x40", 4) + Range(0x40, 0x7F) + "\xE0";
  const std::string block3 = std::string("\x01\x03\xFC\x02\x80\x81\x01", 7);
  EXPECT_EQ(Timeline(h.pc->written()), Timeline(std::vector<Burst>{
                                           {0, "\x15", 10},
                                           {20, block1, 15},
                                           {1055, block2, 15},
                                           {2090, block3, 15},
                                           {2195, "\x04", 10},
                                       }));
  EXPECT_EQ(Show(h.diary->writtenBytes()), "<ACK><ACK><ACK><ACK><ACK>");
  ASSERT_EQ(h.observer.finished.size(), 1u);
  EXPECT_EQ(h.observer.finished[0].end, SendEnd::Completed);
  EXPECT_EQ(h.observer.finished[0].sent, 1);
  // The worksheet that went out loses its mark; the view hears of it.
  EXPECT_EQ(sheet->m_mark, 0);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(h.observer.events, (std::vector<std::string>{"sheet sent", "status Vysláno: 1",
                                                         "status Komunikace vypnuta"}));
  doc.DeleteContents();
}

TEST(SendBlock, BlockBytesKeepTheLongerDelayWhenItIsAbove15) {
  Harness h(20);
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->AddTail(Sheet(2, 1));
  doc.GetList(kSpreadSheet)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runSend(&diary);
  // NAK at 0, answer read at 20, the mode's pause until 40; the block 20 ms a byte.
  EXPECT_EQ(Timeline(h.pc->written()),
            Timeline(std::vector<Burst>{{0, "\x15", 20},
                                        {40, std::string("\x01\x01\xFE\x02\x00\x01\x01", 7), 20},
                                        {180, "\x04", 20}}));
  doc.DeleteContents();
}

TEST(SendBlock, SheetOf128BytesEndsWithTheSecondBlock) {
  Harness h(1);
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->AddTail(Sheet(128, 1));
  doc.GetList(kSpreadSheet)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runSend(&diary);
  ASSERT_EQ(diary.blocks.size(), 2u);
  EXPECT_EQ(diary.blocks[1].size(), 69u);
  EXPECT_EQ(diary.blocks[1][1], 2);
  EXPECT_EQ(h.pc->written().back().byte, 0x04);
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Completed);
  doc.DeleteContents();
}

TEST(SendBlock, WithoutAMarkedWorksheetNothingIsSent) {
  Harness h(1);
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->AddTail(Sheet(10, 0));
  doc.GetList(kSpreadSheet)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runSend(&diary);
  EXPECT_TRUE(h.pc->written().empty());
  EXPECT_EQ(h.observer.messages,
            (std::vector<FakeObserver::Message>{{318, "", MessageIcon::Stop}}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::NoMarkedSheet);
  doc.DeleteContents();
}

TEST(SendBlock, NoAckWithin5SecondsSendsAbort) {
  Harness h(10);
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->AddTail(Sheet(2, 1));
  doc.GetList(kSpreadSheet)->m_selected = 1;
  TestDiary diary;
  diary.answerAck = false;  // answers the NAK, never a block
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runSend(&diary);
  // The block ends at 110 + 15; the wait begins at 125 and gives up after more than 5 s.
  EXPECT_EQ(Timeline(h.pc->written()),
            Timeline(std::vector<Burst>{{0, "\x15", 10},
                                        {20, std::string("\x01\x01\xFE\x02\x00\x01\x01", 7), 15},
                                        {125 + 5001, "!", 10}}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::NoAcknowledge);
  EXPECT_EQ(h.observer.finished.at(0).sent, 0);
  doc.DeleteContents();
}

TEST(SendBlock, StopDuringTheAckWaitWaitsOnceMoreWithoutEot) {
  Harness h(10);
  CDuxelDoc doc;
  doc.GetList(kSpreadSheet)->AddTail(Sheet(2, 1));
  doc.GetList(kSpreadSheet)->m_selected = 1;
  TestDiary diary;
  diary.answerAck = false;
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runUntil(1000, &diary);
  h.engine->interruptSend();
  h.runSend(&diary);
  // The interrupt ends the transfer as the end of transmission does; the last block was not
  // built, so no EOT goes out, and its ACK wait gives up after 5 s.
  EXPECT_EQ(Timeline(h.pc->written()),
            Timeline(std::vector<Burst>{{0, "\x15", 10},
                                        {20, std::string("\x01\x01\xFE\x02\x00\x01\x01", 7), 15},
                                        {1000 + 5001, "!", 10}}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Interrupted);
  doc.DeleteContents();
}

TEST(SendBlock, BlockNumbersWrapAfter255AndTheDataGoesOn) {
  Harness h(1);
  CDuxelDoc doc;
  auto* sheet = new CcSpreadsheet;
  // 256 full blocks and one of 10 bytes; each byte tells its block: index % 251.
  for (int i = 0; i < 256 * 64 + 10; ++i) sheet->m_data.push_back(uint8_t((i / 64) % 251));
  sheet->m_mark = 1;
  doc.GetList(kSpreadSheet)->AddTail(sheet);
  doc.GetList(kSpreadSheet)->m_selected = 1;
  TestDiary diary;
  ASSERT_TRUE(h.engine->startSend({&doc, 1, false}));
  h.runSend(&diary);
  ASSERT_EQ(diary.blocks.size(), 257u);
  // Block 255, then number 0 (the 256th), then 1 again (the 257th, 10 bytes).
  const auto head = [](const std::vector<uint8_t>& b) {
    return std::vector<uint8_t>(b.begin(), b.begin() + 5);
  };
  EXPECT_EQ(head(diary.blocks[254]), (std::vector<uint8_t>{0x01, 0xFF, 0x00, 0x40, 254 % 251}));
  EXPECT_EQ(head(diary.blocks[255]), (std::vector<uint8_t>{0x01, 0x00, 0xFF, 0x40, 255 % 251}));
  EXPECT_EQ(head(diary.blocks[256]), (std::vector<uint8_t>{0x01, 0x01, 0xFE, 0x0A, 256 % 251}));
  EXPECT_EQ(h.observer.finished.at(0).end, SendEnd::Completed);
  EXPECT_EQ(h.observer.finished.at(0).sent, 1);
  doc.DeleteContents();
}

}  // namespace
