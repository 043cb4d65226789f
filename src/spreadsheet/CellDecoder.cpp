// SPDX-License-Identifier: GPL-3.0-or-later
#include "spreadsheet/CellDecoder.h"

#include <algorithm>

#include "records/CcSpreadsheet.h"

namespace {

constexpr std::size_t kTrailerSize = 8;
constexpr std::size_t kRecordHead = 6;   // length, row, column, kind
constexpr std::size_t kRecordFrame = 8;  // head and the two unread bytes at the end
constexpr std::size_t kFirstRecordAfterX = 48;
constexpr std::size_t kFormulaPrefix = 12;  // head byte and 11 bytes before the token stream
constexpr uint8_t kValueKind = 0x80;
constexpr uint8_t kFormulaKind = 0x81;
constexpr uint8_t kLastLabelKind = 7;

unsigned Word(std::span<const uint8_t> bytes, std::size_t at) {
  return unsigned(bytes[at]) << 8 | bytes[at + 1];
}

// ---------------------------------------------------------------------------------------
// Cell records

struct CellRecord {
  std::size_t offset = 0;
  unsigned length = 0;
  unsigned row = 0;
  unsigned column = 0;
  uint8_t kind = 0;
};

// Walks the cell records of an image in stored order, from the header's X + 48 while a record
// starts before T - 8.
//
// The diary keeps positions as 16-bit offsets. A record chain that stands still (length 0) or
// runs past offset 65535 cannot be a worksheet: the walk ends there rather than wrap around,
// which also bounds it by the image's 65536 offsets. An image whose size word is below 8 has
// no room for its trailer and so holds no records. A record whose head is not inside the
// bytes ends the walk: its row and column cannot be told.
class RecordWalk {
 public:
  explicit RecordWalk(std::span<const uint8_t> image) : m_image(image) {
    if (image.size() < 2) return;
    const std::size_t total = Word(image, 0);
    if (total < kTrailerSize) return;
    const auto terminator = std::find(image.begin() + 2, image.end(), uint8_t(0));
    if (terminator == image.end()) return;
    const std::size_t xAt = std::size_t(terminator - image.begin()) + 8;  // 10 + n
    if (xAt + 2 > image.size()) return;
    m_pos = (Word(image, xAt) + kFirstRecordAfterX) & 0xFFFF;
    m_end = total - kTrailerSize;
  }

  bool Next(CellRecord& record) {
    if (m_pos >= m_end || m_pos + kRecordHead > m_image.size()) return false;
    record.offset = m_pos;
    record.length = Word(m_image, m_pos);
    record.row = Word(m_image, m_pos + 2);
    record.column = m_image[m_pos + 4];
    record.kind = m_image[m_pos + 5];
    const std::size_t next = m_pos + record.length;
    m_pos = (record.length == 0 || next > 0xFFFF) ? m_end : next;
    return true;
  }

