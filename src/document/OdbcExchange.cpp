// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/OdbcExchange.h"

#include <dlfcn.h>
#include <odbcinst.h>
#include <sql.h>
#include <sqlext.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <type_traits>

#include "document/CDuxelDoc.h"
#include "document/TextDriverSetup.h"
#include "records/CCasioList.h"
#include "records/CcSpreadsheet.h"
#include "records/ExchangeColumns.h"
#include "resources/StringTable.h"
#include "spreadsheet/WorksheetExport.h"

// The column buffers keep their length words as long; the driver manager's SQLLEN is that.
static_assert(std::is_same_v<SQLLEN, long>, "SQLLEN must be long");

namespace {

constexpr std::size_t kDriverListBuffer = 5120;  // the installed-driver list
constexpr std::size_t kFilterLimit = 5120;       // the file dialog's filter
constexpr int kMaxColumnSize = 200;              // the width of every exchange field
constexpr int kTypeNameLength = 128;             // type name, up to 127 characters
constexpr int kColumnNameLength = 129;           // file column name, up to 128 characters

// The attributes of the temporary data source, each zero-terminated, the list ended by an
// empty one.
const char kDataSourceAttributes[] =
    "DSN=Duxel39\0OEMTOANSI=YES\0CHARACTERSET=ANSI\0FORMAT=CSVDELIMITED\0";
const char kRemoveAttributes[] = "DSN=Duxel39\0";

// Success for the exchange includes "no data".
bool Succeeded(SQLRETURN rc) {
  return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA;
}

SQLCHAR* Sql(const std::string& text) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.c_str()));
}

// The first diagnostic record of a handle as "SQLSTATE message".
std::string Diagnostic(SQLSMALLINT type, SQLHANDLE handle) {
  if (!handle) return {};
  SQLCHAR state[6] = {};
  SQLINTEGER native = 0;
  SQLCHAR message[512] = {};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(
          SQLGetDiagRec(type, handle, 1, state, &native, message, sizeof message, &length)))
    return {};
  return std::string(reinterpret_cast<char*>(state)) + " " + reinterpret_cast<char*>(message);
}

std::string InstallerError() {
  DWORD code = 0;
  char message[512] = {};
  WORD length = 0;
  if (SQLInstallerError(1, &code, message, sizeof message, &length) != SQL_SUCCESS) return {};
  return message;
}

// The list's columns bound to a statement handle.
class StatementBinder : public ExchangeStatement {
 public:
  StatementBinder(SQLHSTMT stmt, SQLSMALLINT sqlType, bool bindParameter)
      : m_stmt(stmt), m_sqlType(sqlType), m_bindParameter(bindParameter) {}

  bool BindParameter(int column, char* buffer, int length, long* indicator) override {
    const SQLRETURN rc =
        m_bindParameter
            ? SQLBindParameter(m_stmt, SQLUSMALLINT(column), SQL_PARAM_INPUT, SQL_C_CHAR, m_sqlType,
                               SQLULEN(length), 0, buffer, length, indicator)
            : SQLSetParam(m_stmt, SQLUSMALLINT(column), SQL_C_CHAR, m_sqlType, SQLULEN(length), 0,
                          buffer, indicator);
    return Succeeded(rc);
  }
  bool BindResultColumn(int column, char* buffer, int length, long* indicator) override {
    return Succeeded(
        SQLBindCol(m_stmt, SQLUSMALLINT(column), SQL_C_CHAR, buffer, length, indicator));
  }

 private:
  SQLHSTMT m_stmt;
  SQLSMALLINT m_sqlType;
  bool m_bindParameter;
};

