// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csv.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One record of a delimited text file with the line it starts on (1-based).
struct CsvRecord {
  std::vector<std::string> fields;
  int line = 0;
};

// A structural fault: the file cannot be read as records from this point on.
struct CsvFault {
  int line = 0;
  std::string message;
};

// Reads records from a delimited text stream fed in pieces, with libcsv doing the quoting
// rules: fields in double quotes may hold delimiters, doubled quotes and line breaks; CR LF,
// LF and CR all end a record; blank lines are skipped. Blanks around fields are kept as they
// are, since the values belong to the program that wrote them.
class CsvReader {
 public:
  // Keeps at most maxRecords records; the rest of the input is still checked.
  explicit CsvReader(char delimiter, size_t maxRecords = static_cast<size_t>(-1));
  ~CsvReader();
  CsvReader(const CsvReader&) = delete;
  CsvReader& operator=(const CsvReader&) = delete;

  // Feeds the next piece. False once a fault was found (then see fault()).
  bool Feed(std::string_view data);
  // Ends the input: the last record may lack its line end; an open quoted field is a fault.
  bool Finish();

  std::vector<CsvRecord>& records() { return m_records; }
  const std::optional<CsvFault>& fault() const { return m_fault; }
  size_t recordsKept() const { return m_records.size(); }

 private:
  static void OnField(void* data, size_t size, void* self);
  static void OnRecordEnd(int terminator, void* self);

  csv_parser m_parser{};
  size_t m_maxRecords;
  std::vector<std::string> m_fields;
  std::vector<CsvRecord> m_records;
  std::optional<CsvFault> m_fault;
  int m_line = 1;        // line the parser is on, counted from line ends outside and inside fields
  int m_recordLine = 1;  // line the record being read started on
  bool m_afterCr =
      false;  // the last thing seen was a CR ending a line (so an LF now pairs with it)
};

// Reads a whole text: every record before the first fault, and the fault if any.
struct CsvText {
  std::vector<CsvRecord> records;
  std::optional<CsvFault> fault;
};
CsvText ReadCsv(std::string_view text, char delimiter);

// One record as a line of the file: fields that hold the delimiter, a quote, a line break or
// blanks at either end are quoted (libcsv's writer doubles the quotes), and a record of one
// empty field is written as "" so that it does not read as a blank line. Ends with CR LF.
std::string FormatCsvRecord(const std::vector<std::string>& fields, char delimiter);
