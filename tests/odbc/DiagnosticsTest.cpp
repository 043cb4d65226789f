// SPDX-License-Identifier: GPL-3.0-or-later
// Errors a client can read: SQLSTATEs and messages for bad statements and bad files.
#include "OdbcTestSupport.h"

namespace {

struct StatementCase {
  std::string sql;
  std::string state;
  std::string messagePart;
};

TEST(Diagnostics, BadStatementsGiveTheirSqlState) {
  std::string folder = TestFolder();
  WriteFile(folder + "/t.csv", "a,b\r\n1,2\r\n");
  Odbc odbc(DriverString(folder, "ANSI"));
  ASSERT_TRUE(odbc.connected());
  const std::vector<StatementCase> cases = {
      {"UPDATE t.csv SET a = 1", "42000", "knows CREATE TABLE, DROP TABLE, INSERT INTO and SELECT"},
      {"SELECT * t.csv", "42000", "SELECT needs"},
      {"CREATE TABLE n.csv", "42000", "CREATE TABLE needs"},
      {"CREATE TABLE n.csv (a)", "42000", "column definition \"a\""},
      {"CREATE TABLE n.csv (a BLOB)", "42000", "column definition \"a BLOB\""},
      {"CREATE TABLE n.csv (a CHAR, A CHAR)", "42S21", "defined twice"},
      {"CREATE TABLE t.csv (a CHAR)", "42S01", "exists already"},
      {"INSERT t.csv VALUES (1)", "42000", "INTO"},
      {"INSERT INTO t.csv (a, b) VALUES (1, x)", "42000", "value \"x\""},
      {"INSERT INTO t.csv (a, b) VALUES ('1')", "21S01", "1 values for 2 columns"},
      {"INSERT INTO t.csv VALUES ('1', '2', '3')", "21S01", "3 values for 2 columns"},
      {"INSERT INTO t.csv (a, a) VALUES ('1', '2')", "42000", "named twice"},
      {"INSERT INTO t.csv (a, c) VALUES ('1', '2')", "42S22", "Column \"c\" not found"},
      {"INSERT INTO t.csv (a) VALUES (?)", "07002", "parameter 1 is not bound"},
      {"SELECT a, x FROM t.csv", "42S22", "Column \"x\" not found"},
      {"SELECT * FROM " + folder + "/missing.csv", "42S02",
       "Table file \"" + folder + "/missing.csv\" not found"},
      {"SELECT * FROM t.csv WHERE a = 1", "42S02", "\"" + folder + "/t.csv WHERE a = 1\""},
      {"INSERT INTO missing.csv VALUES ('1')", "42S02", "not found"},
      {"DROP TABLE missing.csv", "42S02", "not found"},
      {"DROP TABLE " + folder, "42S02", "not found"},  // a folder is no table
  };
  for (const StatementCase& c : cases) {
    EXPECT_EQ(odbc.Exec(c.sql), SQL_ERROR) << c.sql;
    auto diags = Diagnostics(SQL_HANDLE_STMT, odbc.stmt());
    ASSERT_EQ(diags.size(), 1u) << c.sql;
    EXPECT_EQ(diags[0].state, c.state) << c.sql;
    EXPECT_NE(diags[0].message.find(c.messagePart), std::string::npos)
        << c.sql << ": " << diags[0].message;
    EXPECT_EQ(diags[0].message.rfind("[Duxel][Text Driver]", 0), 0u) << diags[0].message;
    odbc.Close();
  }
  EXPECT_EQ(ReadFile(folder + "/t.csv"), "a,b\r\n1,2\r\n");  // nothing was written
}

TEST(Diagnostics, GetDiagFieldGivesTheSameRecord) {
  Odbc odbc(DriverString(TestFolder(), "ANSI"));
  ASSERT_EQ(odbc.Exec("SELECT * FROM nowhere.csv"), SQL_ERROR);
  SQLINTEGER number = 0;
  ASSERT_EQ(SQLGetDiagField(SQL_HANDLE_STMT, odbc.stmt(), 0, SQL_DIAG_NUMBER, &number, 0, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(number, 1);
  char state[6] = {};
  SQLSMALLINT length = 0;
  ASSERT_EQ(SQLGetDiagField(SQL_HANDLE_STMT, odbc.stmt(), 1, SQL_DIAG_SQLSTATE, state, sizeof state,
                            &length),
            SQL_SUCCESS);
  EXPECT_EQ(std::string(state), "42S02");
  char message[512] = {};
  ASSERT_EQ(SQLGetDiagField(SQL_HANDLE_STMT, odbc.stmt(), 1, SQL_DIAG_MESSAGE_TEXT, message,
                            sizeof message, &length),
            SQL_SUCCESS);
  EXPECT_EQ(std::string(message), Diagnostics(SQL_HANDLE_STMT, odbc.stmt()).at(0).message);
  EXPECT_EQ(SQLGetDiagRec(SQL_HANDLE_STMT, odbc.stmt(), 2, (SQLCHAR*)state, nullptr,
                          (SQLCHAR*)message, sizeof message, &length),
            SQL_NO_DATA);
}

// One fetch of a malformed file: its return code, its SQLSTATE ("" when none) and its row.
struct Step {
  SQLRETURN rc;
  std::string state;
  Row row;
};

struct MalformedCase {
  const char* name;
  const char* charset;
  std::string file;
  std::vector<Step> steps;       // every fetch up to SQL_NO_DATA (not listed)
  std::string messagePart = {};  // in the first error's message
};

void PrintTo(const MalformedCase& c, std::ostream* os) { *os << c.name; }

class MalformedCsv : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedCsv, GivesDiagnosticsAndKeepsTheGoodRows) {
  const MalformedCase& c = GetParam();
  std::string folder = TestFolder();
  WriteFile(folder + "/bad.csv", c.file);
  Odbc odbc(DriverString(folder, c.charset));
  ASSERT_EQ(odbc.Exec("SELECT * FROM bad.csv"), SQL_SUCCESS) << odbc.StmtMessage();
  std::vector<Step> steps;
  std::string firstError;
  for (const Fetched& f : odbc.FetchAll()) {
    steps.push_back({f.rc, f.state, f.row});
    if (f.rc == SQL_ERROR && firstError.empty()) firstError = f.message;
  }
  ASSERT_EQ(steps.size(), c.steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    EXPECT_EQ(steps[i].rc, c.steps[i].rc) << "fetch " << i;
    EXPECT_EQ(steps[i].state, c.steps[i].state) << "fetch " << i;
    EXPECT_EQ(steps[i].row, c.steps[i].row) << "fetch " << i;
  }
  EXPECT_NE(firstError.find(c.messagePart), std::string::npos) << firstError;
}

const Step kError{SQL_ERROR, "HY000", {}};
const Step kBadBytes{SQL_ERROR, "22021", {}};

INSTANTIATE_TEST_SUITE_P(
    Files, MalformedCsv,
    ::testing::Values(
        MalformedCase{"UnterminatedQuote",
                      "ANSI",
                      "a,b\r\n1,2\r\n\"3,4\r\n5,6\r\n",
                      {{SQL_SUCCESS, "", R({"1", "2"})}, kError},
                      "line 3 is never closed"},
        MalformedCase{"RowWithMoreFields",
                      "ANSI",
                      "a,b\r\n1,2,3\r\n4,5\r\n",
                      {kError, {SQL_SUCCESS, "", R({"4", "5"})}},
                      "line 2: the row has 3 fields but the header 2 columns"},
        MalformedCase{"RowWithEmptySurplusFields",
                      "ANSI",
                      "a,b\r\n1,2,,\r\n",
                      {{SQL_SUCCESS_WITH_INFO, "01000", R({"1", "2"})}}},
        MalformedCase{"RowWithFewerFields",
                      "ANSI",
                      "a,b,c\r\n1\r\n4,5,6\r\n",
                      {{SQL_SUCCESS_WITH_INFO, "01000", R({"1", std::nullopt, std::nullopt})},
                       {SQL_SUCCESS, "", R({"4", "5", "6"})}}},
        MalformedCase{"UnassignedWindows1250Byte",
                      "ANSI",
                      "a\r\nok\r\nx\x81y\r\nz\r\n",
                      {{SQL_SUCCESS, "", R({"ok"})}, kBadBytes, {SQL_SUCCESS, "", R({"z"})}},
                      "line 3: column \"a\" holds bytes that are not Windows-1250"},
        MalformedCase{"InvalidUtf8",
                      "UTF8",
                      "a\r\n\xC3\x28\r\n\xC3\xA1\r\n",
                      {kBadBytes, {SQL_SUCCESS, "", R({"\xC3\xA1"})}},
                      "are not UTF-8 (CHARACTERSET=UTF8) text"},
        MalformedCase{"NulByte", "UTF8", std::string("a\r\nx\0y\r\n", 8), {kBadBytes}},
        MalformedCase{"QuoteInsideAField",
                      "UTF8",
                      "a\r\nsaid \"hi\"\r\n",
                      {{SQL_SUCCESS, "", R({"said \"hi\""})}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Diagnostics, FilesWithoutAUsableHeaderCannotBeSelected) {
  std::string folder = TestFolder();
  struct Case {
    const char* charset;
    std::string file;
    std::string state;
    std::string messagePart;
  };
  const std::vector<Case> cases = {
      {"ANSI", "", "HY000", "has no header line"},
      {"ANSI", "\r\n\r\n", "HY000", "has no header line"},
      {"ANSI", "\"a,b\r\n", "HY000", "line 1 is never closed"},
      {"UTF8", "\xFF" "a,b\r\n", "22021", "the name of column 1"},
  };
  for (const Case& c : cases) {
    WriteFile(folder + "/h.csv", c.file);
    Odbc odbc(DriverString(folder, c.charset));
    EXPECT_EQ(odbc.Exec("SELECT * FROM h.csv"), SQL_ERROR) << c.file;
    EXPECT_EQ(odbc.StmtState(), c.state) << c.file;
    EXPECT_NE(odbc.StmtMessage().find(c.messagePart), std::string::npos) << odbc.StmtMessage();
    odbc.Close();
    EXPECT_EQ(odbc.Exec("INSERT INTO h.csv VALUES ('1')"), SQL_ERROR) << c.file;
    EXPECT_EQ(odbc.StmtState(), c.state) << c.file;
  }
}

TEST(Diagnostics, TextOutsideTheCharacterSetIsNotWritten) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "UTF8"));
  ASSERT_EQ(odbc.Exec("CREATE TABLE t.csv (a CHAR)"), SQL_SUCCESS);
  char latin2[] =
      "\xE8"
      "ern\xE1";  // Windows-1250 bytes are no UTF-8
  SQLLEN indicator = SQL_NTS;
  SQLBindParameter(odbc.stmt(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, latin2,
                   sizeof latin2, &indicator);
  EXPECT_EQ(odbc.Exec("INSERT INTO t.csv VALUES (?)"), SQL_ERROR);
  EXPECT_EQ(odbc.StmtState(), "22021");
  EXPECT_EQ(ReadFile(folder + "/t.csv"), "a\r\n");
}

TEST(Diagnostics, FetchWithoutAResultIsACursorError) {
  Odbc odbc(DriverString(TestFolder(), "ANSI"));
  EXPECT_EQ(SQLFetch(odbc.stmt()), SQL_ERROR);
  EXPECT_EQ(odbc.StmtState(), "HY010");  // the driver manager catches it first
}

}  // namespace