// The patterns of a driver's name: from the text inside its first parentheses, "*" and at
// most 4 characters from each dot, each followed by ";". Empty when there is none.
std::string PatternsOf(const std::string& name) {
  const std::size_t open = name.find('(');
  if (open == std::string::npos) return {};
  const std::size_t close = name.find(')', open + 1);
  if (close == std::string::npos) return {};
  const std::string inside = name.substr(open + 1, close - open - 1);
  std::string patterns;
  for (std::size_t dot = inside.find('.'); dot != std::string::npos;
       dot = inside.find('.', dot + 1)) {
    patterns += '*';
    for (std::size_t i = dot; i < inside.size() && i < dot + 4; ++i) {
      const char c = inside[i];
      if (i > dot && (c == ';' || c == ',' || c == ' ')) break;
      patterns += c;
    }
    patterns += ';';
  }
  return patterns;
}

}  // namespace

std::vector<std::string> InstalledOdbcDrivers() {
  // The driver manager's list, not the installer library's: only the former holds the
  // drivers of the user's own list beside the system's.
  std::vector<std::string> drivers;
  SQLHENV env = SQL_NULL_HENV;
  if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) return drivers;
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  std::size_t used = 1;  // the list's final terminator
  SQLUSMALLINT direction = SQL_FETCH_FIRST;
  for (;;) {
    SQLCHAR name[1024] = {};
    SQLCHAR attributes[2048] = {};
    SQLSMALLINT nameLength = 0, attributesLength = 0;
    if (!SQL_SUCCEEDED(SQLDrivers(env, direction, name, sizeof name, &nameLength, attributes,
                                  sizeof attributes, &attributesLength)))
      break;
    direction = SQL_FETCH_NEXT;
    const std::string driver(reinterpret_cast<char*>(name));
    // The names, each with its terminator, fill a list of at most 5120 bytes.
    used += driver.size() + 1;
    if (used > kDriverListBuffer) break;
    drivers.push_back(driver);
  }
  SQLFreeHandle(SQL_HANDLE_ENV, env);
  return drivers;
}

ExchangeFileTypes BuildFileTypes(const std::vector<std::string>& drivers) {
  ExchangeFileTypes result;
  for (const std::string& driver : drivers) {
    std::string patterns = PatternsOf(driver);
    if (patterns.empty()) continue;
    patterns.pop_back();  // the last ";" becomes the "|" below
    std::string text = driver;
    std::replace(text.begin(), text.end(), ',', ';');
    const std::string entry = text + "|" + patterns + "|";
    // The filter ends with one more "|" and must stay within its buffer with a terminator.
    if (result.filter.size() + entry.size() + 2 > kFilterLimit) break;
    result.filter += entry;
    result.types.push_back({text, driver, patterns});
  }
  if (!result.filter.empty()) result.filter += "|";
  return result;
}

std::string DefaultExtension(const std::string& entryText) {
  const std::size_t close = entryText.find(')');
  if (close == std::string::npos || close < 5) return {};
  if (entryText.compare(close - 5, 2, "*.") != 0) return {};
  return entryText.substr(close - 3, 3);
}

bool FileNameHasBlank(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return path.find(' ', slash == std::string::npos ? 0 : slash + 1) != std::string::npos;
}

// The handles of one operation and what the driver said about its types. Ending it frees
// the statement, closes the connection and removes the data source, each once.
struct OdbcExchange::Session {
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  bool dataSourceAdded = false;
  bool connected = false;
  std::string driver;  // the driver whose setup library adds and removes the data source

  std::string typeName;
  SQLSMALLINT sqlType = SQL_VARCHAR;
  int columnSize = kMaxColumnSize;
  bool varchar = true;
  bool bindParameter = true;
  std::string detail;  // the driver's word on the step that failed

  ~Session() { End(); }

  void End() {
    if (stmt) SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    stmt = SQL_NULL_HSTMT;
    if (connected) SQLDisconnect(dbc);
    connected = false;
    if (dbc) SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    dbc = SQL_NULL_HDBC;
    if (env) SQLFreeHandle(SQL_HANDLE_ENV, env);
    env = SQL_NULL_HENV;
    if (dataSourceAdded) ConfigureDataSource(ODBC_REMOVE_DSN, kRemoveAttributes);
    dataSourceAdded = false;
  }

  void StatementFailed() { detail = Diagnostic(SQL_HANDLE_STMT, stmt); }

