// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Item flags of SendItem: bit 0 restarts the running offset before the item, bit 1 advances
// it after the item.
constexpr int kItemRestart = 1;
constexpr int kItemAdvance = 2;

// Selector bytes: the high byte of a data frame's address says which part of a record the
// item carries.
constexpr uint8_t kSelText = 0x80;
constexpr uint8_t kSelText2 = 0x81;
constexpr uint8_t kSelDate = 0xF0;
constexpr uint8_t kSelTime = 0xE0;
constexpr uint8_t kSelAlarm = 0xC0;
constexpr uint8_t kSelFileStart = 0x70;
constexpr uint8_t kSelFileTitle = 0x90;

// What a record sends to the diary goes through this: the link's item, end and block
// operations. Every operation returns nonzero on success; a record stops at the first 0.
class DiaryItemSink {
 public:
  virtual ~DiaryItemSink() = default;

  // Whether text items built from user text are converted to the diary's character set.
  virtual bool ConvertPcToDiary() const = 0;

  // Frame mode: one item as data frames of at most 120 bytes.
  virtual int SendItem(const std::string& text, uint8_t selector, int flags) = 0;
  // The end-of-record frame and the wait for the diary's "#" (FreeFile pieces).
  virtual int SendEnd(int endOfTransmission, int marked) = 0;
  // Sets the running offset of the items back to 0.
  virtual void ResetOffset() = 0;

  // Block mode (spreadsheets): the 1-based number of the block to send next, counting the
  // wraps of its 8-bit counter, is 256 * BlockWraps() + BlockNumber().
  virtual int BlockNumber() const = 0;
  virtual int BlockWraps() const = 0;
  // Writes the raw bytes of one block.
  virtual int SendBlock(const std::vector<uint8_t>& bytes) = 0;
  // Marks the block just built as the worksheet's last.
  virtual void SetLastBlock() = 0;
};
