// SPDX-License-Identifier: GPL-3.0-or-later
// Creating, filling and reading tables as the program and ordinary clients do.
#include <cstring>

#include "OdbcTestSupport.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

// Export as the program runs it: DROP (result ignored), CREATE with VARCHAR(200) columns joined
// by ",", a prepared INSERT with "?," markers, one 200-byte character buffer per column bound
// with SQLBindParameter, and one execution per record.
void ExportLikeTheProgram(Odbc& odbc, const std::string& path,
                          const std::vector<std::string>& columns, const Rows& rows) {
  odbc.Exec("DROP TABLE " + path);
  std::string create = "CREATE TABLE " + path + " (";
  std::string insert = "INSERT INTO " + path + " (";
  std::string markers;
  for (size_t i = 0; i < columns.size(); ++i) {
    create += (i ? "," : "") + columns[i] + " VARCHAR(200)";
    insert += (i ? ", " : "") + columns[i];
    markers += i + 1 < columns.size() ? "?," : "?)";
  }
  ASSERT_EQ(odbc.Exec(create + ")"), SQL_SUCCESS) << odbc.StmtMessage();
  ASSERT_EQ(SQLPrepare(odbc.stmt(), (SQLCHAR*)(insert + ") VALUES (" + markers).c_str(), SQL_NTS),
            SQL_SUCCESS)
      << odbc.StmtMessage();
  std::vector<std::vector<char>> buffers(columns.size(), std::vector<char>(200, 0));
  std::vector<SQLLEN> indicators(columns.size(), SQL_NTS);
  for (size_t i = 0; i < columns.size(); ++i) {
    ASSERT_EQ(SQLBindParameter(odbc.stmt(), SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                               SQL_VARCHAR, 200, 0, buffers[i].data(), 200, &indicators[i]),
              SQL_SUCCESS);
  }
  for (const auto& row : rows) {
    for (size_t i = 0; i < columns.size(); ++i) {
      std::fill(buffers[i].begin(), buffers[i].end(), 0);
      std::memcpy(buffers[i].data(), row[i].data(), std::min<size_t>(row[i].size(), 199));
    }
    ASSERT_EQ(SQLExecute(odbc.stmt()), SQL_SUCCESS) << odbc.StmtMessage();
    SQLLEN count = -1;
    SQLRowCount(odbc.stmt(), &count);
    EXPECT_EQ(count, 1);
  }
  SQLFreeStmt(odbc.stmt(), SQL_RESET_PARAMS);
}

// Import as the program runs it: the file's column names from SELECT *, then a SELECT of those
// names with one bound 200-byte buffer per column, fetched to the end.
Rows ImportLikeTheProgram(Odbc& odbc, const std::string& path, std::vector<std::string>& names) {
  EXPECT_EQ(odbc.Exec("SELECT * FROM " + path), SQL_SUCCESS) << odbc.StmtMessage();
  SQLSMALLINT count = 0;
  EXPECT_EQ(SQLNumResultCols(odbc.stmt(), &count), SQL_SUCCESS);
  names.clear();
  for (SQLUSMALLINT c = 1; c <= count; ++c) {
    char name[129] = {};
    SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    EXPECT_EQ(SQLDescribeCol(odbc.stmt(), c, (SQLCHAR*)name, sizeof name, &length, &type, &size,
                             &digits, &nullable),
              SQL_SUCCESS);
    EXPECT_EQ(type, SQL_VARCHAR);
    names.push_back(name);
  }
  odbc.Close();
  std::string select = "SELECT ";
  for (size_t i = 0; i < names.size(); ++i) select += (i ? ", " : "") + names[i];
  EXPECT_EQ(odbc.Exec(select + " FROM " + path), SQL_SUCCESS) << odbc.StmtMessage();
  std::vector<std::vector<char>> buffers(names.size(), std::vector<char>(200, 0));
  std::vector<SQLLEN> indicators(names.size(), 0);
  for (size_t i = 0; i < names.size(); ++i) {
    SQLBindCol(odbc.stmt(), SQLUSMALLINT(i + 1), SQL_C_CHAR, buffers[i].data(), 200,
               &indicators[i]);
  }
  Rows rows;
  SQLRETURN rc;
  while ((rc = SQLFetch(odbc.stmt())) == SQL_SUCCESS) {
    std::vector<std::string> row;
    for (size_t i = 0; i < names.size(); ++i) {
      row.push_back(indicators[i] == SQL_NULL_DATA ? "<null>" : buffers[i].data());
    }
    rows.push_back(row);
  }
  EXPECT_EQ(rc, SQL_NO_DATA) << odbc.StmtMessage();
  SQLFreeStmt(odbc.stmt(), SQL_UNBIND);
  odbc.Close();
  return rows;
}

