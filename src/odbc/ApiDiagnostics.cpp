// SPDX-License-Identifier: GPL-3.0-or-later
// The diagnostics records kept on every handle, read with SQLGetDiagRec and SQLGetDiagField.
#include <algorithm>
#include <cstring>

#include "Convert.h"
#include "Handles.h"

void Diagnostics::Add(const std::string& sqlState, const std::string& message) {
  m_records.push_back({sqlState, "[Duxel][Text Driver]" + message});
}


SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                SQLCHAR* state, SQLINTEGER* native, SQLCHAR* message,
                                SQLSMALLINT bufferLength, SQLSMALLINT* length) {
  HandleBase* base = AnyHandle(type, handle);
  if (!base) return SQL_INVALID_HANDLE;
  if (number <= 0) return SQL_ERROR;
  const auto& records = base->diag.records();
  if (static_cast<size_t>(number) > records.size()) return SQL_NO_DATA;
  const DiagRecord& record = records[static_cast<size_t>(number) - 1];
  if (state) {
    std::memset(state, 0, 6);
    std::memcpy(state, record.sqlState.data(), std::min<size_t>(5, record.sqlState.size()));
  }
  if (native) *native = 0;
  if (bufferLength < 0) return SQL_ERROR;
  Diagnostics ignored;  // truncating the text must not add a record to the list being read
  return OutputText(record.message, message, bufferLength, length, ignored);
}

SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT number,
                                  SQLSMALLINT identifier, SQLPOINTER info, SQLSMALLINT bufferLength,
                                  SQLSMALLINT* length) {
  HandleBase* base = AnyHandle(type, handle);
  if (!base) return SQL_INVALID_HANDLE;
  const auto& records = base->diag.records();
  Diagnostics ignored;
  auto integer = [&](SQLINTEGER v) {
    if (info) std::memcpy(info, &v, sizeof v);
    return SQL_SUCCESS;
  };
  auto len = [&](SQLLEN v) {
    if (info) std::memcpy(info, &v, sizeof v);
    return SQL_SUCCESS;
  };
  // Header fields.
  switch (identifier) {
    case SQL_DIAG_NUMBER:
      return integer(static_cast<SQLINTEGER>(records.size()));
    case SQL_DIAG_RETURNCODE: {
      SQLRETURN rc = base->diag.returnCode();
      if (info) std::memcpy(info, &rc, sizeof rc);
      return SQL_SUCCESS;
    }
    case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT: {
      Statement* statement = type == SQL_HANDLE_STMT ? AsStatement(handle) : nullptr;
      if (!statement) return SQL_ERROR;
      return len(
          identifier == SQL_DIAG_ROW_COUNT
              ? statement->rowCount
              : (statement->result ? static_cast<SQLLEN>(statement->result->rows.size()) : 0));
    }
    case SQL_DIAG_DYNAMIC_FUNCTION:
      return OutputText("", info, bufferLength, length, ignored);
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      return integer(SQL_DIAG_UNKNOWN_STATEMENT);
    default:
      break;
  }
  // Record fields.
  if (number <= 0) return SQL_ERROR;
  if (static_cast<size_t>(number) > records.size()) return SQL_NO_DATA;
  const DiagRecord& record = records[static_cast<size_t>(number) - 1];
  switch (identifier) {
    case SQL_DIAG_SQLSTATE:
      return OutputText(record.sqlState, info, bufferLength, length, ignored);
    case SQL_DIAG_NATIVE:
      return integer(0);
    case SQL_DIAG_MESSAGE_TEXT:
      return OutputText(record.message, info, bufferLength, length, ignored);
    case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN: {
      // States of the IM and HY classes, and ODBC's own 01S, 07S, 21S, 42S ones, are ODBC's.
      const std::string& s = record.sqlState;
      bool odbc = identifier == SQL_DIAG_CLASS_ORIGIN
                      ? (s.compare(0, 2, "IM") == 0 || s.compare(0, 2, "HY") == 0)
                      : (s.compare(0, 2, "IM") == 0 || s.compare(0, 2, "HY") == 0 ||
                         (s.size() == 5 && s[2] == 'S'));
      return OutputText(odbc ? "ODBC 3.0" : "ISO 9075", info, bufferLength, length, ignored);
    }
    case SQL_DIAG_CONNECTION_NAME:
    case SQL_DIAG_SERVER_NAME:
      return OutputText("", info, bufferLength, length, ignored);
    case SQL_DIAG_COLUMN_NUMBER:
      return integer(SQL_COLUMN_NUMBER_UNKNOWN);
    case SQL_DIAG_ROW_NUMBER:
      return len(SQL_ROW_NUMBER_UNKNOWN);
    default:
      return SQL_ERROR;
  }
}
