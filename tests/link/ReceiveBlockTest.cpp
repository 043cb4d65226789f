// SPDX-License-Identifier: GPL-3.0-or-later
// Receiving a worksheet in the block protocol.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkTestSupport.h"
#include "document/CDuxelDoc.h"
#include "records/DiaryRecords.h"
#include "resources/StringTable.h"

using namespace linktest;

namespace {

const std::string kBanner("Copyright 1991,92 v2.00, Lucid Corp. \0", 38);

// A worksheet image: its size (high byte first), the banner, then filler bytes 'a', 'b' ...
std::vector<uint8_t> Image(int size) {
  std::vector<uint8_t> image = {uint8_t(size >> 8), uint8_t(size & 0xFF)};
  image.insert(image.end(), kBanner.begin(), kBanner.end());
  for (int i = 0; int(image.size()) < size; ++i) image.push_back(uint8_t('a' + i % 26));
  image.resize(size);
  return image;
}

// SOH, number, complement, length, data, sum of the data.
std::vector<uint8_t> Block(uint8_t number, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> b = {0x01, number, uint8_t(~number), uint8_t(data.size())};
  unsigned sum = 0;
  for (uint8_t d : data) {
    b.push_back(d);
    sum += d;
  }
  b.push_back(uint8_t(sum));
  return b;
}

std::vector<uint8_t> Part(const std::vector<uint8_t>& image, int from, int count) {
  return std::vector<uint8_t>(image.begin() + from, image.begin() + from + count);
}

class ReceiveBlock : public ::testing::Test {
 protected:
  void SetUp() override {
    h.engine->setReceiving(true);
    h.runUntil(0);
  }
  CCasioList* sheets() { return h.buffer.GetList(kSpreadSheet); }
  Harness h{10};
};

TEST_F(ReceiveBlock, WorksheetInTwoBlocksLandsInTheBuffer) {
  const std::vector<uint8_t> image = Image(100);
  h.diarySends(std::vector<uint8_t>{0x15});  // NAK
  EXPECT_EQ(h.answers(), "<ACK>");
  EXPECT_EQ(h.port->m_blockMode, 1);
  h.diarySends(Block(1, Part(image, 0, 64)));
  EXPECT_EQ(h.answers(), "<ACK>");
  h.diarySends(Block(2, Part(image, 64, 36)));
  EXPECT_EQ(h.answers(), "<ACK>");
  EXPECT_TRUE(sheets()->IsEmpty());
  h.diarySends(std::vector<uint8_t>{0x04});  // EOT
  EXPECT_EQ(h.answers(), "<ACK>");
  ASSERT_EQ(sheets()->GetCount(), 1u);
  const auto* sheet = static_cast<const CcSpreadsheet*>(sheets()->GetHead());
  EXPECT_EQ(sheet->m_data, image);
  EXPECT_EQ(h.observer.statuses.back(), "Přijato: 1");
  EXPECT_EQ(h.port->m_state, 1);
}

TEST_F(ReceiveBlock, FirstBlockWithoutTheBannerNeverCompletes) {
  std::vector<uint8_t> image = Image(60);
  image[2 + 10] = 'X';  // "Copyright X991..."
  h.diarySends(std::vector<uint8_t>{0x15});
  EXPECT_EQ(h.answers(), "<ACK>");
  h.diarySends(Block(1, image));
  EXPECT_EQ(h.answers(), "");
  EXPECT_EQ(h.port->m_state, 4);
  h.diarySends(std::vector<uint8_t>{0x04});
  EXPECT_TRUE(sheets()->IsEmpty());
}

TEST_F(ReceiveBlock, BadBlockNumberComplementOrChecksumIsNotAnswered) {
  const std::vector<uint8_t> image = Image(64);
  struct Case {
    const char* what;
    std::vector<uint8_t> block;
  };
  std::vector<uint8_t> badComplement = Block(1, image);
  badComplement[2] = 0xFF;
  std::vector<uint8_t> badSum = Block(1, image);
  badSum.back() ^= 1;
  const Case cases[] = {
      {"number", Block(2, image)}, {"complement", badComplement}, {"checksum", badSum}};
  for (const Case& c : cases) {
    Harness g(10);
    g.engine->setReceiving(true);
    g.runUntil(0);
    g.diarySends(std::vector<uint8_t>{0x15});
    EXPECT_EQ(g.answers(), "<ACK>") << c.what;
    g.diarySends(c.block);
    EXPECT_EQ(g.answers(), "") << c.what;
    EXPECT_EQ(g.port->m_state, 1) << c.what;
    EXPECT_TRUE(g.buffer.GetList(kSpreadSheet)->IsEmpty()) << c.what;
  }
}

TEST_F(ReceiveBlock, MoreDataThanAnnouncedAbandonsTheWorksheet) {
  const std::vector<uint8_t> image = Image(64);  // announces 64 bytes
  h.diarySends(std::vector<uint8_t>{0x15});
  h.diarySends(Block(1, image));
  EXPECT_EQ(h.answers(), "<ACK><ACK>");
  h.diarySends(Block(2, std::vector<uint8_t>(10, 'z')));  // ten bytes too many
  EXPECT_EQ(
      h.observer.messages,
      (std::vector<FakeObserver::Message>{{IDS_SHEET_TOO_LONG, "", MessageIcon::Exclamation}}));
  EXPECT_EQ(h.port->m_state, 1);
  h.diarySends(std::vector<uint8_t>{0x04});
  EXPECT_TRUE(sheets()->IsEmpty());
  // A new transfer starts cleanly.
  h.answers();
  h.diarySends(std::vector<uint8_t>{0x15});
  h.diarySends(Block(1, image));
  h.diarySends(std::vector<uint8_t>{0x04});
  EXPECT_EQ(h.answers(), "<ACK><ACK><ACK>");
  ASSERT_EQ(sheets()->GetCount(), 1u);
  EXPECT_EQ(static_cast<const CcSpreadsheet*>(sheets()->GetHead())->m_data, image);
}

TEST_F(ReceiveBlock, FramesAfterABlockTransferUseTheFrameProtocolAgain) {
  const std::vector<uint8_t> image = Image(50);
  h.diarySends(std::vector<uint8_t>{0x15});
  h.diarySends(Block(1, image));
  h.diarySends(std::vector<uint8_t>{0x04});
  h.diarySends("\r\n:02000002A0005C:028000004142FB:00000001FF");
  EXPECT_EQ(h.answers(), "<ACK><ACK><ACK><XON>#");
  EXPECT_EQ(h.buffer.GetList(kMemo)->GetCount(), 1u);
  EXPECT_EQ(sheets()->GetCount(), 1u);
}

TEST_F(ReceiveBlock, BufferWindowOpensAtTheFirstBlock) {
  h.settings.autoOpenBuffer = true;
  h.engine->applySettings(h.settings);
  h.diarySends(std::vector<uint8_t>{0x15});
  EXPECT_FALSE(h.observer.windowOpen);
  h.diarySends(Block(1, Image(40)));
  EXPECT_TRUE(h.observer.windowOpen);
}

}  // namespace
