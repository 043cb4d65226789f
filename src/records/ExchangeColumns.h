// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CCasTime;

// The statement of an export or import that the lists bind their column buffers to. The ODBC
// exchange implements it over its statement handle; tests over plain memory. The indicator
// is the length word of the column (SQLLEN on this platform).
class ExchangeStatement {
 public:
  virtual ~ExchangeStatement() = default;
  // Binds `buffer` of `length` bytes as text input parameter `column` (from 1).
  virtual bool BindParameter(int column, char* buffer, int length, long* indicator) = 0;
  // Binds `buffer` of `length` bytes as text result column `column` (from 1).
  virtual bool BindResultColumn(int column, char* buffer, int length, long* indicator) = 0;
};

// One link of a field mapping as an operation uses it. For export the source is a record
// field and the target a file column position; for import the source is a file column
// position and the target a record field.
struct MappingPair {
  int source = 0;
  int target = 0;
  bool operator==(const MappingPair&) const = default;
};

// The columns of one export or import, in the order of the operation (ascending file column
// positions), and the zero-terminated text buffers bound to them. Each buffer is as long as
// the width of its field, and nothing is ever written past width minus 2 characters and the
// terminator, so no field, column or record limit can overrun a buffer.
class ExchangeColumns {
 public:
  // At most this many characters go into one imported record over all its columns.
  static constexpr int kRecordLimit = 384;
  // The text of a missing date and time in an exchange column.
  static constexpr const char* kNoDateTime = "**-**-** **:**:**";

  // Sets the operation up from its used pairs (first pair per source only, all in range).
  // `mergeChar` nonzero joins texts imported into one field with a blank, zero with a CR.
  void Setup(bool forExport, const std::vector<MappingPair>& used, int mergeChar = 0);
  bool ForExport() const { return m_forExport; }
  int MergeChar() const { return m_mergeChar; }

  // Number of columns of the operation and the file column position of column `column`.
  int Count() const { return int(m_keys.size()); }
  int Key(int column) const { return m_keys[column]; }
  // Export: the operation column field `field` goes to, or -1.
  int ColumnOfField(int field) const;
  // Export: the fields that go to `column`, in field order. Import: the one field it fills.
  std::vector<int> FieldsOfColumn(int column) const;
  // Import: the field column `column` fills, or -1.
  int FieldOfColumn(int column) const;

  // Buffers. Allocate gives column `column` a zero-filled buffer of `width` bytes (at least 1).
  void Allocate(int column, int width);
  bool HasBuffers() const { return !m_buffers.empty(); }
  char* Buffer(int column) { return m_buffers[column].data(); }
  int BufferLength(int column) const { return int(m_buffers[column].size()); }
  long* Indicator(int column) { return &m_indicators[column]; }
  // The text of a column: up to its terminator, or what the indicator says when that is less;
  // a null column gives an empty text.
  std::string Text(int column) const;
  // Empties every buffer (all zeros) and sets every indicator to "zero-terminated".
  void EmptyBuffers();
  // Frees the buffers; the columns stay.
  void Release();

  // Export of one record: empties the buffers, then adds each field's text to the buffer of
  // its column. A second text in one column follows a CR LF; a CR becomes CR LF, or a blank
  // when one character of room is left; a buffer takes at most its width minus 2.
  void PutFieldTexts(const std::vector<std::string>& texts);

  // Where the text of a column goes on import: a text field, or a reader for a field that is
  // not plain text (a column that does not read leaves its field alone).
  struct ImportField {
    std::string* text = nullptr;
    std::function<void(const std::string&)> read;
  };
  // Import of one row into `fields` (indexed by record field), by the limits above, then
  // empties the buffers.
  void TakeColumnTexts(const std::vector<ImportField>& fields);

 private:
  bool m_forExport = true;
  int m_mergeChar = 0;
  std::vector<int> m_keys;          // file column positions, ascending
  std::vector<MappingPair> m_used;  // the used pairs
  std::vector<std::vector<char>> m_buffers;
  std::vector<long> m_indicators;
};

// Exchange texts of date and time values.

// The exchange date form followed by the exchange time form: "YYYY-MM-DD HH:MM:00".
std::string ExchangeDateTime(const CCasTime& value);
// A reminder pattern: "MM-WW-D HH:MM:00".
std::string ExchangePatternTime(const CCasTime& value);
// Reads "%d-%d-%d %d:%d:%d"; true when all six numbers read and each lies in 0..9999.
bool ReadExchangeNumbers(const std::string& text, int numbers[6]);
// A date part read from an exchange column: the exchange form writes an unset date part as
// zeros, and no set date part is ever 0, so 0 reads back as unset.
int16_t ExchangeDatePart(int number);
// Reads an amount: a decimal number (blanks and a sign allowed in front), kept with at most
// two decimals, cut and not rounded, as "%.8g" writes it. False when it does not read.
bool ReadExchangeAmount(const std::string& text, double& amount);
// An amount as "%.8g" writes it, always with a decimal point whatever the C locale.
std::string FormatExchangeAmount(double amount);
