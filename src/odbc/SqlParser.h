// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

// The few statements the text driver understands:
//   CREATE TABLE table (name type[(n)], ...)
//   DROP TABLE table
//   INSERT INTO table [(name, ...)] VALUES (? | 'text' | NULL | number, ...)
//   SELECT * | name, ... FROM table
// A table is a file path. Paths and column names need no quotes even when they hold blanks,
// commas or brackets (balanced or not): clients build these statements by pasting a path and a
// header's names in. Where a statement could split more than one way, the parser gives every
// reading and the caller keeps the one the file system agrees with. Names and paths may also be
// quoted with "", [] or ``.

struct SqlError {
  std::string sqlState;
  std::string message;
};

struct ColumnDefinition {
  std::string name;
  std::string type;  // as written, e.g. "VARCHAR"; every column holds text whatever its type
};

struct CreateReading {
  std::string table;
  std::vector<ColumnDefinition> columns;
};

struct CreateTableStatement {
  std::vector<CreateReading> readings;  // the caller keeps the one whose folder exists
};

struct DropTableStatement {
  std::string table;
};

struct SqlValue {
  enum Kind { Parameter, Text, Null } kind = Parameter;
  std::string text;   // Text: the literal's characters
  int parameter = 0;  // Parameter: its number, from 1
};

// A list of names as written between commas. Header names may hold commas themselves, so the
// pieces are joined back against the real names later (ResolveColumns).
using NameList = std::vector<std::string>;

struct InsertReading {
  std::string table;
  std::optional<NameList> columns;
};

struct InsertStatement {
  std::vector<InsertReading> readings;  // the first whose file exists applies
  std::vector<SqlValue> values;
};

struct SelectReading {
  std::string table;
  std::optional<NameList> columns;  // nothing for *
};

struct SelectStatement {
  std::vector<SelectReading> readings;
};

using SqlStatement =
    std::variant<CreateTableStatement, DropTableStatement, InsertStatement, SelectStatement>;

// Errors: 42000 with a message saying what was expected.
std::variant<SqlStatement, SqlError> ParseSql(const std::string& sql);

// Number of ? markers.
int CountParameters(const SqlStatement& statement);

// Column positions for names written between commas, matched without regard to ASCII case or
// surrounding blanks. Pieces are joined with their commas when only together they name a
// column. Errors: 42S22 for a name that is no column.
std::variant<std::vector<size_t>, SqlError> ResolveColumns(const NameList& pieces,
                                                           const std::vector<std::string>& header);
