// SPDX-License-Identifier: GPL-3.0-or-later
#include "TableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "CsvFile.h"

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

TableError IoError(const std::string& what, const std::string& path) {
  return {"HY000", what + " " + Quoted(path) + ": " + std::strerror(errno)};
}

TableError CharsetError(const std::string& path, int line, const std::string& where,
                        Charset charset) {
  return {"22021", "File " + Quoted(path) + " line " + std::to_string(line) + ": " + where +
                       " holds bytes that are not " +
                       (charset == Charset::Ansi ? "Windows-1250 (CHARACTERSET=ANSI)"
                                                 : "UTF-8 (CHARACTERSET=UTF8)") +
                       " text"};
}

// A UTF-8 file saved by some editors starts with a byte order mark; it is not part of the
// first column's name.
void DropByteOrderMark(std::string& text, Charset charset) {
  if (charset == Charset::Utf8 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
}

std::optional<TableError> CheckHeader(const std::string& path, const TableFormat& format,
                                      std::vector<CsvRecord>& records,
                                      const std::optional<CsvFault>& fault,
                                      std::vector<std::string>& header) {
  if (records.empty()) {
    if (fault) {
      return TableError{"HY000", "File " + Quoted(path) + " line " + std::to_string(fault->line) +
                                     ": " + fault->message};
    }
    return TableError{"HY000", "File " + Quoted(path) + " has no header line of column names"};
  }
  for (size_t i = 0; i < records[0].fields.size(); ++i) {
    if (!IsValidText(records[0].fields[i], format.charset)) {
      return CharsetError(path, records[0].line, "the name of column " + std::to_string(i + 1),
                          format.charset);
    }
  }
  header = std::move(records[0].fields);
  return std::nullopt;
}

}  // namespace

std::string ResolveTablePath(const std::string& folder, const std::string& table) {
  if (folder.empty() || table.empty() || table.front() == '/') return table;
  return folder.back() == '/' ? folder + table : folder + "/" + table;
}

bool TableExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

size_t ExistingFolderLength(const std::string& path) {
  for (size_t slash = path.rfind('/'); slash != std::string::npos;
       slash = slash == 0 ? std::string::npos : path.rfind('/', slash - 1)) {
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    struct stat st;
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return slash + 1;
  }
  return 0;
}

std::optional<TableError> ReadHeader(const std::string& path, const TableFormat& format,
                                     std::vector<std::string>& header) {
  if (!TableExists(path)) return TableError{"42S02", "Table file " + Quoted(path) + " not found"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return IoError("Cannot open", path);
  CsvReader reader(format.delimiter, 1);
  char buffer[4096];
  bool first = true;
  while (reader.recordsKept() == 0 && in) {
    in.read(buffer, sizeof buffer);
    std::string piece(buffer, static_cast<size_t>(in.gcount()));
    if (first) DropByteOrderMark(piece, format.charset);
    first = false;
    if (!reader.Feed(piece)) break;
  }
  if (reader.recordsKept() == 0 && !reader.fault()) reader.Finish();
  return CheckHeader(path, format, reader.records(), reader.fault(), header);
}

std::optional<TableError> ReadTable(const std::string& path, const TableFormat& format,
                                    TableData& data) {
  if (!TableExists(path)) return TableError{"42S02", "Table file " + Quoted(path) + " not found"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return IoError("Cannot open", path);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return IoError("Cannot read", path);
  DropByteOrderMark(text, format.charset);
  CsvText csv = ReadCsv(text, format.delimiter);
  if (auto error = CheckHeader(path, format, csv.records, csv.fault, data.header)) return error;

  const size_t width = data.header.size();
  data.rows.clear();
  data.rows.reserve(csv.records.size());
  for (size_t r = 1; r < csv.records.size(); ++r) {
    CsvRecord& record = csv.records[r];
    TableRow row;
    std::string where = "File " + Quoted(path) + " line " + std::to_string(record.line) + ": ";
    size_t count = record.fields.size();
    if (count > width) {
      bool surplusEmpty = true;
      for (size_t i = width; i < count; ++i)
        surplusEmpty = surplusEmpty && record.fields[i].empty();
      std::string counts = "the row has " + std::to_string(count) + " fields but the header " +
                           std::to_string(width) + " columns";
      if (!surplusEmpty) {
        row.error = TableError{"HY000", where + counts};
        data.rows.push_back(std::move(row));
        continue;
      }
      row.warning = TableError{"01000", where + counts + "; the empty surplus fields are dropped"};
      record.fields.resize(width);
    } else if (count < width) {
      row.warning = TableError{"01000", where + "the row has " + std::to_string(count) +
                                            " fields but the header " + std::to_string(width) +
                                            " columns; the missing fields are null"};
    }
    for (size_t i = 0; i < record.fields.size() && !row.error; ++i) {
      if (!IsValidText(record.fields[i], format.charset)) {
        row.error =
            CharsetError(path, record.line, "column " + Quoted(data.header[i]), format.charset);
      }
    }
    if (!row.error) {
      row.fields.reserve(width);
      for (std::string& f : record.fields) row.fields.emplace_back(std::move(f));
      row.fields.resize(width);
    }
    data.rows.push_back(std::move(row));
  }
  if (csv.fault) {
    TableRow row;
    row.error =
        TableError{"HY000", "File " + Quoted(path) + " line " + std::to_string(csv.fault->line) +
                                ": " + csv.fault->message};
    data.rows.push_back(std::move(row));
  }
  return std::nullopt;
}

std::optional<TableError> CreateTable(const std::string& path, const TableFormat& format,
                                      const std::vector<std::string>& columns) {
  for (const std::string& name : columns) {
    if (!IsValidText(name, format.charset)) {
      return TableError{"22021", "Column name " + Quoted(name) + " is not " +
                                     (format.charset == Charset::Ansi ? "Windows-1250" : "UTF-8") +
                                     " text"};
    }
  }
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST)
      return TableError{"42S01", "Table file " + Quoted(path) + " exists already"};
    return IoError("Cannot create", path);
  }
  std::string line = FormatCsvRecord(columns, format.delimiter);
  bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  int saved = errno;
  ::close(fd);
  if (!ok) {
    errno = saved;
    return IoError("Cannot write", path);
  }
  return std::nullopt;
}

std::optional<TableError> DropTable(const std::string& path) {
  if (!TableExists(path)) return TableError{"42S02", "Table file " + Quoted(path) + " not found"};
  if (::unlink(path.c_str()) != 0) return IoError("Cannot remove", path);
  return std::nullopt;
}

std::optional<TableError> AppendRow(const std::string& path, const TableFormat& format,
                                    const std::vector<std::optional<std::string>>& fields) {
  std::vector<std::string> texts;
  texts.reserve(fields.size());
  for (const auto& f : fields) texts.push_back(f.value_or(std::string()));
  std::string line = FormatCsvRecord(texts, format.delimiter);

  int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return TableError{"42S02", "Table file " + Quoted(path) + " not found"};
    return IoError("Cannot open", path);
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && st.st_size > 0) {
    char last = 0;
    if (::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n' && last != '\r') {
      line.insert(0, "\r\n");
    }
  }
  bool ok = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  int saved = errno;
  ::close(fd);
  if (!ok) {
    errno = saved;
    return IoError("Cannot write", path);
  }
  return std::nullopt;
}
