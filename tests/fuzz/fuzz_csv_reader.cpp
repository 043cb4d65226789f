// SPDX-License-Identifier: GPL-3.0-or-later
// The text driver's CSV reader on arbitrary bytes: it never crashes, reading in two pieces
// gives what reading at once gives, and every record it reads is written by the writer as a
// line that reads back as the same record.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "Charset.h"
#include "CsvFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const char kDelimiters[] = {',', '\t', ';'};
  const char delimiter = kDelimiters[data[0] % 3];
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

  CsvText whole = ReadCsv(text, delimiter);

  CsvReader pieces(delimiter);
  size_t split = text.size() / 2;
  if (pieces.Feed(text.substr(0, split)) && pieces.Feed(text.substr(split))) pieces.Finish();
  if (pieces.records().size() != whole.records.size() ||
      pieces.fault().has_value() != whole.fault.has_value()) {
    abort();
  }

  for (size_t i = 0; i < whole.records.size(); ++i) {
    const CsvRecord& record = whole.records[i];
    if (pieces.records()[i].fields != record.fields || pieces.records()[i].line != record.line) {
      abort();
    }
    for (const std::string& field : record.fields) {
      if (IsValidText(field, Charset::Ansi) != Utf16FromText(field, Charset::Ansi).has_value()) {
        abort();
      }
      if (IsValidText(field, Charset::Utf8) != Utf16FromText(field, Charset::Utf8).has_value()) {
        abort();
      }
    }
    CsvText back = ReadCsv(FormatCsvRecord(record.fields, delimiter), delimiter);
    if (back.fault || back.records.size() != 1 || back.records[0].fields != record.fields) {
      abort();
    }
  }
  return 0;
}
