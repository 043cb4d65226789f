// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cassert>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "Bytes.h"
#include "spreadsheet/CellDecoder.h"

// The banner every worksheet from the diary carries after its size word.
inline const std::string kLucidBanner = "Copyright 1991,92 v2.00, Lucid Corp. ";

// Writes worksheet images from their layout, so that test fixtures read like the format:
//   size word T, banner and zero, 7 header bytes, X, filler up to X + 48, the cell records,
//   an 8-byte trailer; T is the image's length unless the test sets it.
// A cell record is its length L, row, column, kind, the content and two closing bytes.
// The builder's own output is pinned by a hand-written image in SheetBuilderTest.
class SheetBuilder {
 public:
  // Where each cell record landed in the image.
  struct Placed {
    int row;
    int column;
    std::size_t offset;
    std::size_t length;
  };

  explicit SheetBuilder(uint16_t x = 400, std::string banner = kLucidBanner)
      : m_x(x), m_banner(std::move(banner)) {}

  // A cell record of any kind around `content`.
  SheetBuilder& Cell(int row, int column, uint8_t kind, const Bytes& content) {
    const std::size_t length = content.size() + 8;
    Bytes record{uint8_t(length >> 8), uint8_t(length), uint8_t(row >> 8),
                 uint8_t(row),         uint8_t(column), kind};
    record = record + content + m_recordEnd;
    m_placed.push_back(Placed{row, column, RecordsAt() + m_records.size(), length});
    m_records.insert(m_records.end(), record.begin(), record.end());
    return *this;
  }
  // A record given byte by byte (a damaged one, say); it is not listed in PlacedCells().
  SheetBuilder& RawRecord(const Bytes& record) {
    m_records.insert(m_records.end(), record.begin(), record.end());
    return *this;
  }
  // A label: the text as it is stored.
  SheetBuilder& Label(int row, int column, const std::string& text, uint8_t kind = 0) {
    return Cell(row, column, kind, A(text));
  }
  // A value: two bytes of its own (here the value's format, unread), the text, a zero.
  SheetBuilder& Value(int row, int column, const std::string& text) {
    return Cell(row, column, 0x80, H("02 00") + A(text) + H("00"));
  }
  // A formula: its head byte, 11 bytes the decoder does not read, the token stream.
  SheetBuilder& Formula(int row, int column, const Bytes& tokens, uint8_t head = 0x40) {
    return Cell(row, column, 0x81, Bytes{head} + Bytes(11, 0x00) + tokens);
  }

  // The two bytes that close every record, and the trailer.
  SheetBuilder& RecordEnd(const Bytes& bytes) {
    assert(bytes.size() == 2);
    m_recordEnd = bytes;
    return *this;
  }
  SheetBuilder& Trailer(const Bytes& bytes) {
    assert(bytes.size() == 8);
    m_trailer = bytes;
    return *this;
  }
  // The size word, when it is not to be the image's length.
  SheetBuilder& Total(uint16_t total) {
    m_total = total;
    return *this;
  }

  // The offset of the first cell record: X + 48.
  std::size_t RecordsAt() const { return std::size_t(m_x) + 48; }
  const std::vector<Placed>& PlacedCells() const { return m_placed; }

  Bytes Build() const {
    Bytes image = H("00 00") + A(m_banner) + H("00") + Bytes(7, 0x00) +
                  Bytes{uint8_t(m_x >> 8), uint8_t(m_x)};
    assert(image.size() <= RecordsAt());
    image.resize(RecordsAt(), 0x00);
    image = image + m_records + m_trailer;
    const std::size_t total = m_total ? *m_total : image.size();
    image[0] = uint8_t(total >> 8);
    image[1] = uint8_t(total);
    return image;
  }

 private:
  uint16_t m_x;
  std::string m_banner;
  Bytes m_records;
  Bytes m_recordEnd = H("00 00");
  Bytes m_trailer = Bytes(8, 0x00);
  std::optional<uint16_t> m_total;
  std::vector<Placed> m_placed;
};

// Whole-value comparison and printing of the decoder's results, so that a failing check
// shows both sides.
inline bool operator==(const CellText& a, const CellText& b) {
  return a.found == b.found && a.text == b.text;
}
inline void PrintTo(const CellText& t, std::ostream* os) {
  *os << "{" << (t.found ? "found" : "not found") << ", \"" << t.text << "\"}";
}
inline bool operator==(const CellContent& a, const CellContent& b) {
  return a.ok == b.ok && a.text == b.text;
}
inline void PrintTo(const CellContent& c, std::ostream* os) {
  *os << "{" << (c.ok ? "ok" : "failed") << ", \"" << c.text << "\"}";
}
inline bool operator==(const SheetCell& a, const SheetCell& b) {
  return a.row == b.row && a.column == b.column && a.text == b.text;
}
inline void PrintTo(const SheetCell& c, std::ostream* os) {
  *os << "{" << c.row << ", " << c.column << ", \"" << c.text << "\"}";
}