  // Adds or removes the data source through the driver's setup library. unixODBC's installer
  // looks drivers up in the system's list only; a driver of the user's own list (ours, as the
  // program registers it) is set up by calling its library's ConfigDSN directly, which is all
  // the installer would do.
  bool ConfigureDataSource(WORD request, const char* attributes) {
    if (SQLConfigDataSource(nullptr, request, driver.c_str(), attributes)) return true;
    const std::string setup = ReadOdbcSetting(driver, "Setup", "ODBCINST.INI");
    if (setup.empty()) return false;
    void* library = dlopen(setup.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) return false;
    using ConfigDsn = BOOL (*)(HWND, WORD, LPCSTR, LPCSTR);
    const auto configure = reinterpret_cast<ConfigDsn>(dlsym(library, "ConfigDSN"));
    const bool done = configure && configure(nullptr, request, driver.c_str(), attributes);
    dlclose(library);
    return done;
  }

  // The data source, the connection, the statement and the type information. 0, or the
  // message of the step that failed.
  int Prepare(const std::string& driverName) {
    driver = driverName;
    if (!ConfigureDataSource(ODBC_ADD_DSN, kDataSourceAttributes)) {
      detail = InstallerError();
      return IDS_DSN_CONFIG_FAILED;
    }
    dataSourceAdded = true;

    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    // The driver is named before the data source: the driver manager keeps the data sources
    // it read for a while, and "Duxel39" of an earlier exchange may have had another driver.
    // No driver-manager dialog: there is none to show on this platform.
    const std::string connect = "DRIVER={" + driver + "};DSN=" + kExchangeDataSource + ";UID=;PWD=";
    const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, Sql(connect), SQL_NTS, nullptr, 0, nullptr,
                                          SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
      detail = Diagnostic(SQL_HANDLE_DBC, dbc);
      return IDS_DSN_OPEN_FAILED;
    }
    connected = true;

    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt))) {
      detail = Diagnostic(SQL_HANDLE_DBC, dbc);
      stmt = SQL_NULL_HSTMT;
      SQLDisconnect(dbc);
      connected = false;
      return IDS_DSN_CONNECT_FAILED;
    }

    SQLUSMALLINT supported = SQL_FALSE;
    if (!Succeeded(SQLGetFunctions(dbc, SQL_API_SQLBINDPARAMETER, &supported))) {
      detail = Diagnostic(SQL_HANDLE_DBC, dbc);
      return IDS_NO_BIND_SUPPORT;
    }
    bindParameter = supported == SQL_TRUE;

    return ReadTypeInfo();
  }

  // The first row of the type information for VARCHAR, else for CHAR.
  int ReadTypeInfo() {
    for (const SQLSMALLINT type : {SQLSMALLINT(SQL_VARCHAR), SQLSMALLINT(SQL_CHAR)}) {
      varchar = type == SQL_VARCHAR;
      if (!Succeeded(SQLGetTypeInfo(stmt, type))) {
        StatementFailed();
        SQLFreeStmt(stmt, SQL_CLOSE);
        continue;
      }
      char name[kTypeNameLength] = {};
      SQLSMALLINT dataType = 0;
      SQLINTEGER size = 0;
      SQLLEN nameLength = 0, typeLength = 0, sizeLength = 0;
      SQLRETURN rc = SQLBindCol(stmt, 1, SQL_C_CHAR, name, sizeof name, &nameLength);
      if (Succeeded(rc)) rc = SQLBindCol(stmt, 2, SQL_C_SSHORT, &dataType, 0, &typeLength);
      if (Succeeded(rc)) rc = SQLBindCol(stmt, 3, SQL_C_SLONG, &size, 0, &sizeLength);
      if (Succeeded(rc)) rc = SQLFetch(stmt);
      if (!Succeeded(rc)) StatementFailed();
      SQLFreeStmt(stmt, SQL_CLOSE);
      SQLFreeStmt(stmt, SQL_UNBIND);
      if (!Succeeded(rc)) return IDS_NO_CHAR_TYPE;
      // A driver without the type answers with no row: try the next type.
      if (rc == SQL_NO_DATA) continue;
      typeName = name;
      sqlType = dataType ? dataType : type;
      // A driver that gives no size sets no limit: the exchange's own applies.
      columnSize = sizeLength == SQL_NULL_DATA || size <= 0 ? kMaxColumnSize
                                                            : std::min<int>(size, kMaxColumnSize);
      CCasioList::SetExchangeWidth(columnSize);
      return 0;
    }
    return IDS_NO_CHAR_TYPE;
  }

  // The file's own column names by "SELECT * FROM path"; false when the query fails.
  bool SelectColumnNames(const std::string& path, std::vector<std::string>& names) {
    names.clear();
    if (!Succeeded(SQLExecDirect(stmt, Sql("SELECT * FROM " + path), SQL_NTS))) {
      StatementFailed();
      SQLFreeStmt(stmt, SQL_CLOSE);
      return false;
    }
    SQLSMALLINT count = 0;
    bool ok = Succeeded(SQLNumResultCols(stmt, &count));
    for (SQLSMALLINT c = 1; ok && c <= count; ++c) {
      SQLCHAR name[kColumnNameLength] = {};
      SQLSMALLINT length = 0, type = 0, digits = 0, nullable = 0;
      SQLULEN size = 0;
      ok = Succeeded(SQLDescribeCol(stmt, SQLUSMALLINT(c), name, sizeof name, &length, &type, &size,
                                    &digits, &nullable));
      if (ok) names.emplace_back(reinterpret_cast<char*>(name));
    }
    if (!ok) {
      StatementFailed();
      names.clear();
    }
    SQLFreeStmt(stmt, SQL_CLOSE);
    return ok;
  }

  bool Execute(const std::string& sql) {
    if (Succeeded(SQLExecDirect(stmt, Sql(sql), SQL_NTS))) return true;
    StatementFailed();
    return false;
  }
};

