// SPDX-License-Identifier: GPL-3.0-or-later
// Preparing and running statements, with their parameters.
#include <cstring>

#include "Convert.h"
#include "Handles.h"

namespace {

// Among the readings of a statement, the first whose file exists; else the first, whose
// missing file then gives the error.
template <typename Reading>
const Reading& ChooseReading(const std::vector<Reading>& readings, const std::string& folder) {
  for (const Reading& r : readings) {
    if (TableExists(ResolveTablePath(folder, r.table))) return r;
  }
  return readings.front();
}

size_t CharacterCount(const std::string& text, Charset charset) {
  if (charset == Charset::Ansi) return text.size();
  size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

SQLRETURN Fail(Statement& statement, const TableError& error) {
  return statement.diag.Error(error.sqlState, error.message);
}

SQLRETURN Fail(Statement& statement, const SqlError& error) {
  return statement.diag.Error(error.sqlState, error.message);
}

// Column positions of a SELECT or INSERT list, all of them for none.
SQLRETURN ColumnPositions(Statement& statement, const std::optional<NameList>& names,
                          const std::vector<std::string>& header, std::vector<size_t>& positions) {
  positions.clear();
  if (!names) {
    for (size_t i = 0; i < header.size(); ++i) positions.push_back(i);
    return SQL_SUCCESS;
  }
  auto resolved = ResolveColumns(*names, header);
  if (auto error = std::get_if<SqlError>(&resolved)) return Fail(statement, *error);
  positions = std::get<std::vector<size_t>>(resolved);
  return SQL_SUCCESS;
}

std::vector<ResultColumn> ResultColumns(const std::vector<std::string>& header,
                                        const std::vector<size_t>& positions,
                                        const std::string& table) {
  std::vector<ResultColumn> columns;
  for (size_t p : positions) {
    ResultColumn column;
    column.name = header[p];
    column.table = table;
    columns.push_back(column);
  }
  return columns;
}

SQLRETURN RunSelect(Statement& statement, const SelectStatement& select) {
  Connection& dbc = *statement.connection;
  const SelectReading& reading = ChooseReading(select.readings, dbc.folder);
  std::string path = ResolveTablePath(dbc.folder, reading.table);
  TableData data;
  if (auto error = ReadTable(path, dbc.format, data)) return Fail(statement, *error);
  std::vector<size_t> positions;
  SQLRETURN rc = ColumnPositions(statement, reading.columns, data.header, positions);
  if (!SQL_SUCCEEDED(rc)) return rc;

  ResultSet result;
  result.charset = dbc.format.charset;
  result.columns = ResultColumns(data.header, positions, reading.table);
  size_t limit = statement.maxRows > 0 ? statement.maxRows : data.rows.size();
  for (size_t r = 0; r < data.rows.size() && r < limit; ++r) {
    TableRow& source = data.rows[r];
    TableRow row;
    row.error = std::move(source.error);
    row.warning = std::move(source.warning);
    if (!row.error) {
      for (size_t c = 0; c < positions.size(); ++c) {
        std::optional<std::string>& value = source.fields[positions[c]];
        if (value) {
          result.columns[c].size =
              std::max<SQLULEN>(result.columns[c].size, CharacterCount(*value, result.charset));
        }
        row.fields.push_back(value);
      }
    }
    result.rows.push_back(std::move(row));
  }
  statement.rowCount = static_cast<SQLLEN>(result.rows.size());
  statement.result = std::move(result);
  statement.cursorOpen = true;
  return SQL_SUCCESS;
}

SQLRETURN RunInsert(Statement& statement, const InsertStatement& insert,
                    const std::vector<std::optional<std::string>>& parameters) {
  Connection& dbc = *statement.connection;
  const InsertReading& reading = ChooseReading(insert.readings, dbc.folder);
  std::string path = ResolveTablePath(dbc.folder, reading.table);
  std::vector<std::string> header;
  if (auto error = ReadHeader(path, dbc.format, header)) return Fail(statement, *error);
  std::vector<size_t> positions;
  SQLRETURN rc = ColumnPositions(statement, reading.columns, header, positions);
  if (!SQL_SUCCEEDED(rc)) return rc;
  if (positions.size() != insert.values.size()) {
    return statement.diag.Error("21S01", "Insert value list does not match column list: " +
                                             std::to_string(insert.values.size()) + " values for " +
                                             std::to_string(positions.size()) + " columns");
  }
  std::vector<std::optional<std::string>> fields(header.size());
  std::vector<bool> given(header.size(), false);
  for (size_t i = 0; i < positions.size(); ++i) {
    size_t p = positions[i];
    if (given[p]) {
      return statement.diag.Error("42000", "Column \"" + header[p] + "\" is named twice");
    }
    given[p] = true;
    const SqlValue& v = insert.values[i];
    if (v.kind == SqlValue::Parameter) {
      fields[p] = parameters[static_cast<size_t>(v.parameter) - 1];
    } else if (v.kind == SqlValue::Text) {
      if (!IsValidText(v.text, dbc.format.charset)) {
        return statement.diag.Error(
            "22021", std::string("Literal is not ") + CharsetName(dbc.format.charset) + " text");
      }
      fields[p] = v.text;
    }
  }
  if (auto error = AppendRow(path, dbc.format, fields)) return Fail(statement, *error);
  statement.rowCount = 1;
  return SQL_SUCCESS;
}

// Runs the prepared statement once every parameter value is at hand.
SQLRETURN Run(Statement& statement) {
  Connection& dbc = *statement.connection;
  const SqlStatement& sql = *statement.sql;
  int count = CountParameters(sql);
  std::vector<std::optional<std::string>> parameters(static_cast<size_t>(count));
  for (int i = 1; i <= count; ++i) {
    const ParameterBinding& binding = statement.parameters.at(static_cast<SQLUSMALLINT>(i));
    auto sent = statement.putData.find(static_cast<SQLUSMALLINT>(i));
    const std::optional<std::string>* raw =
        sent != statement.putData.end() ? &sent->second : nullptr;
    static const std::optional<std::string> kNothingSent = std::string();
    if (!raw && IsDataAtExecution(binding)) raw = &kNothingSent;
    SQLRETURN rc = ParameterValue(binding, raw, dbc.format.charset,
                                  parameters[static_cast<size_t>(i) - 1], statement.diag);
    if (!SQL_SUCCEEDED(rc)) return rc;
  }
  statement.putData.clear();

  if (auto create = std::get_if<CreateTableStatement>(&sql)) {
    // The reading whose file lands in the deepest existing folder, the leftmost among equals.
    const CreateReading* chosen = nullptr;
    size_t chosenLength = 0;
    for (const CreateReading& r : create->readings) {
      size_t length = ExistingFolderLength(ResolveTablePath(dbc.folder, r.table));
      if (!chosen || length > chosenLength) {
        chosen = &r;
        chosenLength = length;
      }
    }
    std::vector<std::string> names;
    for (const ColumnDefinition& c : chosen->columns) names.push_back(c.name);
    if (auto error = CreateTable(ResolveTablePath(dbc.folder, chosen->table), dbc.format, names)) {
      return Fail(statement, *error);
    }
    statement.rowCount = 0;
    return SQL_SUCCESS;
  }
  if (auto drop = std::get_if<DropTableStatement>(&sql)) {
    if (auto error = DropTable(ResolveTablePath(dbc.folder, drop->table))) {
      return Fail(statement, *error);
    }
    statement.rowCount = 0;
    return SQL_SUCCESS;
  }
  if (auto insert = std::get_if<InsertStatement>(&sql)) {
    if (dbc.accessMode == SQL_MODE_READ_ONLY) {
      return statement.diag.Error("HY000", "The connection is read-only");
    }
    return RunInsert(statement, *insert, parameters);
  }
  return RunSelect(statement, std::get<SelectStatement>(sql));
}

SQLRETURN Prepare(Statement& statement, const std::string& text) {
  CloseCursor(statement);
  statement.sql.reset();
  statement.rowCount = -1;
  statement.needData = false;
  statement.pendingParameters.clear();
  statement.putData.clear();
  auto parsed = ParseSql(text);
  if (auto error = std::get_if<SqlError>(&parsed)) return Fail(statement, *error);
  statement.sql = std::move(std::get<SqlStatement>(parsed));
  return SQL_SUCCESS;
}

SQLRETURN Execute(Statement& statement) {
  if (!statement.sql) return statement.diag.Error("HY010", "No statement has been prepared");
  CloseCursor(statement);
  statement.rowCount = -1;
  int count = CountParameters(*statement.sql);
  statement.pendingParameters.clear();
  statement.putData.clear();
  for (int i = 1; i <= count; ++i) {
    auto found = statement.parameters.find(static_cast<SQLUSMALLINT>(i));
    if (found == statement.parameters.end()) {
      return statement.diag.Error("07002", "The statement has " + std::to_string(count) +
                                               " parameter markers but parameter " +
                                               std::to_string(i) + " is not bound");
    }
    if (IsDataAtExecution(found->second)) {
      statement.pendingParameters.push_back(static_cast<SQLUSMALLINT>(i));
    }
  }
  if (!statement.pendingParameters.empty()) {
    statement.needData = true;
    statement.pendingIndex = -1;
    return SQL_NEED_DATA;
  }
  return Run(statement);
}

}  // namespace

SQLRETURN DescribeResult(Statement& statement) {
  if (statement.result || !statement.sql) return SQL_SUCCESS;
  auto select = std::get_if<SelectStatement>(&*statement.sql);
  if (!select) return SQL_SUCCESS;
  Connection& dbc = *statement.connection;
  const SelectReading& reading = ChooseReading(select->readings, dbc.folder);
  std::vector<std::string> header;
  if (auto error = ReadHeader(ResolveTablePath(dbc.folder, reading.table), dbc.format, header)) {
    return Fail(statement, *error);
  }
  std::vector<size_t> positions;
  SQLRETURN rc = ColumnPositions(statement, reading.columns, header, positions);
  if (!SQL_SUCCEEDED(rc)) return rc;
  ResultSet result;
  result.charset = dbc.format.charset;
  result.columns = ResultColumns(header, positions, reading.table);
  statement.result = std::move(result);
  statement.cursorOpen = false;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!text) return statement->diag.Error("HY009", "Invalid use of null pointer");
  return Prepare(*statement, InputText(text, length));
}

SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  return Execute(*statement);
}

SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!text) return statement->diag.Error("HY009", "Invalid use of null pointer");
  SQLRETURN rc = Prepare(*statement, InputText(text, length));
  if (!SQL_SUCCEEDED(rc)) return rc;
  return Execute(*statement);
}

SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT ioType,
                                   SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN columnSize,
                                   SQLSMALLINT digits, SQLPOINTER value, SQLLEN bufferLength,
                                   SQLLEN* indicator) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (number < 1) return statement->diag.Error("07009", "Invalid parameter number 0");
  if (ioType != SQL_PARAM_INPUT && ioType != SQL_PARAM_INPUT_OUTPUT && ioType != SQL_PARAM_OUTPUT) {
    return statement->diag.Error("HY105", "Invalid parameter type");
  }
  ParameterBinding binding;
  binding.ioType = ioType;
  binding.cType = cType;
  binding.sqlType = sqlType;
  binding.columnSize = columnSize;
  binding.digits = digits;
  binding.value = value;
  binding.bufferLength = bufferLength;
  binding.indicator = indicator;
  statement->parameters[number] = binding;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!statement->sql) return statement->diag.Error("HY010", "No statement has been prepared");
  if (count) *count = static_cast<SQLSMALLINT>(CountParameters(*statement->sql));
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLDescribeParam(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT* sqlType,
                                   SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!statement->sql) return statement->diag.Error("HY010", "No statement has been prepared");
  if (number < 1 || number > CountParameters(*statement->sql)) {
    return statement->diag.Error("07009", "Invalid parameter number " + std::to_string(number));
  }
  // Every column of a text file is text.
  if (sqlType) *sqlType = SQL_VARCHAR;
  if (size) *size = 255;
  if (digits) *digits = 0;
  if (nullable) *nullable = SQL_NULLABLE;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLParamData(SQLHSTMT handle, SQLPOINTER* value) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!statement->needData) return statement->diag.Error("HY010", "Function sequence error");
  ++statement->pendingIndex;
  if (statement->pendingIndex < static_cast<long>(statement->pendingParameters.size())) {
    SQLUSMALLINT number =
        statement->pendingParameters[static_cast<size_t>(statement->pendingIndex)];
    if (value) *value = statement->parameters[number].value;
    return SQL_NEED_DATA;
  }
  statement->needData = false;
  statement->pendingParameters.clear();
  return Run(*statement);
}