const std::vector<std::string> kColumns = {"Jmeno", "Telefon", "Adresa"};

// Czech text with a comma, quotes, an empty field, a line break and a lone blank.
const Rows kAnsiRows = {
    {"\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2", "+420 123", "Dlouh\xE1 5, Praha"},
    {"Karel \"K\xE1ja\"", "",
     "\xC8"
     "ern\xE1 1\r\nBrno"},
    {" ", "1", "x"},
};
const Rows kUtf8Rows = {
    {"Žluťoučký kůň", "+420 123", "Dlouhá 5, Praha"},
    {"Karel \"Kája\"", "", "Černá 1\r\nBrno"},
    {" ", "1", "x"},
};

const std::string kAnsiFile =
    S(H("4A 6D 65 6E 6F 2C 54 65 6C 65 66 6F 6E 2C 41 64 72 65 73 61 0D 0A"  // Jmeno,Telefon,Adresa
        "8E 6C 75 9D 6F 75 E8 6B FD 20 6B F9 F2 2C"                          // Žluťoučký kůň,
        "2B 34 32 30 20 31 32 33 2C"                                         // +420 123,
        "22 44 6C 6F 75 68 E1 20 35 2C 20 50 72 61 68 61 22 0D 0A"           // "Dlouhá 5, Praha"
        "22 4B 61 72 65 6C 20 22 22 4B E1 6A 61 22 22 22 2C 2C"              // "Karel ""Kája""",,
        "22 C8 65 72 6E E1 20 31 0D 0A 42 72 6E 6F 22 0D 0A"  // "Černá 1 CR LF Brno"
        "22 20 22 2C 31 2C 78 0D 0A"));                       // " ",1,x

const std::string kUtf8File =
    S(H("4A 6D 65 6E 6F 2C 54 65 6C 65 66 6F 6E 2C 41 64 72 65 73 61 0D 0A"  // Jmeno,Telefon,Adresa
        "C5 BD 6C 75 C5 A5 6F 75 C4 8D 6B C3 BD 20 6B C5 AF C5 88 2C"        // Žluťoučký kůň,
        "2B 34 32 30 20 31 32 33 2C"                                         // +420 123,
        "22 44 6C 6F 75 68 C3 A1 20 35 2C 20 50 72 61 68 61 22 0D 0A"        // "Dlouhá 5, Praha"
        "22 4B 61 72 65 6C 20 22 22 4B C3 A1 6A 61 22 22 22 2C 2C"           // "Karel ""Kája""",,
        "22 C4 8C 65 72 6E C3 A1 20 31 0D 0A 42 72 6E 6F 22 0D 0A"  // "Černá 1 CR LF Brno"
        "22 20 22 2C 31 2C 78 0D 0A"));                             // " ",1,x

struct CharsetCase {
  const char* charset;
  const Rows* rows;
  const std::string* file;
};

class ProgramExchange : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(ProgramExchange, ExportWritesTheFileByteForByte) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, GetParam().charset));
  ASSERT_TRUE(odbc.connected());
  std::string path = folder + "/telefony.csv";
  ExportLikeTheProgram(odbc, path, kColumns, *GetParam().rows);
  EXPECT_EQ(ReadFile(path), *GetParam().file);

  // Exporting again replaces the file (DROP removes it first).
  ExportLikeTheProgram(odbc, path, kColumns, *GetParam().rows);
  EXPECT_EQ(ReadFile(path), *GetParam().file);
}

TEST_P(ProgramExchange, ImportReadsTheFileBack) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, GetParam().charset));
  ASSERT_TRUE(odbc.connected());
  std::string path = folder + "/telefony.csv";
  WriteFile(path, *GetParam().file);
  std::vector<std::string> names;
  EXPECT_EQ(ImportLikeTheProgram(odbc, path, names), *GetParam().rows);
  EXPECT_EQ(names, kColumns);
}