 private:
  std::span<const uint8_t> m_image;
  std::size_t m_pos = 0;
  std::size_t m_end = 0;
};

// The display text of a found record. Its content must lie wholly inside the bytes.
std::string RecordText(std::span<const uint8_t> image, const CellRecord& record) {
  if (record.length < kRecordFrame) return kCellDecodeError;
  const std::size_t contentLength = record.length - kRecordFrame;
  const std::size_t contentAt = record.offset + kRecordHead;
  if (contentAt + contentLength > image.size()) return kCellDecodeError;
  CellContent content = DecodeCellContent(record.kind, image.subspan(contentAt, contentLength));
  return content.ok ? std::move(content.text) : std::string(kCellDecodeError);
}

// ---------------------------------------------------------------------------------------
// Formulas

// The infix operator written before an operand, by the low four bits of its token byte.
constexpr const char* kOperators[16] = {"",  "+", "-",  "*", "/",  "^",  "&", "|",
                                        "<", "=", "<=", ">", "<>", ">=", "",  ""};

constexpr int kFunctionCount = 63;
constexpr const char* kFunctions[kFunctionCount] = {
    "TRUE",    "FALSE",  "NA",      "ERR",    "PI",    "RAND",    "(",        "NOT(",     "EXP(",
    "INT(",    "LN(",    "LOG(",    "SQRT(",  "ABS(",  "COS(",    "SIN(",     "TAN(",     "ATAN(",
    "ASIN(",   "ACOS(",  "ISERR(",  "ISNA(",  "MOD(",  "ATAN2(",  "ROUND(",   "IF(",      "FV(",
    "PV(",     "PMT(",   "CHOOSE(", "COUNT(", "MAX(",  "MIN(",    "SUM(",     "AVG(",     "STD(",
    "VAR(",    "NULL(",  "NPV(",    "IRR(",   "MIRR(", "TABLE(",  "HLOOKUP(", "VLOOKUP(", "COUNTA(",
    "VERSION", "CTERM(", "RATE(",   "SLN(",   "SYD(",  "TERM(",   "REF(",     "DATE(",    "YEAR(",
    "MONTH(",  "DAY(",   "NOW",     "TIME(",  "HOUR(", "MINUTE(", "SECOND(",  "STDS(",    "VARS("};
constexpr int kReferenceFunction = 51;

bool TakesNoArguments(int code) { return code <= 5 || code == 45 || code == 56; }

enum TokenKind : int {
  kReference = 0x8,
  kNumber = 0x9,
  kFunction = 0xA,
  kRange = 0xB,
  kSignedNumber = 0xD,
};

constexpr std::size_t kReferenceSize = 4;  // row (2), column, flags

// Renders a formula's token stream back into infix text. Every token must lie inside the
// stream; nested functions are followed with a counter rather than recursion, so the depth of
// a hostile stream cannot exhaust the stack. Each step consumes bytes or closes a function,
// so the rendering always ends.
class FormulaRenderer {
 public:
  explicit FormulaRenderer(std::span<const uint8_t> tokens) : m_s(tokens) {}

  bool Render(std::string& out) {
    while (m_pos < m_s.size()) {
      const uint8_t b = m_s[m_pos];
      if (b == 0x00) {  // separator
        ++m_pos;
        continue;
      }
      switch (b >> 4) {
        case kReference:
          if (!Reference(out, b)) return false;
          break;
        case kNumber:
        case kSignedNumber:
          Number(out, b);
          // At the top level a closing parenthesis right after a number belongs to it.
          if (m_pos < m_s.size() && m_s[m_pos] == ')') {
            out += ')';
            ++m_pos;
          }
          break;
        case kFunction:
          out += kOperators[b & 0x0F];
          if (!Function(out)) return false;
          break;
        default:  // ranges stand only among arguments; other kinds are unknown
          return false;
      }
    }
    return true;
  }

 private:
  bool Have(std::size_t count) const { return m_s.size() - m_pos >= count; }

  // A reference without token byte at `at`: column letters and row, with a "$" before
  // each part its flags make absolute (bit 1 the column, bit 0 the row; other bits unused).
  // Column 0 has no letters: such a reference cannot be written.
  bool ReferenceBody(std::string& out, std::size_t at) const {
    const unsigned row = Word(m_s, at);
    const int column = m_s[at + 2];
    const uint8_t flags = m_s[at + 3];
    if (column == 0) return false;
    if (flags & 2) out += '$';
    out += ColumnLetters(column);
    if (flags & 1) out += '$';
    out += std::to_string(row);
    return true;
  }

  bool Reference(std::string& out, uint8_t b) {
    if (!Have(1 + kReferenceSize)) return false;
    out += kOperators[b & 0x0F];
    if (!ReferenceBody(out, m_pos + 1)) return false;
    m_pos += 1 + kReferenceSize;
    return true;
  }

