// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SqlParser.h"
#include "TableFile.h"

// The handles the driver manager holds for us, and their diagnostics.

struct DiagRecord {
  std::string sqlState;
  std::string message;  // with the "[Duxel][Text Driver]" origin in front
};

class Diagnostics {
 public:
  void Clear() {
    m_records.clear();
    m_returnCode = SQL_SUCCESS;
  }
  void Add(const std::string& sqlState, const std::string& message);
  SQLRETURN Error(const std::string& sqlState, const std::string& message) {
    Add(sqlState, message);
    m_returnCode = SQL_ERROR;
    return SQL_ERROR;
  }
  SQLRETURN Warning(const std::string& sqlState, const std::string& message) {
    Add(sqlState, message);
    if (m_returnCode == SQL_SUCCESS) m_returnCode = SQL_SUCCESS_WITH_INFO;
    return SQL_SUCCESS_WITH_INFO;
  }
  const std::vector<DiagRecord>& records() const { return m_records; }
  SQLRETURN returnCode() const { return m_returnCode; }

 private:
  std::vector<DiagRecord> m_records;
  SQLRETURN m_returnCode = SQL_SUCCESS;
};

// Tags checked on every call, so a stray handle gives SQL_INVALID_HANDLE rather than a crash.
enum class HandleKind : uint32_t {
  Environment = 0x44584531,
  Connection = 0x44584332,
  Statement = 0x44585333,
  Descriptor = 0x44584434,
  Freed = 0,
};

struct HandleBase {
  explicit HandleBase(HandleKind k) : kind(k) {}
  ~HandleBase() { kind = HandleKind::Freed; }
  HandleKind kind;
  Diagnostics diag;
};

struct Statement;

struct Environment : HandleBase {
  Environment() : HandleBase(HandleKind::Environment) {}
  SQLINTEGER odbcVersion = SQL_OV_ODBC3;
};

struct Connection : HandleBase {
  Connection() : HandleBase(HandleKind::Connection) {}
  Environment* environment = nullptr;
  bool connected = false;
  std::string dataSource;  // DSN, empty when connected by driver name
  std::string folder;      // DEFAULTDIR: where relative table names are looked up
  std::string connectionString;
  TableFormat format;
  SQLUINTEGER autocommit = SQL_AUTOCOMMIT_ON;
  SQLUINTEGER accessMode = SQL_MODE_READ_WRITE;
  SQLUINTEGER loginTimeout = 0;
  std::vector<Statement*> statements;
};

// The descriptors an ODBC 3 driver manager asks a new statement for. Nothing reads them; they
// only need to be distinct handles.
struct Descriptor : HandleBase {
  Descriptor() : HandleBase(HandleKind::Descriptor) {}
};

struct ResultColumn {
  std::string name;
  SQLSMALLINT sqlType = SQL_VARCHAR;
  SQLULEN size = 255;
  SQLSMALLINT nullable = SQL_NULLABLE;
  std::string table;
};

// A result set held whole: text files are read at once, catalog results are small.
struct ResultSet {
  std::vector<ResultColumn> columns;
  std::vector<TableRow> rows;
  Charset charset = Charset::Utf8;
};

struct ColumnBinding {
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLPOINTER target = nullptr;
  SQLLEN bufferLength = 0;
  SQLLEN* indicator = nullptr;
};

struct ParameterBinding {
  SQLSMALLINT ioType = SQL_PARAM_INPUT;
  SQLSMALLINT cType = SQL_C_CHAR;
  SQLSMALLINT sqlType = SQL_VARCHAR;
  SQLULEN columnSize = 0;
  SQLSMALLINT digits = 0;
  SQLPOINTER value = nullptr;
  SQLLEN bufferLength = 0;
  SQLLEN* indicator = nullptr;
};

struct Statement : HandleBase {
  Statement() : HandleBase(HandleKind::Statement) {}
  Connection* connection = nullptr;

  std::optional<SqlStatement> sql;  // the prepared or last executed statement
  std::map<SQLUSMALLINT, ParameterBinding> parameters;
  std::map<SQLUSMALLINT, ColumnBinding> columns;

  std::optional<ResultSet> result;  // described (prepared SELECT) or produced by execution
  bool cursorOpen = false;
  size_t nextRow = 0;
  std::optional<size_t> currentRow;
  SQLUSMALLINT getDataColumn = 0;  // column that SQLGetData is returning in pieces
  size_t getDataOffset = 0;
  bool getDataDone = false;
  SQLLEN rowCount = -1;

  // Parameters sent with SQLParamData / SQLPutData while an execution waits for them.
  std::vector<SQLUSMALLINT> pendingParameters;
  long pendingIndex = -1;  // the one SQLPutData fills, after SQLParamData named it
  std::map<SQLUSMALLINT, std::optional<std::string>> putData;  // raw bytes in the bound C type
  bool needData = false;

  SQLULEN* rowsFetched = nullptr;
  SQLUSMALLINT* rowStatus = nullptr;
  SQLULEN maxRows = 0;
  SQLULEN queryTimeout = 0;
  SQLULEN maxLength = 0;
  SQLULEN noScan = SQL_NOSCAN_OFF;
  Descriptor appRowDescriptor, appParamDescriptor, impRowDescriptor, impParamDescriptor;
};

template <typename T>
T* HandleAs(SQLHANDLE handle, HandleKind kind) {
  auto* base = static_cast<HandleBase*>(handle);
  if (!base || base->kind != kind) return nullptr;
  return static_cast<T*>(base);
}

inline Environment* AsEnvironment(SQLHANDLE h) {
  return HandleAs<Environment>(h, HandleKind::Environment);
}
inline Connection* AsConnection(SQLHANDLE h) {
  return HandleAs<Connection>(h, HandleKind::Connection);
}
inline Statement* AsStatement(SQLHANDLE h) { return HandleAs<Statement>(h, HandleKind::Statement); }

// The handle of any of the four kinds, checked against its kind; null when it is not one.
HandleBase* AnyHandle(SQLSMALLINT type, SQLHANDLE handle);

// Closes the cursor and forgets the result rows (bindings stay).
void CloseCursor(Statement& statement);

// Makes sure a prepared SELECT knows its columns (from the file's header) before it runs.
SQLRETURN DescribeResult(Statement& statement);