bool OdbcExchange::ChooseExchangeFile(bool forExport, int mode, std::string& path,
                                      std::string& driver, ExchangeResult& result) {
  result.status = ExchangeStatus::Cancelled;
  ExchangeFileDialog dialog;
  dialog.forExport = forExport;
  dialog.mode = mode;
  dialog.fileTypes = BuildFileTypes(InstalledOdbcDrivers());
  if (dialog.fileTypes.types.empty() || dialog.fileTypes.filter.empty()) {
    m_ui.ShowMessage(IDS_NO_ODBC_DRIVER, MessageIcon::Stop);
    result.status = ExchangeStatus::Failed;
    result.messageId = IDS_NO_ODBC_DRIVER;
    return false;
  }
  if ((m_decimal == ',' || m_monetaryDecimal == ',') &&
      !m_ui.AskOkCancel(IDS_DECIMAL_COMMA, MessageIcon::Information))
    return false;

  dialog.title = CpStringToken(IDS_MODE_NAMES, mode) + " - " +
                 CpString(forExport ? IDS_EXPORT_FILE_TITLE : IDS_IMPORT_FILE_TITLE);
  const std::string& remembered = forExport ? m_settings.exportDriver : m_settings.importDriver;
  for (std::size_t i = 0; i < dialog.fileTypes.types.size(); ++i) {
    if (dialog.fileTypes.types[i].text.compare(0, remembered.size(), remembered) == 0) {
      dialog.type = int(i);
      break;
    }
  }
  for (const FieldMapping& m : m_settings.mappings.All()) dialog.mappings.push_back(m.name);
  int& current = forExport ? m_settings.exportMapping : m_settings.importMapping;
  dialog.mapping = current >= 0 && current < m_settings.mappings.Count() ? current : 0;

  if (!m_ui.ChooseFile(dialog) || dialog.path.empty()) return false;
  if (dialog.type < 0 || dialog.type >= int(dialog.fileTypes.types.size())) return false;
  current =
      dialog.mapping >= 0 && dialog.mapping < m_settings.mappings.Count() ? dialog.mapping : 0;
  const ExchangeFileType& type = dialog.fileTypes.types[std::size_t(dialog.type)];
  (forExport ? m_settings.exportDriver : m_settings.importDriver) = type.text;
  path = dialog.path;
  driver = type.driver;
  return true;
}

