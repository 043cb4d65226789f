// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Bytes and numbers of the diary's two line protocols: text frames (":LLAAAATT data CC" in
// hex) for records, numbered blocks for worksheets.
namespace proto {

constexpr uint8_t kCR = 13;
constexpr uint8_t kLF = 10;
constexpr uint8_t kXON = 17;    // ready for the next frame
constexpr uint8_t kHash = '#';  // end of record acknowledged
constexpr uint8_t kBang = '!';  // end or abort, either direction
constexpr uint8_t kColon = ':';

constexpr uint8_t kNAK = 0x15;  // starts a block transfer
constexpr uint8_t kACK = 0x06;
constexpr uint8_t kSOH = 0x01;  // starts a block
constexpr uint8_t kEOT = 0x04;  // ends a block transfer

// Frame types.
constexpr uint8_t kTypeItem = 0x00;
constexpr uint8_t kTypeEndRecord = 0x01;
constexpr uint8_t kTypeModeSelect = 0x02;
constexpr uint8_t kTypeEndTransmission = 0xFF;

// The selector of items the diary sends but no record takes.
constexpr uint8_t kIgnoredSelector = 0x71;
// The first byte of the FreeFile item that closes a file sent in parts.
constexpr uint8_t kFileEndMark = 0x1A;

constexpr int kMaxChunk = 120;      // data bytes per frame the program sends
constexpr int kBlockMinDelay = 15;  // ms after every block byte, whatever the delay setting
constexpr int kHandshakeTries = 50;
constexpr int kHashTimeout = 10000;  // ms for "#" after an end-of-record frame
constexpr int kAckTimeout = 5000;    // ms for ACK after a block
constexpr int kAnswerRead = 60;      // bytes read at a time while waiting for an answer
constexpr int kReadyAfter = 2000;    // ms of silence before the receiver shows ready again

// The mode code of a mode-select frame, by mode index.
constexpr uint8_t kModeCodes[10] = {0xA0, 0x90, 0xB0, 0xC0, 0xC1, 0xB1, 0x91, 0xA1, 0x92, 0x00};

// The mode index of a mode code (the first match in mode index order), or -1.
inline int ModeFromCode(uint8_t code) {
  for (int m = 0; m < 10; ++m)
    if (kModeCodes[m] == code) return m;
  return -1;
}

// A worksheet image starts with its size (2 bytes, high first) and this banner with its
// terminating zero; the receiver insists on it in the first block.
constexpr char kSheetBanner[] = "Copyright 1991,92 v2.00, Lucid Corp. ";
constexpr int kSheetBannerSize = 38;  // 37 characters and the zero

// The value of an upper-case hex digit, or -1: the diary never sends lower case.
inline int HexValue(uint8_t c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes `count` bytes from pairs of hex characters, stopping at the first pair that is
// not two hex digits; the bytes from there on keep what they held.
inline void DecodeHex(const uint8_t* chars, int count, uint8_t* out) {
  for (int i = 0; i < count; ++i) {
    const int hi = HexValue(chars[2 * i]);
    const int lo = HexValue(chars[2 * i + 1]);
    if (hi < 0 || lo < 0) return;
    out[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
}

// Whether the characters 0..last of a received frame (after its ":") are all hex digits
// whose bytes, checksum included, add up to 0 modulo 256.
inline bool FrameChecksumGood(const uint8_t* chars, int last) {
  if (last % 2 == 0) return false;
  unsigned sum = 0;
  for (int i = 0; i < last; i += 2) {
    const int hi = HexValue(chars[i]);
    const int lo = HexValue(chars[i + 1]);
    if (hi < 0 || lo < 0) return false;
    sum += unsigned(hi * 16 + lo);
  }
  return sum % 256 == 0;
}

}  // namespace proto
