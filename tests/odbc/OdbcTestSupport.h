// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>
#include <sql.h>
#include <sqlext.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "Bytes.h"

// The driver is registered in a private unixODBC configuration folder made for each test
// program run, and reached through the real driver manager (libodbc).

inline const char kDriverName[] = "Duxel Text Driver (*.txt; *.csv)";

// The folder holding odbcinst.ini and odbc.ini of this run.
const std::string& ConfigFolder();

// A fresh empty folder for the files of the running test.
std::string TestFolder();

inline std::string S(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

struct Diag {
  std::string state;
  std::string message;
};

// Every diagnostic record of a handle, read with SQLGetDiagRec.
std::vector<Diag> Diagnostics(SQLSMALLINT type, SQLHANDLE handle);

using Row = std::vector<std::optional<std::string>>;

// One SQLFetch: its return code, the first SQLSTATE and message it left, and (when it gave a row)
// every column read with SQLGetData as SQL_C_CHAR.
struct Fetched {
  SQLRETURN rc;
  std::string state;
  std::string message;
  Row row;
};

// An ODBC 3 environment, one connection and one statement.
class Odbc {
 public:
  // Connects with SQLDriverConnect and no dialog; see rc() and connected().
  explicit Odbc(const std::string& connectionString);
  ~Odbc();
  Odbc(const Odbc&) = delete;
  Odbc& operator=(const Odbc&) = delete;

  bool connected() const { return m_connected; }
  SQLRETURN connectRc() const { return m_connectRc; }
  SQLHENV env() const { return m_env; }
  SQLHDBC dbc() const { return m_dbc; }
  SQLHSTMT stmt() const { return m_stmt; }

  SQLRETURN Exec(const std::string& sql);
  // The first SQLSTATE left on the statement, or "" when none.
  std::string StmtState() const;
  std::string StmtMessage() const;
  // Fetches until SQL_NO_DATA (at most limit fetches), reading every column with SQLGetData.
  std::vector<Fetched> FetchAll(size_t limit = 100);
  SQLRETURN Close() { return SQLFreeStmt(m_stmt, SQL_CLOSE); }

 private:
  SQLHENV m_env = SQL_NULL_HENV;
  SQLHDBC m_dbc = SQL_NULL_HDBC;
  SQLHSTMT m_stmt = SQL_NULL_HSTMT;
  bool m_connected = false;
  SQLRETURN m_connectRc = SQL_ERROR;
};

// A connection string for the driver by name, with the folder and the character set.
inline std::string DriverString(const std::string& folder, const std::string& charset) {
  return std::string("DRIVER={") + kDriverName + "};DEFAULTDIR=" + folder +
         ";CHARACTERSET=" + charset;
}

inline Row R(std::initializer_list<std::optional<std::string>> values) { return Row(values); }
