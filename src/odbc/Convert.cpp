// SPDX-License-Identifier: GPL-3.0-or-later
#include "Convert.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

SQLSMALLINT DefaultCType(SQLSMALLINT sqlType) {
  switch (sqlType) {
    case SQL_SMALLINT:
      return SQL_C_SSHORT;
    case SQL_INTEGER:
      return SQL_C_SLONG;
    default:
      return SQL_C_CHAR;
  }
}

template <typename T>
SQLRETURN PutNumber(const std::string& text, SQLPOINTER target, SQLLEN* indicator,
                    Diagnostics& diag) {
  size_t b = text.find_first_not_of(" \t");
  size_t e = text.find_last_not_of(" \t");
  if (b == std::string::npos) return diag.Error("22018", "Empty text is not a number");
  const char* first = text.data() + b;
  const char* last = text.data() + e + 1;
  if (*first == '+') ++first;
  T number{};
  std::from_chars_result r;
  if constexpr (std::is_floating_point_v<T>) {
    r = std::from_chars(first, last, number);
  } else {
    r = std::from_chars(first, last, number, 10);
  }
  if (r.ec == std::errc::result_out_of_range) {
    return diag.Error("22003", "Value \"" + text + "\" is out of range for the C type");
  }
  if (r.ec != std::errc() || r.ptr != last) {
    return diag.Error("22018", "Value \"" + text + "\" is not a number");
  }
  if (target) std::memcpy(target, &number, sizeof number);
  if (indicator) *indicator = sizeof number;
  return SQL_SUCCESS;
}

// Copies bytes from an offset; unit is 1 for text, 2 for UTF-16, 0 for binary (no terminator).
SQLRETURN PutPieces(const std::string& bytes, size_t unit, SQLPOINTER target, SQLLEN bufferLength,
                    SQLLEN* indicator, PieceState* pieces, Diagnostics& diag) {
  size_t offset = pieces ? pieces->offset : 0;
  size_t left = bytes.size() - offset;
  size_t room = bufferLength > 0 ? static_cast<size_t>(bufferLength) : 0;
  size_t terminator = unit;
  size_t copy = 0;
  if (room >= terminator) {
    copy = std::min(left, room - terminator);
    if (unit == 2) copy -= copy % 2;
  }
  if (target && room > 0) {
    if (copy > 0) std::memcpy(target, bytes.data() + offset, copy);
    if (unit > 0 && room >= terminator) std::memset(static_cast<char*>(target) + copy, 0, unit);
  }
  if (indicator) *indicator = static_cast<SQLLEN>(left);
  if (copy < left) {
    if (pieces) pieces->offset += copy;
    return diag.Warning("01004", "String data, right truncated");
  }
  if (pieces) {
    pieces->offset += copy;
    pieces->done = true;
  }
  return SQL_SUCCESS;
}

}  // namespace

std::string InputText(const SQLCHAR* text, SQLINTEGER length) {
  if (!text) return std::string();
  if (length == SQL_NTS || length < 0) return std::string(reinterpret_cast<const char*>(text));
  return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
}

SQLRETURN OutputText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength,
                     SQLINTEGER* length, Diagnostics& diag) {
  if (length) *length = static_cast<SQLINTEGER>(text.size());
  if (buffer && bufferLength > 0) {
    size_t copy = std::min(text.size(), static_cast<size_t>(bufferLength) - 1);
    std::memcpy(buffer, text.data(), copy);
    static_cast<char*>(buffer)[copy] = '\0';
  }
  if (buffer && static_cast<SQLLEN>(text.size()) >= bufferLength) {
    return diag.Warning("01004", "String data, right truncated");
  }
  return SQL_SUCCESS;
}

SQLRETURN OutputText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength,
                     SQLSMALLINT* length, Diagnostics& diag) {
  SQLINTEGER full = 0;
  SQLRETURN rc = OutputText(text, buffer, bufferLength, &full, diag);
  if (length) *length = static_cast<SQLSMALLINT>(full);
  return rc;
}

