// SPDX-License-Identifier: GPL-3.0-or-later
// Handles and their attributes.
#include <algorithm>
#include <cstring>
#include <new>

#include "Convert.h"
#include "Handles.h"

void CloseCursor(Statement& statement) {
  statement.cursorOpen = false;
  statement.result.reset();
  statement.nextRow = 0;
  statement.currentRow.reset();
  statement.getDataColumn = 0;
  statement.getDataOffset = 0;
  statement.getDataDone = false;
}

namespace {


void FreeStatement(Statement* statement) {
  auto& list = statement->connection->statements;
  list.erase(std::remove(list.begin(), list.end(), statement), list.end());
  delete statement;
}

}  // namespace

SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input, SQLHANDLE* output) {
  if (!output) return SQL_ERROR;
  *output = SQL_NULL_HANDLE;
  switch (type) {
    case SQL_HANDLE_ENV: {
      auto* env = new (std::nothrow) Environment;
      if (!env) return SQL_ERROR;
      *output = env;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
      Environment* env = AsEnvironment(input);
      if (!env) return SQL_INVALID_HANDLE;
      env->diag.Clear();
      auto* dbc = new (std::nothrow) Connection;
      if (!dbc) return env->diag.Error("HY001", "Memory allocation error");
      dbc->environment = env;
      *output = dbc;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
      Connection* dbc = AsConnection(input);
      if (!dbc) return SQL_INVALID_HANDLE;
      dbc->diag.Clear();
      if (!dbc->connected) return dbc->diag.Error("08003", "Connection not open");
      auto* statement = new (std::nothrow) Statement;
      if (!statement) return dbc->diag.Error("HY001", "Memory allocation error");
      statement->connection = dbc;
      dbc->statements.push_back(statement);
      *output = statement;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DESC: {
      Connection* dbc = AsConnection(input);
      if (!dbc) return SQL_INVALID_HANDLE;
      dbc->diag.Clear();
      return dbc->diag.Error("HYC00", "Explicit descriptors are not supported");
    }
    default:
      return SQL_ERROR;
  }
}

SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV: {
      Environment* env = AsEnvironment(handle);
      if (!env) return SQL_INVALID_HANDLE;
      delete env;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
      Connection* dbc = AsConnection(handle);
      if (!dbc) return SQL_INVALID_HANDLE;
      if (dbc->connected) return dbc->diag.Error("HY010", "Disconnect before freeing");
      delete dbc;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
      Statement* statement = AsStatement(handle);
      if (!statement) return SQL_INVALID_HANDLE;
      FreeStatement(statement);
      return SQL_SUCCESS;
    }
    default:
      return SQL_INVALID_HANDLE;
  }
}

SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  switch (option) {
    case SQL_CLOSE:
      CloseCursor(*statement);
      return SQL_SUCCESS;
    case SQL_DROP:
      FreeStatement(statement);
      return SQL_SUCCESS;
    case SQL_UNBIND:
      statement->columns.clear();
      return SQL_SUCCESS;
    case SQL_RESET_PARAMS:
      statement->parameters.clear();
      return SQL_SUCCESS;
    default:
      return statement->diag.Error("HY092", "Invalid SQLFreeStmt option");
  }
}

SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  if (!statement->cursorOpen) return statement->diag.Error("24000", "Invalid cursor state");
  CloseCursor(*statement);
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  // Nothing runs in the background; cancelling only ends a wait for SQLPutData.
  statement->needData = false;
  statement->pendingParameters.clear();
  statement->putData.clear();
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value,
                                SQLINTEGER) {
  Environment* env = AsEnvironment(handle);
  if (!env) return SQL_INVALID_HANDLE;
  env->diag.Clear();
  switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
      env->odbcVersion = static_cast<SQLINTEGER>(reinterpret_cast<intptr_t>(value));
      return SQL_SUCCESS;
    case SQL_ATTR_OUTPUT_NTS:
    case SQL_ATTR_CONNECTION_POOLING:
    case SQL_ATTR_CP_MATCH:
      return SQL_SUCCESS;
    default:
      return env->diag.Error("HY092", "Invalid environment attribute " + std::to_string(attribute));
  }
}

SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attribute, SQLPOINTER value, SQLINTEGER,
                                SQLINTEGER* length) {
  Environment* env = AsEnvironment(handle);
  if (!env) return SQL_INVALID_HANDLE;
  env->diag.Clear();
  SQLINTEGER result;
  switch (attribute) {
    case SQL_ATTR_ODBC_VERSION:
      result = env->odbcVersion;
      break;
    case SQL_ATTR_OUTPUT_NTS:
      result = SQL_TRUE;
      break;
    case SQL_ATTR_CONNECTION_POOLING:
      result = SQL_CP_OFF;
      break;
    default:
      return env->diag.Error("HY092", "Invalid environment attribute " + std::to_string(attribute));
  }
  if (value) std::memcpy(value, &result, sizeof result);
  if (length) *length = sizeof result;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  auto number = static_cast<SQLUINTEGER>(reinterpret_cast<uintptr_t>(value));
  switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT:
      // Every statement changes the file at once; there is nothing to commit later. Clients
      // such as pyodbc turn autocommit off by default, so this is a warning, not a refusal.
      if (number == SQL_AUTOCOMMIT_OFF) {
        return dbc->diag.Warning("01S02",
                                 "Option value changed: the text driver has no transactions, "
                                 "autocommit stays on");
      }
      return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE:
      dbc->accessMode = number;
      return SQL_SUCCESS;
    case SQL_ATTR_LOGIN_TIMEOUT:
      dbc->loginTimeout = number;
      return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT:
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_PACKET_SIZE:
    case SQL_ATTR_TXN_ISOLATION:
    case SQL_ATTR_ODBC_CURSORS:
    case SQL_ATTR_TRACE:
    case SQL_ATTR_TRACEFILE:
    case SQL_ATTR_METADATA_ID:
      return SQL_SUCCESS;
    default:
      return dbc->diag.Error("HY092", "Invalid connection attribute " + std::to_string(attribute));
  }
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER bufferLength, SQLINTEGER* length) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  SQLUINTEGER result;
  switch (attribute) {
    case SQL_ATTR_AUTOCOMMIT:
      result = dbc->autocommit;
      break;
    case SQL_ATTR_ACCESS_MODE:
      result = dbc->accessMode;
      break;
    case SQL_ATTR_LOGIN_TIMEOUT:
      result = dbc->loginTimeout;
      break;
    case SQL_ATTR_CONNECTION_TIMEOUT:
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_METADATA_ID:
      result = 0;
      break;
    case SQL_ATTR_TXN_ISOLATION:
      result = 0;
      break;
    case SQL_ATTR_CONNECTION_DEAD:
      result = dbc->connected ? SQL_CD_FALSE : SQL_CD_TRUE;
      break;
    case SQL_ATTR_CURRENT_CATALOG:
      return OutputText(dbc->folder, value, bufferLength, length, dbc->diag);
    default:
      return dbc->diag.Error("HY092", "Invalid connection attribute " + std::to_string(attribute));
  }
  if (value) std::memcpy(value, &result, sizeof result);
  if (length) *length = sizeof result;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  auto number = static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(value));
  switch (attribute) {
    case SQL_ATTR_ROWS_FETCHED_PTR:
      statement->rowsFetched = static_cast<SQLULEN*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_STATUS_PTR:
      statement->rowStatus = static_cast<SQLUSMALLINT*>(value);
      return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS:
      statement->maxRows = number;
      return SQL_SUCCESS;
    case SQL_ATTR_QUERY_TIMEOUT:
      statement->queryTimeout = number;
      return SQL_SUCCESS;
    case SQL_ATTR_MAX_LENGTH:
      statement->maxLength = number;
      return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN:
      statement->noScan = number;
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
    case SQL_ATTR_PARAMSET_SIZE:
      if (number != 1) return statement->diag.Warning("01S02", "Option value changed to 1");
      return SQL_SUCCESS;
    case SQL_ATTR_CURSOR_TYPE:
      if (number != SQL_CURSOR_FORWARD_ONLY) {
        return statement->diag.Warning("01S02", "Option value changed to a forward-only cursor");
      }
      return SQL_SUCCESS;
    case SQL_ATTR_CONCURRENCY:
      if (number != SQL_CONCUR_READ_ONLY) {
        return statement->diag.Warning("01S02", "Option value changed to read-only concurrency");
      }
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_TYPE:
    case SQL_ATTR_PARAM_BIND_TYPE:
      if (number != SQL_BIND_BY_COLUMN) {
        return statement->diag.Error("HYC00", "Only column-wise binding is supported");
      }
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
      if (value) return statement->diag.Error("HYC00", "Binding offsets are not supported");
      return SQL_SUCCESS;
    case SQL_ATTR_CURSOR_SCROLLABLE:
    case SQL_ATTR_CURSOR_SENSITIVITY:
    case SQL_ATTR_RETRIEVE_DATA:
    case SQL_ATTR_USE_BOOKMARKS:
    case SQL_ATTR_ASYNC_ENABLE:
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
    case SQL_ATTR_KEYSET_SIZE:
    case SQL_ATTR_SIMULATE_CURSOR:
    case SQL_ATTR_PARAM_STATUS_PTR:
    case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_PARAM_OPERATION_PTR:
    case SQL_ATTR_ROW_OPERATION_PTR:
      if (attribute == SQL_ATTR_USE_BOOKMARKS && number != SQL_UB_OFF) {
        return statement->diag.Error("HYC00", "Bookmarks are not supported");
      }
      return SQL_SUCCESS;
    default:
      return statement->diag.Error("HY092",
                                   "Invalid statement attribute " + std::to_string(attribute));
  }
}

SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attribute, SQLPOINTER value,
                                 SQLINTEGER, SQLINTEGER* length) {
  Statement* statement = AsStatement(handle);
  if (!statement) return SQL_INVALID_HANDLE;
  statement->diag.Clear();
  auto pointer = [&](void* p) {
    if (value) *static_cast<SQLPOINTER*>(value) = p;
    if (length) *length = sizeof(SQLPOINTER);
    return SQL_SUCCESS;
  };
  SQLULEN result;
  switch (attribute) {
    case SQL_ATTR_APP_ROW_DESC:
      return pointer(&statement->appRowDescriptor);
    case SQL_ATTR_APP_PARAM_DESC:
      return pointer(&statement->appParamDescriptor);
    case SQL_ATTR_IMP_ROW_DESC:
      return pointer(&statement->impRowDescriptor);
    case SQL_ATTR_IMP_PARAM_DESC:
      return pointer(&statement->impParamDescriptor);
    case SQL_ATTR_ROWS_FETCHED_PTR:
      return pointer(statement->rowsFetched);
    case SQL_ATTR_ROW_STATUS_PTR:
      return pointer(statement->rowStatus);
    case SQL_ATTR_ROW_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR:
    case SQL_ATTR_PARAM_STATUS_PTR:
    case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_PARAM_OPERATION_PTR:
    case SQL_ATTR_ROW_OPERATION_PTR:
      return pointer(nullptr);
    case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ROWSET_SIZE:
    case SQL_ATTR_PARAMSET_SIZE:
      result = 1;
      break;
    case SQL_ATTR_MAX_ROWS:
      result = statement->maxRows;
      break;
    case SQL_ATTR_QUERY_TIMEOUT:
      result = statement->queryTimeout;
      break;
    case SQL_ATTR_MAX_LENGTH:
      result = statement->maxLength;
      break;
    case SQL_ATTR_NOSCAN:
      result = statement->noScan;
      break;
    case SQL_ATTR_CURSOR_TYPE:
      result = SQL_CURSOR_FORWARD_ONLY;
      break;
    case SQL_ATTR_CONCURRENCY:
      result = SQL_CONCUR_READ_ONLY;
      break;
    case SQL_ATTR_CURSOR_SCROLLABLE:
      result = SQL_NONSCROLLABLE;
      break;
    case SQL_ATTR_CURSOR_SENSITIVITY:
      result = SQL_INSENSITIVE;
      break;
    case SQL_ATTR_ROW_BIND_TYPE:
    case SQL_ATTR_PARAM_BIND_TYPE:
      result = SQL_BIND_BY_COLUMN;
      break;
    case SQL_ATTR_RETRIEVE_DATA:
      result = SQL_RD_ON;
      break;
    case SQL_ATTR_USE_BOOKMARKS:
      result = SQL_UB_OFF;
      break;
    case SQL_ATTR_ASYNC_ENABLE:
      result = SQL_ASYNC_ENABLE_OFF;
      break;
    case SQL_ATTR_ENABLE_AUTO_IPD:
    case SQL_ATTR_METADATA_ID:
    case SQL_ATTR_KEYSET_SIZE:
      result = 0;
      break;
    case SQL_ATTR_ROW_NUMBER:
      result = statement->currentRow ? *statement->currentRow + 1 : 0;
      break;
    default:
      return statement->diag.Error("HY092",
                                   "Invalid statement attribute " + std::to_string(attribute));
  }
  if (value) std::memcpy(value, &result, sizeof result);
  if (length) *length = sizeof result;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT) {
  HandleBase* base = AnyHandle(type, handle);
  if (!base || (type != SQL_HANDLE_ENV && type != SQL_HANDLE_DBC)) return SQL_INVALID_HANDLE;
  base->diag.Clear();
  return SQL_SUCCESS;  // each statement took effect when it ran
}

HandleBase* AnyHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV:
      return AsEnvironment(handle);
    case SQL_HANDLE_DBC:
      return AsConnection(handle);
    case SQL_HANDLE_STMT:
      return AsStatement(handle);
    case SQL_HANDLE_DESC:
      return HandleAs<Descriptor>(handle, HandleKind::Descriptor);
    default:
      return nullptr;
  }
}