ExchangeResult OdbcExchange::Export(CDuxelDoc& doc, int mode) {
  ExchangeResult result;
  if (mode == kFreeFile || mode < 0 || mode >= kModeCount) {
    result.status = ExchangeStatus::NotExchanged;
    return result;
  }
  if (mode != kSpreadSheet) {
    std::string path, driver;
    if (!ChooseExchangeFile(true, mode, path, driver, result)) return result;
    return Run(doc, *doc.GetList(mode), mode, true, path, driver);
  }

  // A worksheet goes out as the rows of its cells, which stand in for the worksheet list
  // while the export runs.
  WorksheetExport sheet(*doc.GetList(kSpreadSheet));
  if (sheet.Status() == WorksheetExportStatus::NoMarkedWorksheet) {
    m_ui.ShowMessage(IDS_NO_MARKED_SHEET, MessageIcon::Stop);
    result.status = ExchangeStatus::Failed;
    result.messageId = IDS_NO_MARKED_SHEET;
    return result;
  }
  if (sheet.Status() != WorksheetExportStatus::Ok) {
    result.status = ExchangeStatus::NotExchanged;
    return result;
  }
  std::string path, driver;
  if (ChooseExchangeFile(true, mode, path, driver, result))
    result = Run(doc, sheet.Rows(), mode, true, path, driver);
  if (sheet.Worksheet()->m_mark) {
    sheet.Worksheet()->m_mark = 0;
    doc.SetModifiedFlag();
  }
  return result;
}

ExchangeResult OdbcExchange::Import(CDuxelDoc& doc, int mode) {
  ExchangeResult result;
  if (mode == kFreeFile || mode < 0 || mode >= kModeCount) {
    result.status = ExchangeStatus::NotExchanged;
    return result;
  }
  std::string path, driver;
  if (!ChooseExchangeFile(false, mode, path, driver, result)) return result;
  return Run(doc, *doc.GetList(mode), mode, false, path, driver);
}

