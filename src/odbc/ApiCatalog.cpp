// SPDX-License-Identifier: GPL-3.0-or-later
// Catalog result sets: the data types, the tables of the folder and their columns.
#include <dirent.h>

#include <algorithm>

#include "Convert.h"
#include "Handles.h"

namespace {

using Value = std::optional<std::string>;

ResultColumn Text(const char* name) {
  return ResultColumn{name, SQL_VARCHAR, 128, SQL_NULLABLE, ""};
}
ResultColumn Small(const char* name) {
  return ResultColumn{name, SQL_SMALLINT, 5, SQL_NULLABLE, ""};
}
ResultColumn Integer(const char* name) {
  return ResultColumn{name, SQL_INTEGER, 10, SQL_NULLABLE, ""};
}

// Every column is text up to 255 characters; CHAR and VARCHAR are the types to declare.
std::vector<Value> TypeRow(const char* name, SQLSMALLINT type, const char* createParams) {
  std::string t = std::to_string(type);
  return {name,         t,   "255",        "'",          "'",          createParams, "1",
          "1",          "0", std::nullopt, "0",          std::nullopt, name,         std::nullopt,
          std::nullopt, t,   std::nullopt, std::nullopt, std::nullopt};
}

void StartResult(Statement& statement, std::vector<ResultColumn> columns) {
  CloseCursor(statement);
  statement.sql.reset();
  ResultSet result;
  result.charset = statement.connection->format.charset;
  result.columns = std::move(columns);
  statement.result = std::move(result);
}

void AddRow(Statement& statement, std::vector<Value> values) {
  TableRow row;
  row.fields = std::move(values);
  statement.result->rows.push_back(std::move(row));
}

SQLRETURN OpenResult(Statement& statement) {
  statement.cursorOpen = true;
  statement.rowCount = static_cast<SQLLEN>(statement.result->rows.size());
  return SQL_SUCCESS;
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  return s;
}

// A catalog pattern: % any run, _ any one character, without regard to ASCII case. An empty or
// missing pattern matches everything.
bool Matches(const std::string& text, const std::string& pattern) {
  std::string t = Lower(text), p = Lower(pattern);
  std::vector<std::vector<bool>> m(t.size() + 1, std::vector<bool>(p.size() + 1, false));
  m[0][0] = true;
  for (size_t j = 1; j <= p.size(); ++j) m[0][j] = m[0][j - 1] && p[j - 1] == '%';
  for (size_t i = 1; i <= t.size(); ++i) {
    for (size_t j = 1; j <= p.size(); ++j) {
      if (p[j - 1] == '%') {
        m[i][j] = m[i][j - 1] || m[i - 1][j];
      } else {
        m[i][j] = m[i - 1][j - 1] && (p[j - 1] == '_' || p[j - 1] == t[i - 1]);
      }
    }
  }
  return m[t.size()][p.size()];
}

bool IsTableFileName(const std::string& name) {
  std::string lower = Lower(name);
  auto ends = [&](const char* suffix) {
    size_t n = std::char_traits<char>::length(suffix);
    return lower.size() > n && lower.compare(lower.size() - n, n, suffix) == 0;
  };
  return ends(".csv") || ends(".txt") || ends(".tab");
}

}  // namespace

SQLRETURN SQL_API SQLGetTypeInfo(SQLHSTMT handle, SQLSMALLINT type) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  StartResult(
      *statement,
      {Text("TYPE_NAME"), Small("DATA_TYPE"), Integer("COLUMN_SIZE"), Text("LITERAL_PREFIX"),
       Text("LITERAL_SUFFIX"), Text("CREATE_PARAMS"), Small("NULLABLE"), Small("CASE_SENSITIVE"),
       Small("SEARCHABLE"), Small("UNSIGNED_ATTRIBUTE"), Small("FIXED_PREC_SCALE"),
       Small("AUTO_UNIQUE_VALUE"), Text("LOCAL_TYPE_NAME"), Small("MINIMUM_SCALE"),
       Small("MAXIMUM_SCALE"), Small("SQL_DATA_TYPE"), Small("SQL_DATETIME_SUB"),
       Integer("NUM_PREC_RADIX"), Small("INTERVAL_PRECISION")});
  // Ordered by DATA_TYPE, as asking for all types must give them.
  if (type == SQL_ALL_TYPES || type == SQL_CHAR)
    AddRow(*statement, TypeRow("CHAR", SQL_CHAR, "length"));
  if (type == SQL_ALL_TYPES || type == SQL_VARCHAR) {
    AddRow(*statement, TypeRow("VARCHAR", SQL_VARCHAR, "max length"));
  }
  return OpenResult(*statement);
}

