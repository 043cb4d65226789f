// SPDX-License-Identifier: GPL-3.0-or-later
// Registration, data sources, connecting, and what the driver reports about itself.
#include <odbcinst.h>

#include <cstring>

#include "OdbcTestSupport.h"

namespace {

std::string ProfileValue(const char* section, const char* key) {
  char value[512] = {};
  SQLGetPrivateProfileString(section, key, "", value, sizeof value, "odbc.ini");
  return value;
}

// The data source the program adds for an exchange, attribute list as the installer takes it.
const char kDuxel39[] = "DSN=Duxel39\0OEMTOANSI=YES\0CHARACTERSET=ANSI\0FORMAT=CSVDELIMITED\0";

TEST(DriverManager, ListsTheDriverAmongInstalledDrivers) {
  char list[5120] = {};
  WORD length = 0;
  ASSERT_TRUE(SQLGetInstalledDrivers(list, sizeof list, &length));
  std::vector<std::string> names;
  for (const char* p = list; *p; p += std::strlen(p) + 1) names.push_back(p);
  EXPECT_EQ(names, std::vector<std::string>{kDriverName});
}

TEST(DriverManager, ConfigDataSourceAddsAndRemovesTheDuxel39Source) {
  std::string folder = TestFolder();
  ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, kDriverName, kDuxel39));
  EXPECT_EQ(ProfileValue("Duxel39", "Driver"), kDriverName);
  EXPECT_EQ(ProfileValue("Duxel39", "OEMTOANSI"), "YES");
  EXPECT_EQ(ProfileValue("Duxel39", "CHARACTERSET"), "ANSI");
  EXPECT_EQ(ProfileValue("Duxel39", "FORMAT"), "CSVDELIMITED");

  {
    // The program's connection string, without a dialog; the source's ANSI character set
    // applies: Windows-1250 bytes pass through to the file unchanged.
    Odbc odbc("DSN=Duxel39;UID=;PWD=");
    ASSERT_TRUE(odbc.connected()) << Diagnostics(SQL_HANDLE_DBC, odbc.dbc()).front().message;
    char dsn[64] = {};
    SQLSMALLINT length = 0;
    ASSERT_EQ(SQLGetInfo(odbc.dbc(), SQL_DATA_SOURCE_NAME, dsn, sizeof dsn, &length), SQL_SUCCESS);
    EXPECT_EQ(std::string(dsn), "Duxel39");
    std::string path = folder + "/a.csv";
    ASSERT_EQ(odbc.Exec("CREATE TABLE " + path + " (Jm\xE9no VARCHAR(200))"), SQL_SUCCESS);
    ASSERT_EQ(odbc.Exec("INSERT INTO " + path + " VALUES ('\x8Elu\x9Dou\xE8k\xFD')"), SQL_SUCCESS);
    EXPECT_EQ(ReadFile(path), S(H("4A 6D E9 6E 6F 0D 0A"                  // Jméno CR LF
                                  "8E 6C 75 9D 6F 75 E8 6B FD 0D 0A")));  // Žluťoučký CR LF
  }

  // Adding it again replaces it rather than failing.
  ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, kDriverName, kDuxel39));
  ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_REMOVE_DSN, kDriverName, "DSN=Duxel39\0"));
  EXPECT_EQ(ProfileValue("Duxel39", "Driver"), "");
  EXPECT_EQ(ReadFile(ConfigFolder() + "/odbc.ini").find("[Duxel39]"), std::string::npos);
}

TEST(DriverManager, ConfigDataSourceWithoutDsnFails) {
  EXPECT_FALSE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, kDriverName, "CHARACTERSET=ANSI\0"));
}

