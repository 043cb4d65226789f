// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CcSpreadsheet;

// Decoder of the diary's Lucid worksheets: finds single cells in the stored image and turns
// their content into display text. Nothing is evaluated or written back.
//
// Image layout (numbers big-endian, positions 16-bit offsets from the start of the image):
//   0        total size T (0: an empty worksheet)
//   2        a zero-terminated text of n bytes (the 37-character Lucid banner)
//   10+n     X; the first cell record starts at X + 48
//   ...      cell records while a record starts before T - 8; the last 8 bytes are a trailer
// Cell record: length L, row (2 bytes, 1-based), column (1 byte, 1-based), kind (1 byte), the
// content (L - 8 bytes), 2 bytes the decoder does not read.
//
// Every read stays inside the bytes handed over. A damaged image never makes the decoder read
// outside them or loop: a record chain that cannot be followed ends the scan (the cells
// beyond it are not found), and a found cell whose content cannot be decoded gives
// kCellDecodeError.

// The text a cell shows when its content cannot be decoded.
inline constexpr char kCellDecodeError[] = "chyba dekodovani Cell";
// The reasons of a failed content decoding, for diagnostics only.
inline constexpr char kReasonUnknownKind[] = "Neznamy obsah kodu LUCID v Cell.";
inline constexpr char kReasonFormulaHead[] = "Neobvykly kod funkce v Cell.";
inline constexpr char kReasonFormulaTokens[] = "Neobvykla funkce v Cell.";

// The column's letters: 1..26 "A".."Z", 27 "AA" ... 255 "IU". Empty for a column below 1.
std::string ColumnLetters(int column);
// The cell's name as a worksheet writes it: column letters and row ("A1", "IU9999").
std::string CellName(int row, int column);

struct CellText {
  bool found = false;  // the image is empty (T = 0) or a cell record has that row and column
  std::string text;    // Windows-1250
};

// The display text of the cell at `row`, `column` (both 1-based) of a worksheet image. An
// empty span means no image: empty text, flag clear. An image whose size word is 0: empty
// text, flag set. No record with that row and column: empty text, flag clear. A record that
// cannot be decoded: kCellDecodeError, flag set. With several records of the same row and
// column the first one counts.
CellText GetCellText(std::span<const uint8_t> image, int row, int column);
// The same over a worksheet's image; a null worksheet or one without image bytes has none.
CellText GetCellText(const CcSpreadsheet* sheet, int row, int column);

struct CellContent {
  bool ok = false;
  std::string text;  // the decoded text, or on failure one of the kReason texts
};

// Decodes a cell's content by its kind: 0..7 a label (only bytes 0x01..0x7F kept), 0x80 a
// value (zero-terminated text from content byte 2), 0x81 a formula (token stream from content
// byte 12). Any other kind fails with kReasonUnknownKind.
CellContent DecodeCellContent(uint8_t kind, std::span<const uint8_t> content);

// One used cell: the first record of its row and column, decoded as GetCellText gives it.
struct SheetCell {
  int row = 0;
  int column = 0;
  std::string text;
};

// Every used cell of an image, ordered by row, then column. Empty for no image, an empty or
// an unreadable image.
std::vector<SheetCell> ListCells(std::span<const uint8_t> image);

// The smallest and largest row and column numbers of the cell records.
struct UsedRange {
  int firstRow = 0;
  int lastRow = 0;
  int firstColumn = 0;
  int lastColumn = 0;
};
// Nothing when the image holds no cell record.
std::optional<UsedRange> GetUsedRange(std::span<const uint8_t> image);