  bool Range(std::string& out, uint8_t b) {
    if (!Have(1 + 2 * kReferenceSize)) return false;
    out += kOperators[b & 0x0F];
    if (!ReferenceBody(out, m_pos + 1)) return false;
    out += ':';
    if (!ReferenceBody(out, m_pos + 1 + kReferenceSize)) return false;
    m_pos += 1 + 2 * kReferenceSize;
    return true;
  }

  // The operator, "-" for a signed number, and the number's text: the bytes after the token
  // byte while each is "e", "E", or a nonzero byte up to "9" other than ")" and ",". The
  // byte that ends it (or the stream's end) is not consumed.
  void Number(std::string& out, uint8_t b) {
    out += kOperators[b & 0x0F];
    if (b >> 4 == kSignedNumber) out += '-';
    std::size_t end = m_pos + 1;
    while (end < m_s.size()) {
      const uint8_t c = m_s[end];
      const bool digit = c == 'e' || c == 'E' || (c != 0 && c != ')' && c != ',' && c <= '9');
      if (!digit) break;
      ++end;
    }
    out.append(reinterpret_cast<const char*>(m_s.data() + m_pos + 1), end - m_pos - 1);
    m_pos = end;
  }

  // Starts a function at its token byte: writes its name and consumes what precedes its
  // arguments. Returns false for an unknown code or bytes missing; `opens` is set when an
  // argument list follows.
  bool StartFunction(std::string& out, bool& opens) {
    opens = false;
    if (!Have(2)) return false;
    const int code = m_s[m_pos + 1];
    if (code >= kFunctionCount) return false;
    out += kFunctions[code];
    if (TakesNoArguments(code)) {
      m_pos += 2;
      return true;
    }
    if (code == kReferenceFunction) {
      // A reference without token byte, one byte not shown, a zero-terminated text and one
      // closing byte: REF(A1,text).
      if (!Have(2 + kReferenceSize + 1)) return false;
      if (!ReferenceBody(out, m_pos + 2)) return false;
      out += ',';
      const std::size_t textAt = m_pos + 2 + kReferenceSize + 1;
      const auto zero = std::find(m_s.begin() + std::ptrdiff_t(textAt), m_s.end(), uint8_t(0));
      const std::size_t zeroAt = std::size_t(zero - m_s.begin());
      if (zeroAt + 2 > m_s.size()) return false;  // the zero byte and the closing byte
      out.append(reinterpret_cast<const char*>(m_s.data() + textAt), zeroAt - textAt);
      out += ')';
      m_pos = zeroAt + 2;
      return true;
    }
    m_pos += 2;
    opens = true;
    return true;
  }

  // Renders the function whose token byte is at the current position, with its arguments
  // and every function nested in them.
  bool Function(std::string& out) {
    std::size_t open = 0;  // functions whose argument lists are being read
    for (;;) {
      bool opens = false;
      if (!StartFunction(out, opens)) return false;
      if (opens) ++open;
      bool nested = false;
      while (open > 0 && !nested) {
        if (m_pos >= m_s.size()) {  // the stream ends the argument list
          --open;
          continue;
        }
        const uint8_t b = m_s[m_pos];
        switch (b >> 4) {
          case kReference:
            if (!Reference(out, b)) return false;
            continue;
          case kRange:
            if (!Range(out, b)) return false;
            continue;
          case kNumber:
          case kSignedNumber:
            Number(out, b);
            // Among arguments a comma right after a number belongs to it.
            if (m_pos < m_s.size() && m_s[m_pos] == ',') {
              out += ',';
              ++m_pos;
            }
            continue;
          case kFunction:
            out += kOperators[b & 0x0F];
            nested = true;
            continue;
          default:
            break;
        }
        if (b == ',') {
          out += ',';
          ++m_pos;
        } else if (b == ')') {
          out += ')';
          ++m_pos;
          --open;
        } else {
          --open;  // any other byte ends the argument list without being consumed
        }
      }
      if (!nested) return true;
    }
  }

  std::span<const uint8_t> m_s;
  std::size_t m_pos = 0;
};

}  // namespace