INSTANTIATE_TEST_SUITE_P(Charsets, ProgramExchange,
                         ::testing::Values(CharsetCase{"ANSI", &kAnsiRows, &kAnsiFile},
                                           CharsetCase{"UTF8", &kUtf8Rows, &kUtf8File}),
                         [](const auto& info) { return std::string(info.param.charset); });

TEST(Exchange, DefaultCharacterSetIsUtf8) {
  std::string folder = TestFolder();
  Odbc odbc(std::string("DRIVER={") + kDriverName + "};DEFAULTDIR=" + folder);
  ASSERT_TRUE(odbc.connected());
  ASSERT_EQ(odbc.Exec("CREATE TABLE d.csv (a CHAR)"), SQL_SUCCESS);
  ASSERT_EQ(odbc.Exec("INSERT INTO d.csv VALUES ('ů')"), SQL_SUCCESS);
  EXPECT_EQ(ReadFile(folder + "/d.csv"), S(H("61 0D 0A C5 AF 0D 0A")));
}

TEST(Exchange, BoundColumnsTruncateWithAWarning) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "ANSI"));
  WriteFile(folder + "/t.csv", "a,b\r\n0123456789,x\r\n");
  ASSERT_EQ(odbc.Exec("SELECT a, b FROM t.csv"), SQL_SUCCESS);
  char a[5], b[5];
  SQLLEN aLength = 0, bLength = 0;
  SQLBindCol(odbc.stmt(), 1, SQL_C_CHAR, a, sizeof a, &aLength);
  SQLBindCol(odbc.stmt(), 2, SQL_C_CHAR, b, sizeof b, &bLength);
  EXPECT_EQ(SQLFetch(odbc.stmt()), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(odbc.StmtState(), "01004");
  EXPECT_EQ(std::string(a), "0123");
  EXPECT_EQ(aLength, 10);
  EXPECT_EQ(std::string(b), "x");
  EXPECT_EQ(bLength, 1);
  EXPECT_EQ(SQLFetch(odbc.stmt()), SQL_NO_DATA);
}

TEST(Exchange, GetDataReturnsLongValuesInPieces) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "ANSI"));
  WriteFile(folder + "/t.csv", "a\r\nabcdefghij\r\n");
  ASSERT_EQ(odbc.Exec("SELECT * FROM t.csv"), SQL_SUCCESS);
  ASSERT_EQ(SQLFetch(odbc.stmt()), SQL_SUCCESS);
  struct Piece {
    SQLRETURN rc;
    std::string text;
    SQLLEN indicator;
  };
  std::vector<Piece> pieces;
  for (int i = 0; i < 6; ++i) {
    char buffer[4] = {};
    SQLLEN indicator = -7;
    SQLRETURN rc = SQLGetData(odbc.stmt(), 1, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
    pieces.push_back({rc, rc == SQL_NO_DATA ? "" : buffer, rc == SQL_NO_DATA ? -7 : indicator});
    if (rc == SQL_NO_DATA) break;
  }
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[0].rc, SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(pieces[0].text + "|" + pieces[1].text + "|" + pieces[2].text + "|" + pieces[3].text,
            "abc|def|ghi|j");
  EXPECT_EQ(std::vector<SQLLEN>({pieces[0].indicator, pieces[1].indicator, pieces[2].indicator,
                                 pieces[3].indicator}),
            std::vector<SQLLEN>({10, 7, 4, 1}));
  EXPECT_EQ(pieces[3].rc, SQL_SUCCESS);
  EXPECT_EQ(pieces[4].rc, SQL_NO_DATA);
}

