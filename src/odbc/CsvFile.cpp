// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvFile.h"

#include <algorithm>

namespace {

// libcsv trims blanks around unquoted fields by default; values must come back as written.
int NeverSpace(unsigned char) { return 0; }

// libcsv's parser state while inside a field (FIELD_BEGUN in libcsv 3). Its CSV_STRICT_FINI
// check works only together with CSV_STRICT, which would also refuse the stray quotes inside
// unquoted fields that spreadsheets read without complaint (5" floppy); so an open quoted field
// at the end is found from the parser's public state instead.
constexpr int kInsideField = 2;

}  // namespace

CsvReader::CsvReader(char delimiter, size_t maxRecords) : m_maxRecords(maxRecords) {
  // CSV_REPALL_NL reports every line end, so blank lines can be counted.
  csv_init(&m_parser, CSV_REPALL_NL);
  csv_set_delim(&m_parser, static_cast<unsigned char>(delimiter));
  csv_set_space_func(&m_parser, NeverSpace);
}

CsvReader::~CsvReader() { csv_free(&m_parser); }

void CsvReader::OnField(void* data, size_t size, void* self) {
  auto* reader = static_cast<CsvReader*>(self);
  reader->m_afterCr = false;
  reader->m_fields.emplace_back(static_cast<const char*>(data), size);
}

void CsvReader::OnRecordEnd(int terminator, void* self) {
  auto* reader = static_cast<CsvReader*>(self);
  bool blank = reader->m_fields.empty();
  if (!blank) {
    for (const std::string& f : reader->m_fields) {
      reader->m_line += static_cast<int>(std::count(f.begin(), f.end(), '\n'));
    }
    if (reader->m_records.size() < reader->m_maxRecords) {
      reader->m_records.push_back({std::move(reader->m_fields), reader->m_recordLine});
    }
    reader->m_fields.clear();
  }
  if (terminator == '\r') {
    ++reader->m_line;
    reader->m_afterCr = true;
  } else if (terminator == '\n') {
    if (!(reader->m_afterCr && blank)) ++reader->m_line;
    reader->m_afterCr = false;
  } else {
    reader->m_afterCr = false;
  }
  reader->m_recordLine = reader->m_line;
}

bool CsvReader::Feed(std::string_view data) {
  if (m_fault) return false;
  size_t done = csv_parse(&m_parser, data.data(), data.size(), OnField, OnRecordEnd, this);
  if (done != data.size()) {
    m_fault = CsvFault{m_recordLine, csv_strerror(csv_error(&m_parser))};
    return false;
  }
  return true;
}

bool CsvReader::Finish() {
  if (m_fault) return false;
  if (m_parser.quoted && m_parser.pstate == kInsideField) {
    m_fault = CsvFault{m_recordLine, "a quoted field in the record that starts in line " +
                                         std::to_string(m_recordLine) + " is never closed"};
    return false;
  }
  if (csv_fini(&m_parser, OnField, OnRecordEnd, this) != 0) {
    m_fault = CsvFault{m_recordLine, csv_strerror(csv_error(&m_parser))};
    return false;
  }
  return true;
}

CsvText ReadCsv(std::string_view text, char delimiter) {
  CsvReader reader(delimiter);
  if (reader.Feed(text)) reader.Finish();
  return {std::move(reader.records()), reader.fault()};
}

std::string FormatCsvRecord(const std::vector<std::string>& fields, char delimiter) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += delimiter;
    const std::string& f = fields[i];
    bool quote = f.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string::npos ||
                 (!f.empty() &&
                  (f.front() == ' ' || f.front() == '\t' || f.back() == ' ' || f.back() == '\t')) ||
                 (f.empty() && fields.size() == 1);
    if (!quote) {
      line += f;
      continue;
    }
    size_t size = csv_write(nullptr, 0, f.data(), f.size());
    std::string quoted(size, '\0');
    csv_write(quoted.data(), quoted.size(), f.data(), f.size());
    line += quoted;
  }
  line += "\r\n";
  return line;
}
