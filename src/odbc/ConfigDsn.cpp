// SPDX-License-Identifier: GPL-3.0-or-later
// The setup side: SQLConfigDataSource loads this library (the Setup= line of the driver's entry)
// and calls ConfigDSN to add, change or remove a data source of this driver.
#include <odbcinst.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// "KEY=value\0KEY=value\0\0" as the installer passes attributes.
Pairs ParseAttributes(const char* list) {
  Pairs pairs;
  if (!list) return pairs;
  for (const char* p = list; *p; p += std::char_traits<char>::length(p) + 1) {
    std::string item = p;
    size_t equals = item.find('=');
    if (equals == std::string::npos) continue;
    pairs.emplace_back(item.substr(0, equals), item.substr(equals + 1));
  }
  return pairs;
}

bool IsKey(const std::string& key, const char* name) {
  if (key.size() != std::char_traits<char>::length(name)) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    char c = key[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != name[i]) return false;
  }
  return true;
}

BOOL Fail(DWORD code, const char* message) {
  SQLPostInstallerError(code, message);
  return 0;
}

}  // namespace

BOOL INSTAPI ConfigDSN(HWND, WORD request, LPCSTR driver, LPCSTR attributes) {
  Pairs pairs = ParseAttributes(attributes);
  std::string dsn;
  for (const auto& [key, value] : pairs) {
    if (IsKey(key, "DSN")) dsn = value;
  }
  if (dsn.empty()) return Fail(ODBC_ERROR_INVALID_KEYWORD_VALUE, "The attributes name no DSN");

  switch (request) {
    case ODBC_ADD_DSN:
    case ODBC_ADD_SYS_DSN:
    case ODBC_CONFIG_DSN:
    case ODBC_CONFIG_SYS_DSN: {
      bool add = request == ODBC_ADD_DSN || request == ODBC_ADD_SYS_DSN;
      if (!SQLValidDSN(dsn.c_str())) return Fail(ODBC_ERROR_INVALID_DSN, "Invalid DSN");
      if (add) {
        // Writes the section with its Driver= line, replacing a data source of the same name.
        if (!SQLWriteDSNToIni(dsn.c_str(), driver)) {
          return Fail(ODBC_ERROR_REQUEST_FAILED, "Cannot write the data source");
        }
      }
      for (const auto& [key, value] : pairs) {
        if (IsKey(key, "DSN") || IsKey(key, "DRIVER")) continue;
        if (!SQLWritePrivateProfileString(dsn.c_str(), key.c_str(), value.c_str(), "odbc.ini")) {
          return Fail(ODBC_ERROR_REQUEST_FAILED, "Cannot write a data source attribute");
        }
      }
      return 1;
    }
    case ODBC_REMOVE_DSN:
    case ODBC_REMOVE_SYS_DSN:
      if (!SQLRemoveDSNFromIni(dsn.c_str())) {
        return Fail(ODBC_ERROR_REQUEST_FAILED, "Cannot remove the data source");
      }
      return 1;
    default:
      return Fail(ODBC_ERROR_INVALID_REQUEST_TYPE, "Invalid request");
  }
}