TEST(DriverManager, SqlConnectReadsTheDataSourceAttributes) {
  std::string folder = TestFolder();
  std::string list = std::string("DSN=Tabs") + '\0' + "DEFAULTDIR=" + folder + '\0' +
                     "FORMAT=TABDELIMITED" + '\0' + "CHARACTERSET=UTF8" + '\0' + '\0';
  ASSERT_TRUE(SQLConfigDataSource(nullptr, ODBC_ADD_DSN, kDriverName, list.c_str()));

  SQLHENV env;
  SQLHDBC dbc;
  SQLHSTMT stmt;
  SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
  ASSERT_EQ(
      SQLConnect(dbc, (SQLCHAR*)"Tabs", SQL_NTS, (SQLCHAR*)"", SQL_NTS, (SQLCHAR*)"", SQL_NTS),
      SQL_SUCCESS);
  SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);
  // A relative table name is looked up in DEFAULTDIR.
  EXPECT_EQ(SQLExecDirect(stmt, (SQLCHAR*)"CREATE TABLE t.txt (a CHAR, b CHAR)", SQL_NTS),
            SQL_SUCCESS);
  EXPECT_EQ(SQLExecDirect(stmt, (SQLCHAR*)"INSERT INTO t.txt VALUES ('x,y', 'Ž')", SQL_NTS),
            SQL_SUCCESS);
  EXPECT_EQ(ReadFile(folder + "/t.txt"), S(H("61 09 62 0D 0A"               // a TAB b
                                             "78 2C 79 09 C5 BD 0D 0A")));  // x,y TAB Ž
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  SQLConfigDataSource(nullptr, ODBC_REMOVE_DSN, kDriverName, "DSN=Tabs\0");
}

TEST(DriverManager, BadConnectionAttributesAreRefused) {
  std::string folder = TestFolder();
  struct Case {
    std::string attributes;
    std::string state;
  };
  std::vector<Case> cases = {
      {"CHARACTERSET=OEM", "HY024"},
      {"FORMAT=FIXEDLENGTH", "HY024"},
      {"DEFAULTDIR=" + folder + "/none", "HY024"},
  };
  for (const Case& c : cases) {
    Odbc odbc(std::string("DRIVER={") + kDriverName + "};" + c.attributes);
    EXPECT_FALSE(odbc.connected()) << c.attributes;
    auto diags = Diagnostics(SQL_HANDLE_DBC, odbc.dbc());
    ASSERT_FALSE(diags.empty()) << c.attributes;
    EXPECT_EQ(diags.front().state, c.state) << c.attributes;
  }
}

TEST(DriverManager, FunctionsAreReportedTruthfully) {
  Odbc odbc(DriverString(TestFolder(), "ANSI"));
  ASSERT_TRUE(odbc.connected());
  struct Case {
    SQLUSMALLINT function;
    SQLUSMALLINT supported;
  };
  const Case cases[] = {
      {SQL_API_SQLBINDPARAMETER, SQL_TRUE}, {SQL_API_SQLPREPARE, SQL_TRUE},
      {SQL_API_SQLEXECUTE, SQL_TRUE},       {SQL_API_SQLGETTYPEINFO, SQL_TRUE},
      {SQL_API_SQLDESCRIBECOL, SQL_TRUE},   {SQL_API_SQLGETDIAGFIELD, SQL_TRUE},
      {SQL_API_SQLPUTDATA, SQL_TRUE},       {SQL_API_SQLSETPOS, SQL_FALSE},
      {SQL_API_SQLPRIMARYKEYS, SQL_FALSE},  {SQL_API_SQLBULKOPERATIONS, SQL_FALSE},
  };
  for (const Case& c : cases) {
    SQLUSMALLINT supported = 99;
    ASSERT_EQ(SQLGetFunctions(odbc.dbc(), c.function, &supported), SQL_SUCCESS);
    EXPECT_EQ(supported, c.supported) << "function " << c.function;
  }
}