TEST(Exchange, WideCharactersAreConvertedForUnicodeClients) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "ANSI"));
  WriteFile(folder + "/t.csv", S(H("61 0D 0A 8E 6C 75 9D 0D 0A")));  // a / Žluť
  ASSERT_EQ(odbc.Exec("SELECT a FROM t.csv"), SQL_SUCCESS);
  ASSERT_EQ(SQLFetch(odbc.stmt()), SQL_SUCCESS);
  SQLWCHAR first[3] = {}, second[3] = {};
  SQLLEN length1 = 0, length2 = 0;
  EXPECT_EQ(SQLGetData(odbc.stmt(), 1, SQL_C_WCHAR, first, sizeof first, &length1),
            SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(SQLGetData(odbc.stmt(), 1, SQL_C_WCHAR, second, sizeof second, &length2), SQL_SUCCESS);
  EXPECT_EQ(std::vector<SQLWCHAR>({first[0], first[1], first[2], second[0], second[1], second[2]}),
            std::vector<SQLWCHAR>({0x017D, 'l', 0, 'u', 0x0165, 0}));
  EXPECT_EQ(length1, 8);
  EXPECT_EQ(length2, 4);
  odbc.Close();

  // UTF-16 parameters are written in the file's character set.
  struct Case {
    const char* charset;
    std::u16string text;
    SQLRETURN rc;
    std::string file;
  };
  const std::vector<Case> cases = {
      {"ANSI", u"Kůň", SQL_SUCCESS, S(H("61 0D 0A 4B F9 F2 0D 0A"))},
      {"UTF8", u"Kůň", SQL_SUCCESS, S(H("61 0D 0A 4B C5 AF C5 88 0D 0A"))},
      {"ANSI", u"\u4E2D", SQL_ERROR, S(H("61 0D 0A"))},  // no place in Windows-1250
      {"UTF8", u"\u4E2D", SQL_SUCCESS, S(H("61 0D 0A E4 B8 AD 0D 0A"))},
  };
  for (const Case& c : cases) {
    Odbc wide(DriverString(folder, c.charset));
    wide.Exec("DROP TABLE w.csv");
    ASSERT_EQ(wide.Exec("CREATE TABLE w.csv (a VARCHAR(10))"), SQL_SUCCESS);
    std::u16string value = c.text;
    SQLLEN indicator = SQL_NTS;
    SQLBindParameter(wide.stmt(), 1, SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR, 10, 0,
                     value.data(), 0, &indicator);
    EXPECT_EQ(wide.Exec("INSERT INTO w.csv (a) VALUES (?)"), c.rc) << c.charset;
    if (c.rc == SQL_ERROR) {
      EXPECT_EQ(wide.StmtState(), "22021");
    }
    EXPECT_EQ(ReadFile(folder + "/w.csv"), c.file) << c.charset;
  }
}

TEST(Exchange, SetParamOfOdbcOneWorksThroughTheDriverManager) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "ANSI"));
  ASSERT_EQ(odbc.Exec("CREATE TABLE s.csv (a CHAR, b CHAR)"), SQL_SUCCESS);
  ASSERT_EQ(SQLPrepare(odbc.stmt(), (SQLCHAR*)"INSERT INTO s.csv (a, b) VALUES (?,?)", SQL_NTS),
            SQL_SUCCESS);
  char a[20] = "one", b[20] = "t\xF9o";
  SQLLEN aLength = SQL_NTS, bLength = SQL_NTS;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLSetParam(odbc.stmt(), 1, SQL_C_CHAR, SQL_CHAR, 20, 0, a, &aLength)));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLSetParam(odbc.stmt(), 2, SQL_C_CHAR, SQL_CHAR, 20, 0, b, &bLength)));
  ASSERT_EQ(SQLExecute(odbc.stmt()), SQL_SUCCESS) << odbc.StmtMessage();
  EXPECT_EQ(ReadFile(folder + "/s.csv"), S(H("61 2C 62 0D 0A 6F 6E 65 2C 74 F9 6F 0D 0A")));
}