SQLRETURN SQL_API SQLPutData(SQLHSTMT handle, SQLPOINTER data, SQLLEN length) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!statement->needData || statement->pendingIndex < 0 ||
      statement->pendingIndex >= static_cast<long>(statement->pendingParameters.size())) {
    return statement->diag.Error("HY010", "Function sequence error");
  }
  SQLUSMALLINT number = statement->pendingParameters[static_cast<size_t>(statement->pendingIndex)];
  const ParameterBinding& binding = statement->parameters[number];
  auto& slot = statement->putData[number];
  if (length == SQL_NULL_DATA) {
    slot.reset();
    return SQL_SUCCESS;
  }
  if (!data && length != 0) return statement->diag.Error("HY009", "Invalid use of null pointer");
  size_t bytes;
  if (length >= 0) {
    bytes = static_cast<size_t>(length);
  } else if (length == SQL_NTS) {
    if (binding.cType == SQL_C_WCHAR) {
      const auto* units = static_cast<const char16_t*>(data);
      size_t n = 0;
      while (units[n] != 0) ++n;
      bytes = n * 2;
    } else {
      bytes = std::strlen(static_cast<const char*>(data));
    }
  } else {
    return statement->diag.Error("HY090", "Invalid string or buffer length");
  }
  if (!slot) slot = std::string();
  slot->append(static_cast<const char*>(data), bytes);
  return SQL_SUCCESS;
}