TEST(DriverManager, InfoNamesTheDriverAndItsLimits) {
  Odbc odbc(DriverString(TestFolder(), "UTF8"));
  ASSERT_TRUE(odbc.connected());
  auto text = [&](SQLUSMALLINT type) {
    char value[256] = {};
    SQLSMALLINT length = 0;
    EXPECT_EQ(SQLGetInfo(odbc.dbc(), type, value, sizeof value, &length), SQL_SUCCESS) << type;
    return std::string(value);
  };
  auto small = [&](SQLUSMALLINT type) {
    SQLUSMALLINT value = 9999;
    EXPECT_EQ(SQLGetInfo(odbc.dbc(), type, &value, sizeof value, nullptr), SQL_SUCCESS) << type;
    return value;
  };
  EXPECT_EQ(text(SQL_DRIVER_NAME), "libduxeltxt.so");
  EXPECT_EQ(text(SQL_DRIVER_ODBC_VER), "03.00");
  EXPECT_EQ(text(SQL_DBMS_NAME), "Duxel Text");
  EXPECT_EQ(text(SQL_IDENTIFIER_QUOTE_CHAR), "\"");
  EXPECT_EQ(small(SQL_TXN_CAPABLE), SQL_TC_NONE);
  EXPECT_EQ(small(SQL_FILE_USAGE), SQL_FILE_TABLE);
  EXPECT_EQ(small(SQL_MAX_TABLES_IN_SELECT), 1);
  SQLUINTEGER getData = 0;
  ASSERT_EQ(SQLGetInfo(odbc.dbc(), SQL_GETDATA_EXTENSIONS, &getData, sizeof getData, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(getData, SQLUINTEGER(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND));
}

TEST(DriverManager, AutocommitStaysOnWithAWarning) {
  Odbc odbc(DriverString(TestFolder(), "UTF8"));
  ASSERT_TRUE(odbc.connected());
  EXPECT_EQ(SQLSetConnectAttr(odbc.dbc(), SQL_ATTR_AUTOCOMMIT,
                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
            SQL_SUCCESS_WITH_INFO);
  auto diags = Diagnostics(SQL_HANDLE_DBC, odbc.dbc());
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].state, "01S02");
  SQLUINTEGER autocommit = 99;
  ASSERT_EQ(SQLGetConnectAttr(odbc.dbc(), SQL_ATTR_AUTOCOMMIT, &autocommit, 0, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(autocommit, SQLUINTEGER(SQL_AUTOCOMMIT_ON));
  EXPECT_EQ(SQLEndTran(SQL_HANDLE_DBC, odbc.dbc(), SQL_COMMIT), SQL_SUCCESS);
}

// The program binds columns 1 to 3 of the type information (name up to 127 characters, data
// type and column size as 16-bit numbers) and fetches one row.
TEST(TypeInfo, VarcharAndCharServeTheProgramsBinding) {
  Odbc odbc(DriverString(TestFolder(), "ANSI"));
  ASSERT_TRUE(odbc.connected());
  struct Case {
    SQLSMALLINT asked;
    std::vector<std::string> names;
    std::vector<SQLSMALLINT> types;
  };
  const std::vector<Case> cases = {
      {SQL_VARCHAR, {"VARCHAR"}, {SQL_VARCHAR}},
      {SQL_CHAR, {"CHAR"}, {SQL_CHAR}},
      {SQL_ALL_TYPES, {"CHAR", "VARCHAR"}, {SQL_CHAR, SQL_VARCHAR}},
      {SQL_INTEGER, {}, {}},
      {SQL_WVARCHAR, {}, {}},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(SQLGetTypeInfo(odbc.stmt(), c.asked), SQL_SUCCESS) << c.asked;
    char name[128];
    SQLSMALLINT type = 0, size = 0;
    SQLLEN nameLength = 0, typeLength = 0, sizeLength = 0;
    SQLBindCol(odbc.stmt(), 1, SQL_C_CHAR, name, sizeof name, &nameLength);
    SQLBindCol(odbc.stmt(), 2, SQL_C_SHORT, &type, sizeof type, &typeLength);
    SQLBindCol(odbc.stmt(), 3, SQL_C_SHORT, &size, sizeof size, &sizeLength);
    std::vector<std::string> names;
    std::vector<SQLSMALLINT> types;
    while (SQLFetch(odbc.stmt()) == SQL_SUCCESS) {
      names.push_back(name);
      types.push_back(type);
      EXPECT_EQ(size, 255);
      EXPECT_EQ(typeLength, SQLLEN(sizeof(SQLSMALLINT)));
    }
    EXPECT_EQ(names, c.names) << c.asked;
    EXPECT_EQ(types, c.types) << c.asked;
    SQLFreeStmt(odbc.stmt(), SQL_UNBIND);
    odbc.Close();
  }
}

TEST(TypeInfo, HasTheNineteenStandardColumns) {
  Odbc odbc(DriverString(TestFolder(), "ANSI"));
  ASSERT_TRUE(odbc.connected());
  ASSERT_EQ(SQLGetTypeInfo(odbc.stmt(), SQL_VARCHAR), SQL_SUCCESS);
  auto rows = odbc.FetchAll();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].row, R({"VARCHAR", "12", "255", "'", "'", "max length", "1", "1", "0",
                            std::nullopt, "0", std::nullopt, "VARCHAR", std::nullopt, std::nullopt,
                            "12", std::nullopt, std::nullopt, std::nullopt}));
}

}  // namespace