TEST(Exchange, ParametersSentAtExecutionWithPutData) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "UTF8"));
  ASSERT_EQ(odbc.Exec("CREATE TABLE p.csv (a VARCHAR(255), b VARCHAR(255))"), SQL_SUCCESS);
  ASSERT_EQ(SQLPrepare(odbc.stmt(), (SQLCHAR*)"INSERT INTO p.csv VALUES (?, ?)", SQL_NTS),
            SQL_SUCCESS);
  SQLLEN atExecution = SQL_LEN_DATA_AT_EXEC(0), nullValue = SQL_NULL_DATA;
  SQLBindParameter(odbc.stmt(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 1000, 0,
                   reinterpret_cast<SQLPOINTER>(7), 0, &atExecution);
  SQLBindParameter(odbc.stmt(), 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, nullptr, 0,
                   &nullValue);
  ASSERT_EQ(SQLExecute(odbc.stmt()), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(odbc.stmt(), &token), SQL_NEED_DATA);
  EXPECT_EQ(token, reinterpret_cast<SQLPOINTER>(7));
  ASSERT_EQ(SQLPutData(odbc.stmt(), (SQLPOINTER) "first half, ", SQL_NTS), SQL_SUCCESS);
  ASSERT_EQ(SQLPutData(odbc.stmt(), (SQLPOINTER) "second", 6), SQL_SUCCESS);
  ASSERT_EQ(SQLParamData(odbc.stmt(), &token), SQL_SUCCESS) << odbc.StmtMessage();
  EXPECT_EQ(ReadFile(folder + "/p.csv"), "a,b\r\n\"first half, second\",\r\n");
}

// Clients paste the header's names and the path into statements unquoted: names and paths with
// blanks, brackets (a caption cut short leaves one unmatched) and commas, and a column named
// with the word FROM, still work.
TEST(Exchange, UnquotedNamesAndPathsWithBlanksBracketsAndCommas) {
  std::string base = TestFolder();
  std::string folder = base + "/Copy (2)";
  std::filesystem::create_directories(folder);
  Odbc odbc(DriverString(base, "UTF8"));
  std::string path = folder + "/a b.csv";
  ASSERT_EQ(odbc.Exec("CREATE TABLE " + path +
                      " (Tel (práce) VARCHAR(10), \"x,y\" CHAR, Date From CHAR(5),"
                      "Mobil (GSM VARCHAR(200),Cena DECIMAL(10,2))"),
            SQL_SUCCESS)
      << odbc.StmtMessage();
  EXPECT_EQ(ReadFile(path), "Tel (práce),\"x,y\",Date From,Mobil (GSM,Cena\r\n");
  ASSERT_EQ(odbc.Exec("INSERT INTO " + path +
                      " (Tel (práce), x,y, Date From, Mobil (GSM, Cena) VALUES (?,'2','3','4',?)"),
            SQL_ERROR);  // the parameters are not bound yet
  EXPECT_EQ(odbc.StmtState(), "07002");
  ASSERT_EQ(
      odbc.Exec("INSERT INTO " + path +
                " (Tel (práce), x,y, Date From, Mobil (GSM, Cena) VALUES ('1','2','3','4',5)"),
      SQL_SUCCESS)
      << odbc.StmtMessage();
  ASSERT_EQ(odbc.Exec("SELECT Mobil (GSM, x,y, Date From, Tel (práce) FROM " + path), SQL_SUCCESS)
      << odbc.StmtMessage();
  auto rows = odbc.FetchAll();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].row, R({"4", "2", "3", "1"}));
  odbc.Close();
  ASSERT_EQ(odbc.Exec("SELECT \"Date From\", Cena FROM \"" + path + "\""), SQL_SUCCESS);
  rows = odbc.FetchAll();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].row, R({"3", "5"}));
}

TEST(Exchange, AppendingKeepsRowsOnTheirOwnLines) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "ANSI"));
  WriteFile(folder + "/t.csv", "a,b\r\n1,2");  // the last line lacks its line end
  ASSERT_EQ(odbc.Exec("INSERT INTO t.csv (b) VALUES ('4')"), SQL_SUCCESS);
  ASSERT_EQ(odbc.Exec("INSERT INTO t.csv (a, b) VALUES (NULL, '')"), SQL_SUCCESS);
  EXPECT_EQ(ReadFile(folder + "/t.csv"), "a,b\r\n1,2\r\n,4\r\n,\r\n");
  WriteFile(folder + "/one.csv", "a\r\n");
  ASSERT_EQ(odbc.Exec("INSERT INTO one.csv VALUES ('')"), SQL_SUCCESS);
  EXPECT_EQ(ReadFile(folder + "/one.csv"), "a\r\n\"\"\r\n");  // not a blank line
}

