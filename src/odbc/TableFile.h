// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Charset.h"

// How the files of one connection are written: the delimiter and the character set.
struct TableFormat {
  char delimiter = ',';
  Charset charset = Charset::Utf8;
};

// A failure with the SQLSTATE a client sees and a message naming the file and line.
struct TableError {
  std::string sqlState;
  std::string message;
};

// One data row read from a file, as many fields as the header names. A field missing from a
// short row is null. A row that cannot be used carries an error instead; a row that was used
// with a change (padded, surplus empty fields dropped) carries a warning.
struct TableRow {
  std::vector<std::optional<std::string>> fields;
  std::optional<TableError> error;
  std::optional<TableError> warning;
};

struct TableData {
  std::vector<std::string> header;
  std::vector<TableRow> rows;
};

// A table named in SQL, relative to the connection's folder when not absolute.
std::string ResolveTablePath(const std::string& folder, const std::string& table);

bool TableExists(const std::string& path);

// Length of the longest prefix of the path, up to a '/', that is an existing folder; 0 when
// there is none. Tells apart the ways a statement with brackets in a path can be read.
size_t ExistingFolderLength(const std::string& path);

// The column names of the first line. Errors: 42S02 no such file, HY000 unreadable or without
// a header line, 22021 names that are not text in the character set.
std::optional<TableError> ReadHeader(const std::string& path, const TableFormat& format,
                                     std::vector<std::string>& header);

// The whole table. The header must read (as above); faults after it become rows with an error
// (HY000 for the structure, 22021 for bytes outside the character set) so that the good rows
// before them can still be fetched.
std::optional<TableError> ReadTable(const std::string& path, const TableFormat& format,
                                    TableData& data);

// Writes a new file holding only the header line. 42S01 when the file exists already.
std::optional<TableError> CreateTable(const std::string& path, const TableFormat& format,
                                      const std::vector<std::string>& columns);

// Removes the file. 42S02 when there is no such file.
std::optional<TableError> DropTable(const std::string& path);

// Appends one row (null fields are written empty). A file whose last line lacks its line end
// gets one first, so the row never joins the line before it.
std::optional<TableError> AppendRow(const std::string& path, const TableFormat& format,
                                    const std::vector<std::optional<std::string>>& fields);
