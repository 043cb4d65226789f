// SPDX-License-Identifier: GPL-3.0-or-later
// Result sets: their columns, binding, fetching and SQLGetData.
#include <cstring>

#include "Convert.h"
#include "Handles.h"

namespace {

std::string TypeName(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_SMALLINT:
      return "SMALLINT";
    case SQL_INTEGER:
      return "INTEGER";
    default:
      return "VARCHAR";
  }
}

SQLULEN DisplaySize(const ResultColumn& column) {
  switch (column.sqlType) {
    case SQL_SMALLINT:
      return 6;
    case SQL_INTEGER:
      return 11;
    default:
      return column.size;
  }
}

// The column's entry, or an error for a number outside the result.
const ResultColumn* ColumnAt(Statement& statement, SQLUSMALLINT number) {
  if (!statement.result) {
    statement.diag.Error("07005", "The statement has no result set");
    return nullptr;
  }
  if (number == 0) {
    statement.diag.Error("07009", "Invalid descriptor index 0: bookmarks are not supported");
    return nullptr;
  }
  if (number > statement.result->columns.size()) {
    statement.diag.Error(
        "07009", "Invalid descriptor index " + std::to_string(number) + ": the result has " +
                     std::to_string(statement.result->columns.size()) + " columns");
    return nullptr;
  }
  return &statement.result->columns[number - 1];
}

SQLRETURN FetchNext(Statement& statement) {
  if (!statement.cursorOpen || !statement.result) {
    return statement.diag.Error("24000", "Invalid cursor state: no result set is open");
  }
  statement.getDataColumn = 0;
  statement.getDataOffset = 0;
  statement.getDataDone = false;
  ResultSet& result = *statement.result;
  if (statement.nextRow >= result.rows.size()) {
    statement.currentRow.reset();
    if (statement.rowsFetched) *statement.rowsFetched = 0;
    if (statement.rowStatus) *statement.rowStatus = SQL_ROW_NOROW;
    return SQL_NO_DATA;
  }
  size_t index = statement.nextRow++;
  statement.currentRow = index;
  const TableRow& row = result.rows[index];
  if (statement.rowsFetched) *statement.rowsFetched = 1;
  if (row.error) {
    if (statement.rowStatus) *statement.rowStatus = SQL_ROW_ERROR;
    return statement.diag.Error(row.error->sqlState, row.error->message);
  }
  SQLRETURN rc = SQL_SUCCESS;
  if (row.warning) rc = statement.diag.Warning(row.warning->sqlState, row.warning->message);
  for (const auto& [number, binding] : statement.columns) {
    if (number < 1 || number > result.columns.size()) continue;
    SQLRETURN put = PutValue(row.fields[number - 1], result.columns[number - 1].sqlType,
                             result.charset, binding.cType, binding.target, binding.bufferLength,
                             binding.indicator, nullptr, statement.diag);
    if (put == SQL_ERROR) {
      rc = SQL_ERROR;
    } else if (put == SQL_SUCCESS_WITH_INFO && rc == SQL_SUCCESS) {
      rc = SQL_SUCCESS_WITH_INFO;
    }
  }
  if (statement.rowStatus) {
    *statement.rowStatus = rc == SQL_ERROR               ? SQL_ROW_ERROR
                           : rc == SQL_SUCCESS_WITH_INFO ? SQL_ROW_SUCCESS_WITH_INFO
                                                         : SQL_ROW_SUCCESS;
  }
  return rc;
}

}  // namespace

SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  SQLRETURN rc = DescribeResult(*statement);
  if (!SQL_SUCCEEDED(rc)) return rc;
  if (count) {
    *count = statement->result ? static_cast<SQLSMALLINT>(statement->result->columns.size()) : 0;
  }
  return rc;
}

SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT number, SQLCHAR* name,
                                 SQLSMALLINT bufferLength, SQLSMALLINT* nameLength,
                                 SQLSMALLINT* sqlType, SQLULEN* size, SQLSMALLINT* digits,
                                 SQLSMALLINT* nullable) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  SQLRETURN rc = DescribeResult(*statement);
  if (!SQL_SUCCEEDED(rc)) return rc;
  const ResultColumn* column = ColumnAt(*statement, number);
  if (!column) return SQL_ERROR;
  if (sqlType) *sqlType = column->sqlType;
  if (size) *size = column->size;
  if (digits) *digits = 0;
  if (nullable) *nullable = column->nullable;
  return OutputText(column->name, name, bufferLength, nameLength, statement->diag);
}

SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT number, SQLUSMALLINT field,
                                  SQLPOINTER text, SQLSMALLINT bufferLength, SQLSMALLINT* length,
                                  SQLLEN* numeric) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  SQLRETURN rc = DescribeResult(*statement);
  if (!SQL_SUCCEEDED(rc)) return rc;
  auto put = [&](SQLLEN v) {
    if (numeric) *numeric = v;
    return SQL_SUCCESS;
  };
  if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
    return put(statement->result ? static_cast<SQLLEN>(statement->result->columns.size()) : 0);
  }
  const ResultColumn* column = ColumnAt(*statement, number);
  if (!column) return SQL_ERROR;
  auto string = [&](const std::string& s) {
    return OutputText(s, text, bufferLength, length, statement->diag);
  };
  bool isText = column->sqlType == SQL_VARCHAR;
  switch (field) {
    case SQL_DESC_NAME:
    case SQL_DESC_LABEL:
    case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_COLUMN_NAME:
      return string(column->name);
    case SQL_DESC_TABLE_NAME:
    case SQL_DESC_BASE_TABLE_NAME:
      return string(column->table);
    case SQL_DESC_SCHEMA_NAME:
    case SQL_DESC_CATALOG_NAME:
      return string("");
    case SQL_DESC_TYPE_NAME:
    case SQL_DESC_LOCAL_TYPE_NAME:
      return string(TypeName(column->sqlType));
    case SQL_DESC_LITERAL_PREFIX:
    case SQL_DESC_LITERAL_SUFFIX:
      return string(isText ? "'" : "");
    case SQL_DESC_TYPE:
    case SQL_DESC_CONCISE_TYPE:
      return put(column->sqlType);
    case SQL_DESC_LENGTH:
    case SQL_DESC_OCTET_LENGTH:
    case SQL_DESC_PRECISION:
    case SQL_COLUMN_LENGTH:
    case SQL_COLUMN_PRECISION:
      return put(static_cast<SQLLEN>(isText ? column->size : DisplaySize(*column)));
    case SQL_DESC_DISPLAY_SIZE:
      return put(static_cast<SQLLEN>(DisplaySize(*column)));
    case SQL_DESC_SCALE:
    case SQL_COLUMN_SCALE:
      return put(0);
    case SQL_DESC_NULLABLE:
    case SQL_COLUMN_NULLABLE:
      return put(column->nullable);
    case SQL_DESC_UNSIGNED:
      return put(isText ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_FIXED_PREC_SCALE:
    case SQL_DESC_AUTO_UNIQUE_VALUE:
      return put(SQL_FALSE);
    case SQL_DESC_UPDATABLE:
      return put(SQL_ATTR_READONLY);
    case SQL_DESC_CASE_SENSITIVE:
      return put(isText ? SQL_TRUE : SQL_FALSE);
    case SQL_DESC_SEARCHABLE:
      return put(SQL_PRED_NONE);
    case SQL_DESC_NUM_PREC_RADIX:
      return put(isText ? 0 : 10);
    case SQL_DESC_UNNAMED:
      return put(column->name.empty() ? SQL_UNNAMED : SQL_NAMED);
    default:
      return statement->diag.Error("HY091",
                                   "Invalid descriptor field identifier " + std::to_string(field));
  }
}

SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT cType,
                             SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (number == 0) return statement->diag.Error("07009", "Bookmarks are not supported");
  if (bufferLength < 0) return statement->diag.Error("HY090", "Invalid buffer length");
  if (!target && !indicator) {
    statement->columns.erase(number);
    return SQL_SUCCESS;
  }
  statement->columns[number] = ColumnBinding{cType, target, bufferLength, indicator};
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  return FetchNext(*statement);
}

SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation, SQLLEN) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (orientation != SQL_FETCH_NEXT) {
    return statement->diag.Error("HY106", "The cursor is forward-only: only SQL_FETCH_NEXT");
  }
  return FetchNext(*statement);
}

SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT number, SQLSMALLINT cType,
                             SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!statement->cursorOpen || !statement->currentRow) {
    return statement->diag.Error("24000", "Invalid cursor state: no row has been fetched");
  }
  const ResultColumn* column = ColumnAt(*statement, number);
  if (!column) return SQL_ERROR;
  const TableRow& row = statement->result->rows[*statement->currentRow];
  if (row.error) return statement->diag.Error("24000", "The fetched row could not be read");
  if (bufferLength < 0) return statement->diag.Error("HY090", "Invalid buffer length");
  if (number != statement->getDataColumn) {
    statement->getDataColumn = number;
    statement->getDataOffset = 0;
    statement->getDataDone = false;
  }
  PieceState pieces{statement->getDataOffset, statement->getDataDone};
  SQLRETURN rc = PutValue(row.fields[number - 1], column->sqlType, statement->result->charset,
                          cType, target, bufferLength, indicator, &pieces, statement->diag);
  statement->getDataOffset = pieces.offset;
  statement->getDataDone = pieces.done;
  return rc;
}

SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (count) *count = statement->rowCount;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  // One statement gives at most one result set.
  CloseCursor(*statement);
  return SQL_NO_DATA;
}
