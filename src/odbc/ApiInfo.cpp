// SPDX-License-Identifier: GPL-3.0-or-later
// SQLGetInfo and SQLGetFunctions: what the driver can do, answered truthfully.
#include <cstring>

#include "Convert.h"
#include "Handles.h"

namespace {

// Every function the library exports (and so the driver manager may call).
const SQLUSMALLINT kFunctions[] = {
    SQL_API_SQLALLOCHANDLE,    SQL_API_SQLFREEHANDLE,    SQL_API_SQLFREESTMT,
    SQL_API_SQLCONNECT,        SQL_API_SQLDRIVERCONNECT, SQL_API_SQLDISCONNECT,
    SQL_API_SQLGETINFO,        SQL_API_SQLGETFUNCTIONS,  SQL_API_SQLNATIVESQL,
    SQL_API_SQLSETENVATTR,     SQL_API_SQLGETENVATTR,    SQL_API_SQLSETCONNECTATTR,
    SQL_API_SQLGETCONNECTATTR, SQL_API_SQLSETSTMTATTR,   SQL_API_SQLGETSTMTATTR,
    SQL_API_SQLENDTRAN,        SQL_API_SQLGETDIAGREC,    SQL_API_SQLGETDIAGFIELD,
    SQL_API_SQLPREPARE,        SQL_API_SQLEXECUTE,       SQL_API_SQLEXECDIRECT,
    SQL_API_SQLBINDPARAMETER,  SQL_API_SQLNUMPARAMS,     SQL_API_SQLDESCRIBEPARAM,
    SQL_API_SQLPARAMDATA,      SQL_API_SQLPUTDATA,       SQL_API_SQLNUMRESULTCOLS,
    SQL_API_SQLDESCRIBECOL,    SQL_API_SQLCOLATTRIBUTE,  SQL_API_SQLBINDCOL,
    SQL_API_SQLFETCH,          SQL_API_SQLFETCHSCROLL,   SQL_API_SQLGETDATA,
    SQL_API_SQLROWCOUNT,       SQL_API_SQLMORERESULTS,   SQL_API_SQLCLOSECURSOR,
    SQL_API_SQLCANCEL,         SQL_API_SQLGETTYPEINFO,   SQL_API_SQLTABLES,
    SQL_API_SQLCOLUMNS,
};

bool Supported(SQLUSMALLINT id) {
  for (SQLUSMALLINT f : kFunctions) {
    if (f == id) return true;
  }
  return false;
}

}  // namespace

SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT id, SQLUSMALLINT* supported) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  if (!supported) return dbc->diag.Error("HY009", "Invalid use of null pointer");
  if (id == SQL_API_ODBC3_ALL_FUNCTIONS) {
    std::memset(supported, 0, SQL_API_ODBC3_ALL_FUNCTIONS_SIZE * sizeof(SQLUSMALLINT));
    for (SQLUSMALLINT f : kFunctions) supported[f >> 4] |= static_cast<SQLUSMALLINT>(1 << (f & 15));
    return SQL_SUCCESS;
  }
  if (id == SQL_API_ALL_FUNCTIONS) {
    std::memset(supported, 0, 100 * sizeof(SQLUSMALLINT));
    for (SQLUSMALLINT f : kFunctions) {
      if (f < 100) supported[f] = SQL_TRUE;
    }
    // The ODBC 2 names of functions served under their ODBC 3 names.
    supported[SQL_API_SQLALLOCCONNECT] = supported[SQL_API_SQLALLOCENV] =
        supported[SQL_API_SQLALLOCSTMT] = supported[SQL_API_SQLFREECONNECT] =
            supported[SQL_API_SQLFREEENV] = supported[SQL_API_SQLERROR] = SQL_TRUE;
    return SQL_SUCCESS;
  }
  *supported = Supported(id) ? SQL_TRUE : SQL_FALSE;
  return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                             SQLSMALLINT bufferLength, SQLSMALLINT* length) {
  Connection* dbc = AsConnection(handle);
  if (!dbc) return SQL_INVALID_HANDLE;
  dbc->diag.Clear();
  auto text = [&](const std::string& s) {
    return OutputText(s, value, bufferLength, length, dbc->diag);
  };
  auto small = [&](SQLUSMALLINT v) {
    if (value) std::memcpy(value, &v, sizeof v);
    if (length) *length = sizeof v;
    return SQL_SUCCESS;
  };
  auto integer = [&](SQLUINTEGER v) {
    if (value) std::memcpy(value, &v, sizeof v);
    if (length) *length = sizeof v;
    return SQL_SUCCESS;
  };
  switch (type) {
    // Names and versions.
    case SQL_DRIVER_NAME:
      return text("libduxeltxt.so");
    case SQL_DRIVER_VER:
    case SQL_DBMS_VER:
      return text("01.00.0000");
    case SQL_DRIVER_ODBC_VER:
      return text("03.00");
    case SQL_DBMS_NAME:
      return text("Duxel Text");
    case SQL_DATA_SOURCE_NAME:
      return text(dbc->dataSource);
    case SQL_SERVER_NAME:
    case SQL_USER_NAME:
    case SQL_CATALOG_NAME_SEPARATOR:
    case SQL_CATALOG_TERM:
    case SQL_SCHEMA_TERM:
    case SQL_PROCEDURE_TERM:
    case SQL_SPECIAL_CHARACTERS:
    case SQL_KEYWORDS:
    case SQL_COLLATION_SEQ:
    case SQL_SEARCH_PATTERN_ESCAPE:
      return text("");
    case SQL_DATABASE_NAME:
      return text(dbc->folder);
    case SQL_TABLE_TERM:
      return text("file");
    case SQL_IDENTIFIER_QUOTE_CHAR:
      return text("\"");
    // Yes/no answers.
    case SQL_DATA_SOURCE_READ_ONLY:
      return text(dbc->accessMode == SQL_MODE_READ_ONLY ? "Y" : "N");
    case SQL_ACCESSIBLE_TABLES:
      return text("Y");
    case SQL_DESCRIBE_PARAMETER:
      return text("Y");
    case SQL_ACCESSIBLE_PROCEDURES:
    case SQL_CATALOG_NAME:
    case SQL_COLUMN_ALIAS:
    case SQL_EXPRESSIONS_IN_ORDERBY:
    case SQL_LIKE_ESCAPE_CLAUSE:
    case SQL_MAX_ROW_SIZE_INCLUDES_LONG:
    case SQL_MULT_RESULT_SETS:
    case SQL_MULTIPLE_ACTIVE_TXN:
    case SQL_NEED_LONG_DATA_LEN:
    case SQL_ORDER_BY_COLUMNS_IN_SELECT:
    case SQL_OUTER_JOINS:
    case SQL_PROCEDURES:
    case SQL_ROW_UPDATES:
    case SQL_INTEGRITY:
      return text("N");
    // Limits: 0 means none.
    case SQL_MAX_CATALOG_NAME_LEN:
    case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_PROCEDURE_NAME_LEN:
    case SQL_MAX_CURSOR_NAME_LEN:
    case SQL_MAX_USER_NAME_LEN:
    case SQL_MAX_TABLE_NAME_LEN:
    case SQL_MAX_COLUMN_NAME_LEN:
    case SQL_MAX_IDENTIFIER_LEN:
    case SQL_MAX_COLUMNS_IN_TABLE:
    case SQL_MAX_COLUMNS_IN_SELECT:
    case SQL_MAX_COLUMNS_IN_GROUP_BY:
    case SQL_MAX_COLUMNS_IN_ORDER_BY:
    case SQL_MAX_COLUMNS_IN_INDEX:
    case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_MAX_CONCURRENT_ACTIVITIES:
    case SQL_ACTIVE_ENVIRONMENTS:
      return small(0);
    case SQL_MAX_TABLES_IN_SELECT:
      return small(1);
    case SQL_MAX_ROW_SIZE:
    case SQL_MAX_STATEMENT_LEN:
    case SQL_MAX_CHAR_LITERAL_LEN:
    case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_MAX_INDEX_SIZE:
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS:
      return integer(0);
    // Behaviour.
    case SQL_TXN_CAPABLE:
      return small(SQL_TC_NONE);
    case SQL_CURSOR_COMMIT_BEHAVIOR:
    case SQL_CURSOR_ROLLBACK_BEHAVIOR:
      return small(SQL_CB_PRESERVE);
    case SQL_DEFAULT_TXN_ISOLATION:
    case SQL_TXN_ISOLATION_OPTION:
      return integer(0);
    case SQL_IDENTIFIER_CASE:
    case SQL_QUOTED_IDENTIFIER_CASE:
      return small(SQL_IC_MIXED);
    case SQL_GETDATA_EXTENSIONS:
      return integer(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BOUND);
    case SQL_SCROLL_OPTIONS:
      return integer(SQL_SO_FORWARD_ONLY);
    case SQL_SCROLL_CONCURRENCY:
      return integer(SQL_SCCO_READ_ONLY);
    case SQL_FETCH_DIRECTION:
      return integer(SQL_FD_FETCH_NEXT);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1:
      return integer(SQL_CA1_NEXT);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2:
      return integer(SQL_CA2_READ_ONLY_CONCURRENCY);
    case SQL_STATIC_CURSOR_ATTRIBUTES1:
    case SQL_STATIC_CURSOR_ATTRIBUTES2:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES1:
    case SQL_DYNAMIC_CURSOR_ATTRIBUTES2:
    case SQL_KEYSET_CURSOR_ATTRIBUTES1:
    case SQL_KEYSET_CURSOR_ATTRIBUTES2:
    case SQL_BOOKMARK_PERSISTENCE:
    case SQL_LOCK_TYPES:
    case SQL_POS_OPERATIONS:
    case SQL_POSITIONED_STATEMENTS:
    case SQL_STATIC_SENSITIVITY:
    case SQL_BATCH_SUPPORT:
    case SQL_BATCH_ROW_COUNT:
    case SQL_CONVERT_FUNCTIONS:
    case SQL_NUMERIC_FUNCTIONS:
    case SQL_STRING_FUNCTIONS:
    case SQL_SYSTEM_FUNCTIONS:
    case SQL_TIMEDATE_FUNCTIONS:
    case SQL_TIMEDATE_ADD_INTERVALS:
    case SQL_TIMEDATE_DIFF_INTERVALS:
    case SQL_AGGREGATE_FUNCTIONS:
    case SQL_SUBQUERIES:
    case SQL_UNION:
    case SQL_ALTER_TABLE:
    case SQL_ALTER_DOMAIN:
    case SQL_DDL_INDEX:
    case SQL_DATETIME_LITERALS:
    case SQL_CATALOG_USAGE:
    case SQL_SCHEMA_USAGE:
    case SQL_OJ_CAPABILITIES:
    case SQL_INDEX_KEYWORDS:
    case SQL_INFO_SCHEMA_VIEWS:
    case SQL_CREATE_VIEW:
    case SQL_DROP_VIEW:
    case SQL_CREATE_SCHEMA:
    case SQL_DROP_SCHEMA:
    case SQL_CREATE_ASSERTION:
    case SQL_DROP_ASSERTION:
    case SQL_CREATE_CHARACTER_SET:
    case SQL_DROP_CHARACTER_SET:
    case SQL_CREATE_COLLATION:
    case SQL_DROP_COLLATION:
    case SQL_CREATE_DOMAIN:
    case SQL_DROP_DOMAIN:
    case SQL_CREATE_TRANSLATION:
    case SQL_DROP_TRANSLATION:
    case SQL_SQL92_DATETIME_FUNCTIONS:
    case SQL_SQL92_FOREIGN_KEY_DELETE_RULE:
    case SQL_SQL92_FOREIGN_KEY_UPDATE_RULE:
    case SQL_SQL92_GRANT:
    case SQL_SQL92_NUMERIC_VALUE_FUNCTIONS:
    case SQL_SQL92_PREDICATES:
    case SQL_SQL92_RELATIONAL_JOIN_OPERATORS:
    case SQL_SQL92_REVOKE:
    case SQL_SQL92_ROW_VALUE_CONSTRUCTOR:
    case SQL_SQL92_STRING_FUNCTIONS:
    case SQL_SQL92_VALUE_EXPRESSIONS:
    case SQL_CONVERT_CHAR:
    case SQL_CONVERT_VARCHAR:
    case SQL_CONVERT_LONGVARCHAR:
    case SQL_CONVERT_INTEGER:
    case SQL_CONVERT_SMALLINT:
    case SQL_CONVERT_NUMERIC:
    case SQL_CONVERT_DECIMAL:
    case SQL_CONVERT_FLOAT:
    case SQL_CONVERT_REAL:
    case SQL_CONVERT_DOUBLE:
    case SQL_CONVERT_DATE:
    case SQL_CONVERT_TIME:
    case SQL_CONVERT_TIMESTAMP:
    case SQL_CONVERT_BIT:
    case SQL_CONVERT_TINYINT:
    case SQL_CONVERT_BIGINT:
    case SQL_CONVERT_BINARY:
    case SQL_CONVERT_VARBINARY:
    case SQL_CONVERT_LONGVARBINARY:
    case SQL_CONVERT_WCHAR:
    case SQL_CONVERT_WVARCHAR:
    case SQL_CONVERT_WLONGVARCHAR:
    case SQL_STANDARD_CLI_CONFORMANCE:
      return integer(0);
    case SQL_CREATE_TABLE:
      return integer(SQL_CT_CREATE_TABLE);
    case SQL_DROP_TABLE:
      return integer(SQL_DT_DROP_TABLE);
    case SQL_INSERT_STATEMENT:
      return integer(SQL_IS_INSERT_LITERALS);
    case SQL_PARAM_ARRAY_ROW_COUNTS:
      return integer(SQL_PARC_NO_BATCH);
    case SQL_PARAM_ARRAY_SELECTS:
      return integer(SQL_PAS_NO_SELECT);
    case SQL_ASYNC_MODE:
      return integer(SQL_AM_NONE);
    case SQL_CURSOR_SENSITIVITY:
      return integer(SQL_INSENSITIVE);
    case SQL_ODBC_INTERFACE_CONFORMANCE:
      return integer(SQL_OIC_CORE);
    case SQL_ODBC_API_CONFORMANCE:
      return small(SQL_OAC_LEVEL1);
    case SQL_ODBC_SQL_CONFORMANCE:
      return small(SQL_OSC_MINIMUM);
    case SQL_ODBC_SAG_CLI_CONFORMANCE:
      return small(SQL_OSCC_NOT_COMPLIANT);
    case SQL_CONCAT_NULL_BEHAVIOR:
      return small(SQL_CB_NULL);
    case SQL_CORRELATION_NAME:
      return small(SQL_CN_NONE);
    case SQL_FILE_USAGE:
      return small(SQL_FILE_TABLE);
    case SQL_GROUP_BY:
      return small(SQL_GB_NOT_SUPPORTED);
    case SQL_NON_NULLABLE_COLUMNS:
      return small(SQL_NNC_NULL);
    case SQL_NULL_COLLATION:
      return small(SQL_NC_END);
    case SQL_CATALOG_LOCATION:
      return small(0);
    default:
      return dbc->diag.Error(
          "HY096", "Information type " + std::to_string(type) + " is not known to the text driver");
  }
}
