// SPDX-License-Identifier: GPL-3.0-or-later
#include "OdbcTestSupport.h"

#include <cstdlib>

namespace {

std::string g_config;

// Writes the driver's entry (with Driver= and Setup= naming the built library) and an empty
// list of data sources, and points unixODBC at them before any ODBC call is made.
class PrivateOdbcConfig : public ::testing::Environment {
 public:
  void SetUp() override {
    char folder[] = "/tmp/duxeltxt-test-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    g_config = folder;
    WriteFile(g_config + "/odbcinst.ini",
              std::string("[") + kDriverName + "]\nDescription=Duxel text files\nDriver=" +
                  DUXELTXT_LIBRARY + "\nSetup=" + DUXELTXT_LIBRARY + "\n");
    WriteFile(g_config + "/odbc.ini", "");
    setenv("ODBCSYSINI", g_config.c_str(), 1);
    setenv("ODBCINI", (g_config + "/odbc.ini").c_str(), 1);
  }
  void TearDown() override { std::filesystem::remove_all(g_config); }
};

const auto* const kRegistered = ::testing::AddGlobalTestEnvironment(new PrivateOdbcConfig);

}  // namespace

const std::string& ConfigFolder() { return g_config; }

std::string TestFolder() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  std::string folder = g_config + "/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

std::vector<Diag> Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diag> out;
  for (SQLSMALLINT i = 1;; ++i) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRec(type, handle, i, state, &native, message, sizeof message, &length);
    if (!SQL_SUCCEEDED(rc)) break;
    out.push_back({reinterpret_cast<char*>(state), reinterpret_cast<char*>(message)});
  }
  return out;
}

Odbc::Odbc(const std::string& connectionString) {
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
  SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
  SQLCHAR out[1024];
  SQLSMALLINT outLength = 0;
  m_connectRc = SQLDriverConnect(
      m_dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
      SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT);
  m_connected = SQL_SUCCEEDED(m_connectRc);
  if (m_connected) SQLAllocHandle(SQL_HANDLE_STMT, m_dbc, &m_stmt);
}

Odbc::~Odbc() {
  if (m_stmt) SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
  if (m_connected) SQLDisconnect(m_dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, m_env);
}

SQLRETURN Odbc::Exec(const std::string& sql) {
  return SQLExecDirect(m_stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
}

std::string Odbc::StmtState() const {
  auto d = Diagnostics(SQL_HANDLE_STMT, m_stmt);
  return d.empty() ? std::string() : d.front().state;
}

std::string Odbc::StmtMessage() const {
  auto d = Diagnostics(SQL_HANDLE_STMT, m_stmt);
  return d.empty() ? std::string() : d.front().message;
}

std::vector<Fetched> Odbc::FetchAll(size_t limit) {
  std::vector<Fetched> out;
  SQLSMALLINT columns = 0;
  SQLNumResultCols(m_stmt, &columns);
  for (size_t n = 0; n < limit; ++n) {
    Fetched f;
    f.rc = SQLFetch(m_stmt);
    f.state = StmtState();
    f.message = StmtMessage();
    if (f.rc == SQL_NO_DATA) break;
    if (SQL_SUCCEEDED(f.rc)) {
      for (SQLUSMALLINT c = 1; c <= columns; ++c) {
        char buffer[4096];
        SQLLEN indicator = 0;
        SQLRETURN rc = SQLGetData(m_stmt, c, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
        if (!SQL_SUCCEEDED(rc) || indicator == SQL_NULL_DATA) {
          f.row.push_back(std::nullopt);
        } else {
          f.row.push_back(std::string(buffer, static_cast<size_t>(indicator)));
        }
      }
    }
    out.push_back(std::move(f));
  }
  return out;
}
