// SPDX-License-Identifier: GPL-3.0-or-later
// Connecting: data source attributes, connection strings, and what the driver says about itself.
#include <odbcinst.h>
#include <sys/stat.h>

#include <cstring>
#include <map>

#include "Convert.h"
#include "Handles.h"

namespace {

std::string UpperAscii(std::string s) {
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  }
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

using Attributes = std::map<std::string, std::string>;  // upper-case keys

// "KEY=value;KEY={value; with braces};..." with keys compared without regard to case.
Attributes ParseConnectionString(const std::string& text) {
  Attributes attributes;
  size_t i = 0;
  while (i < text.size()) {
    size_t equals = text.find('=', i);
    size_t semicolon = text.find(';', i);
    if (equals == std::string::npos || (semicolon != std::string::npos && semicolon < equals)) {
      if (semicolon == std::string::npos) break;
      i = semicolon + 1;
      continue;
    }
    std::string key = UpperAscii(Trim(text.substr(i, equals - i)));
    size_t v = equals + 1;
    while (v < text.size() && (text[v] == ' ' || text[v] == '\t')) ++v;
    std::string value;
    if (v < text.size() && text[v] == '{') {
      // Braced values may hold ';'; "}}" stands for one brace.
      size_t j = v + 1;
      while (j < text.size()) {
        if (text[j] == '}') {
          if (j + 1 < text.size() && text[j + 1] == '}') {
            value += '}';
            j += 2;
            continue;
          }
          break;
        }
        value += text[j++];
      }
      i = text.find(';', j);
      i = i == std::string::npos ? text.size() : i + 1;
    } else {
      size_t end = text.find(';', v);
      value = Trim(text.substr(v, end == std::string::npos ? std::string::npos : end - v));
      i = end == std::string::npos ? text.size() : end + 1;
    }
    if (!key.empty() && !attributes.count(key)) attributes[key] = value;
  }
  return attributes;
}

// The attributes this driver reads from a data source in odbc.ini.
const char* const kDataSourceKeys[] = {"CHARACTERSET", "FORMAT", "DEFAULTDIR", "DBQ"};

void ReadDataSource(const std::string& dsn, Attributes& attributes) {
  for (const char* key : kDataSourceKeys) {
    if (attributes.count(key)) continue;  // the connection string wins
    char value[1024] = {};
    int n = SQLGetPrivateProfileString(dsn.c_str(), key, "", value, sizeof value, "odbc.ini");
    if (n > 0 && value[0]) attributes[key] = value;
  }
}

// Fills the connection from the attributes. Errors: HY024 for a value the driver cannot use.
SQLRETURN Configure(Connection& dbc, Attributes attributes) {
  if (attributes.count("DSN")) ReadDataSource(attributes["DSN"], attributes);
  dbc.dataSource = attributes.count("DSN") ? attributes["DSN"] : std::string();

  dbc.format = TableFormat{};
  if (attributes.count("CHARACTERSET") && !attributes["CHARACTERSET"].empty()) {
    auto charset = CharsetFromName(attributes["CHARACTERSET"]);
    if (!charset) {
      return dbc.diag.Error("HY024", "CHARACTERSET=" + attributes["CHARACTERSET"] +
                                         " is not known; use ANSI (Windows-1250) or UTF8");
    }
    dbc.format.charset = *charset;
  }
  if (attributes.count("FORMAT") && !attributes["FORMAT"].empty()) {
    std::string format = UpperAscii(attributes["FORMAT"]);
    if (format == "CSVDELIMITED") {
      dbc.format.delimiter = ',';
    } else if (format == "TABDELIMITED") {
      dbc.format.delimiter = '\t';
    } else if (format.size() == 12 && format.compare(0, 10, "DELIMITED(") == 0 &&
               format[11] == ')' && format[10] != '"' && format[10] != '\r' && format[10] != '\n' &&
               format[10] != '\0') {
      dbc.format.delimiter = attributes["FORMAT"][10];
    } else {
      return dbc.diag.Error("HY024", "FORMAT=" + attributes["FORMAT"] +
                                         " is not known; use CSVDELIMITED, TABDELIMITED or "
                                         "DELIMITED(x)");
    }
  }
  std::string folder = attributes.count("DEFAULTDIR") ? attributes["DEFAULTDIR"]
                       : attributes.count("DBQ")      ? attributes["DBQ"]
                                                      : std::string();
  if (!folder.empty()) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      return dbc.diag.Error("HY024", "DEFAULTDIR=" + folder + " is not a folder");
    }
  }
  dbc.folder = folder;
  return SQL_SUCCESS;
}

}  // namespace

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsnLength, SQLCHAR*,
                             SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  if (dbc->connected) return dbc->diag.Error("08002", "Connection name in use");
  Attributes attributes;
  attributes["DSN"] = InputText(dsn, dsnLength);
  if (attributes["DSN"].empty()) return dbc->diag.Error("IM002", "No data source name given");
  SQLRETURN rc = Configure(*dbc, attributes);
  if (!SQL_SUCCEEDED(rc)) return rc;
  dbc->connectionString = "DSN=" + attributes["DSN"] + ";";
  dbc->connected = true;
  return rc;
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in, SQLSMALLINT inLength,
                                   SQLCHAR* out, SQLSMALLINT outLength, SQLSMALLINT* outWritten,
                                   SQLUSMALLINT) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  if (dbc->connected) return dbc->diag.Error("08002", "Connection name in use");
  // There is no dialog to show: every completion mode connects with what the string gives,
  // and the defaults need nothing more.
  std::string text = InputText(in, inLength);
  SQLRETURN rc = Configure(*dbc, ParseConnectionString(text));
  if (!SQL_SUCCEEDED(rc)) return rc;
  dbc->connectionString = text;
  dbc->connected = true;
  if (out || outWritten) {
    SQLRETURN copied = OutputText(text, out, outLength, outWritten, dbc->diag);
    if (copied != SQL_SUCCESS) rc = copied;
  }
  return rc;
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  while (!dbc->statements.empty()) {
    Statement* statement = dbc->statements.back();
    dbc->statements.pop_back();
    delete statement;
  }
  dbc->connected = false;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* in, SQLINTEGER inLength, SQLCHAR* out,
                               SQLINTEGER outLength, SQLINTEGER* outWritten) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  return OutputText(InputText(in, inLength), out, outLength, outWritten, dbc->diag);
}