TEST(Exchange, ReadsFilesOtherProgramsWrite) {
  std::string folder = TestFolder();
  struct Case {
    const char* charset;
    std::string file;
    std::vector<Row> rows;
  };
  const std::vector<Case> cases = {
      // LF line ends, a byte order mark, a blank line, a quoted line break.
      {"UTF8", "\xEF\xBB\xBF" "a,b\n1,2\n\n3,\"x\ny\"\n", {R({"1", "2"}), R({"3", "x\ny"})}},
      // CR line ends, no line end at the very end.
      {"ANSI", "a,b\r1,2\r3,4", {R({"1", "2"}), R({"3", "4"})}},
      // Empty fields are empty texts; blanks around values are kept.
      {"ANSI", "a,b\r\n,\r\n x , \"\"\r\n", {R({"", ""}), R({" x ", " \"\""})}},
      // Windows-1250 bytes in an ANSI file, the UTF-8 byte order mark being plain text there.
      {"ANSI", "a\r\n\xEF\xBB\xBF\r\n", {R({"\xEF\xBB\xBF"})}},
  };
  for (const Case& c : cases) {
    WriteFile(folder + "/t.csv", c.file);
    Odbc odbc(DriverString(folder, c.charset));
    ASSERT_EQ(odbc.Exec("SELECT * FROM t.csv"), SQL_SUCCESS) << odbc.StmtMessage();
    std::vector<Row> rows;
    for (auto& f : odbc.FetchAll()) {
      EXPECT_EQ(f.rc, SQL_SUCCESS) << f.state;
      rows.push_back(f.row);
    }
    EXPECT_EQ(rows, c.rows) << c.file;
  }
}

TEST(Exchange, ColumnAttributesAndRowCounts) {
  std::string folder = TestFolder();
  Odbc odbc(DriverString(folder, "UTF8"));
  WriteFile(folder + "/t.csv", "Jméno,b\r\n" + std::string(300, 'x') + ",1\r\n2,3\r\n");
  ASSERT_EQ(SQLPrepare(odbc.stmt(), (SQLCHAR*)"SELECT * FROM t.csv", SQL_NTS), SQL_SUCCESS);
  // Described before it runs, from the header line.
  SQLSMALLINT count = 0;
  ASSERT_EQ(SQLNumResultCols(odbc.stmt(), &count), SQL_SUCCESS);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(SQLExecute(odbc.stmt()), SQL_SUCCESS);
  char name[64] = {};
  SQLSMALLINT nameLength = 0;
  SQLLEN number = 0;
  ASSERT_EQ(SQLColAttribute(odbc.stmt(), 1, SQL_DESC_NAME, name, sizeof name, &nameLength, nullptr),
            SQL_SUCCESS);
  EXPECT_EQ(std::string(name), "Jméno");
  // The longest value sets the size, never below the 255 the type information gives.
  ASSERT_EQ(SQLColAttribute(odbc.stmt(), 1, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &number),
            SQL_SUCCESS);
  EXPECT_EQ(number, 300);
  ASSERT_EQ(SQLColAttribute(odbc.stmt(), 2, SQL_DESC_LENGTH, nullptr, 0, nullptr, &number),
            SQL_SUCCESS);
  EXPECT_EQ(number, 255);
  SQLLEN rows = 0;
  ASSERT_EQ(SQLRowCount(odbc.stmt(), &rows), SQL_SUCCESS);
  EXPECT_EQ(rows, 2);
}

TEST(Exchange, TablesListsTheFolder) {
  std::string folder = TestFolder();
  WriteFile(folder + "/b.csv", "a\r\n");
  WriteFile(folder + "/a.txt", "a\r\n");
  WriteFile(folder + "/c.dat", "a\r\n");
  Odbc odbc(DriverString(folder, "UTF8"));
  ASSERT_EQ(SQLTables(odbc.stmt(), nullptr, 0, nullptr, 0, (SQLCHAR*)"%", SQL_NTS, nullptr, 0),
            SQL_SUCCESS);
  std::vector<Row> rows;
  for (auto& f : odbc.FetchAll()) rows.push_back(f.row);
  EXPECT_EQ(rows,
            (std::vector<Row>{R({std::nullopt, std::nullopt, "a.txt", "TABLE", std::nullopt}),
                              R({std::nullopt, std::nullopt, "b.csv", "TABLE", std::nullopt})}));
}

}  // namespace
