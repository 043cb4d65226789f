// SPDX-License-Identifier: GPL-3.0-or-later
// A worksheet as blocks of the diary's block protocol.
#include "records/CcSpreadsheet.h"

#include "records/DiaryItemSink.h"

namespace {

constexpr std::size_t kBlockData = 64;
constexpr uint8_t kSoh = 0x01;

}  // namespace

int CcSpreadsheet::SendToDiary(DiaryItemSink& link) const {
  // The link counts the blocks from 1 in an 8-bit number and counts its wraps apart.
  const long block = 256L * link.BlockWraps() + link.BlockNumber();
  const long offset = static_cast<long>(kBlockData) * (block - 1);
  if (offset < 0 || static_cast<std::size_t>(offset) >= m_data.size()) {
    // Nothing is left to send: only a worksheet without data gets here. A block carries 1
    // to 64 bytes, so no block is written; the worksheet is finished and the send fails.
    link.SetLastBlock();
    return 0;
  }
  const std::size_t remaining = m_data.size() - static_cast<std::size_t>(offset);
  std::size_t count = kBlockData;
  if (remaining <= kBlockData) {
    count = remaining;
    link.SetLastBlock();
  }
  const uint8_t number = static_cast<uint8_t>(block % 256);
  std::vector<uint8_t> bytes = {kSoh, number, static_cast<uint8_t>(255 - number),
                                static_cast<uint8_t>(count)};
  unsigned sum = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t data = m_data[static_cast<std::size_t>(offset) + i];
    bytes.push_back(data);
    sum += data;
  }
  bytes.push_back(static_cast<uint8_t>(sum % 256));
  return link.SendBlock(bytes) ? 1 : 0;
}

// Worksheets arrive in blocks that the link stores directly; data items carry nothing.
int CcSpreadsheet::SetFromDiaryItem(const char*, uint8_t, int, int) { return 1; }