ExchangeResult OdbcExchange::Run(CDuxelDoc& doc, CCasioList& list, int mode, bool forExport,
                                 const std::string& path, const std::string& driver) {
  ExchangeResult result;
  result.path = path;
  const bool reminderTwo = mode == kReminderTwo;
  m_ui.SetWaitCursor(true);
  Session session;
  ExchangeColumns columns;
  std::vector<std::string> names;  // the operation's column names
  std::vector<std::string> types;  // and their types
  CCasioPol* last = nullptr;

  auto body = [&]() -> int {
    if (int message = session.Prepare(driver)) return message;

    // The columns of the current mapping.
    const int fields = list.GetFieldWidth(-1);
    std::vector<std::string> fileColumns;
    int sources = fields;
    if (!forExport) {
      session.SelectColumnNames(path, fileColumns);
      sources = int(fileColumns.size());
    }
    int index = forExport ? m_settings.exportMapping : m_settings.importMapping;
    if (index < 0 || index >= m_settings.mappings.Count()) index = 0;
    FieldMapping& mapping = m_settings.mappings[index];
    // Mapping 0 is every field to its own column, for this list and this file.
    if (index == 0) mapping.pairs = OneToOnePairs(sources, fields);
    columns.Setup(forExport, UsedPairs(mapping.pairs, sources, fields), m_settings.mergeChar);
    if (columns.Count() == 0) return IDS_NO_COLUMNS;
    for (int c = 0; c < columns.Count(); ++c) {
      const std::vector<int> mapped = columns.FieldsOfColumn(c);
      // Several fields in one column: it takes the name of the last of them.
      names.push_back(forExport ? list.GetFieldName(mapped.back())
                                : fileColumns[std::size_t(columns.Key(c))]);
      std::string type = session.typeName;
      if (session.varchar) type += "(" + std::to_string(list.GetFieldWidth(mapped.front())) + ")";
      types.push_back(type);
    }
    StatementBinder binder(session.stmt, session.sqlType, session.bindParameter);

    if (forExport) {
      // An existing file is replaced: whether it was there does not matter.
      SQLExecDirect(session.stmt, Sql("DROP TABLE " + path), SQL_NTS);
      SQLFreeStmt(session.stmt, SQL_CLOSE);
      std::string create = "CREATE TABLE " + path + " (";
      std::string insert = "INSERT INTO " + path + " (";
      for (std::size_t c = 0; c < names.size(); ++c) {
        create += (c ? "," : "") + names[c] + " " + types[c];
        insert += (c ? ", " : "") + names[c];
      }
      insert += ") VALUES (";
      for (std::size_t c = 0; c + 1 < names.size(); ++c) insert += "?,";
      insert += "?)";
      if (!session.Execute(create + ")")) return IDS_CREATE_TABLE_FAILED;
      if (!Succeeded(SQLPrepare(session.stmt, Sql(insert), SQL_NTS))) {
        session.StatementFailed();
        return IDS_WRITE_FAILED;
      }
      if (!list.BindColumns(columns, binder, true)) {
        session.StatementFailed();
        return IDS_BUFFERS_FAILED;
      }
      const std::size_t total = list.GetCount();
      try {
        for (CCasioPol* record : list) {
          list.ExportRecord(columns, *record, reminderTwo);
          if (!Succeeded(SQLExecute(session.stmt))) {
            session.StatementFailed();
            return IDS_WRITE_FAILED;
          }
          ++result.records;
          m_ui.Progress(result.records, total);
        }
      } catch (const std::exception& e) {
        session.detail = e.what();
        return IDS_WRITE_FAILED;
      }
      return 0;
    }

    std::string select = "SELECT ";
    for (std::size_t c = 0; c < names.size(); ++c) select += (c ? ", " : "") + names[c];
    select += " FROM " + path;
    if (!session.Execute(select)) return IDS_SELECT_FAILED;
    if (!list.BindColumns(columns, binder, false)) {
      session.StatementFailed();
      return IDS_BUFFERS_FAILED;
    }
    for (;;) {
      const SQLRETURN rc = SQLFetch(session.stmt);
      if (rc == SQL_NO_DATA) break;
      if (!Succeeded(rc)) {
        session.StatementFailed();
        return IDS_READ_FAILED;
      }
      ++result.rows;
      CCasioPol* record = list.CreateRecord();
      list.ImportRecord(columns, *record, reminderTwo);
      if (list.InsertSorted(record)) {
        doc.SetModifiedFlag();
        ++result.records;
        last = record;
        m_ui.RecordInserted(*record);
      } else {
        delete record;
        ++result.duplicates;
      }
      m_ui.Progress(result.rows, 0);
    }
    return 0;
  };

  int message = 0;
  try {
    message = body();
  } catch (const std::exception& e) {
    session.detail = e.what();
    message = forExport ? IDS_WRITE_FAILED : IDS_READ_FAILED;
  }
  // The statement and the connection go first, then the data source; the buffers outlive
  // the statement they were bound to.
  session.End();
  columns.Release();
  names.clear();
  types.clear();
  if (message) {
    result.status = ExchangeStatus::Failed;
    result.messageId = message;
    result.detail = session.detail;
    m_ui.ShowMessage(message, MessageIcon::Stop);
  } else if (!forExport && last) {
    m_ui.ImportFinished(*last);
  }
  m_ui.SetWaitCursor(false);
  return result;
}

int OdbcExchange::ReadFileColumns(const std::string& driver, const std::string& path,
                                  std::vector<std::string>& names) {
  names.clear();
  if (access(path.c_str(), R_OK) != 0) return IDS_FILE_OPEN_FAILED;
  Session session;
  if (session.Prepare(driver) || !session.SelectColumnNames(path, names))
    return IDS_DRIVER_UNUSABLE;
  return 0;
}