SQLRETURN PutValue(const std::optional<std::string>& value, SQLSMALLINT sqlType, Charset charset,
                   SQLSMALLINT cType, SQLPOINTER target, SQLLEN bufferLength, SQLLEN* indicator,
                   PieceState* pieces, Diagnostics& diag) {
  if (pieces && pieces->done) return SQL_NO_DATA;
  if (!value) {
    if (!indicator) return diag.Error("22002", "Indicator variable required but not supplied");
    *indicator = SQL_NULL_DATA;
    if (pieces) pieces->done = true;
    return SQL_SUCCESS;
  }
  if (cType == SQL_C_DEFAULT) cType = DefaultCType(sqlType);
  SQLRETURN rc;
  switch (cType) {
    case SQL_C_CHAR:
      return PutPieces(*value, 1, target, bufferLength, indicator, pieces, diag);
    case SQL_C_BINARY:
      return PutPieces(*value, 0, target, bufferLength, indicator, pieces, diag);
    case SQL_C_WCHAR: {
      auto units = Utf16FromText(*value, charset);
      if (!units) {
        return diag.Error("22021", std::string("Value is not ") +
                                       (charset == Charset::Ansi ? "Windows-1250" : "UTF-8") +
                                       " text and cannot be given as SQL_C_WCHAR");
      }
      std::string bytes(reinterpret_cast<const char*>(units->data()), units->size() * 2);
      return PutPieces(bytes, 2, target, bufferLength, indicator, pieces, diag);
    }
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
      rc = PutNumber<int16_t>(*value, target, indicator, diag);
      break;
    case SQL_C_USHORT:
      rc = PutNumber<uint16_t>(*value, target, indicator, diag);
      break;
    case SQL_C_LONG:
    case SQL_C_SLONG:
      rc = PutNumber<int32_t>(*value, target, indicator, diag);
      break;
    case SQL_C_ULONG:
      rc = PutNumber<uint32_t>(*value, target, indicator, diag);
      break;
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
      rc = PutNumber<int8_t>(*value, target, indicator, diag);
      break;
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
      rc = PutNumber<uint8_t>(*value, target, indicator, diag);
      break;
    case SQL_C_SBIGINT:
      rc = PutNumber<int64_t>(*value, target, indicator, diag);
      break;
    case SQL_C_UBIGINT:
      rc = PutNumber<uint64_t>(*value, target, indicator, diag);
      break;
    case SQL_C_FLOAT:
      rc = PutNumber<float>(*value, target, indicator, diag);
      break;
    case SQL_C_DOUBLE:
      rc = PutNumber<double>(*value, target, indicator, diag);
      break;
    default:
      return diag.Error("07006",
                        "The text driver gives column values as character data "
                        "(SQL_C_CHAR, SQL_C_WCHAR) or numbers; C type " +
                            std::to_string(cType) + " is not supported");
  }
  if (pieces && SQL_SUCCEEDED(rc)) pieces->done = true;
  return rc;
}

bool IsDataAtExecution(const ParameterBinding& binding) {
  return binding.indicator && (*binding.indicator == SQL_DATA_AT_EXEC ||
                               *binding.indicator <= SQL_LEN_DATA_AT_EXEC_OFFSET);
}

namespace {

template <typename T>
std::string NumberText(const void* data) {
  T number;
  std::memcpy(&number, data, sizeof number);
  char buffer[64];
  auto r = std::to_chars(buffer, buffer + sizeof buffer, number);
  return std::string(buffer, r.ptr);
}

}  // namespace