// Up to column 702 (ZZ) this is one letter for 1..26, else a first letter for (c-1) div 26 and
// a second for (c-1) mod 26; wider columns, which a worksheet's byte cannot hold, go on
// in the same way with more letters.
std::string ColumnLetters(int column) {
  std::string letters;
  for (int c = column; c >= 1; c = (c - 1) / 26)
    letters.insert(letters.begin(), char('A' + (c - 1) % 26));
  return letters;
}

std::string CellName(int row, int column) { return ColumnLetters(column) + std::to_string(row); }

CellContent DecodeCellContent(uint8_t kind, std::span<const uint8_t> content) {
  CellContent result;
  if (kind <= kLastLabelKind) {
    // The diary's label text; bytes outside 0x01..0x7F are not shown.
    for (uint8_t c : content)
      if (c >= 0x01 && c <= 0x7F) result.text += char(c);
    result.ok = true;
    return result;
  }
  if (kind == kValueKind) {
    // The value's text follows two bytes of its own and ends at a zero byte (or with the
    // content, should the zero be missing).
    if (content.size() > 2) {
      const auto text = content.subspan(2);
      const auto end = std::find(text.begin(), text.end(), uint8_t(0));
      result.text.assign(text.begin(), end);
    }
    result.ok = true;
    return result;
  }
  if (kind == kFormulaKind) {
    const uint8_t head = content.empty() ? 0 : content[0] >> 4;
    if (head != 0x4 && head != 0x6) {
      result.text = kReasonFormulaHead;
      return result;
    }
    // A formula shorter than its fixed prefix has no token stream to speak of.
    if (content.size() < kFormulaPrefix ||
        !FormulaRenderer(content.subspan(kFormulaPrefix)).Render(result.text)) {
      result.text = kReasonFormulaTokens;
      return result;
    }
    result.ok = true;
    return result;
  }
  result.text = kReasonUnknownKind;
  return result;
}

CellText GetCellText(std::span<const uint8_t> image, int row, int column) {
  CellText result;
  if (image.empty()) return result;
  if (image.size() >= 2 && Word(image, 0) == 0) {
    result.found = true;  // an empty worksheet
    return result;
  }
  RecordWalk walk(image);
  CellRecord record;
  while (walk.Next(record)) {
    if (int(record.row) == row && int(record.column) == column) {
      result.found = true;
      result.text = RecordText(image, record);
      return result;
    }
  }
  return result;
}

CellText GetCellText(const CcSpreadsheet* sheet, int row, int column) {
  if (!sheet) return {};
  return GetCellText(std::span<const uint8_t>(sheet->m_data), row, column);
}

std::vector<SheetCell> ListCells(std::span<const uint8_t> image) {
  std::vector<CellRecord> records;
  RecordWalk walk(image);
  CellRecord record;
  while (walk.Next(record)) records.push_back(record);
  // Stable, so that of several records of one cell the first stays first, as a lookup finds it.
  std::stable_sort(records.begin(), records.end(), [](const CellRecord& a, const CellRecord& b) {
    return a.row != b.row ? a.row < b.row : a.column < b.column;
  });
  std::vector<SheetCell> cells;
  for (const CellRecord& r : records) {
    if (!cells.empty() && cells.back().row == int(r.row) && cells.back().column == int(r.column))
      continue;
    cells.push_back(SheetCell{int(r.row), int(r.column), RecordText(image, r)});
  }
  return cells;
}

std::optional<UsedRange> GetUsedRange(std::span<const uint8_t> image) {
  std::optional<UsedRange> range;
  RecordWalk walk(image);
  CellRecord record;
  while (walk.Next(record)) {
    const int row = int(record.row);
    const int column = int(record.column);
    if (!range) {
      range = UsedRange{row, row, column, column};
      continue;
    }
    range->firstRow = std::min(range->firstRow, row);
    range->lastRow = std::max(range->lastRow, row);
    range->firstColumn = std::min(range->firstColumn, column);
    range->lastColumn = std::max(range->lastColumn, column);
  }
  return range;
}
