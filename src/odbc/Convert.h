// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <optional>
#include <string>

#include "Handles.h"

// Text arguments: SQL_NTS means zero-terminated.
std::string InputText(const SQLCHAR* text, SQLINTEGER length);

// Copies a text into a caller's buffer of bufferLength bytes, zero-terminated; the full length
// goes to *length. A text that does not fit is cut and gives 01004 with SQL_SUCCESS_WITH_INFO.
SQLRETURN OutputText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength,
                     SQLSMALLINT* length, Diagnostics& diag);
SQLRETURN OutputText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength,
                     SQLINTEGER* length, Diagnostics& diag);

// Where SQLGetData stands in a value returned in pieces.
struct PieceState {
  size_t offset = 0;
  bool done = false;
};

// One result value into a client buffer of C type cType. The value is text in the result's
// character set (digits for numeric catalog columns) or null. With pieces (SQLGetData), a value
// longer than the buffer continues on the next call and a finished one gives SQL_NO_DATA.
// Errors: 22002 null without an indicator, 22018 not a number, 22003 out of range, 22021 not
// text in the set (for SQL_C_WCHAR), 07006 an unsupported C type.
SQLRETURN PutValue(const std::optional<std::string>& value, SQLSMALLINT sqlType, Charset charset,
                   SQLSMALLINT cType, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator,
                   PieceState* pieces, Diagnostics& diag);

// A bound parameter's value as text in the file's character set, or null. rawData, when given,
// replaces the buffer (the bytes sent with SQLPutData). Errors as above, and HY090 for a bad
// length.
SQLRETURN ParameterValue(const ParameterBinding& binding, const std::optional<std::string>* rawData,
                         Charset charset, std::optional<std::string>& value, Diagnostics& diag);

// Whether the indicator asks for the value at execution time (SQLParamData / SQLPutData).
bool IsDataAtExecution(const ParameterBinding& binding);