SQLRETURN ParameterValue(const ParameterBinding& binding, const std::optional<std::string>* rawData,
                         Charset charset, std::optional<std::string>& value, Diagnostics& diag) {
  if (binding.ioType == SQL_PARAM_OUTPUT) {
    return diag.Error("HY105", "The text driver takes input parameters only");
  }
  SQLSMALLINT cType = binding.cType;
  if (cType == SQL_C_DEFAULT) cType = DefaultCType(binding.sqlType);

  const char* data = static_cast<const char*>(binding.value);
  SQLLEN length = SQL_NTS;
  bool lengthKnown = false;
  if (rawData) {
    if (!*rawData) {
      value.reset();
      return SQL_SUCCESS;
    }
    data = (*rawData)->data();
    length = static_cast<SQLLEN>((*rawData)->size());
    lengthKnown = true;
  } else if (binding.indicator) {
    if (*binding.indicator == SQL_NULL_DATA) {
      value.reset();
      return SQL_SUCCESS;
    }
    if (*binding.indicator >= 0) {
      length = *binding.indicator;
      lengthKnown = true;
    } else if (*binding.indicator != SQL_NTS) {
      return diag.Error("HY090", "Invalid string or buffer length " +
                                     std::to_string(*binding.indicator) + " for a parameter");
    }
  }
  if (!data) {
    if (lengthKnown && length == 0) {
      value = std::string();
      return SQL_SUCCESS;
    }
    return diag.Error("HY009", "A parameter has no value buffer");
  }

  switch (cType) {
    case SQL_C_CHAR:
    case SQL_C_BINARY: {
      if (!lengthKnown) {
        if (cType == SQL_C_BINARY) return diag.Error("HY090", "Binary parameter without a length");
        // A fixed-size buffer need not hold the terminator when the text fills it.
        length = binding.bufferLength > 0
                     ? static_cast<SQLLEN>(strnlen(data, static_cast<size_t>(binding.bufferLength)))
                     : static_cast<SQLLEN>(std::strlen(data));
      }
      std::string text(data, static_cast<size_t>(length));
      if (!IsValidText(text, charset)) {
        return diag.Error("22021", std::string("Parameter text is not ") +
                                       (charset == Charset::Ansi ? "Windows-1250" : "UTF-8") +
                                       " text (the file's CHARACTERSET=" + CharsetName(charset) +
                                       ")");
      }
      value = std::move(text);
      return SQL_SUCCESS;
    }
    case SQL_C_WCHAR: {
      const auto* units = reinterpret_cast<const char16_t*>(data);
      size_t count;
      if (lengthKnown) {
        count = static_cast<size_t>(length) / 2;
      } else {
        size_t limit = binding.bufferLength > 0 ? static_cast<size_t>(binding.bufferLength) / 2
                                                : std::numeric_limits<size_t>::max();
        count = 0;
        while (count < limit && units[count] != 0) ++count;
      }
      auto text = TextFromUtf16(std::u16string_view(units, count), charset);
      if (!text) {
        return diag.Error(
            "22021", std::string("Parameter text has characters that ") +
                         (charset == Charset::Ansi ? "Windows-1250" : "UTF-8") +
                         " cannot hold (the file's CHARACTERSET=" + CharsetName(charset) + ")");
      }
      value = std::move(*text);
      return SQL_SUCCESS;
    }
    case SQL_C_SHORT:
    case SQL_C_SSHORT:
      value = NumberText<int16_t>(data);
      return SQL_SUCCESS;
    case SQL_C_USHORT:
      value = NumberText<uint16_t>(data);
      return SQL_SUCCESS;
    case SQL_C_LONG:
    case SQL_C_SLONG:
      value = NumberText<int32_t>(data);
      return SQL_SUCCESS;
    case SQL_C_ULONG:
      value = NumberText<uint32_t>(data);
      return SQL_SUCCESS;
    case SQL_C_TINYINT:
    case SQL_C_STINYINT:
      value = NumberText<int8_t>(data);
      return SQL_SUCCESS;
    case SQL_C_UTINYINT:
    case SQL_C_BIT:
      value = NumberText<uint8_t>(data);
      return SQL_SUCCESS;
    case SQL_C_SBIGINT:
      value = NumberText<int64_t>(data);
      return SQL_SUCCESS;
    case SQL_C_UBIGINT:
      value = NumberText<uint64_t>(data);
      return SQL_SUCCESS;
    case SQL_C_FLOAT:
      value = NumberText<float>(data);
      return SQL_SUCCESS;
    case SQL_C_DOUBLE:
      value = NumberText<double>(data);
      return SQL_SUCCESS;
    default:
      return diag.Error("07006",
                        "The text driver takes parameters as character data "
                        "(SQL_C_CHAR, SQL_C_WCHAR) or numbers; C type " +
                            std::to_string(cType) + " is not supported");
  }
}