SQLRETURN SQL_API SQLTables(SQLHSTMT handle, SQLCHAR* catalog, SQLSMALLINT catalogLength,
                            SQLCHAR* schema, SQLSMALLINT schemaLength, SQLCHAR* table,
                            SQLSMALLINT tableLength, SQLCHAR* types, SQLSMALLINT typesLength) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  StartResult(*statement, {Text("TABLE_CAT"), Text("TABLE_SCHEM"), Text("TABLE_NAME"),
                           Text("TABLE_TYPE"), Text("REMARKS")});
  std::string catalogText = InputText(catalog, catalogLength);
  std::string schemaText = InputText(schema, schemaLength);
  std::string pattern = InputText(table, tableLength);
  std::string typeList = InputText(types, typesLength);
  // No catalogs or schemas: asking for them lists nothing; a file is a TABLE.
  if (!catalogText.empty() || !schemaText.empty()) return OpenResult(*statement);
  if (!typeList.empty() && Lower(typeList).find("table") == std::string::npos) {
    return OpenResult(*statement);
  }
  const std::string& folder = statement->connection->folder;
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      std::string name = entry->d_name;
      if (IsTableFileName(name) && (pattern.empty() || Matches(name, pattern)) &&
          TableExists(ResolveTablePath(folder, name))) {
        names.push_back(name);
      }
    }
    ::closedir(dir);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    AddRow(*statement, {std::nullopt, std::nullopt, name, "TABLE", std::nullopt});
  }
  return OpenResult(*statement);
}

SQLRETURN SQL_API SQLColumns(SQLHSTMT handle, SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT,
                             SQLCHAR* table, SQLSMALLINT tableLength, SQLCHAR* column,
                             SQLSMALLINT columnLength) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  StartResult(
      *statement,
      {Text("TABLE_CAT"), Text("TABLE_SCHEM"), Text("TABLE_NAME"), Text("COLUMN_NAME"),
       Small("DATA_TYPE"), Text("TYPE_NAME"), Integer("COLUMN_SIZE"), Integer("BUFFER_LENGTH"),
       Small("DECIMAL_DIGITS"), Small("NUM_PREC_RADIX"), Small("NULLABLE"), Text("REMARKS"),
       Text("COLUMN_DEF"), Small("SQL_DATA_TYPE"), Small("SQL_DATETIME_SUB"),
       Integer("CHAR_OCTET_LENGTH"), Integer("ORDINAL_POSITION"), Text("IS_NULLABLE")});
  // The table is one file named as in SQL statements; the column name may be a pattern.
  std::string name = InputText(table, tableLength);
  std::string pattern = InputText(column, columnLength);
  Connection& dbc = *statement->connection;
  std::string path = ResolveTablePath(dbc.folder, name);
  std::vector<std::string> header;
  if (name.empty() || !TableExists(path)) return OpenResult(*statement);
  if (auto error = ReadHeader(path, dbc.format, header)) {
    CloseCursor(*statement);
    return statement->diag.Error(error->sqlState, error->message);
  }
  for (size_t i = 0; i < header.size(); ++i) {
    if (!pattern.empty() && !Matches(header[i], pattern)) continue;
    std::string type = std::to_string(SQL_VARCHAR);
    AddRow(*statement, {std::nullopt, std::nullopt, name, header[i], type, "VARCHAR", "255", "255",
                        std::nullopt, std::nullopt, "1", std::nullopt, std::nullopt, type,
                        std::nullopt, "255", std::to_string(i + 1), "YES"});
  }
  return OpenResult(*statement);
}
